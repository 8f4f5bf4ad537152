// The service worker that keeps the app for working offline, and a new version offered,
// never forced: once it is ready, a bar offers it; only its button lets it in and reloads the
// page, after keeping what was typed into a form open so that the form comes back filled.
import {keepDrafts} from './form.js';

let accepted = false;

function offer(worker) {
    const bar = document.getElementById('verze');
    const button = bar.querySelector('button');
    button.onclick = () => {
        keepDrafts(true);
        accepted = true;
        button.disabled = true;
        worker.postMessage('aktivovat');
    };
    bar.hidden = false;
}

export function watchForUpdates() {
    if (!('serviceWorker' in navigator))
        return;
    const workers = navigator.serviceWorker;
    workers.addEventListener('controllerchange', () => {
        if (accepted)
            location.reload();
    });
    workers.register('/sw.js', {scope: '/', updateViaCache: 'none'})
        .then(registration => {
            const whenInstalled = worker => {
                if (worker.state === 'installed' && workers.controller)
                    offer(worker);
            };
            if (registration.waiting)
                whenInstalled(registration.waiting);
            registration.addEventListener('updatefound', () => {
                const worker = registration.installing;
                worker?.addEventListener('statechange', () => whenInstalled(worker));
            });
        })
        .catch(() => {}); // the app works without it, only not offline
}

// The data the app will keep offline should not be cleared when the phone runs short of space;
// asked once signed in, and nothing happens if the browser refuses.
let persistenceAsked = false;

export function askToPersist() {
    if (persistenceAsked || !navigator.storage?.persist)
        return;
    persistenceAsked = true;
    navigator.storage.persist().catch(() => {});
}

// Signing out empties every cache, the app's own files too; once somebody signs in again, the
// worker keeps them again, so that the app opens offline before the next version comes.
export function keepAppOffline() {
    navigator.serviceWorker?.controller?.postMessage('ulozit-aplikaci');
}
