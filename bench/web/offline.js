// Measures the web app without signal, in Debian's chromium as a phone (390x844, Czech), the
// app's service worker allowed: "Na cestu" for a town (from the click on "Uložit do telefonu"
// to the notice, and what the phone then holds), the pages stored for it opened offline (from
// the change of the hash to the page shown), and 50 activities recorded offline into the
// outbox until the server acknowledged every one once the network is back.
//   node offline.js --url <https://…> --login <login> --once <one-time password> --town <town>
//                   --engine <soubor|server> --out <results.json>
//   node offline.js --table <results.json>…     the results side by side, against the targets
// bench/web/offline.sh makes the data and the server and runs both.
const fs = require('node:fs');
const path = require('node:path');
const {chromium} = require(path.join(__dirname, '../../tests/web/node_modules/playwright'));
const {browser: launchOptions} = require(path.join(__dirname, '../../tests/web/browser.js'));

const password = 'Mereni-Bez-Signalu-2026';
const tripRuns = 3;
const pageRounds = 5;
const outboxEntries = 50;

const targets = {tripMs: 5000, storedBytes: 5 * 1024 * 1024, pageMs: 200, outboxMs: 5000};

function options(argv) {
    const named = {};
    for (let i = 0; i < argv.length; ++i) {
        if (!argv[i].startsWith('--'))
            throw new Error(`unexpected argument ${argv[i]}`);
        const name = argv[i].slice(2);
        if (name === 'table')
            return {table: argv.slice(i + 1)};
        named[name] = argv[++i];
    }
    for (const required of ['url', 'login', 'once', 'town', 'engine', 'out'])
        if (!named[required])
            throw new Error(`--${required} is missing`);
    return named;
}

const median = values => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const summary = values => ({runs: values, median: median(values), max: Math.max(...values)});

// The account gets its own password through the calls the app makes, then signs in in the app.
async function signIn(context, page, url, login, once) {
    const client = context.request;
    const headers = {Origin: url};
    const first = await client.post('/api/prihlaseni', {data: {login, heslo: once}, headers});
    if (!first.ok())
        throw new Error(`the sign-in was refused: ${first.status()} ${await first.text()}`);
    const changed = await client.post('/api/heslo', {data: {heslo: once, nove_heslo: password}, headers});
    if (!changed.ok())
        throw new Error(`the password was not changed: ${changed.status()} ${await changed.text()}`);
    await page.goto('/#/revize');
    await page.locator('h1#title', {hasText: 'Revize'}).waitFor();
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
}

// What the phone holds: the browser's own estimate, and the documents kept in IndexedDB as
// the bytes of their JSON.
const held = page => page.evaluate(async () => {
    const estimate = await navigator.storage.estimate();
    const db = await new Promise((resolve, reject) => {
        const request = indexedDB.open('vestibor');
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
    });
    const all = await new Promise((resolve, reject) => {
        const request = db.transaction('dokumenty').objectStore('dokumenty').getAll();
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
    });
    db.close();
    const encoder = new TextEncoder();
    const kinds = {};
    for (const record of all) {
        const kind = record.cesta.replace(/[/?].*/, '');
        kinds[kind] = (kinds[kind] || 0) + encoder.encode(JSON.stringify(record)).length;
    }
    return {
        usage: estimate.usage,
        indexedDB: estimate.usageDetails?.indexedDB ?? null,
        details: estimate.usageDetails ?? null,
        documents: all.length,
        json: Object.values(kinds).reduce((sum, bytes) => sum + bytes, 0),
        kinds
    };
});

