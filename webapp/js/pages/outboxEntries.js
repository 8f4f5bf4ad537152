// How an entry of the outbox is shown wherever it appears: on its card, on its customer, and
// on the page of the outbox itself.
import {h} from '../dom.js';
import {dateText} from '../format.js';
import * as outbox from '../offline/outbox.js';
import * as session from '../session.js';

import {activityFacts} from './activityFacts.js';

const stateTexts = {
    [outbox.waiting]: 'Čeká na odeslání',
    [outbox.sending]: 'Odesílá se',
    [outbox.written]: 'Zapsáno',
    [outbox.refused]: 'Odmítnuto'
};

export const stateBadge = item =>
    h('span', {class: `badge state-${item.stav}`}, stateTexts[item.stav] || stateTexts[outbox.waiting]);

// An activity of an entry as the card shows its activities.
function entryActivity(item, lists) {
    const values = item.druh === 'oprava' ? item.telo.cinnost : item.telo;
    const kind = (lists?.cinnosti || []).find(c => c.id === values.cinnost);
    const technician = typeof values.technik === 'number'
                           ? (lists?.technici || []).find(t => t.cislo === values.technik)?.jmeno
                           : session.account()?.technik?.jmeno;
    return {...values, nazev_cinnosti: kind?.nazev || '', technik: technician, datum_pristi: null};
}

const kindTitles = {cinnost: 'Nová činnost', oprava: 'Oprava činnosti', karta: 'Nová karta'};

// What the entry is about, in a line: "Kotel Vaillant – Novák Jan".
export function entrySubject(item) {
    const about = item.o_cem || {};
    const card = item.druh === 'karta' ? item.telo.nazev : about.karta?.nazev;
    return [card, about.zakaznik?.nazev].filter(Boolean).join(' – ');
}

export function entryDetails(item, lists) {
    if (item.druh === 'karta') {
        const c = item.telo;
        return h('p', {class: 'item-line'},
                 [c.typ, c.vyrobce, c.vyrobni_cislo && `výr. č. ${c.vyrobni_cislo}`,
                  c.carovy_kod && `kód ${c.carovy_kod}`].filter(Boolean).join(' · '));
    }
    const row = entryActivity(item, lists);
    return [h('p', {class: 'item-line'}, dateText(row.datum), ' ', row.nazev_cinnosti), activityFacts(row)];
}

// An activity waiting on its card's page.
export function pendingActivityItem(item, lists) {
    const row = entryActivity(item, lists);
    return h('li', {class: `item activity pending state-${item.stav}`},
             h('div', {class: 'item-head'},
               h('span', {class: 'item-title'}, dateText(row.datum), ' ', row.nazev_cinnosti), stateBadge(item)),
             item.stav === outbox.refused ? h('p', {class: 'error-text'}, item.duvod) : null, activityFacts(row));
}

// What the server holds now, as it sent it with a refusal: an activity, or a card.
export function currentRow(row, isCard = false) {
    const body = isCard ? [h('p', {}, row.nazev || ''),
                           row.vyrazeno_dne ? h('p', {}, `Vyřazeno ${dateText(row.vyrazeno_dne)}`) : null]
                        : [h('p', {}, dateText(row.datum), ' ', row.nazev_cinnosti || ''), activityFacts(row)];
    return h('section', {class: 'current', 'aria-label': 'Aktuální záznam'}, h('h3', {}, 'Nyní na serveru'), body);
}

export const kindTitle = item => kindTitles[item.druh] || 'Záznam';

// The entries of a card waiting or just written, those the page read does not show yet
// (written after `storedSince`, the time of the kept copy the page shows; null when it is
// the server's own).
export function entriesOfCard(all, cardId, requestId, storedSince) {
    return all.filter(item => {
        if (item.druh === 'karta')
            return false;
        const onCard = requestId ? item.po === requestId : outbox.cardOf(item, all) === cardId;
        if (!onCard)
            return false;
        if (item.stav !== outbox.written)
            return true;
        return Boolean(storedSince && item.zapsano > storedSince);
    });
}
