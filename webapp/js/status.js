// The strip under the title bar: that the page shows what the phone keeps, and from when;
// and what waits in the outbox, with a way to it.
import {counted, timeText} from './format.js';
import * as outbox from './offline/outbox.js';

const part = id => document.getElementById(id);

function update() {
    const strip = part('stav');
    strip.hidden = part('stav-data').hidden && part('stav-odesilani').hidden;
}

export function showStored(since) {
    const line = part('stav-data');
    line.textContent = since ? `Bez signálu – data z ${timeText(since)}` : '';
    line.hidden = !since;
    update();
}

// `signedIn`: false on the pages before signing in, which never open the phone's store.
let lastSignedIn = false;

export async function showOutbox(signedIn = lastSignedIn) {
    lastSignedIn = signedIn;
    const link = part('stav-odesilani');
    let unsent = [];
    try {
        unsent = signedIn ? await outbox.unsent() : [];
    } catch {
        unsent = []; // a phone without the store shows nothing waiting
    }
    const refusedCount = unsent.filter(item => item.stav === outbox.refused).length;
    link.textContent = refusedCount
        ? `Odmítnuto: ${refusedCount} – opravte, nebo zahoďte`
        : `Čeká na odeslání: ${counted(unsent.length, 'záznam', 'záznamy', 'záznamů')}`;
    link.classList.toggle('problem', refusedCount > 0);
    link.hidden = !unsent.length || location.hash.startsWith('#/odesilani');
    update();
}

outbox.whenChanged(showOutbox);
