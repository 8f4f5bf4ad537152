// Starts the app: the frame's own buttons, what happens when the session ends, the routes.
import * as api from './api.js';
import {forgetDrafts, keepDrafts} from './form.js';
import {goBack, noticeOnNextPage, showNotice} from './layout.js';
import {go, start} from './router.js';
import * as session from './session.js';
import {watchForUpdates} from './update.js';

function toSignIn(notice) {
    session.forget();
    if (notice)
        noticeOnNextPage(notice);
    if (!location.hash.startsWith('#/prihlaseni'))
        go('#/prihlaseni?dalsi=' + encodeURIComponent(location.hash), {replace: true});
}

api.whenSignedOut(() => {
    keepDrafts();
    toSignIn('Přihlášení vypršelo, přihlaste se prosím znovu. Rozepsaný formulář se pak vrátí.');
});

document.getElementById('back').addEventListener('click', goBack);
document.getElementById('signout').addEventListener('click', async () => {
    try {
        await api.signOut();
    } catch (error) {
        if (error.status !== 401) {
            showNotice(error.message, 'error');
            return;
        }
    }
    session.forget();
    forgetDrafts();
    noticeOnNextPage('Jste odhlášeni.');
    go('#/prihlaseni', {replace: true});
});

start();
watchForUpdates();
