// A new card recorded in the phone and waiting in the outbox: shown from its entry, with the
// activities recorded on it meanwhile. Once the server wrote it, its own page opens.
import {h} from '../dom.js';
import {entry} from '../offline/db.js';
import * as outbox from '../offline/outbox.js';
import {go} from '../router.js';
import * as session from '../session.js';

import {cardFacts} from './card.js';
import {entriesOfCard, pendingActivityItem, stateBadge} from './outboxEntries.js';

const gone = 'Karta v telefonu už není: byla odeslána, nebo zahozena.';

// The card as the forms and pages want it: {karta, zakaznik, entry, writtenAs}.
export async function pendingCard(requestId) {
    const [item, lists] = await Promise.all([entry(requestId), session.codeLists()]);
    if (!item || item.druh !== 'karta')
        throw new Error(gone);
    const category = (lists.kategorie || []).find(c => c.id === item.telo.kategorie);
    return {
        entry: item,
        writtenAs: outbox.cardOf(item),
        karta: {
            ...item.telo,
            id: null,
            pozadavek: requestId,
            lhuta: category?.lhuta ?? 0,
            nazev_kategorie: category?.nazev || ''
        },
        zakaznik: item.o_cem?.zakaznik || null
    };
}

export async function pendingCardPage([requestId]) {
    const card = await pendingCard(requestId);
    if (card.writtenAs) {
        go(`#/karta/${card.writtenAs}`, {replace: true});
        return {title: 'Karta', content: h('p', {class: 'loading'}, 'Otevírám kartu…')};
    }
    const [all, lists] = await Promise.all([outbox.entries(), session.codeLists()]);
    const k = card.karta;
    const activities = entriesOfCard(all, null, requestId, null);
    const customerId = card.zakaznik?.id;
    const panel = h('section', {class: 'panel'}, h('h2', {class: 'name'}, k.nazev),
                    h('p', {}, [k.typ, k.vyrobce].filter(Boolean).join(' · ')),
                    h('p', {class: 'next'}, stateBadge(card.entry)),
                    card.entry.duvod ? h('p', {class: 'error-text'}, card.entry.duvod) : null,
                    cardFacts(k),
                    card.zakaznik ? h('a', {class: 'customer-link', href: `#/zakaznik/${customerId}`},
                                      h('span', {class: 'item-title'}, card.zakaznik.nazev || 'Bez jména'))
                                  : null);
    const list = activities.length
        ? h('ul', {class: 'list', id: 'cinnosti'}, activities.map(item => pendingActivityItem(item, lists)))
        : h('p', {class: 'hint'}, 'Na kartě zatím není žádná činnost.');
    const content = h('div', {}, panel,
                      h('section', {class: 'group'}, h('h2', {}, `Činnosti (${activities.length})`), list));
    const actions = [h('a', {class: 'button primary', href: `#/cekajici/${requestId}/nova`}, 'Nová činnost')];
    return {title: 'Karta', back: customerId ? `#/zakaznik/${customerId}` : '#/odesilani', content, actions};
}
