// What the app keeps of what it reads, so that the same pages open without signal: who is
// signed in, the code lists, and the customers opened lately with their cards (the last 30;
// those stored for the trip stay until the next trip replaces them).
import * as db from './db.js';

const recentMost = 30;
const keptPaths = /^(ucet|ciselniky|zakaznici\/\d+|karty\/\d+)$/;

function customerOf(path, data) {
    if (path.startsWith('zakaznici/'))
        return data?.zakaznik?.id;
    if (path.startsWith('karty/'))
        return data?.karta?.id_zakaznika;
    return undefined;
}

export function record(path, data, time, onTrip) {
    const kept = {cesta: path, data, cas: time, naCestu: onTrip};
    const customer = customerOf(path, data);
    if (customer != null)
        kept.zakaznik = customer;
    return kept;
}

// The customer goes to the front of those opened lately; one that falls off the end goes
// from the phone, unless it is stored for the trip.
async function remember(customer) {
    const dropped = await db.changeFact('nedavni', (recent = []) => {
        const list = [customer, ...recent.filter(id => id !== customer)];
        return [list, list.splice(recentMost)];
    });
    for (const id of dropped) {
        const paths = await db.pathsOfCustomer(id);
        const records = await Promise.all(paths.map(db.document));
        await db.forgetDocuments(records.filter(r => r && !r.naCestu).map(r => r.cesta));
    }
}

// Keeps a document just read from the server, in place of what was kept of it.
export async function keep(path, data) {
    if (!keptPaths.test(path))
        return;
    const kept = record(path, data, new Date().toISOString(), false);
    await db.replaceDocument(kept);
    if (kept.zakaznik != null)
        await remember(kept.zakaznik);
}

// What is kept of the path: {data, cas}, or nothing.
export const stored = path => db.document(path);
