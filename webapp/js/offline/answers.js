// The answers the server would give to a search and to the due list, made from what the phone
// keeps, for work without signal.
import * as db from './db.js';

const mostCustomers = 50;

// Letters without their accents and in lower case, as the server compares them.
const fold = text => String(text ?? '').normalize('NFD').replace(/[\u0300-\u036f]/g, '').toLowerCase();

const czech = new Intl.Collator('cs');
const oldest = records => records.map(r => r.cas).sort()[0];

// The one kept card with that serial number or barcode (letter case ignored), or none.
function cardWithCode(customers, text) {
    const wanted = text.toLowerCase();
    const found = new Set();
    for (const {data} of customers) {
        for (const card of data.karty || []) {
            if ([card.vyrobni_cislo, card.carovy_kod].some(code => code && code.toLowerCase() === wanted))
                found.add(card.id);
        }
    }
    return found.size === 1 ? [...found][0] : null;
}

export async function search(text) {
    const customers = await db.documentsUnder('zakaznici/');
    if (!customers.length)
        return null;
    const cas = oldest(customers);
    const wanted = text.trim();
    const card = cardWithCode(customers, wanted);
    if (card)
        return {data: {karta: card}, cas};
    const words = fold(wanted);
    const digits = /\d/.test(wanted) ? wanted.replace(/ /g, '') : '';
    const matching = customers.map(r => r.data.zakaznik).filter(c => {
        const texts = fold([c.nazev, c.osoba, c.mesto, c.ulice].map(t => t ?? '').join('\u001f'));
        const phones = [c.tel, c.mobil].map(t => String(t ?? '').replace(/ /g, '')).join('\u001f');
        return texts.includes(words) || (digits && phones.includes(digits));
    });
    matching.sort((a, b) => czech.compare(a.nazev || '', b.nazev || '') || a.id - b.id);
    return {data: {zakaznici: matching.slice(0, mostCustomers), dalsi: matching.length > mostCustomers}, cas};
}

// The due list of a town, or of all the towns kept: the whole list when it was stored,
// else the towns stored one by one. Whether a date is past is judged today.
export async function dueList(town) {
    const whole = await db.document('revize');
    const towns = await db.documentsUnder('revize?mesto=');
    const sources = whole ? [whole] : towns;
    if (!sources.length || (town && !whole && !towns.some(r => r.data.mesto === town)))
        return null; // not stored, which is not the same as nothing due
    const today = new Date().toLocaleDateString('sv');
    let rows = sources.flatMap(r => r.data.radky || []);
    if (town)
        rows = rows.filter(r => (r.mesto || '') === town);
    else if (!whole)
        rows.sort((a, b) => czech.compare(a.mesto || '', b.mesto || '') ||
                            czech.compare(a.ulice || '', b.ulice || ''));
    rows = rows.map(r => ({...r, po_terminu: Boolean(r.pristi_revize && r.pristi_revize < today)}));
    const offered = whole ? whole.data.mesta || [] : towns.map(r => r.data.mesto);
    const data = {
        radky: rows,
        pocet: rows.length,
        po_terminu: rows.filter(r => r.po_terminu).length,
        do: sources[0].data.do,
        mesta: offered.sort(czech.compare),
        dalsi: null
    };
    return {data, cas: oldest(sources)};
}
