// Starts the app: the frame's own buttons, what happens when the session ends, the routes.
import * as api from './api.js';
import {forgetDrafts, keepDrafts} from './form.js';
import {destroy} from './offline/db.js';
import * as outbox from './offline/outbox.js';
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
// Signing out leaves nothing of the firm's in the phone; so it waits until all that was
// recorded has been sent (or thrown away on purpose).
document.getElementById('signout').addEventListener('click', async () => {
    const unsent = await outbox.unsent().catch(() => []);
    if (unsent.length) {
        showNotice(`Odhlásit se nelze, v telefonu jsou neodeslané záznamy (${unsent.length}). Počkejte, až se ` +
                       'odešlou, nebo je na stránce Odesílání zahoďte.',
                   'error');
        return;
    }
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
    await forgetEverything();
    noticeOnNextPage('Jste odhlášeni.');
    go('#/prihlaseni', {replace: true});
});

// The phone's store and every cache of the app.
async function forgetEverything() {
    await destroy().catch(() => {});
    if (window.caches) {
        for (const name of await caches.keys())
            await caches.delete(name);
    }
    localStorage.clear();
}

outbox.startSending(session.account);
start();
watchForUpdates();
