// Changing the password; the one-time password from the office must be changed first.
import * as api from '../api.js';
import {h} from '../dom.js';
import {field, input, onSubmit, problemBox, showProblem} from '../form.js';
import {noticeOnNextPage} from '../layout.js';
import {go} from '../router.js';
import * as session from '../session.js';

const intro =
    'Heslo, které jste dostali od kanceláře, platí jen pro první přihlášení. Zvolte si prosím vlastní.';
const rule = 'Aspoň 10 znaků; ne běžné heslo ani vaše přihlašovací jméno.';

// What is wrong with the typed passwords before the server is asked, if anything.
function problem({heslo, nove_heslo: newPassword, znovu}) {
    if (!heslo.value)
        return ['Vyplňte dosavadní heslo.', 'heslo'];
    if (newPassword.value.length < 10)
        return ['Nové heslo musí mít aspoň 10 znaků.', 'nove_heslo'];
    if (newPassword.value !== znovu.value)
        return ['Nové heslo a jeho zopakování se neshodují.', 'znovu'];
    return null;
}

export async function passwordPage() {
    const forced = Boolean(session.account()?.zmenit_heslo);
    const password = (name, autocomplete) => input({name, type: 'password', autocomplete});
    // The login goes along unseen, so that the phone's password manager knows whose password it is.
    const login =
        input({name: 'username', autocomplete: 'username', value: session.account()?.login, hidden: true});
    const form =
        h('form', {id: 'password', class: 'panel', novalidate: true}, login,
          forced ? h('p', {class: 'intro'}, intro) : null, problemBox(),
          field(forced ? 'Jednorázové heslo' : 'Dosavadní heslo', password('heslo', 'current-password')),
          field('Nové heslo', password('nove_heslo', 'new-password'), rule),
          field('Nové heslo znovu', password('znovu', 'new-password')),
          h('button', {type: 'submit', class: 'button primary wide'}, 'Změnit heslo'));
    onSubmit(form, async () => {
        const wrong = problem(form.elements);
        if (wrong)
            return showProblem(form, ...wrong);
        try {
            await api.changePassword(form.elements.heslo.value, form.elements.nove_heslo.value);
            await session.load();
            noticeOnNextPage('Heslo je změněno.');
            go('#/revize', {replace: forced});
        } catch (error) {
            showProblem(form, error.message, error.field);
        }
    });
    const view = {title: 'Změna hesla', content: form, focus: form.elements.heslo};
    return forced ? {...view, noNav: true} : {...view, back: '#/revize'};
}
