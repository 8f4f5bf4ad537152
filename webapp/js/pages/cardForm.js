// A new card at a customer's: a boiler nobody registered yet. The period comes from the
// category, as in the desktop. A scanned code no card has comes in as the barcode. Saved
// through the outbox: without signal the card waits in the phone, and activities can be
// recorded on it meanwhile.
import * as api from '../api.js';
import {h} from '../dom.js';
import {field, fillForm, input, onSubmit, problemBox, restoreDraft, select, showProblem} from '../form.js';
import {periodText} from '../format.js';
import {noticeOnNextPage} from '../layout.js';
import * as outbox from '../offline/outbox.js';
import * as session from '../session.js';

import {afterSaving} from './saved.js';

// The text fields: column, label, length, and the message when a required one is empty.
const texts = [
    ['nazev', 'Název', 100, 'Kolonka Název musí být vyplněná!'],
    ['typ', 'Typ', 50, 'Kolonka Typ musí být vyplněná!'], ['vyrobce', 'Výrobce', 50],
    ['vyrobni_cislo', 'Výrobní číslo', 30], ['carovy_kod', 'Čárový kód', 30]
];

export async function newCardPage([customerId], query) {
    const [customer, lists] = await Promise.all([api.customer(customerId), session.codeLists()]);
    return cardForm(customer.zakaznik, lists, {barcode: query?.get('carovy_kod')});
}

// As the desktop offers them: none, then this year back to 1980.
function years() {
    const list = [['', 'neuveden']];
    for (let year = new Date().getFullYear(); year >= 1980; --year)
        list.push([year, String(year)]);
    return list;
}

function textField([name, label, length]) {
    const capitals = name === 'nazev' ? 'sentences' : 'none';
    return field(label, input({name, maxlength: String(length), autocapitalize: capitals}));
}

// The values typed, in the API's form, or a problem with the field at fault.
function collect(form, customerId) {
    const values = {id_zakaznika: customerId};
    for (const [name, , , required] of texts) {
        const value = form.elements[name].value.trim();
        if (required && !value)
            return {problem: required, field: name};
        values[name] = value || null;
    }
    if (!form.elements.kategorie.value)
        return {problem: 'Kolonka Kategorie musí být vyplněná!', field: 'kategorie'};
    values.kategorie = Number(form.elements.kategorie.value);
    const year = form.elements.rok_vyroby.value;
    values.rok_vyroby = year ? Number(year) : null;
    return {values};
}

// `entry`: a refused entry of the outbox being fixed.
export function cardForm(customer, lists, {barcode = null, entry = null} = {}) {
    const categories = lists.kategorie || [];
    const category = select({name: 'kategorie', required: true},
                            [['', '– vyberte –'], ...categories.map(c => [c.id, c.nazev])]);
    const period = h('output', {id: 'lhuta', 'aria-live': 'polite'});
    const form =
        h('form', {id: 'karta', class: 'panel', novalidate: true, 'data-koncept': !entry},
          h('p', {class: 'form-for'}, 'Zákazník ', h('strong', {}, customer.nazev || '')), problemBox(),
          texts.map(textField), field('Rok výroby', select({name: 'rok_vyroby'}, years())),
          field('Kategorie', category), h('p', {class: 'next-line'}, 'Lhůta revize: ', period));
    if (entry) {
        fillForm(form, entry.telo);
        showProblem(form, entry.duvod, entry.pole);
    } else if (restoreDraft(form)) {
        noticeOnNextPage('Rozepsaný formulář je zpět, uložte ho prosím.');
    }
    if (barcode) // as given, not typed: a form left so is no draft
        form.elements.carovy_kod.defaultValue = barcode.slice(0, 30);
    const showPeriod = () => {
        const chosen = categories.find(c => String(c.id) === category.value);
        period.value = chosen ? periodText(chosen.lhuta) : '–';
    };
    category.addEventListener('change', showPeriod);
    showPeriod();

    const save = values => {
        if (entry)
            return outbox.resubmit(entry, values);
        const about = {zakaznik: {id: customer.id, nazev: customer.nazev}, karta: null};
        return outbox.submit(outbox.entry('karta', 'POST', 'karty', values, about));
    };
    onSubmit(form, async () => {
        const {values, problem, field: at} = collect(form, customer.id);
        if (problem)
            return showProblem(form, problem, at);
        delete form.dataset.koncept; // from here on it is in the outbox, not a draft
        try {
            const answer = await save(values);
            const written = answer.stav === outbox.written;
            const next = entry ? '#/odesilani'
                               : written ? `#/karta/${answer.odpoved.karta.id}` : `#/cekajici/${answer.id_pozadavku}`;
            afterSaving(answer, 'Karta je uložena.', next);
        } catch (error) {
            if (!entry)
                form.dataset.koncept = '';
            showProblem(form, error.message, error.field);
        }
    });

    const actions = [
        h('a', {class: 'button', href: entry ? '#/odesilani' : `#/zakaznik/${customer.id}`}, 'Zrušit'),
        h('button', {type: 'submit', form: 'karta', class: 'button primary'}, entry ? 'Odeslat znovu' : 'Uložit')
    ];
    const back = entry ? '#/odesilani' : `#/zakaznik/${customer.id}`;
    return {title: entry ? 'Oprava záznamu' : 'Nová karta', back, form: true, content: form, actions};
}
