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

// Rows come ordered by town; each town gets its heading.
function byTown(rows) {
    const groups = [];
    for (const r of rows) {
        if (!groups.length || groups[groups.length - 1].town !== r.mesto)
            groups.push({town: r.mesto, rows: []});
        groups[groups.length - 1].rows.push(r);
    }
    return groups;
}

export function renderDue(data, town) {
    const rows = data.radky || [];
    const overdue = rows.filter(r => r.po_terminu).length;
    const towns =
        select({name: 'mesto'}, [['', 'Všechna města'], ...(data.mesta || []).map(m => [m, m])], town);
    towns.addEventListener(
        'change', () => go(towns.value ? '#/revize?mesto=' + encodeURIComponent(towns.value) : '#/revize'));
    const summary =
        rows.length
            ? `Do ${dateText(data.do)}: ${counted(data.pocet ?? rows.length, 'zdroj', 'zdroje', 'zdrojů')}` +
                  (overdue ? `, z toho ${overdue} po termínu.` : '.')
                           : `Do ${dateText(data.do)} není nic k revizi.`;
    const content =
        h('div', {},
          h('div', {class: 'panel filter'}, field('Město', towns),
            h('p', {class: 'count', id: 'pocet'}, summary)),
          byTown(rows).map(group => h('section', {class: 'group'}, h('h2', {}, group.town || 'Bez města'),
                                      h('ul', {class: 'list'}, group.rows.map(row)))));
    return {title: 'Revize', section: '#/revize', content};
}
