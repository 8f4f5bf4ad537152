// Small pieces several pages show the same way.
import {h} from './dom.js';
import {dateText} from './format.js';

// "Po termínu" in words as well as in colour, so it reads in any light.
export const overdueBadge = overdue => (overdue ? h('span', {class: 'badge overdue'}, 'Po termínu') : null);

export function nextRevision(date, overdue) {
    return h('span', {class: overdue ? 'due overdue' : 'due'},
             date ? ['Revize ', h('strong', {}, dateText(date))] : 'Revize neplánována');
}

const digits = phone => String(phone).replace(/[^\d+]/g, '');

// A compact "Volat" for lists; with a label, a full-width line naming the number.
export function phoneLink(phone, label) {
    if (!phone)
        return null;
    if (!label)
        return h('a', {class: 'button call', href: 'tel:' + digits(phone), 'aria-label': `Volat ${phone}`},
                 'Volat');
    return h('a', {class: 'button contact', href: 'tel:' + digits(phone)}, h('span', {}, label),
             h('span', {class: 'number'}, phone));
}

export const address = (...parts) => parts.filter(Boolean).join(', ');
