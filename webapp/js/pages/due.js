// "Revize": the sources due up to today plus the days ahead, by town and street.
import * as api from '../api.js';
import {h} from '../dom.js';
import {field, select} from '../form.js';
import {counted, dateText} from '../format.js';
import {address, nextRevision, overdueBadge, phoneLink} from '../pieces.js';
import {showNotice} from '../layout.js';
import {go} from '../router.js';

export async function duePage(params, query) {
    const town = query.get('mesto') || '';
    return renderDue(await api.dueList(town), town);
}

function row(r) {
    return h('li', {class: r.po_terminu ? 'item overdue' : 'item'},
             h('a', {class: 'item-link', href: `#/karta/${r.id_topneho_zdroje}`},
               h('span', {class: 'item-title'}, r.zakaznik || 'Bez jména'),
               h('span', {class: 'item-line'}, address(r.ulice, r.mesto)),
               h('span', {class: 'item-line'}, [r.zdroj, r.typ].filter(Boolean).join(' · ')),
               h('span', {class: 'item-line'}, nextRevision(r.pristi_revize, r.po_terminu), ' ',
                 overdueBadge(r.po_terminu))),
             phoneLink(r.mobil || r.tel));
}

// Adds a page of rows under their towns' headings (rows come ordered by town; a town may go
// on from the page before), and a button for the next page while there is one.
function addPage(list, data, town) {
    list.querySelector('.more')?.remove();
    let first = null;
    for (const r of data.radky || []) {
        let group = list.lastElementChild;
        if (!group || group.dataset.town !== (r.mesto || '')) {
            group = h('section', {class: 'group', 'data-town': r.mesto || ''},
                      h('h2', {}, r.mesto || 'Bez města'), h('ul', {class: 'list'}));
            list.appendChild(group);
        }
        const item = row(r);
        group.lastElementChild.appendChild(item);
        first ??= item;
    }
    if (data.dalsi != null) {
        const left = data.pocet - data.dalsi;
        const more = h('button', {type: 'button', class: 'button wide more'},
                       `Zobrazit další (${Math.min(left, data.radky.length)} z ${left})`);
        more.addEventListener('click', async () => {
            more.disabled = true;
            try {
                addPage(list, await api.dueList(town, data.dalsi), town)?.querySelector('a').focus();
            } catch (error) {
                more.disabled = false;
                showNotice(error.message, 'error');
            }
        });
        list.appendChild(more);
    }
    return first;
}

function summary(data) {
    if (!data.pocet)
        return `Do ${dateText(data.do)} není nic k revizi.`;
    const count = counted(data.pocet, 'zdroj', 'zdroje', 'zdrojů');
    return `Do ${dateText(data.do)}: ${count}` +
           (data.po_terminu ? `, z toho ${data.po_terminu} po termínu.` : '.');
}

export function renderDue(data, town) {
    // The chosen town stays offered, also when the towns were read before its cards fell due.
    const offered = data.mesta || [];
    const choices = town && !offered.includes(town) ? [town, ...offered] : offered;
    const towns = select({name: 'mesto'}, [['', 'Všechna města'], ...choices.map(m => [m, m])], town);
    towns.addEventListener(
        'change', () => go(towns.value ? '#/revize?mesto=' + encodeURIComponent(towns.value) : '#/revize'));
    const list = h('div', {id: 'radky'});
    addPage(list, data, town);
    const content = h('div', {},
                      h('div', {class: 'panel filter'}, field('Město', towns),
                        h('p', {class: 'count', id: 'pocet'}, summary(data))),
                      list);
    return {title: 'Revize', section: '#/revize', content};
}
