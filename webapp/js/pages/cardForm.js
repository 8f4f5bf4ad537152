// A new card at a customer's: a boiler nobody registered yet. The period comes from the
// category, as in the desktop.
import * as api from '../api.js';
import * as session from '../session.js';
import {h} from '../dom.js';
import {counted} from '../format.js';
import {busy, field, input, problemBox, select, showProblem} from '../form.js';
import {noticeOnNextPage} from '../layout.js';
import {go} from '../router.js';

const texts = [['nazev', 'Název', 100, 'Kolonka Název musí být vyplněná!'],
               ['typ', 'Typ', 50, 'Kolonka Typ musí být vyplněná!'],
               ['vyrobce', 'Výrobce', 50],
               ['vyrobni_cislo', 'Výrobní číslo', 30],
               ['carovy_kod', 'Čárový kód', 30]];

export async function newCardPage([customerId]) {
    const [customer, lists] = await Promise.all([api.customer(customerId), session.codeLists()]);
    return cardForm(customer.zakaznik, lists);
}

function years() {
    const list = [['', 'neuveden']];
    for (let year = new Date().getFullYear(); year >= 1980; --year)
        list.push([year, String(year)]);
    return list;
}

export function cardForm(customer, lists) {
    const write = new api.Write();
    const categories = lists.kategorie || [];
    const category = select({name: 'kategorie', required: true},
                            [['', '– vyberte –'], ...categories.map(c => [c.id, c.nazev])]);
    const period = h('output', {id: 'lhuta', 'aria-live': 'polite'});
    const form = h('form', {id: 'karta', class: 'panel', novalidate: true},
                   h('p', {class: 'form-for'}, 'Zákazník ', h('strong', {}, customer.nazev || '')),
                   problemBox(),
                   texts.map(([name, label, length]) => field(label, input({name, maxlength: String(length),
                                                                           autocapitalize: name === 'nazev' ? 'sentences' : 'none'}))),
                   field('Rok výroby', select({name: 'rok_vyroby'}, years())),
                   field('Kategorie', category),
                   h('p', {class: 'next-line'}, 'Lhůta revize: ', period));
    const showPeriod = () => {
        const chosen = categories.find(c => String(c.id) === category.value);
        period.value = chosen ? counted(Number(chosen.lhuta), 'měsíc', 'měsíce', 'měsíců') : '–';
    };
    category.addEventListener('change', showPeriod);
    showPeriod();

    form.addEventListener('submit', busy(form, async () => {
        const values = {id_zakaznika: customer.id};
        for (const [name, , , required] of texts) {
            const value = form.elements[name].value.trim();
            if (required && !value)
                return showProblem(form, required, name);
            values[name] = value || null;
        }
        if (!category.value)
            return showProblem(form, 'Kolonka Kategorie musí být vyplněná!', 'kategorie');
        values.kategorie = Number(category.value);
        values.rok_vyroby = form.elements.rok_vyroby.value ? Number(form.elements.rok_vyroby.value) : null;
        try {
            const {karta} = await api.addCard(write, values);
            noticeOnNextPage('Karta je uložena.');
            go(`#/karta/${typeof karta === 'object' ? karta.id : karta}`, {replace: true});
        } catch (error) {
            showProblem(form, error.message, error.field);
        }
    }));

    const actions = [h('a', {class: 'button', href: `#/zakaznik/${customer.id}`}, 'Zrušit'),
                     h('button', {type: 'submit', form: 'karta', class: 'button primary'}, 'Uložit')];
    return {title: 'Nová karta', back: `#/zakaznik/${customer.id}`, form: true, content: form, actions};
}
