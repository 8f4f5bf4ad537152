// A card: the heating source, its next revision and its activities, newest first.
import * as api from '../api.js';
import {h} from '../dom.js';
import {dateText, moneySum, moneyText, periodText} from '../format.js';
import {address, nextRevision, overdueBadge} from '../pieces.js';

export const prices = [
    ['cena_doprava', 'Doprava'], ['cena_prace', 'Práce'], ['cena_material', 'Materiál'],
    ['cena_ostatni', 'Ostatní']
];

export async function cardPage([id]) {
    return renderCard(await api.card(id));
}

function facts(pairs) {
    return h('dl', {class: 'facts'},
             pairs.filter(([, value]) => value !== null && value !== undefined && value !== '')
                 .map(([term, value]) => [h('dt', {}, term), h('dd', {}, value)]));
}

export function activityFacts(a) {
    const amounts = prices.filter(([key]) => a[key] !== null && a[key] !== undefined && a[key] !== '');
    return [
        facts([
            ['Technik', a.technik], ...amounts.map(([key, label]) => [label, moneyText(a[key])]),
            amounts.length > 1 ? ['Celkem', moneyText(moneySum(amounts.map(([key]) => a[key])))] : ['', null],
            ['Příští revize', dateText(a.datum_pristi)]
        ]),
        a.poznamka ? h('p', {class: 'note'}, a.poznamka) : null
    ];
}

function correctLink(a, cardId) {
    const label = `Opravit činnost ze dne ${dateText(a.datum)}`;
    const href = `#/cinnost/${a.id}/oprava?karta=${cardId}`;
    return h('a', {class: 'button small', href, 'aria-label': label}, 'Opravit');
}

function activityItem(a, cardId) {
    const title = h('span', {class: 'item-title'}, dateText(a.datum), ' ', a.nazev_cinnosti || '');
    return h('li', {class: 'item activity', id: `cinnost-${a.id}`},
             h('div', {class: 'item-head'}, title, a.lze_opravit ? correctLink(a, cardId) : null),
             activityFacts(a));
}

function state(k, next, overdue) {
    if (k.vyrazeno_dne)
        return h('span', {class: 'badge'}, `Vyřazeno ${dateText(k.vyrazeno_dne)}`);
    return [nextRevision(next, overdue), ' ', overdueBadge(overdue)];
}

function cardPanel(k, c, next, overdue) {
    const details = facts([
        ['Výrobní číslo', k.vyrobni_cislo], ['Čárový kód', k.carovy_kod], ['Rok výroby', k.rok_vyroby],
        ['Kategorie', k.nazev_kategorie], ['Lhůta', periodText(k.lhuta)]
    ]);
    const customer = h('a', {class: 'customer-link', href: `#/zakaznik/${c.id}`},
                       h('span', {class: 'item-title'}, c.nazev || 'Bez jména'),
                       h('span', {class: 'item-line'}, address(c.ulice, c.mesto)));
    return h('section', {class: 'panel'}, h('h2', {class: 'name'}, k.nazev),
             h('p', {}, [k.typ, k.vyrobce].filter(Boolean).join(' · ')),
             h('p', {class: 'next'}, state(k, next, overdue)), details,
             k.poznamka ? h('p', {class: 'note'}, k.poznamka) : null, customer);
}

function activityList(activities, cardId) {
    if (!activities.length)
        return h('p', {class: 'hint'}, 'Na kartě zatím není žádná činnost.');
    return h('ul', {class: 'list', id: 'cinnosti'}, activities.map(a => activityItem(a, cardId)));
}

export function renderCard(data) {
    const {karta: k, zakaznik: c, cinnosti: activities = []} = data;
    const content = h('div', {}, cardPanel(k, c, data.pristi_revize, data.po_terminu),
                      h('section', {class: 'group'}, h('h2', {}, `Činnosti (${activities.length})`),
                        activityList(activities, k.id)));
    const actions = [h('a', {class: 'button primary', href: `#/karta/${k.id}/nova`}, 'Nová činnost')];
    return {title: 'Karta', back: `#/zakaznik/${c.id}`, content, actions};
}