// Stores the town for the trip: ms from the click to the notice, with the time the server's
// answers took (resource timing of the API's requests, which overlap the rest).
async function storeTrip(page, town) {
    await page.goto('/#/na-cestu');
    await page.locator('h1#title', {hasText: 'Na cestu'}).waitFor();
    await page.getByRole('checkbox', {name: town}).check();
    await page.evaluate(() => {
        performance.clearResourceTimings();
        performance.setResourceTimingBufferSize(1000);
        window.measuredTrip = new Promise(resolve => {
            const button = [...document.querySelectorAll('button')].find(b => b.textContent === 'Uložit do telefonu');
            const notice = document.getElementById('notice');
            let start = null;
            button.addEventListener('click', () => (start = performance.now()), {capture: true, once: true});
            const observer = new MutationObserver(() => {
                if (start === null || notice.hidden || !notice.textContent)
                    return;
                const ms = performance.now() - start;
                observer.disconnect();
                const api = performance.getEntriesByType('resource').filter(e => e.name.includes('/api/'));
                const spent = part => api.filter(e => e.name.includes(part)).reduce((s, e) => s + e.duration, 0);
                const last = api.reduce((end, e) => Math.max(end, e.responseEnd), start);
                resolve({ms, notice: notice.textContent, trip: spent('/api/na-cestu'), due: spent('/api/revize'),
                         afterAnswers: performance.now() - last});
            });
            observer.observe(notice, {attributes: true, childList: true, characterData: true, subtree: true});
        });
    });
    await page.getByRole('button', {name: 'Uložit do telefonu'}).click();
    const result = await page.evaluate(() => window.measuredTrip);
    if (!result.notice.startsWith('Uloženo do telefonu'))
        throw new Error(`the trip was not stored: ${result.notice}`);
    return result;
}

// Opens the hash: ms from its change until main is no longer busy, and the title then shown.
const open = (page, hash) => page.evaluate(hash => new Promise(resolve => {
    const main = document.getElementById('main');
    let start;
    const observer = new MutationObserver(() => {
        if (main.hasAttribute('aria-busy'))
            return;
        observer.disconnect();
        resolve({ms: performance.now() - start, title: document.getElementById('title').textContent,
                 error: main.querySelector('[role=alert]')?.textContent ?? null});
    });
    observer.observe(main, {attributes: true, attributeFilter: ['aria-busy']});
    start = performance.now();
    location.hash = hash;
}), hash);

// What the pages open with: a customer of the town with the most cards, a card of it, a word of
// its name; and the cards the outbox records on.
const storedTown = (page, town) => page.evaluate(async town => {
    const db = await new Promise((resolve, reject) => {
        const request = indexedDB.open('vestibor');
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
    });
    const all = await new Promise(resolve => {
        db.transaction('dokumenty').objectStore('dokumenty').getAll().onsuccess = e => resolve(e.target.result);
    });
    db.close();
    const customers = all.filter(r => r.cesta.startsWith('zakaznici/') && r.data.zakaznik.mesto === town)
                          .map(r => r.data);
    const cards = all.filter(r => r.cesta.startsWith('karty/') && r.data.zakaznik?.mesto === town && !r.data.karta.vyrazeno_dne)
                      .map(r => ({id: r.data.karta.id, nazev: r.data.karta.nazev, zakaznik: r.data.zakaznik}));
    customers.sort((a, b) => b.karty.length - a.karty.length);
    const kinds = all.find(r => r.cesta === 'ciselniky').data.cinnosti;
    const customer = customers[0];
    return {customer: customer.zakaznik.id, name: customer.zakaznik.nazev.split(' ')[0],
            card: customer.karty.find(k => !k.vyrazeno_dne).id, cards, kind: kinds[0].id};
}, town);

async function measurePages(page, town, stored) {
    const pages = [
        ['due', `#/revize?mesto=${encodeURIComponent(town)}`, 'Revize'],
        ['search', `#/hledat?text=${encodeURIComponent(stored.name)}`, 'Hledat'],
        ['customer', `#/zakaznik/${stored.customer}`, 'Zákazník'],
        ['card', `#/karta/${stored.card}`, 'Karta'],
        ['activity', `#/karta/${stored.card}/nova`, 'Nová činnost'],
    ];
    const times = Object.fromEntries(pages.map(([name]) => [name, []]));
    for (let round = 0; round < pageRounds; ++round) {
        for (const [name, hash, title] of pages) {
            const shown = await open(page, hash);
            if (shown.title !== title || shown.error)
                throw new Error(`${hash} showed ${shown.title}: ${shown.error}`);
            times[name].push(shown.ms);
        }
    }
    if (!(await page.locator('#stav-data').textContent()).includes('Bez signálu'))
        throw new Error('the page was not read from the phone');
    return Object.fromEntries(Object.entries(times).map(([name, values]) => [name, summary(values)]));
}

