// What the phone keeps for work without signal, in IndexedDB: the documents the pages read
// (a customer, a card, the code lists, a town's due list, who is signed in), each with the
// time it was read; the outbox of writes waiting to be sent; and a few facts about both (what
// was stored for the trip, the customers opened lately). Nothing else of the firm's is kept.

const name = 'vestibor';
const version = 1;
const documents = 'dokumenty'; // key: the API path read ("zakaznici/1"); value: {cesta, data, cas, ...}
const outbox = 'odesilani';    // key: the write's request id; value: the entry
const facts = 'udaje';         // key: the fact's name; value: {nazev, hodnota}
const stores = [documents, outbox, facts];

let opened = null;

function promised(request) {
    return new Promise((resolve, reject) => {
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
    });
}

function open() {
    opened ??= new Promise((resolve, reject) => {
        const request = indexedDB.open(name, version);
        request.onupgradeneeded = () => {
            const db = request.result;
            if (!db.objectStoreNames.contains(documents))
                db.createObjectStore(documents, {keyPath: 'cesta'}).createIndex('zakaznik', 'zakaznik');
            if (!db.objectStoreNames.contains(outbox))
                db.createObjectStore(outbox, {keyPath: 'id_pozadavku'}).createIndex('poradi', 'poradi');
            if (!db.objectStoreNames.contains(facts))
                db.createObjectStore(facts, {keyPath: 'nazev'});
        };
        request.onsuccess = () => {
            const db = request.result;
            db.onversionchange = () => {
                db.close();
                opened = null;
            };
            resolve(db);
        };
        request.onerror = () => {
            opened = null;
            reject(request.error);
        };
    });
    return opened;
}

// Runs `work` on the stores of one transaction and waits until the transaction is done.
async function within(storeNames, mode, work) {
    const db = await open();
    const transaction = db.transaction(storeNames, mode);
    const done = new Promise((resolve, reject) => {
        transaction.oncomplete = resolve;
        transaction.onerror = () => reject(transaction.error);
        transaction.onabort = () => reject(transaction.error);
    });
    const result = await work(...storeNames.map(s => transaction.objectStore(s)));
    await done;
    return result;
}

// Documents: each record {cesta, data, cas, naCestu, zakaznik}.
export const putDocuments = records =>
    within([documents], 'readwrite', store => records.forEach(record => store.put(record)));

// Puts a document in place of what was kept of it, in one transaction, so that a trip stored
// meanwhile is not undone: whether it is stored for the trip stays as it was.
export const replaceDocument = record =>
    within([documents], 'readwrite', async store => {
        const earlier = await promised(store.get(record.cesta));
        store.put({...record, naCestu: earlier?.naCestu || false});
    });

export const document = path => within([documents], 'readonly', store => promised(store.get(path)));

export const documentsUnder = prefix =>
    within([documents], 'readonly',
           store => promised(store.getAll(IDBKeyRange.bound(prefix, prefix + '\uffff'))));

export const pathsOfCustomer = id =>
    within([documents], 'readonly', store => promised(store.index('zakaznik').getAllKeys(id)));

export const forgetDocuments = paths =>
    within([documents], 'readwrite', store => paths.forEach(path => store.delete(path)));

// Replaces the trip's documents: those of the last trip go (but those `keep` names, which stay
// as if opened lately), the new ones come in, in one transaction, so that the phone never
// holds half of a trip.
export const replaceTrip = (records, keep, trip) =>
    within([documents, facts], 'readwrite', async (store, factStore) => {
        const old = await promised(store.getAll());
        for (const record of old) {
            if (!record.naCestu)
                continue;
            if (keep(record))
                store.put({...record, naCestu: false});
            else
                store.delete(record.cesta);
        }
        records.forEach(record => store.put(record));
        factStore.put({nazev: 'cesta', hodnota: trip});
    });

export const fact = name => within([facts], 'readonly', store => promised(store.get(name)))
                                .then(record => record?.hodnota);

export const putFact = (name, value) =>
    within([facts], 'readwrite', store => store.put({nazev: name, hodnota: value}));

// Reads and changes a fact in one transaction, so that two changes at once both count.
// `change` gets the value and answers [the new value, what to return].
export const changeFact = (name, change) =>
    within([facts], 'readwrite', async store => {
        const [value, result] = change((await promised(store.get(name)))?.hodnota);
        store.put({nazev: name, hodnota: value});
        return result;
    });

// The outbox.
export const putEntry = entry => within([outbox], 'readwrite', store => store.put(entry));

export const entry = id => within([outbox], 'readonly', store => promised(store.get(id)));

export const removeEntries = ids => within([outbox], 'readwrite', store => ids.forEach(id => store.delete(id)));

// The outbox in the order the entries were made.
export const entries = () =>
    within([outbox], 'readonly', store => promised(store.index('poradi').getAll()));

// Everything kept on this phone goes, the database itself included: at sign-out, once the
// outbox is empty. Another tab of the app lets go of it when asked (onversionchange).
export async function destroy() {
    if (opened) {
        const db = await opened.catch(() => null);
        db?.close();
        opened = null;
    }
    await new Promise((resolve, reject) => {
        const request = indexedDB.deleteDatabase(name);
        request.onsuccess = resolve;
        request.onerror = () => reject(request.error);
    });
}
