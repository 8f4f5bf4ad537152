// Signing in, and where to go afterwards.
import * as api from '../api.js';
import {h} from '../dom.js';
import {field, input, onSubmit, problemBox, showProblem} from '../form.js';
import {go} from '../router.js';
import * as session from '../session.js';

// Where the page that sent the user here wanted to go, never back to signing in.
function destination(query, account) {
    if (account.zmenit_heslo)
        return '#/heslo';
    const next = query.get('dalsi') || '';
    return next.startsWith('#/') && !next.startsWith('#/prihlaseni') ? next : '#/revize';
}

export async function signInPage(params, query) {
    const login =
        input({name: 'login', autocomplete: 'username', autocapitalize: 'none', spellcheck: 'false'});
    const password = input({name: 'heslo', type: 'password', autocomplete: 'current-password'});
    const form = h('form', {id: 'signin', class: 'panel', novalidate: true}, problemBox(),
                   field('Přihlašovací jméno', login), field('Heslo', password),
                   h('button', {type: 'submit', class: 'button primary wide'}, 'Přihlásit'));
    onSubmit(form, async () => {
        if (!login.value.trim() || !password.value)
            return showProblem(form, 'Vyplňte přihlašovací jméno a heslo.',
                               login.value.trim() ? 'heslo' : 'login');
        try {
            await api.signIn(login.value.trim(), password.value);
            go(destination(query, await session.load()), {replace: true});
        } catch (error) {
            password.value = '';
            showProblem(form, error.message, error.status === 401 ? 'heslo' : null);
        }
    });
    return {title: 'Přihlášení', signedOut: true, content: form, focus: login};
}
