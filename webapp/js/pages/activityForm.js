// Recording an activity on a card, and correcting one: the same form, filled from today's
// defaults, from the row as it was read, or from an entry of the outbox being fixed. What is
// saved goes through the outbox: sent at once with signal, kept in the phone without.
import * as api from '../api.js';
import {h, show} from '../dom.js';
import {field, input, onSubmit, problemBox, restoreDraft, select, showProblem} from '../form.js';
import {dateText, moneyInput, nextRevisionDate, parseIsoDate, parseMoney, todayIso} from '../format.js';
import {noticeOnNextPage} from '../layout.js';
import * as outbox from '../offline/outbox.js';
import {go} from '../router.js';
import * as session from '../session.js';

import {prices} from './activityFacts.js';
import {currentRow} from './outboxEntries.js';
import {afterSaving} from './saved.js';
import {pendingCard} from './pendingCard.js';

export async function newActivityPage([cardId]) {
    const [card, lists] = await Promise.all([api.card(cardId), session.codeLists()]);
    return activityForm(card, lists, {});
}

// An activity of a new card that waits in the outbox itself.
export async function pendingActivityPage([requestId]) {
    const [card, lists] = await Promise.all([pendingCard(requestId), session.codeLists()]);
    if (card.writtenAs) {
        go(`#/karta/${card.writtenAs}/nova`, {replace: true});
        return {title: 'Nová činnost', content: h('p', {class: 'loading'}, 'Otevírám kartu…')};
    }
    return activityForm(card, lists, {});
}

export async function correctionPage([id], query) {
    const cardId = query.get('karta');
    if (!cardId)
        throw new Error('Opravu činnosti otevřete z její karty.');
    const [card, lists] = await Promise.all([api.card(cardId), session.codeLists()]);
    const row = (card.cinnosti || []).find(a => String(a.id) === String(id));
    if (!row)
        throw new Error('Činnost na kartě není, mohl ji mezitím smazat jiný uživatel.');
    return activityForm(card, lists, {row});
}

// The row as the server gave it, without what it adds for showing. The card's list leaves out
// whose card and customer the row is: they are this card's.
function asRead(row, card) {
    const {nazev_cinnosti: name, lze_opravit: correctable, ...stored} = row;
    return {id_zakaznika: card.id_zakaznika, id_topneho_zdroje: card.id, ...stored};
}

// A technician records as himself; the office chooses whom the work was done by.
function technicianControl(lists, row) {
    const account = session.account();
    if (!session.isOffice()) {
        const name = row ? row.technik : account.technik?.jmeno;
        return h('div', {class: 'field'}, h('span', {class: 'label'}, 'Technik'),
                 h('p', {class: 'value', id: 'technik'}, name || ''));
    }
    const technicians = lists.technici || [];
    const chosen = row ? technicians.find(t => t.jmeno === row.technik)?.cislo : account.technik?.cislo;
    const choices = [['', '– vyberte –'], ...technicians.map(t => [t.cislo, t.jmeno])];
    return field('Technik', select({name: 'technik'}, choices, chosen ?? ''));
}

function priceFields(row) {
    const amount = key =>
        input({name: key, inputmode: 'decimal', class: 'money', value: moneyInput(row?.[key])});
    return h('fieldset', {class: 'prices'}, h('legend', {}, 'Ceny v Kč'),
             prices.map(([key, label]) => field(label, amount(key))));
}

function fill(form, row) {
    form.elements.datum.value = row.datum || '';
    if (form.elements.technik && typeof row.technik === 'number')
        form.elements.technik.value = row.technik;
    form.elements.cinnost.value = row.cinnost ?? '';
    for (const [key] of prices)
        form.elements[key].value = moneyInput(row[key]);
    form.elements.poznamka.value = row.poznamka || '';
}

// The values typed, in the API's form, or a problem with the field at fault.
function collect(form) {
    const date = form.elements.datum.value;
    if (!parseIsoDate(date))
        return {problem: 'Zadejte platné datum.', field: 'datum'};
    if (!form.elements.cinnost.value)
        return {problem: 'Volba Činnost musí být zvolená!', field: 'cinnost'};
    const values = {datum: date, cinnost: Number(form.elements.cinnost.value)};
    for (const [key] of prices) {
        const typed = form.elements[key].value;
        const amount = parseMoney(typed);
        if (amount === null)
            return {problem: `„${typed.trim()}“ není platná částka.`, field: key};
        values[key] = amount === '' ? null : amount;
    }
    values.poznamka = form.elements.poznamka.value.trim() || null;
    const technician = form.elements.technik; // the office's choice
    if (technician && !technician.value)
        return {problem: 'Vyberte technika.', field: 'technik'};
    if (technician)
        values.technik = Number(technician.value);
    return {values};
}

// Where the activity goes: a card, or a new card still waiting in the outbox (by the request
// id of its entry); `choices` lets a refused entry move to another card of the customer.
function cardChoice(k, choices) {
    if (!choices)
        return null;
    const named = c => [c.nazev, c.vyrobni_cislo].filter(Boolean).join(', ');
    const options = [['', '– vyberte –'], ...choices.map(c => [c.id, named(c)])];
    const chosen = choices.some(c => c.id === k.id) ? k.id : '';
    return field('Karta', select({name: 'karta', required: true}, options, chosen));
}

