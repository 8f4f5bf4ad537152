// "Na cestu": what the phone holds for work without signal and from when, and the choice of
// the towns (or the whole due list) to store before leaving.
import * as api from '../api.js';
import {h, show} from '../dom.js';
import {onSubmit, problemBox, showProblem} from '../form.js';
import {counted, timeText} from '../format.js';
import {showNotice} from '../layout.js';
import * as trip from '../offline/trip.js';

function heldText(held) {
    if (!held)
        return [h('p', {}, 'Pro práci bez signálu zatím v telefonu nic uloženo není.')];
    const what = [];
    if (held.mesta.length)
        what.push(`Města: ${held.mesta.join(', ')}.`);
    if (held.revize)
        what.push('Celý seznam revizí.');
    if (held.zakaznici.length)
        what.push(`Zákazníci uložení jednotlivě: ${held.zakaznici.length}.`);
    return [
        h('p', {id: 'ulozeno'}, `Uloženo ${timeText(held.cas)}: `,
          counted(held.pocet_zakazniku, 'zákazník', 'zákazníci', 'zákazníků'), ', ',
          counted(held.pocet_karet, 'karta', 'karty', 'karet'), '.'),
        what.length ? h('p', {class: 'muted'}, what.join(' ')) : null
    ];
}

const sizeText = bytes =>
    (bytes == null ? null : `Data aplikace v telefonu: ${(bytes / 1048576).toFixed(1).replace('.', ',')} MB.`);

function heldPanel(held, bytes) {
    return h('section', {class: 'panel', id: 'v-telefonu'}, h('h2', {}, 'V telefonu'), heldText(held),
             bytes == null ? null : h('p', {class: 'muted'}, sizeText(bytes)),
             h('p', {class: 'hint'}, 'Zákazníci otevření v poslední době jsou v telefonu také.'));
}

function checkbox(name, value, label, checked) {
    return h('label', {class: 'check'}, h('input', {type: 'checkbox', name, value, checked}), h('span', {}, label));
}

function choiceForm(towns, held, whenStored) {
    const chosen = new Set(held?.mesta || []);
    const offered = [...new Set([...chosen, ...towns])];
    const state = h('p', {class: 'count', id: 'cesta-stav', role: 'status'});
    const townList = offered.length
        ? h('fieldset', {class: 'towns'}, h('legend', {}, 'Města'),
            offered.map(town => checkbox('mesto', town, town, chosen.has(town))))
        : h('p', {class: 'hint'}, 'Nikde není nic k revizi.');
    const form = h('form', {id: 'cesta', class: 'panel', novalidate: true}, h('h2', {}, 'Uložit na cestu'),
                   problemBox(), townList,
                   checkbox('revize', '1', 'Celý seznam revizí (všechna města)', Boolean(held?.revize)),
                   held?.zakaznici.length
                       ? h('p', {class: 'hint'}, 'Jednotlivě uložení zákazníci se uloží znovu také.')
                       : null,
                   h('button', {type: 'submit', class: 'button primary wide'}, 'Uložit do telefonu'), state);
    onSubmit(form, async () => {
        const selection = {
            towns: [...form.querySelectorAll('input[name=mesto]:checked')].map(box => box.value),
            due: form.elements.revize.checked,
            customers: held?.zakaznici || []
        };
        if (!selection.towns.length && !selection.due && !selection.customers.length)
            return showProblem(form, 'Vyberte aspoň jedno město, nebo celý seznam revizí.');
        showProblem(form, '');
        show(state, 'Ukládám do telefonu…');
        try {
            const stored = await trip.store(selection);
            show(state, '');
            await whenStored(stored);
        } catch (error) {
            show(state, '');
            showProblem(form, error.message, error.field === 'mesto' ? null : error.field);
        }
    });
    return form;
}

export async function tripPage() {
    const [held, bytes] = await Promise.all([trip.current(), trip.used()]);
    const panel = h('div', {}, heldPanel(held, bytes));
    const content = h('div', {}, panel);
    const whenStored = async stored => {
        show(panel, heldPanel(stored, await trip.used()));
        showNotice('Uloženo do telefonu. Data budou k dispozici i bez signálu.');
    };
    if (navigator.onLine === false) {
        content.append(h('p', {class: 'hint'}, 'Ukládat na cestu lze jen se signálem.'));
    } else {
        try {
            const due = await api.dueListFromServer('', '');
            content.append(choiceForm(due.mesta || [], held, whenStored));
        } catch (error) {
            content.append(h('p', {class: 'error-text', role: 'alert'}, error.message));
        }
    }
    return {title: 'Na cestu', section: '#/na-cestu', content};
}

// On a customer's page: this customer into the phone for the trip.
export function tripButton(customer) {
    const button = h('button', {type: 'button', class: 'button wide', id: 'na-cestu'}, 'Uložit na cestu');
    button.addEventListener('click', async () => {
        button.disabled = true;
        try {
            await trip.addCustomer(customer.id);
            showNotice('Zákazník je uložen v telefonu pro práci bez signálu.');
        } catch (error) {
            showNotice(error.message, 'error');
        } finally {
            button.disabled = false;
        }
    });
    return button;
}
