// "Na cestu": before leaving, the technician stores in the phone the customers of the towns
// chosen (or of the whole due list, or single customers) with their cards, the last
// activities of each card, the towns' due lists and the code lists. A new trip replaces the
// last one; the customers opened lately stay besides.
import * as api from '../api.js';
import * as db from './db.js';
import {record} from './kept.js';

const mostCustomers = 500;
const customersPerRequest = 100;

// Every page of a due list from the server, as one.
async function wholeDueList(town) {
    const first = await api.dueListFromServer(town, '');
    const rows = [...(first.radky || [])];
    for (let next = first.dalsi; next != null;) {
        const page = await api.dueListFromServer(town, next);
        rows.push(...(page.radky || []));
        next = page.dalsi;
    }
    return {radky: rows, do: first.do, mesta: first.mesta, mesto: town};
}

// The customers and cards of the towns and of the customers named, in as few requests as the
// server takes.
async function documentsOf(towns, customerIds) {
    const answers = [];
    if (towns.length)
        answers.push(await api.trip(towns, []));
    for (let i = 0; i < customerIds.length; i += customersPerRequest)
        answers.push(await api.trip([], customerIds.slice(i, i + customersPerRequest)));
    const customers = new Map();
    const cards = new Map();
    for (const answer of answers) {
        answer.zakaznici.forEach(c => customers.set(c.zakaznik.id, c));
        answer.karty.forEach(k => cards.set(k.karta.id, k));
    }
    return {customers: [...customers.values()], cards: [...cards.values()], codeLists: answers[0]?.ciselniky};
}

export const current = () => db.fact('cesta');

// Stores the trip: {towns, due, customers (ids)}. Answers what is now held.
export async function store({towns = [], due = false, customers = []}) {
    const time = new Date().toISOString();
    // With the whole due list, a town's list is read from it.
    const dueLists = due ? [] : await Promise.all(towns.map(wholeDueList));
    const wanted = [...customers];
    let whole = null;
    if (due) {
        whole = await wholeDueList('');
        const ids = [...new Set(whole.radky.map(r => r.id_zakaznika))];
        if (ids.length > mostCustomers)
            throw new Error(`Seznam revizí má ${ids.length} zákazníků, do telefonu se jich najednou vejde ` +
                            `nejvýše ${mostCustomers}. Vyberte raději města.`);
        wanted.push(...ids);
    }
    const found = await documentsOf(towns, [...new Set(wanted)]);
    const codeLists = found.codeLists ?? (await api.codeLists());
    const records = [
        record('ciselniky', codeLists, time, true),
        ...found.customers.map(c => record(`zakaznici/${c.zakaznik.id}`, c, time, true)),
        ...found.cards.map(k => record(`karty/${k.karta.id}`, k, time, true)),
        ...dueLists.map(list => record(`revize?mesto=${list.mesto}`, list, time, true))
    ];
    if (whole)
        records.push(record('revize', whole, time, true));
    const recent = new Set((await db.fact('nedavni')) || []);
    const trip = {
        cas: time,
        mesta: towns,
        revize: due,
        zakaznici: customers,
        pocet_zakazniku: found.customers.length,
        pocet_karet: found.cards.length
    };
    await db.replaceTrip(records, old => recent.has(old.zakaznik), trip);
    keepBarcodeReader();
    return trip;
}

// The bundled barcode reader, fetched once so that the app's service worker keeps it for
// scanning without signal; a browser that reads codes itself does not need it.
function keepBarcodeReader() {
    if ('BarcodeDetector' in window)
        return;
    for (const file of ['/vendor/barcode-detector.js', '/vendor/zxing_reader.wasm'])
        fetch(file).then(answer => answer.arrayBuffer()).catch(() => {});
}

// Adds one customer to the trip stored, without reading the rest again.
export async function addCustomer(id) {
    const time = new Date().toISOString();
    const found = await documentsOf([], [id]);
    const records = [
        ...found.customers.map(c => record(`zakaznici/${c.zakaznik.id}`, c, time, true)),
        ...found.cards.map(k => record(`karty/${k.karta.id}`, k, time, true))
    ];
    await db.putDocuments(records);
    return db.changeFact('cesta', (held = {cas: time, mesta: [], revize: false, zakaznici: [],
                                           pocet_zakazniku: 0, pocet_karet: 0}) => {
        const trip = held.zakaznici.includes(id) ? held : {
            ...held,
            zakaznici: [...held.zakaznici, id],
            pocet_zakazniku: held.pocet_zakazniku + found.customers.length,
            pocet_karet: held.pocet_karet + found.cards.length
        };
        return [trip, trip];
    });
}

// How much the phone holds of the app's data, in bytes, where the browser tells.
export async function used() {
    try {
        return (await navigator.storage.estimate()).usage ?? null;
    } catch {
        return null;
    }
}
