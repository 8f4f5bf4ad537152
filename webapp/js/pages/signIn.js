// Signing in, and where to go afterwards.
import * as api from '../api.js';
import * as session from '../session.js';
import {h} from '../dom.js';
import {busy, field, input, problemBox, showProblem} from '../form.js';
import {go} from '../router.js';

export async function signInPage(params, query) {
    const next = query.get('dalsi') || '#/revize';
    const form = h('form', {id: 'signin', class: 'panel', novalidate: true},
                   problemBox(),
                   field('Přihlašovací jméno', input({name: 'login', autocomplete: 'username', autocapitalize: 'none',
                                                      spellcheck: 'false', required: true})),
                   field('Heslo', input({name: 'heslo', type: 'password', autocomplete: 'current-password', required: true})),
                   h('button', {type: 'submit', class: 'button primary wide'}, 'Přihlásit'));
    form.addEventListener('submit', busy(form, async () => {
        const login = form.elements.login.value.trim();
        const password = form.elements.heslo.value;
        if (!login || !password) {
            showProblem(form, 'Vyplňte přihlašovací jméno a heslo.', login ? 'heslo' : 'login');
            return;
        }
        try {
            await api.signIn(login, password);
            const account = await session.load();
            go(account.zmenit_heslo ? '#/heslo' : (next.startsWith('#/prihlaseni') ? '#/revize' : next), {replace: true});
        } catch (error) {
            form.elements.heslo.value = '';
            showProblem(form, error.message, error.status === 401 ? 'heslo' : null);
        }
    }));
    return {title: 'Přihlášení', signedOut: true, content: form, focus: form.elements.login};
}
