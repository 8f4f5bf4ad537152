// Changing the password; the one-time password from the office must be changed first.
import * as api from '../api.js';
import * as session from '../session.js';
import {h} from '../dom.js';
import {busy, field, input, problemBox, showProblem} from '../form.js';
import {go} from '../router.js';
import {noticeOnNextPage} from '../layout.js';

export async function passwordPage() {
    const forced = Boolean(session.account()?.zmenit_heslo);
    const password = attributes => input({type: 'password', required: true, ...attributes});
    const form = h('form', {id: 'password', class: 'panel', novalidate: true},
                   input({name: 'username', autocomplete: 'username', value: session.account()?.login || '', hidden: true}),
                   forced ? h('p', {class: 'intro'}, 'Heslo, které jste dostali od kanceláře, platí jen pro první přihlášení. Zvolte si prosím vlastní.') : null,
                   problemBox(),
                   field(forced ? 'Jednorázové heslo' : 'Dosavadní heslo', password({name: 'heslo', autocomplete: 'current-password'})),
                   field('Nové heslo', password({name: 'nove_heslo', autocomplete: 'new-password', minlength: '10'}),
                         'Aspoň 10 znaků; ne běžné heslo ani vaše přihlašovací jméno.'),
                   field('Nové heslo znovu', password({name: 'znovu', autocomplete: 'new-password'})),
                   h('button', {type: 'submit', class: 'button primary wide'}, 'Změnit heslo'));
    form.addEventListener('submit', busy(form, async () => {
        const {heslo, nove_heslo: newPassword, znovu} = form.elements;
        if (!heslo.value)
            return showProblem(form, 'Vyplňte dosavadní heslo.', 'heslo');
        if (newPassword.value.length < 10)
            return showProblem(form, 'Nové heslo musí mít aspoň 10 znaků.', 'nove_heslo');
        if (newPassword.value !== znovu.value)
            return showProblem(form, 'Nové heslo a jeho zopakování se neshodují.', 'znovu');
        try {
            await api.changePassword(heslo.value, newPassword.value);
            await session.load();
            noticeOnNextPage('Heslo je změněno.');
            go('#/revize', {replace: forced});
        } catch (error) {
            showProblem(form, error.message, error.field);
        }
    }));
    return {title: 'Změna hesla', noNav: forced, back: forced ? null : '#/revize', content: form,
            focus: form.elements.heslo};
}
