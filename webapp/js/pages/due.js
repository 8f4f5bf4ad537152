// "Revize": the sources due up to today plus the days ahead, by town and street.
import * as api from '../api.js';
import {h} from '../dom.js';
import {field, select} from '../form.js';
import {counted, dateText} from '../format.js';
import {address, nextRevision, overdueBadge, phoneLink} from '../pieces.js';
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

// How many rows are built at once: the whole list of a large firm would take a phone long.
const batch = 200;

// Adds the rows from `start` on, a batch of them, under their town's heading (rows come
// ordered by town), and a button for the next batch while there is one.
function addRows(list, rows, start) {
    list.querySelector('.more')?.remove();
    let first = null;
    for (const r of rows.slice(start, start + batch)) {
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
    const left = rows.length - start - batch;
    if (left > 0) {
        const more = () => addRows(list, rows, start + batch).querySelector('a').focus();
        list.appendChild(h('button', {type: 'button', class: 'button wide more', onclick: more},
                           `Zobrazit další (${Math.min(left, batch)} z ${left})`));
    }
    return first;
}

function summary(data, rows) {
    if (!rows.length)
        return `Do ${dateText(data.do)} není nic k revizi.`;
    const overdue = rows.filter(r => r.po_terminu).length;
    const count = counted(data.pocet ?? rows.length, 'zdroj', 'zdroje', 'zdrojů');
    return `Do ${dateText(data.do)}: ${count}` + (overdue ? `, z toho ${overdue} po termínu.` : '.');
}

export function renderDue(data, town) {
    const rows = data.radky || [];
    const towns =
        select({name: 'mesto'}, [['', 'Všechna města'], ...(data.mesta || []).map(m => [m, m])], town);
    towns.addEventListener(
        'change', () => go(towns.value ? '#/revize?mesto=' + encodeURIComponent(towns.value) : '#/revize'));
    const list = h('div', {id: 'radky'});
    addRows(list, rows, 0);
    const content = h('div', {},
                      h('div', {class: 'panel filter'}, field('Město', towns),
                        h('p', {class: 'count', id: 'pocet'}, summary(data, rows))),
                      list);
    return {title: 'Revize', section: '#/revize', content};
}
