// A card: the heating source, its next revision and its activities, newest first.
import * as api from '../api.js';
import {h} from '../dom.js';
import {counted, dateText, moneySum, moneyText} from '../format.js';
import {address, nextRevision, overdueBadge} from '../pieces.js';

export const prices = [['cena_doprava', 'Doprava'], ['cena_prace', 'Práce'], ['cena_material', 'Materiál'],
                       ['cena_ostatni', 'Ostatní']];

export async function cardPage([id]) {
    return renderCard(await api.card(id));
}

function facts(pairs) {
    return h('dl', {class: 'facts'}, pairs.filter(([, value]) => value !== null && value !== undefined && value !== '')
                                           .map(([term, value]) => [h('dt', {}, term), h('dd', {}, value)]));
}

export function activityFacts(a) {
    const amounts = prices.filter(([key]) => a[key] !== null && a[key] !== undefined && a[key] !== '');
    return [facts([['Technik', a.technik], ...amounts.map(([key, label]) => [label, moneyText(a[key])]),
                   amounts.length > 1 ? ['Celkem', moneyText(moneySum(amounts.map(([key]) => a[key])))] : ['', null],
                   ['Příští revize', dateText(a.datum_pristi)]]),
            a.poznamka ? h('p', {class: 'note'}, a.poznamka) : null];
}

function activityItem(a, cardId) {
    return h('li', {class: 'item activity', id: `cinnost-${a.id}`},
             h('div', {class: 'item-head'},
               h('span', {class: 'item-title'}, dateText(a.datum), ' ', a.nazev_cinnosti || ''),
               a.lze_opravit ? h('a', {class: 'button small', href: `#/cinnost/${a.id}/oprava?karta=${cardId}`,
                                       'aria-label': `Opravit činnost ze dne ${dateText(a.datum)}`}, 'Opravit') : null),
             activityFacts(a));
}

export function renderCard({karta: k, zakaznik: c, pristi_revize: next, po_terminu: overdue, cinnosti: activities = []}) {
    const content = h('div', {},
                      h('section', {class: 'panel'},
                        h('h2', {class: 'name'}, k.nazev),
                        h('p', {}, [k.typ, k.vyrobce].filter(Boolean).join(' · ')),
                        h('p', {class: 'next'}, k.vyrazeno_dne ? h('span', {class: 'badge'}, `Vyřazeno ${dateText(k.vyrazeno_dne)}`)
                                                             : [nextRevision(next, overdue), ' ', overdueBadge(overdue)]),
                        facts([['Výrobní číslo', k.vyrobni_cislo], ['Čárový kód', k.carovy_kod], ['Rok výroby', k.rok_vyroby],
                               ['Kategorie', k.nazev_kategorie],
                               ['Lhůta', k.lhuta === null || k.lhuta === undefined ? null : counted(Number(k.lhuta), 'měsíc', 'měsíce', 'měsíců')]]),
                        k.poznamka ? h('p', {class: 'note'}, k.poznamka) : null,
                        h('a', {class: 'customer-link', href: `#/zakaznik/${c.id}`},
                          h('span', {class: 'item-title'}, c.nazev || 'Bez jména'), h('span', {class: 'item-line'}, address(c.ulice, c.mesto)))),
                      h('section', {class: 'group'},
                        h('h2', {}, `Činnosti (${activities.length})`),
                        activities.length ? h('ul', {class: 'list', id: 'cinnosti'}, activities.map(a => activityItem(a, k.id)))
                                          : h('p', {class: 'hint'}, 'Na kartě zatím není žádná činnost.')));
    const actions = [h('a', {class: 'button primary', href: `#/karta/${k.id}/nova`}, 'Nová činnost')];
    return {title: 'Karta', back: `#/zakaznik/${c.id}`, content, actions};
}
