// Recording an activity on a card, and correcting one: the same form, filled from today's
// defaults or from the row as it was read.
import * as api from '../api.js';
import {h, show} from '../dom.js';
import {field, input, onSubmit, problemBox, restoreDraft, select, showProblem} from '../form.js';
import {dateText, moneyInput, nextRevisionDate, parseIsoDate, parseMoney, todayIso} from '../format.js';
import {noticeOnNextPage} from '../layout.js';
import {go} from '../router.js';
import * as session from '../session.js';

import {activityFacts, prices} from './card.js';

export async function newActivityPage([cardId]) {
    const [card, lists] = await Promise.all([api.card(cardId), session.codeLists()]);
    return activityForm(card, lists, null);
}

export async function correctionPage([id], query) {
    const cardId = query.get('karta');
    if (!cardId)
        throw new Error('Opravu činnosti otevřete z její karty.');
    const [card, lists] = await Promise.all([api.card(cardId), session.codeLists()]);
    const row = (card.cinnosti || []).find(a => String(a.id) === String(id));
    if (!row)
        throw new Error('Činnost na kartě není, mohl ji mezitím smazat jiný uživatel.');
    return activityForm(card, lists, row);
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

function currentRow(row) {
    return h('section', {class: 'current', 'aria-label': 'Aktuální záznam'},
             h('h3', {}, 'Nyní uloženo: ', dateText(row.datum), ' ', row.nazev_cinnosti || ''),
             activityFacts(row));
}

export function activityForm(card, lists, row) {
    const k = card.karta;
    const correcting = Boolean(row);
    let original = row ? asRead(row, k) : null;
    const write = new api.Write();
    const kindChoices = [['', '– vyberte –'], ...(lists.cinnosti || []).map(c => [c.id, c.nazev])];
    const date = input({type: 'date', name: 'datum', required: true, value: row ? row.datum : todayIso()});
    const next = h('output', {class: 'next', id: 'datum-pristi', 'aria-live': 'polite'});
    const current = h('div', {id: 'aktualni'});
    const form =
        h('form', {id: 'cinnost', class: 'panel', novalidate: true, 'data-koncept': true},
          h('p', {class: 'form-for'}, h('strong', {}, k.nazev), ' – ', card.zakaznik?.nazev || ''),
          problemBox(), current, field('Datum', date), h('p', {class: 'next-line'}, 'Příští revize: ', next),
          field('Činnost', select({name: 'cinnost', required: true}, kindChoices, row?.cinnost)),
          technicianControl(lists, row), priceFields(row),
          field('Poznámka', h('textarea', {name: 'poznamka', rows: '3'}, row?.poznamka || '')));
    if (restoreDraft(form))
        noticeOnNextPage('Rozepsaný formulář je zpět, uložte ho prosím.');
    // Shown as the desktop computes it; the server computes it again on saving.
    const showNext = () => {
        const nextDate = nextRevisionDate(date.value, k.lhuta);
        next.value = nextDate ? dateText(nextDate) : '–';
    };
    date.addEventListener('input', showNext);
    date.addEventListener('change', showNext);
    showNext();

    const save = async values => {
        if (correcting)
            await api.correctActivity(write, row.id, original, values);
        else
            await api.addActivity(write, {id_topneho_zdroje: k.id, ...values});
        noticeOnNextPage(correcting ? 'Oprava je uložena.' : 'Činnost je uložena.');
        go(`#/karta/${k.id}`, {replace: true});
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
        if (problem)
            return showProblem(form, problem, at);
        try {
            await save(values);
        } catch (error) {
            if (error.status === 409 && error.current)
                reload(error.current);
            showProblem(form, error.message, error.field);
        }
    });

    const actions = [
        h('a', {class: 'button', href: `#/karta/${k.id}`}, 'Zrušit'),
        h('button', {type: 'submit', form: 'cinnost', class: 'button primary'}, 'Uložit')
    ];
    const title = correcting ? 'Oprava činnosti' : 'Nová činnost';
    return {title, back: `#/karta/${k.id}`, form: true, content: form, actions};
}
