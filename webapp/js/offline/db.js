// What the phone keeps for work without signal, in IndexedDB: the documents the pages read
// (a customer, a card, the code lists, a town's due list), each with the time it was read,
// and the outbox of writes waiting to be sent. Nothing else of the firm's is kept anywhere.

const name = 'vestibor';
const version = 1;
const documents = 'dokumenty'; // key: the API path read ("zakaznici/1"); value: {cesta, data, cas}
const outbox = 'odesilani';    // key: the write's request id; value: the entry
const stores = [documents, outbox];

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
                db.createObjectStore(documents, {keyPath: 'cesta'});
            if (!db.objectStoreNames.contains(outbox))
                db.createObjectStore(outbox, {keyPath: 'id_pozadavku'}).createIndex('poradi', 'poradi');
        };
        request.onsuccess = () => resolve(request.result);
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

export const keepDocuments = (list, time) =>
    within([documents], 'readwrite', store => {
        for (const [path, data] of list)
            store.put({cesta: path, data, cas: time});
    });

export const document = path => within([documents], 'readonly', store => promised(store.get(path)));

export const allDocuments = prefix =>
    within([documents], 'readonly',
           store => promised(store.getAll(IDBKeyRange.bound(prefix, prefix + '\uffff'))));

export const forgetDocuments = paths =>
    within([documents], 'readwrite', store => paths.forEach(path => store.delete(path)));

export const putEntry = entry => within([outbox], 'readwrite', store => store.put(entry));

export const removeEntry = id => within([outbox], 'readwrite', store => store.delete(id));

// The outbox in the order the entries were made.
export const entries = () =>
    within([outbox], 'readonly', store => promised(store.index('poradi').getAll()));

// Everything kept on this phone goes: at sign-out, once the outbox is empty.
export async function clearAll() {
    await within(stores, 'readwrite', (...all) => all.forEach(store => store.clear()));
}