function target(form, k) {
    const chosen = form.elements.karta?.value;
    if (form.elements.karta && !chosen)
        return {problem: 'Vyberte kartu, na kterou činnost patří.', field: 'karta'};
    if (chosen)
        return {body: {id_topneho_zdroje: Number(chosen)}};
    return {body: k.id ? {id_topneho_zdroje: k.id} : {karta_pozadavku: k.pozadavek}};
}

// `row`: the activity being corrected; `entry`: the outbox entry being fixed; `choices`: the
// customer's cards in service, when the entry's card took no activity.
export function activityForm(card, lists, {row = null, entry = null, choices = null}) {
    const k = card.karta;
    const correcting = Boolean(row);
    let original = row ? asRead(row, k) : null;
    const cardHref = k.id ? `#/karta/${k.id}` : `#/cekajici/${k.pozadavek}`;
    const doneHref = entry ? '#/odesilani' : cardHref;
    const kindChoices = [['', '– vyberte –'], ...(lists.cinnosti || []).map(c => [c.id, c.nazev])];
    const date = input({type: 'date', name: 'datum', required: true, value: row ? row.datum : todayIso()});
    const next = h('output', {class: 'next', id: 'datum-pristi', 'aria-live': 'polite'});
    const current = h('div', {id: 'aktualni'});
    const form =
        h('form', {id: 'cinnost', class: 'panel', novalidate: true, 'data-koncept': !entry},
          h('p', {class: 'form-for'}, h('strong', {}, k.nazev), ' – ', card.zakaznik?.nazev || ''),
          problemBox(), current, cardChoice(k, choices), field('Datum', date),
          h('p', {class: 'next-line'}, 'Příští revize: ', next),
          field('Činnost', select({name: 'cinnost', required: true}, kindChoices, row?.cinnost)),
          technicianControl(lists, row), priceFields(row),
          field('Poznámka', h('textarea', {name: 'poznamka', rows: '3'}, row?.poznamka || '')));
    if (entry) {
        // What the technician wrote, over the row as the server has it now.
        fill(form, correcting ? entry.telo.cinnost : entry.telo);
        if (correcting && entry.aktualni)
            show(current, currentRow(entry.aktualni));
        showProblem(form, entry.duvod, entry.pole);
    } else if (restoreDraft(form)) {
        noticeOnNextPage('Rozepsaný formulář je zpět, uložte ho prosím.');
    }
    // Shown as the desktop computes it, by the period of the card chosen; the server computes it
    // again on saving.
    let period = k.lhuta;
    form.elements.karta?.addEventListener('change', async () => {
        const chosen = form.elements.karta.value;
        const other = chosen ? await api.card(chosen).catch(() => null) : null;
        if (form.elements.karta.value !== chosen)
            return; // chosen again meanwhile
        period = other ? other.karta.lhuta : k.lhuta;
        showNext();
    });
    const showNext = () => {
        const nextDate = nextRevisionDate(date.value, period);
        next.value = nextDate ? dateText(nextDate) : '–';
    };
    date.addEventListener('input', showNext);
    date.addEventListener('change', showNext);
    showNext();

    const save = async (values, place) => {
        const body = correcting ? {puvodni: original, cinnost: values} : {...place, ...values};
        if (entry)
            return outbox.resubmit(entry, body);
        const about = {zakaznik: card.zakaznik && {id: card.zakaznik.id, nazev: card.zakaznik.nazev},
                       karta: {id: k.id, nazev: k.nazev}};
        const item = correcting
            ? outbox.entry('oprava', 'PUT', `cinnosti/${row.id}`, body, about)
            : outbox.entry('cinnost', 'POST', 'cinnosti', body, about, k.id ? null : k.pozadavek);
        return outbox.submit(item);
    };
    // As in the desktop, a row changed meanwhile is read again and shown; the changes are to be made again.
    const reload = stored => {
        original = asRead(stored, k);
        show(current, currentRow(stored));
        fill(form, stored);
        showNext();
    };
    onSubmit(form, async () => {
        const {values, problem, field: at} = collect(form);
        const place = target(form, k);
        if (problem || place.problem)
            return showProblem(form, problem || place.problem, problem ? at : place.field);
        delete form.dataset.koncept; // from here on it is in the outbox, not a draft
        try {
            const answer = await save(values, place.body);
            afterSaving(answer, correcting ? 'Oprava je uložena.' : 'Činnost je uložena.', doneHref);
        } catch (error) {
            if (!entry)
                form.dataset.koncept = '';
            if (error.status === 409 && error.current && correcting)
                reload(error.current);
            showProblem(form, error.message, error.field);
        }
    });

    const actions = [
        h('a', {class: 'button', href: entry ? '#/odesilani' : cardHref}, 'Zrušit'),
        h('button', {type: 'submit', form: 'cinnost', class: 'button primary'}, entry ? 'Odeslat znovu' : 'Uložit')
    ];
    const title = entry ? 'Oprava záznamu' : correcting ? 'Oprava činnosti' : 'Nová činnost';
    return {title, back: entry ? '#/odesilani' : cardHref, form: true, content: form, actions};
}
