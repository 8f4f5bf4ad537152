// A customer: how to reach him, where he lives, the notes, and his heating sources.
import * as api from '../api.js';
import {h} from '../dom.js';
import {dateText} from '../format.js';
import {address, nextRevision, overdueBadge, phoneLink} from '../pieces.js';

export async function customerPage([id]) {
    return renderCustomer(await api.customer(id));
}

function mapLinks(c) {
    const place = address(c.ulice, [c.psc, c.mesto].filter(Boolean).join(' '));
    if (!c.ulice && !c.mesto)
        return null;
    const q = encodeURIComponent(place);
    return h('div', {class: 'row'},
             h('a', {class: 'button', href: `geo:0,0?q=${q}`}, 'Navigovat'),
             h('a', {class: 'button', href: `https://www.openstreetmap.org/search?query=${q}`, target: '_blank',
                     rel: 'noopener noreferrer', 'aria-label': 'Mapa na OpenStreetMap'}, 'Mapa'));
}

function cardItem(k) {
    const retired = Boolean(k.vyrazeno_dne);
    return h('li', {class: k.po_terminu && !retired ? 'item overdue' : retired ? 'item retired' : 'item'},
             h('a', {class: 'item-link', href: `#/karta/${k.id}`},
               h('span', {class: 'item-title'}, k.nazev),
               h('span', {class: 'item-line'}, [k.typ, k.vyrobce].filter(Boolean).join(' · ')),
               k.vyrobni_cislo ? h('span', {class: 'item-line muted'}, 'Výr. č. ', k.vyrobni_cislo) : null,
               h('span', {class: 'item-line'},
                 retired ? `Vyřazeno ${dateText(k.vyrazeno_dne)}`
                         : [nextRevision(k.pristi_revize, k.po_terminu), ' ', overdueBadge(k.po_terminu)])));
}

export function renderCustomer({zakaznik: c, karty: cards = []}) {
    const notes = [c.poznamka1, c.poznamka2].filter(Boolean);
    const flags = [c.je_firma ? 'firma' : null, c.zaruka5let ? 'záruka 5 let' : null,
                   c.hlidani_revizi === false ? 'revize se nehlídají' : null].filter(Boolean);
    const active = cards.filter(k => !k.vyrazeno_dne);
    const retired = cards.filter(k => k.vyrazeno_dne);
    const content = h('div', {},
                      h('section', {class: 'panel'},
                        h('h2', {class: 'name'}, c.nazev || 'Bez jména'),
                        c.osoba ? h('p', {}, c.osoba) : null,
                        h('div', {class: 'contacts'}, phoneLink(c.mobil, 'Mobil'), phoneLink(c.tel, 'Telefon'),
                          c.email ? h('a', {class: 'button contact', href: 'mailto:' + c.email},
                                      h('span', {}, 'E-mail'), h('span', {class: 'number'}, c.email)) : null),
                        h('p', {class: 'address'}, address(c.ulice, [c.psc, c.mesto].filter(Boolean).join(' '))),
                        mapLinks(c),
                        flags.length ? h('p', {class: 'muted'}, flags.join(', ')) : null,
                        c.ico ? h('p', {class: 'muted'}, 'IČO ', c.ico, c.dic ? `, DIČ ${c.dic}` : '') : null),
                      notes.length ? h('section', {class: 'panel notes'}, h('h2', {}, 'Poznámky'), notes.map(n => h('p', {}, n))) : null,
                      h('section', {class: 'group'},
                        h('h2', {}, `Topné zdroje (${active.length})`),
                        active.length ? h('ul', {class: 'list', id: 'karty'}, active.map(cardItem))
                                      : h('p', {class: 'hint'}, 'Zákazník nemá žádný topný zdroj v provozu.'),
                        retired.length ? h('details', {class: 'retired-list'},
                                           h('summary', {}, `Vyřazené (${retired.length})`),
                                           h('ul', {class: 'list'}, retired.map(cardItem))) : null));
    const actions = [h('a', {class: 'button primary', href: `#/zakaznik/${c.id}/nova-karta`}, 'Nová karta')];
    return {title: 'Zákazník', back: '#/hledat', content, actions};
}
