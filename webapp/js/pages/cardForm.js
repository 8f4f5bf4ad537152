// A new card at a customer's: a boiler nobody registered yet. The period comes from the
// category, as in the desktop. A scanned code no card has comes in as the barcode.
import * as api from '../api.js';
import {h} from '../dom.js';
import {field, input, onSubmit, problemBox, restoreDraft, select, showProblem} from '../form.js';
import {periodText} from '../format.js';
import {noticeOnNextPage} from '../layout.js';
import {go} from '../router.js';
import * as session from '../session.js';

// The text fields: column, label, length, and the message when a required one is empty.
const texts = [
    ['nazev', 'Název', 100, 'Kolonka Název musí být vyplněná!'],
    ['typ', 'Typ', 50, 'Kolonka Typ musí být vyplněná!'], ['vyrobce', 'Výrobce', 50],
    ['vyrobni_cislo', 'Výrobní číslo', 30], ['carovy_kod', 'Čárový kód', 30]
];

export async function newCardPage([customerId], query) {
    const [customer, lists] = await Promise.all([api.customer(customerId), session.codeLists()]);
    return cardForm(customer.zakaznik, lists, query?.get('carovy_kod'));
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

export function cardForm(customer, lists, barcode = null) {
    const write = new api.Write();
    const categories = lists.kategorie || [];
    const category = select({name: 'kategorie', required: true},
                            [['', '– vyberte –'], ...categories.map(c => [c.id, c.nazev])]);
    const period = h('output', {id: 'lhuta', 'aria-live': 'polite'});
    const form =
        h('form', {id: 'karta', class: 'panel', novalidate: true, 'data-koncept': true},
          h('p', {class: 'form-for'}, 'Zákazník ', h('strong', {}, customer.nazev || '')), problemBox(),
          texts.map(textField), field('Rok výroby', select({name: 'rok_vyroby'}, years())),
          field('Kategorie', category), h('p', {class: 'next-line'}, 'Lhůta revize: ', period));
    if (restoreDraft(form))
        noticeOnNextPage('Rozepsaný formulář je zpět, uložte ho prosím.');
    if (barcode)
        form.elements.carovy_kod.value = barcode.slice(0, 30);
    const showPeriod = () => {
        const chosen = categories.find(c => String(c.id) === category.value);
        period.value = chosen ? periodText(chosen.lhuta) : '–';
    };
    category.addEventListener('change', showPeriod);
    showPeriod();

    onSubmit(form, async () => {
        const {values, problem, field: at} = collect(form, customer.id);
        if (problem)
            return showProblem(form, problem, at);
        try {
            const {karta} = await api.addCard(write, values);
            noticeOnNextPage('Karta je uložena.');
            go(`#/karta/${typeof karta === 'object' ? karta.id : karta}`, {replace: true});
        } catch (error) {
            showProblem(form, error.message, error.field);
        }
    });

    const actions = [
        h('a', {class: 'button', href: `#/zakaznik/${customer.id}`}, 'Zrušit'),
        h('button', {type: 'submit', form: 'karta', class: 'button primary'}, 'Uložit')
    ];
    return {title: 'Nová karta', back: `#/zakaznik/${customer.id}`, form: true, content: form, actions};
}
