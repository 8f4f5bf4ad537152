// Who is signed in, and the code lists, read once per session.
import * as api from './api.js';
import * as outbox from './offline/outbox.js';
import {askToPersist, keepAppOffline} from './update.js';

let current = null;
let lists = null;

export function account() {
    return current;
}

export async function load() {
    current = (await api.account()).ucet;
    askToPersist();
    keepAppOffline();
    outbox.sendAll(); // what waited for a session goes now
    return current;
}

export function forget() {
    current = null;
    lists = null;
}

export function isOffice() {
    return current?.role === 'kancelar';
}

export function codeLists() {
    lists ??= api.codeLists().catch(error => {
        lists = null;
        throw error;
    });
    return lists;
}
