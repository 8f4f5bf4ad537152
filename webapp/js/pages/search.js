// One box for a customer's name, contact person, town, street or phone; a serial number or
// barcode opens its card at once; "Skenovat" reads the code with the camera.
import * as api from '../api.js';
import {h, show} from '../dom.js';
import {address} from '../pieces.js';
import {go} from '../router.js';

export async function searchPage(params, query) {
    const text = query.get('text') || '';
    const answer = text ? await api.search(text) : null;
    if (answer?.karta) {
        go(`#/karta/${answer.karta}`, {replace: true});
        return {title: 'Hledat', content: h('p', {class: 'loading'}, 'Otevírám kartu…')};
    }
    return renderSearch(answer, text);
}

function customerItem(c) {
    return h('li', {class: 'item'},
             h('a', {class: 'item-link', href: `#/zakaznik/${c.id}`},
               h('span', {class: 'item-title'}, c.nazev || 'Bez jména'),
               c.osoba ? h('span', {class: 'item-line'}, c.osoba) : null,
               h('span', {class: 'item-line'}, address(c.ulice, c.mesto)),
               c.tel || c.mobil
                   ? h('span', {class: 'item-line muted'}, [c.mobil, c.tel].filter(Boolean).join(', '))
                   : null));
}

function results(answer, text) {
    if (!answer)
        return h(
            'p', {class: 'hint'},
            'Jméno, kontaktní osoba, město, ulice nebo telefon; výrobní číslo či čárový kód otevře rovnou kartu.');
    const found = answer.zakaznici || [];
    if (!found.length)
        return h('p', {class: 'count', role: 'status'}, `Na „${text}“ nic nenalezeno.`);
    return [
        h('p', {class: 'count', role: 'status'},
          answer.dalsi ? `Prvních ${found.length} nalezených; upřesněte hledání.`
                       : `Nalezeno: ${found.length}`),
        h('ul', {class: 'list'}, found.map(customerItem))
    ];
}

export function renderSearch(answer, text) {
    const box = h('input', {
        type: 'search',
        name: 'text',
        id: 'hledat-text',
        value: text,
        enterkeyhint: 'search',
        autocomplete: 'off',
        autocapitalize: 'none',
        spellcheck: 'false',
        'aria-label': 'Hledat'
    });
    const list = h('div', {id: 'vysledky'}, results(answer, text));
    const form = h('form', {class: 'search', role: 'search'}, box,
                   h('button', {type: 'submit', class: 'button primary'}, 'Hledat'));
    const scan = h('a', {class: 'button wide', href: '#/skenovat'}, 'Skenovat');
    form.addEventListener('submit', event => {
        event.preventDefault();
        const wanted = box.value.trim();
        if (wanted)
            go('#/hledat?text=' + encodeURIComponent(wanted));
        else
            show(list, results(null, ''));
    });
    return {
        title: 'Hledat',
        section: '#/hledat',
        content: h('div', {}, form, scan, list),
        focus: text ? null : box
    };
}
