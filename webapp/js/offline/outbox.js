// The outbox: every new activity, correction and new card is first written into the phone,
// then sent. An entry is "zapsáno" only once the server said so; one the server refused stays
// with its reason and the server's current row until it is fixed and sent again, or thrown
// away on purpose. Each entry keeps its request id for good, so an entry sent again after an
// answer that never came is recorded once.
import * as api from '../api.js';
import * as db from './db.js';

export const waiting = 'ceka';
export const sending = 'odesila';
export const written = 'zapsano';
export const refused = 'odmitnuto';

const keepWrittenFor = 24 * 3600 * 1000; // written entries are shown for a day
const retryEvery = 30000;

let account = () => null; // who is signed in, when known
const listeners = new Set();

function requestId() {
    if (crypto.randomUUID)
        return crypto.randomUUID();
    const bytes = crypto.getRandomValues(new Uint8Array(16));
    return Array.from(bytes, b => b.toString(16).padStart(2, '0')).join('');
}

let lastOrder = 0;
const nextOrder = () => (lastOrder = Math.max(Date.now(), lastOrder + 1));

// A new entry. `about` says what it is for the lists: {zakaznik: {id, nazev}, karta: {id,
// nazev}}; `after` is the request id of the new card the entry's activity belongs to.
export function entry(kind, method, path, body, about, after = null) {
    return {
        id_pozadavku: requestId(),
        poradi: nextOrder(),
        druh: kind,
        metoda: method,
        cesta: path,
        telo: body,
        o_cem: about,
        po: after,
        ucet: account()?.login ?? null,
        stav: waiting,
        vytvoreno: new Date().toISOString()
    };
}

// Tells the pages that the outbox changed.
export function whenChanged(listener) {
    listeners.add(listener);
    return () => listeners.delete(listener);
}

const changed = () => listeners.forEach(listener => listener());

// One sending at a time in this tab, and across the app's tabs where the browser can lock.
let queue = Promise.resolve();

function exclusively(work) {
    const run = () => (navigator.locks ? navigator.locks.request('vestibor-odesilani', work) : work());
    const result = queue.then(run, run);
    queue = result.catch(() => {});
    return result;
}

// The server has no final word on it yet (no answer, busy, or a session to renew first).
const unsettled = error => !error.answered || error.status === 401 || error.status === 429;

// Sends one entry and keeps the outcome. Returns the error of a refusal, throws one that
// leaves the entry waiting.
async function deliver(item) {
    item.stav = sending;
    await db.putEntry(item);
    changed();
    try {
        item.odpoved = await api.write(item.metoda, item.cesta, {id_pozadavku: item.id_pozadavku, ...item.telo});
        Object.assign(item, {stav: written, zapsano: new Date().toISOString(), duvod: null, pole: null});
        return null;
    } catch (error) {
        if (unsettled(error)) {
            item.stav = waiting;
            throw error;
        }
        Object.assign(item, {stav: refused, duvod: error.message, pole: error.field, aktualni: error.current});
        return error;
    } finally {
        await db.putEntry(item);
        changed();
    }
}

// The card the entry's row belongs to, once known.
export function cardOf(item, all = []) {
    if (item.druh === 'karta')
        return item.odpoved?.karta?.id ?? null;
    if (item.druh === 'oprava')
        return item.telo.puvodni?.id_topneho_zdroje ?? null;
    const row = item.odpoved?.cinnost;
    if (row)
        return row.id_topneho_zdroje;
    if (item.telo.id_topneho_zdroje)
        return item.telo.id_topneho_zdroje;
    const card = all.find(other => other.id_pozadavku === item.po);
    return card ? cardOf(card) : null;
}

// Brings the cards written to up to date in the phone, and the customers of new cards, so that
// they list them without signal too.
function refreshCards(items) {
    const paths = new Set(items.map(item => cardOf(item)).filter(Boolean).map(id => `karty/${id}`));
    for (const item of items.filter(item => item.druh === 'karta'))
        paths.add(`zakaznici/${item.telo.id_zakaznika}`);
    return Promise.all([...paths].map(path => api.refresh(path)));
}