// Records the activities into the outbox offline, then measures from the network coming back
// until every one is written ("zapsano").
async function measureOutbox(context, page, stored) {
    const today = new Date().toLocaleDateString('sv');
    const items = stored.cards.slice(0, outboxEntries).map((card, i) => ({
        body: {id_topneho_zdroje: card.id, datum: today, cinnost: stored.kind, cena_doprava: null, cena_prace: null,
               cena_material: null, cena_ostatni: null, poznamka: `Měření bez signálu ${i + 1}`},
        about: {zakaznik: {id: card.zakaznik.id, nazev: card.zakaznik.nazev}, karta: {id: card.id, nazev: card.nazev}}
    }));
    if (items.length < outboxEntries)
        throw new Error(`the town has only ${items.length} cards in service`);
    await page.evaluate(async items => {
        const outbox = await import('/js/offline/outbox.js');
        for (const {body, about} of items) {
            const {stav} = await outbox.submit(outbox.entry('cinnost', 'POST', 'cinnosti', body, about));
            if (stav !== outbox.waiting)
                throw new Error(`an entry went without signal: ${stav}`);
        }
        const count = (await outbox.unsent()).length;
        window.measuredOutbox = new Promise(resolve => {
            let start = null;
            const check = async () => {
                const all = await outbox.entries();
                if (start !== null && all.filter(e => e.stav === outbox.written).length === count) {
                    stop();
                    resolve({ms: performance.now() - start, count,
                             refused: all.filter(e => e.stav === outbox.refused).length});
                }
            };
            const stop = outbox.whenChanged(check);
            addEventListener('online', () => {
                start = performance.now();
                check();
            }, {once: true});
        });
    }, items);
    await context.setOffline(false);
    return page.evaluate(() => Promise.race([
        window.measuredOutbox,
        new Promise((_, reject) => setTimeout(() => reject(new Error('the outbox was not sent in 60 s')), 60000))
    ]));
}

async function measure(settings) {
    const browser = await chromium.launch(launchOptions);
    try {
        const context = await browser.newContext({
            baseURL: settings.url,
            viewport: {width: 390, height: 844},
            locale: 'cs-CZ',
            ignoreHTTPSErrors: true,
            serviceWorkers: 'allow'
        });
        const page = await context.newPage();
        await signIn(context, page, settings.url, settings.login, settings.once);

        // What a phone holds before its first trip, after it, and after trips that replaced
        // earlier ones.
        const before = (await held(page)).usage;
        const trips = [await storeTrip(page, settings.town)];
        const first = await held(page);
        while (trips.length < tripRuns)
            trips.push(await storeTrip(page, settings.town));
        const stored = {before, first, ...(await held(page))};
        const town = await storedTown(page, settings.town);

        await context.setOffline(true);
        await page.goto('/#/revize');
        await page.reload(); // the shell from the service worker, the data from the phone
        await page.locator('h1#title', {hasText: 'Revize'}).waitFor();
        const pages = await measurePages(page, settings.town, town);
        const outbox = await measureOutbox(context, page, town);
        await context.close();
        return {
            engine: settings.engine,
            trip: {...summary(trips.map(t => t.ms)), answers: trips.map(t => t.trip + t.due),
                   afterAnswers: trips.map(t => t.afterAnswers)},
            stored,
            pages,
            outbox
        };
    } finally {
        await browser.close();
    }
}

