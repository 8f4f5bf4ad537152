// A customer: how to reach him, where he lives, the notes, and his heating sources.
import * as api from '../api.js';
import {h} from '../dom.js';
import {dateText} from '../format.js';
import * as outbox from '../offline/outbox.js';
import {address, nextRevision, overdueBadge, phoneLink} from '../pieces.js';

import {stateBadge} from './outboxEntries.js';
import {tripButton} from './trip.js';

export async function customerPage([id]) {
    const data = await api.customer(id);
    const all = await outbox.entries().catch(() => []);
    const newCards = all.filter(item => item.druh === 'karta' && item.stav !== outbox.written &&
                                        String(item.o_cem?.zakaznik?.id) === String(data.zakaznik.id));
    return renderCustomer(data, newCards);
}

const place = c => address(c.ulice, [c.psc, c.mesto].filter(Boolean).join(' '));

// Navigation in the phone's own map app (geo:) and the map in the browser.
function mapLinks(c) {
    if (!c.ulice && !c.mesto)
        return null;
    const q = encodeURIComponent(place(c));
    const map = `https://www.openstreetmap.org/search?query=${q}`;
    return h('div', {class: 'row'}, h('a', {class: 'button', href: `geo:0,0?q=${q}`}, 'Navigovat'),
             h('a', {
                 class: 'button',
                 href: map,
                 target: '_blank',
                 rel: 'noopener noreferrer',
                 'aria-label': 'Mapa na OpenStreetMap'
             },
               'Mapa'));
}

function emailLink(email) {
    if (!email)
        return null;
    return h('a', {class: 'button contact', href: 'mailto:' + email}, h('span', {}, 'E-mail'),
             h('span', {class: 'number'}, email));
}

function cardState(k) {
    if (k.vyrazeno_dne)
        return `Vyřazeno ${dateText(k.vyrazeno_dne)}`;
    return [nextRevision(k.pristi_revize, k.po_terminu), ' ', overdueBadge(k.po_terminu)];
}

function cardItem(k) {
    const kind = k.vyrazeno_dne ? 'item retired' : k.po_terminu ? 'item overdue' : 'item';
    const serial =
        k.vyrobni_cislo ? h('span', {class: 'item-line muted'}, 'Výr. č. ', k.vyrobni_cislo) : null;
    return h('li', {class: kind},
             h('a', {class: 'item-link', href: `#/karta/${k.id}`}, h('span', {class: 'item-title'}, k.nazev),
               h('span', {class: 'item-line'}, [k.typ, k.vyrobce].filter(Boolean).join(' · ')), serial,
               h('span', {class: 'item-line'}, cardState(k))));
}

function customerPanel(c) {
    const flags = [
        c.je_firma ? 'firma' : null, c.zaruka5let ? 'záruka 5 let' : null,
        c.hlidani_revizi === false ? 'revize se nehlídají' : null
    ].filter(Boolean);
    const contacts = h('div', {class: 'contacts'}, phoneLink(c.mobil, 'Mobil'), phoneLink(c.tel, 'Telefon'),
                       emailLink(c.email));
    return h('section', {class: 'panel'}, h('h2', {class: 'name'}, c.nazev || 'Bez jména'),
             c.osoba ? h('p', {}, c.osoba) : null, contacts, h('p', {class: 'address'}, place(c)),
             mapLinks(c), flags.length ? h('p', {class: 'muted'}, flags.join(', ')) : null,
             c.ico ? h('p', {class: 'muted'}, 'IČO ', c.ico, c.dic ? `, DIČ ${c.dic}` : '') : null);
}

function notesPanel(c) {
    const notes = [c.poznamka1, c.poznamka2].filter(Boolean);
    if (!notes.length)
        return null;
    return h('section', {class: 'panel notes'}, h('h2', {}, 'Poznámky'), notes.map(n => h('p', {}, n)));
}

function newCardItem(item) {
    return h('li', {class: 'item pending'},
             h('a', {class: 'item-link', href: `#/cekajici/${item.id_pozadavku}`},
               h('span', {class: 'item-title'}, item.telo.nazev),
               h('span', {class: 'item-line'}, [item.telo.typ, item.telo.vyrobce].filter(Boolean).join(' · ')),
               h('span', {class: 'item-line'}, stateBadge(item))));
}

// The sources in service first, then new ones still in the phone; those taken out of service
// folded away below.
function cardsSection(cards, newCards) {
    const active = cards.filter(k => !k.vyrazeno_dne);
    const retired = cards.filter(k => k.vyrazeno_dne);
    const none = h('p', {class: 'hint'}, 'Zákazník nemá žádný topný zdroj v provozu.');
    return h('section', {class: 'group'}, h('h2', {}, `Topné zdroje (${active.length})`),
             active.length ? h('ul', {class: 'list', id: 'karty'}, active.map(cardItem))
                           : newCards.length ? null : none,
             newCards.length ? h('ul', {class: 'list', id: 'nove-karty'}, newCards.map(newCardItem)) : null,
             retired.length
                 ? h('details', {class: 'retired-list'}, h('summary', {}, `Vyřazené (${retired.length})`),
                     h('ul', {class: 'list'}, retired.map(cardItem)))
                 : null);
}

export function renderCustomer({zakaznik: c, karty: cards = []}, newCards = []) {
    const content =
        h('div', {}, customerPanel(c), notesPanel(c), cardsSection(cards, newCards), tripButton(c));
    const actions = [
        h('a', {class: 'button scan', href: `#/zakaznik/${c.id}/skenovat`}, 'Skenovat'),
        h('a', {class: 'button primary', href: `#/zakaznik/${c.id}/nova-karta`}, 'Nová karta')
    ];
    return {title: 'Zákazník', back: '#/hledat', content, actions};
}
