// "Odesílání": every record made in the phone with its state. One the server refused shows
// why and what the server holds now; it is fixed and sent again, or thrown away on purpose.
import * as api from '../api.js';
import {h, show} from '../dom.js';
import {showNotice} from '../layout.js';
import {entry as storedEntry} from '../offline/db.js';
import * as outbox from '../offline/outbox.js';
import {go} from '../router.js';
import * as session from '../session.js';

import {activityForm} from './activityForm.js';
import {cardForm} from './cardForm.js';
import {currentRow, entryDetails, entrySubject, kindTitle, stateBadge} from './outboxEntries.js';
import {pendingCard} from './pendingCard.js';

// "Zahodit" asks once more on the spot before anything goes.
function discardButton(item) {
    const button = h('button', {type: 'button', class: 'button small'}, 'Zahodit');
    let asked = false;
    button.addEventListener('click', async () => {
        if (!asked) {
            asked = true;
            button.textContent = item.druh === 'karta' ? 'Opravdu zahodit i s činnostmi' : 'Opravdu zahodit';
            button.classList.add('danger');
            return;
        }
        button.disabled = true;
        try {
            await outbox.discard(item); // the list shows it gone, as after any change of the outbox
            showNotice('Záznam je zahozen.');
        } catch {
            button.disabled = false;
            showNotice('Záznam se nepodařilo zahodit. Zkuste to prosím znovu.', 'error');
        }
    });
    return button;
}

// Why a waiting record is not going yet, when it is not for want of signal.
function holdUpText(item, all) {
    const reason = item.stav === outbox.waiting ? outbox.holdUp(item, all) : null;
    if (reason?.account)
        return `Odešle se po přihlášení uživatele ${reason.account}.`;
    return reason?.card ? 'Odešle se, až bude zapsána jeho nová karta.' : null;
}

function entryItem(item, all, lists) {
    const cardId = outbox.cardOf(item);
    const waitingFor = holdUpText(item, all);
    const actions = [];
    if (item.stav === outbox.refused) {
        actions.push(h('a', {class: 'button small primary', href: `#/odesilani/${item.id_pozadavku}`},
                       'Opravit a odeslat'));
        actions.push(discardButton(item));
    } else if (item.stav === outbox.written && cardId) {
        actions.push(h('a', {class: 'button small', href: `#/karta/${cardId}`}, 'Karta'));
    }
    return h('li', {class: `item entry state-${item.stav}`, id: `zaznam-${item.id_pozadavku}`},
             h('div', {class: 'item-head'}, h('span', {class: 'item-title'}, kindTitle(item)), stateBadge(item)),
             h('p', {class: 'item-line'}, entrySubject(item)), entryDetails(item, lists),
             waitingFor ? h('p', {class: 'hint'}, waitingFor) : null,
             item.stav === outbox.refused ? h('p', {class: 'error-text'}, item.duvod) : null,
             item.stav === outbox.refused && item.aktualni
                 ? currentRow(item.aktualni, item.druh === 'karta' || item.aktualni.datum === undefined)
                 : null,
             actions.length ? h('div', {class: 'row'}, actions) : null);
}

function summary(all) {
    const unsent = all.filter(item => item.stav !== outbox.written);
    if (!all.length)
        return 'V telefonu nic nečeká na odeslání.';
    if (!unsent.length)
        return 'Vše je odesláno.';
    return `Neodeslané záznamy: ${unsent.length}.`;
}

export async function outboxPage() {
    const lists = await session.codeLists().catch(() => null);
    const count = h('p', {class: 'count', id: 'odesilani-pocet', role: 'status'});
    const list = h('ul', {class: 'list', id: 'zaznamy'});
    const sendNow = h('button', {type: 'button', class: 'button wide'}, 'Odeslat nyní');
    // Kept up to date while shown; a page left stops listening.
    let shown = false;
    const refresh = async () => {
        if (list.isConnected)
            shown = true;
        else if (shown)
            return stopWatching();
        const all = await outbox.entries();
        show(count, summary(all));
        show(list, all.map(item => entryItem(item, all, lists)));
        sendNow.hidden = !all.some(item => item.stav === outbox.waiting);
    };
    const stopWatching = outbox.whenChanged(refresh);
    sendNow.addEventListener('click', async () => {
        sendNow.disabled = true;
        await outbox.sendAll();
        sendNow.disabled = false;
        const left = (await outbox.entries()).filter(item => item.stav === outbox.waiting);
        if (left.length)
            showNotice('Server teď neodpovídá; záznamy se odešlou samy, až bude signál.', 'error');
    });
    await refresh();
    return {
        title: 'Odesílání',
        back: '#/revize',
        content: h('div', {}, h('section', {class: 'panel'}, count, sendNow), list)
    };
}

// The cards of the customer an activity may move to: those in service.
async function cardsInService(customerId) {
    try {
        const customer = await api.customer(customerId);
        return (customer.karty || []).filter(k => !k.vyrazeno_dne);
    } catch {
        return null;
    }
}

// The card an activity entry is on, as the form wants it; one gone from the server is shown
// from what the entry knows of it.
async function cardOfEntry(item) {
    if (item.telo.karta_pozadavku) {
        const pending = await pendingCard(item.telo.karta_pozadavku);
        return pending.writtenAs ? api.card(pending.writtenAs) : pending;
    }
    const id = item.druh === 'oprava' ? item.o_cem.karta.id : item.telo.id_topneho_zdroje;
    try {
        return await api.card(id);
    } catch (error) {
        if (error.status !== 404)
            throw error;
        return {karta: {id, nazev: item.o_cem?.karta?.nazev || '', lhuta: 0}, zakaznik: item.o_cem?.zakaznik};
    }
}

// Fixing a refused entry: its own form, filled with what it holds.
export async function fixPage([requestId]) {
    const item = await storedEntry(requestId);
    if (!item || item.stav !== outbox.refused) {
        go('#/odesilani', {replace: true});
        return {title: 'Odesílání', content: h('p', {class: 'loading'}, 'Otevírám odesílání…')};
    }
    const lists = await session.codeLists();
    if (item.druh === 'karta') {
        const customer = await api.customer(item.telo.id_zakaznika).catch(() => null);
        return cardForm(customer?.zakaznik || item.o_cem.zakaznik, lists, {entry: item});
    }
    const card = await cardOfEntry(item);
    if (item.druh === 'oprava') {
        const id = Number(item.cesta.split('/')[1]);
        const row = item.aktualni || (card.cinnosti || []).find(a => a.id === id) ||
                    {...item.telo.puvodni, id};
        return activityForm(card, lists, {row, entry: item});
    }
    const choices = item.telo.id_topneho_zdroje ? await cardsInService(card.zakaznik?.id) : null;
    return activityForm(card, lists, {entry: item, choices});
}
