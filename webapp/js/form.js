// Form pieces every form shares: a labelled field, its error, the busy submit, the refusal.
import {h} from './dom.js';

let counter = 0;

// A labelled control. `control` is an input, select or textarea element; `hint` a line below.
export function field(label, control, hint) {
    const id = control.id || `f${++counter}`;
    control.id = id;
    const hintElement = hint ? h('p', {class: 'hint', id: id + '-hint'}, hint) : null;
    if (hintElement)
        control.setAttribute('aria-describedby', hintElement.id);
    const caption = h('label', {'for': id}, label);
    return h('div', {class: 'field'}, caption, control, hintElement);
}

export const input = attributes => h('input', {type: 'text', autocomplete: 'off', ...attributes});

export function select(attributes, options, chosen) {
    return h('select', attributes,
             options.map(([value, text]) =>
                             h('option', {value, selected: String(value) === String(chosen ?? '')}, text)));
}

// Shows a message at the top of the form and, when one field is at fault, marks it and
// puts the cursor there.
export function showProblem(form, message, fieldName) {
    for (const marked of form.querySelectorAll('[aria-invalid]'))
        marked.removeAttribute('aria-invalid');
    const box = form.querySelector('.form-error');
    box.textContent = message;
    box.hidden = !message;
    const control = fieldName ? form.elements.namedItem(fieldName) : null;
    if (control) {
        control.setAttribute('aria-invalid', 'true');
        control.focus();
    } else if (message) {
        box.focus();
    }
}

export const problemBox = () => h('p', {class: 'form-error', role: 'alert', tabindex: '-1', hidden: true});

// Runs the form's work on submit, once at a time, its submit buttons off while it runs.
export function onSubmit(form, work) {
    form.addEventListener('submit', async event => {
        event.preventDefault();
        if (form.dataset.busy)
            return;
        form.dataset.busy = '1';
        const buttons =
            [...document.querySelectorAll(`button[form="${form.id}"]`), ...form.querySelectorAll('button')];
        for (const button of buttons)
            button.disabled = true;
        try {
            await work();
        } finally {
            delete form.dataset.busy;
            for (const button of buttons)
                button.disabled = false;
        }
    });
}

// What was typed into a form, kept for the tab when the session ends under it, so that the
// form comes back filled after signing in again. Only forms marked data-koncept are kept.
const draftKey = () => 'koncept:' + location.hash;

// Whether anything in the form differs from what it was built with (a list without a chosen
// item starts at its first).
const firstChosen = list => Math.max(0, [...list.options].findIndex(option => option.defaultSelected));
const edited = form => [...form.elements].some(
    control => control.name && (control.tagName === 'SELECT' ? control.selectedIndex !== firstChosen(control)
                                                             : control.value !== control.defaultValue));

// `onlyEdited`: a form nobody typed into is not kept (it would come back with a notice for
// nothing).
export function keepDrafts(onlyEdited = false) {
    for (const form of document.querySelectorAll('form[data-koncept]')) {
        if (onlyEdited && !edited(form))
            continue;
        const values = {};
        for (const control of form.elements) {
            if (control.name && control.type !== 'password')
                values[control.name] = control.value;
        }
        sessionStorage.setItem(draftKey(), JSON.stringify(values));
    }
}

// Fills the form with what was kept for this page, if anything; true when it did.
export function restoreDraft(form) {
    const kept = sessionStorage.getItem(draftKey());
    if (!kept)
        return false;
    sessionStorage.removeItem(draftKey());
    fillForm(form, JSON.parse(kept));
    return true;
}

// Puts each value into the control of its name; those without a value are left as they are.
export function fillForm(form, values) {
    for (const [name, value] of Object.entries(values)) {
        const control = form.elements.namedItem(name);
        if (control && value != null)
            control.value = value;
    }
}

export function forgetDrafts() {
    sessionStorage.clear();
}