const ms = value => (value < 100 ? value.toFixed(1) : value.toFixed(0));
const mb = bytes => (bytes == null ? '?' : `${(bytes / 1048576).toFixed(2)} MB`);
const timeCell = s => `${ms(s.median)} / ${ms(s.max)}`;

// The results side by side: one column an engine, each time as "median / longest" in ms.
function table(results) {
    const names = {soubor: 'File', server: 'Server'};
    const rows = [
        ['"Na cestu" for the town, click to notice', '< 5000', r => timeCell(r.trip)],
        ['  of which the server\'s answers (sum)', '', r => ms(median(r.trip.answers))],
        ['  after the last answer', '', r => ms(median(r.trip.afterAnswers))],
        ['Stored: usage (storage.estimate) before', '', r => mb(r.stored.before)],
        ['  after the 1st trip', '< 5 MB', r => mb(r.stored.first.usage)],
        ['  of it IndexedDB', '', r => mb(r.stored.first.indexedDB)],
        [`  usage after ${tripRuns} trips`, '< 5 MB', r => mb(r.stored.usage)],
        ['  of it IndexedDB', '', r => mb(r.stored.indexedDB)],
        ['  documents kept, as JSON', '', r => `${r.stored.documents}, ${mb(r.stored.json)}`],
        ['    of them cards', '', r => mb(r.stored.kinds.karty)],
        ['    customers', '', r => mb(r.stored.kinds.zakaznici)],
        ['    due list, code lists', '', r => mb(r.stored.kinds.revize + r.stored.kinds.ciselniky)],
        ['Offline: due list of the town', '< 200', r => timeCell(r.pages.due)],
        ['Offline: search by name', '< 200', r => timeCell(r.pages.search)],
        ['Offline: customer', '< 200', r => timeCell(r.pages.customer)],
        ['Offline: card', '< 200', r => timeCell(r.pages.card)],
        ['Offline: new activity form', '< 200', r => timeCell(r.pages.activity)],
        [`${outboxEntries} queued entries sent, all written`, '< 5000', r => ms(r.outbox.ms)],
    ];
    const header = ['', 'target', ...results.map(r => `${names[r.engine] || r.engine} (median / max)`)];
    const lines = [header, ...rows.map(([label, target, cell]) => [label, target, ...results.map(cell)])];
    const widths = header.map((_, i) => Math.max(...lines.map(line => line[i].length)));
    const out = lines.map(line => line.map((cell, i) => (i ? cell.padStart(widths[i]) : cell.padEnd(widths[i])))
                                      .join('  '));
    out.splice(1, 0, widths.map(w => '-'.repeat(w)).join('  '));
    return out.join('\n');
}

// The targets missed, as lines.
function misses(result) {
    const found = [];
    if (result.trip.max >= targets.tripMs)
        found.push(`"Na cestu" took up to ${ms(result.trip.max)} ms`);
    const most = Math.max(result.stored.first.usage, result.stored.usage);
    if (most >= targets.storedBytes)
        found.push(`the phone holds ${mb(most)}`);
    for (const [name, times] of Object.entries(result.pages))
        if (times.max >= targets.pageMs)
            found.push(`the ${name} page took up to ${ms(times.max)} ms`);
    if (result.outbox.ms >= targets.outboxMs)
        found.push(`the outbox took ${ms(result.outbox.ms)} ms`);
    return found.map(text => `${result.engine}: ${text}`);
}

async function main() {
    const settings = options(process.argv.slice(2));
    if (settings.table) {
        const results = settings.table.map(file => JSON.parse(fs.readFileSync(file, 'utf8')));
        console.log(table(results));
        const missed = results.flatMap(misses);
        missed.forEach(line => console.log(`Missed: ${line}`));
        process.exitCode = missed.length ? 4 : 0;
        return;
    }
    const result = await measure(settings);
    fs.writeFileSync(settings.out, JSON.stringify(result, null, 1));
    console.log(`\n${settings.engine}:\n${table([result])}\n`);
}

main().catch(error => {
    console.error(error.stack || String(error));
    process.exitCode = 1;
});
