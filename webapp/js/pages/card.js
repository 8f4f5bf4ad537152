// A card: the heating source, its next revision and its activities, newest first.
import * as api from '../api.js';
import {h} from '../dom.js';
import {dateText, periodText} from '../format.js';
import * as outbox from '../offline/outbox.js';
import {address, nextRevision, overdueBadge} from '../pieces.js';
import * as session from '../session.js';

import {activityFacts, facts} from './activityFacts.js';
import {entriesOfCard, pendingActivityItem} from './outboxEntries.js';

export async function cardPage([id]) {
    const data = await api.card(id);
    const storedSince = api.pageStoredSince();
    const [all, lists] = await Promise.all([outbox.entries().catch(() => []), session.codeLists().catch(() => null)]);
    return renderCard(data, entriesOfCard(all, data.karta.id, null, storedSince), lists);
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

// A card's serial number, barcode, year, category and period, those it has.
export const cardFacts = k => facts([
    ['Výrobní číslo', k.vyrobni_cislo], ['Čárový kód', k.carovy_kod], ['Rok výroby', k.rok_vyroby],
    ['Kategorie', k.nazev_kategorie], ['Lhůta', periodText(k.lhuta)]
]);

function cardPanel(k, c, next, overdue) {
    const details = cardFacts(k);
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

// What was recorded on the card in the phone and is not on the server yet (or not in the copy
// the phone keeps).
function pendingSection(pending, lists) {
    if (!pending.length)
        return null;
    return h('section', {class: 'group'}, h('h2', {}, `Z telefonu (${pending.length})`),
             h('ul', {class: 'list', id: 'cekajici'}, pending.map(item => pendingActivityItem(item, lists))));
}

export function renderCard(data, pending = [], lists = null) {
    const {karta: k, zakaznik: c, cinnosti: activities = []} = data;
    const older = data.cinnosti_dalsi ? h('p', {class: 'hint'}, 'Starší činnosti jsou jen na serveru.') : null;
    const content = h('div', {}, cardPanel(k, c, data.pristi_revize, data.po_terminu), pendingSection(pending, lists),
                      h('section', {class: 'group'}, h('h2', {}, `Činnosti (${activities.length})`),
                        activityList(activities, k.id), older));
    const actions = [h('a', {class: 'button primary', href: `#/karta/${k.id}/nova`}, 'Nová činnost')];
    return {title: 'Karta', back: `#/zakaznik/${c.id}`, content, actions};
}