// Sends the entry now, if it can go: answers {stav, odpoved, id_pozadavku, odhlaseno (the session
// had ended), bez_signalu (no answer came, or none was asked for without signal)}; a refusal is
// thrown.
function sendNow(item) {
    const outcome = (stav, {signedOut = false, noSignal = false} = {}) =>
        ({stav, odpoved: item.odpoved, id_pozadavku: item.id_pozadavku, odhlaseno: signedOut, bez_signalu: noSignal});
    return exclusively(async () => {
        const all = await db.entries();
        const stored = all.find(other => other.id_pozadavku === item.id_pozadavku);
        if (stored?.stav === written) { // sent meanwhile with the rest of the outbox
            item.odpoved = stored.odpoved;
            return outcome(written);
        }
        if (navigator.onLine === false)
            return outcome(waiting, {noSignal: true});
        if (!ready(item, all))
            return outcome(waiting);
        let problem;
        try {
            problem = await deliver(item);
        } catch (error) {
            registerSync();
            return outcome(waiting, {signedOut: error.status === 401, noSignal: !error.answered});
        }
        if (problem)
            throw problem;
        refreshCards([item]);
        return outcome(written);
    });
}

// Puts the entry into the phone's outbox; a store the browser refuses (full, or not allowed
// for the site) is said in Czech, and the form keeps what was typed.
async function keep(item) {
    try {
        await db.putEntry(item);
    } catch {
        throw new Error('Záznam se nepodařilo uložit do telefonu. Uvolněte v telefonu místo nebo povolte ' +
                        'prohlížeči ukládat data a zkuste to znovu.');
    }
    changed();
}

// Writes a new entry into the phone and sends it at once if it can. A refusal is thrown, and
// then the entry leaves the outbox: the form it came from shows the reason and keeps what was
// typed.
export async function submit(item) {
    await keep(item);
    try {
        return await sendNow(item);
    } catch (problem) {
        await db.removeEntries([item.id_pozadavku]);
        changed();
        throw problem;
    }
}

// An entry sent again after it was fixed: it stays in the outbox whatever the answer.
export async function resubmit(item, body) {
    Object.assign(item, {telo: body, stav: waiting, duvod: null, pole: null, aktualni: null});
    await keep(item);
    return sendNow(item);
}

// What an entry waits for besides signal, or null when it can go: {session} while nobody is
// signed in (or the password is to be changed), {account: login} while another account is,
// {card} until the new card it belongs to is written.
export function holdUp(item, all) {
    const signedIn = account();
    if (!signedIn || signedIn.zmenit_heslo)
        return {session: true};
    if (item.ucet && item.ucet !== signedIn.login)
        return {account: item.ucet};
    const card = item.po ? all.find(other => other.id_pozadavku === item.po) : null;
    return card && card.stav !== written ? {card: true} : null;
}

const ready = (item, all) => !holdUp(item, all);

// Sends everything waiting, in the order it was made, until the network or the session fails.
export function sendAll() {
    if (!account() || navigator.onLine === false)
        return Promise.resolve();
    return exclusively(async () => {
        const all = await db.entries();
        const sent = [];
        for (const item of all) {
            if ((item.stav !== waiting && item.stav !== sending) || !ready(item, all))
                continue;
            try {
                if (!(await deliver(item)))
                    sent.push(item);
            } catch {
                registerSync();
                break;
            }
        }
        // A written card stays while an activity of its own still waits or was refused: fixing
        // that activity needs it.
        const old = Date.now() - keepWrittenFor;
        const needed = new Set(all.filter(item => item.stav !== written).map(item => item.po));
        const stale = all.filter(item => item.stav === written && Date.parse(item.zapsano) < old &&
                                         !needed.has(item.id_pozadavku));
        if (stale.length)
            await db.removeEntries(stale.map(item => item.id_pozadavku));
        await refreshCards(sent);
        if (stale.length)
            changed();
    });
}

// Throws away an entry on purpose, with the activities of a new card it is.
export async function discard(item) {
    const all = await db.entries();
    const ids = [item.id_pozadavku, ...all.filter(other => other.po === item.id_pozadavku).map(o => o.id_pozadavku)];
    await exclusively(() => db.removeEntries(ids));
    changed();
}

export const entries = () => db.entries();

export async function unsent() {
    return (await db.entries()).filter(item => item.stav !== written);
}

// Asks the browser to wake the app for sending when the network is back, where it can.
function registerSync() {
    navigator.serviceWorker?.ready.then(registration => registration.sync?.register('odeslat')).catch(() => {});
}

// Sending on its own: when the network is back, when the app opens (once signed in), every
// half a minute while something waits, and when the service worker says the browser asks.
export function startSending(signedIn) {
    account = signedIn;
    window.addEventListener('online', () => sendAll());
    // Signed out, sendAll leaves the store closed: it would be made anew.
    setInterval(sendAll, retryEvery);
    navigator.serviceWorker?.addEventListener('message', event => {
        if (event.data === 'odeslat')
            sendAll().finally(() => event.source?.postMessage('odeslano'));
    });
}
