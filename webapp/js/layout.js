// The frame every page is shown in: the title bar with its way back, the page itself, the
// bar of main actions at the bottom (in reach of the thumb) and the navigation below it.
import {h, show} from './dom.js';
import {showOutbox, showStored} from './status.js';

const part = id => document.getElementById(id);
let depth = 0; // pages opened inside the app, so "Zpět" may go back through history
let pendingNotice = null;

export function countNavigation(isBack) {
    depth = isBack ? Math.max(0, depth - 1) : depth + 1;
}

// A short confirmation shown on the next page ("Činnost je uložena.").
export function noticeOnNextPage(text) {
    pendingNotice = text;
}

export function showNotice(text, kind = 'ok') {
    const notice = part('notice');
    notice.className = 'notice ' + kind;
    notice.textContent = text;
    notice.hidden = !text;
}

export function showLoading() {
    part('main').setAttribute('aria-busy', 'true');
}

// Shows the page; `scroll` is where to scroll it to (going back returns to where one was).
export function showView(view, scroll = 0) {
    document.title = view.title ? `${view.title} – Vestibor` : 'Vestibor';
    show(part('title'), view.title || 'Vestibor');
    const back = part('back');
    back.hidden = !view.back;
    back.href = view.back || '#/revize';
    part('signout').hidden = Boolean(view.signedOut);
    const withNav = !(view.signedOut || view.noNav || view.form);
    part('nav').hidden = !withNav;
    document.body.classList.toggle('with-nav', withNav);
    for (const link of part('nav').querySelectorAll('a')) {
        if (link.getAttribute('href') === view.section)
            link.setAttribute('aria-current', 'page');
        else
            link.removeAttribute('aria-current');
    }
    const actions = part('actions');
    show(actions, view.actions || []);
    actions.hidden = !view.actions;
    document.body.classList.toggle('with-actions', Boolean(view.actions));
    const main = part('main');
    main.removeAttribute('aria-busy');
    show(main, view.content);
    showStored(view.storedSince);
    showOutbox(!view.signedOut);
    showNotice(pendingNotice);
    pendingNotice = null;
    (view.focus || part('title')).focus({preventScroll: true});
    window.scrollTo(0, scroll);
}

export function goBack(event) {
    if (depth > 0) {
        event.preventDefault();
        history.back();
    }
}

// A page that could not be read: the reason and a way to try again.
export function errorView(error, retry) {
    return {
        title: 'Chyba',
        back: '#/revize',
        content: h('section', {class: 'panel'}, h('p', {class: 'error-text', role: 'alert'}, error.message),
                   h('button', {type: 'button', class: 'button', onclick: retry}, 'Zkusit znovu')),
    };
}
