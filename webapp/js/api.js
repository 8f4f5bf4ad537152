// Every exchange with the server goes through this module: the pages get plain objects and
// never talk to the network themselves. Without signal, reads are answered from what the phone
// keeps.
import * as answers from './offline/answers.js';
import * as kept from './offline/kept.js';

const unreachable = 'Server neodpovídá. Zkontrolujte připojení a zkuste to znovu.';

export class ApiError extends Error {
    constructor(status, body) {
        super(body?.chyba || unreachable);
        this.status = status;
        this.field = body?.pole || null;
        this.current = body?.aktualni || null;
    }

    // The server gave its final word; without one the write may or may not have happened.
    get answered() {
        return this.status !== 0 && this.status !== 502 && this.status !== 503 && this.status !== 504;
    }
}

let onSignedOut = () => {};

// Called when the server says the session is gone (401 on any call but signing in).
export function whenSignedOut(handler) {
    onSignedOut = handler;
}

// Counts the sign-ins: a 401 to a call sent before the latest one speaks of the session
// that was, and must not end the new one.
let signIns = 0;

// A call that takes longer than this is taken for no signal: a read answered from the phone,
// a write left waiting in the outbox (its request id makes sending it again safe). Storing a
// trip moves megabytes, and has longer.
const readTimeout = 15000;
const writeTimeout = 30000;
const tripTimeout = 120000;

async function call(method, path, body, timeout = body === undefined ? readTimeout : writeTimeout) {
    const sentUnder = signIns;
    const options =
        {method, credentials: 'same-origin', cache: 'no-store', headers: {Accept: 'application/json'}};
    if (body !== undefined) {
        options.headers['Content-Type'] = 'application/json';
        options.body = JSON.stringify(body);
    }
    if (AbortSignal.timeout)
        options.signal = AbortSignal.timeout(timeout);
    let response;
    try {
        response = await fetch('/api/' + path, options);
    } catch {
        throw new ApiError(0, null);
    }
    let data = null;
    try {
        data = await response.json();
    } catch {
        data = null;
    }
    if (!response.ok) {
        const error = new ApiError(response.status, data);
        if (response.status === 401 && path !== 'prihlaseni' && sentUnder === signIns)
            onSignedOut();
        throw error;
    }
    return data ?? {};
}

// The oldest time of what the current page was given from the phone's own store, or null
// when all it read came from the server. A read begun for an earlier page does not count.
let storedSince = null;
let pageNumber = 0;

export function beginPage() {
    pageNumber += 1;
    storedSince = null;
}

export const pageStoredSince = () => storedSince;

const notStored = 'Bez signálu, a v telefonu to uloženo není. Co budete potřebovat bez signálu, uložte ' +
                  'předem na stránce Na cestu.';

// A read from the server, kept in the phone; without signal, what the phone keeps of it
// (`offline` makes that answer: {data, cas} or nothing).
async function read(path, offline = () => kept.stored(path)) {
    const forPage = pageNumber;
    if (navigator.onLine !== false) {
        try {
            const data = await call('GET', path);
            kept.keep(path, data).catch(() => {});
            return data;
        } catch (error) {
            if (error.answered)
                throw error;
        }
    }
    const stored = await offline().catch(() => null);
    if (!stored)
        throw new ApiError(0, {chyba: notStored});
    if (forPage === pageNumber && (!storedSince || stored.cas < storedSince))
        storedSince = stored.cas;
    return stored.data;
}

// Reads the path from the server only, keeping it in the phone; nothing when there is no
// answer (after a write, to bring what the phone keeps up to date).
export async function refresh(path) {
    try {
        await kept.keep(path, await call('GET', path));
    } catch {
        // It stays as it was kept; the next reading brings it.
    }
}

// A write. The body carries its request id, so sending it again after a lost answer is
// recorded once.
export const write = (method, path, body) => call(method, path, body);

// The query of a path from the pairs that have a value.
const query = pairs => {
    const given = Object.entries(pairs).filter(([, value]) => value !== '' && value != null);
    return given.length ? '?' + given.map(([n, v]) => `${n}=${encodeURIComponent(v)}`).join('&') : '';
};

export async function signIn(login, password) {
    const answer = await call('POST', 'prihlaseni', {login, heslo: password});
    signIns += 1;
    return answer;
}

export const signOut = () => call('POST', 'odhlaseni', {});
export const changePassword = (password, newPassword) =>
    call('POST', 'heslo', {heslo: password, nove_heslo: newPassword});
export const account = () => read('ucet');
export const codeLists = () => read('ciselniky');
const duePath = (town, from) => 'revize' + query({mesto: town, od: from || ''});
// Later pages of the due list come only from the server: the phone keeps each list whole.
export const dueList = (town, from) =>
    read(duePath(town, from), from ? async () => null : () => answers.dueList(town));
export const search = text => read('hledat' + query({text}), () => answers.search(text));
export const customer = id => read(`zakaznici/${encodeURIComponent(id)}`);
export const card = id => read(`karty/${encodeURIComponent(id)}`);
export const dueListFromServer = (town, from) => call('GET', duePath(town, from));
export function trip(towns, customers) {
    const asked = [...towns.map(t => 'mesto=' + encodeURIComponent(t)),
                   ...customers.map(c => 'zakaznik=' + encodeURIComponent(c))];
    return call('GET', 'na-cestu?' + asked.join('&'), undefined, tripTimeout);
}
