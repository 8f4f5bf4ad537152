// Work without signal: a town stored for the trip, the app opened offline, records made into
// the outbox and sent once the network is back; refusals kept until fixed; sign-out rules.
const {test, expect} = require('@playwright/test');
const {amount, database, monthsFromToday, photograph, signIn, submitSignIn} = require('./support.js');

// "2027-12-10" as the app shows it: "10.12.2027".
const dateText = iso => iso.split('-').reverse().map(Number).join('.');

// The app's own worker keeps the shell, so that it reloads offline.
test.use({serviceWorkers: 'allow'});

const count = sql => Number(database(sql));

// Stores the town alone for the trip (the towns of the last trip are offered checked).
async function storeTown(page, town) {
    await page.goto('/#/na-cestu');
    await expect(page.getByRole('heading', {level: 1, name: 'Na cestu'})).toBeVisible();
    for (const box of await page.locator('input[name=mesto]:checked').all())
        await box.uncheck();
    await page.getByRole('checkbox', {name: town}).check();
    await page.getByRole('button', {name: 'Uložit do telefonu'}).click();
    await expect(page.locator('#notice')).toHaveText('Uloženo do telefonu. Data budou k dispozici i bez signálu.');
}

async function recordActivity(page, kind, note) {
    await page.getByRole('link', {name: 'Nová činnost'}).click();
    await expect(page.getByRole('heading', {level: 1, name: 'Nová činnost'})).toBeVisible();
    await page.getByLabel('Činnost', {exact: true}).selectOption({label: kind});
    await page.getByLabel('Poznámka').fill(note);
    await page.getByRole('button', {name: 'Uložit'}).click();
}

const offlineNotice = 'Bez signálu: záznam je v telefonu a odešle se sám, až bude signál.';

// Every entry of the outbox, as the page of the outbox lists them.
const entryStates = page => page.locator('#zaznamy .badge');

// Changes every entry of the outbox in the phone by `everyEntry`, and an activity with the
// given note by `byNote[note]` besides.
const rewriteOutbox = (page, everyEntry, byNote = {}) => page.evaluate(
    ([every, byNote]) => new Promise((resolve, reject) => {
        const open = indexedDB.open('vestibor');
        open.onsuccess = () => {
            const transaction = open.result.transaction('odesilani', 'readwrite');
            const store = transaction.objectStore('odesilani');
            store.getAll().onsuccess = event => {
                for (const entry of event.target.result)
                    store.put({...entry, ...every, ...(byNote[entry.telo.poznamka] ?? {})});
            };
            transaction.oncomplete = () => {
                open.result.close();
                resolve();
            };
            transaction.onerror = () => reject(transaction.error);
        };
    }),
    [everyEntry, byNote]);

test('a town stored for the trip works offline, and what was recorded there is written once',
     async ({page, context}) => {
         await signIn(page);
         await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
         await storeTown(page, 'Brno');
         await expect(page.locator('#ulozeno')).toContainText('2 zákazníci');
         await photograph(page, 'na-cestu');

         await context.setOffline(true);
         await page.goto('/#/revize');
         await page.reload();
         await expect(page.getByRole('heading', {level: 1, name: 'Revize'})).toBeVisible();
         await expect(page.locator('#stav-data')).toContainText('Bez signálu – data z ');
         await expect(page.locator('#radky')).toContainText('Dvořáková Jana');
         await expect(page.locator('#radky')).not.toContainText('Šťastná Věra');
         // A town not stored is not a town with nothing due.
         await page.goto('/#/revize?mesto=' + encodeURIComponent('Třebíč'));
         await expect(page.locator('main')).toContainText('v telefonu to uloženo není');

         // Search over what is stored: a name without accents, then a serial number.
         await page.goto('/#/hledat');
         await page.getByRole('searchbox', {name: 'Hledat'}).fill('cermak');
         await page.getByRole('button', {name: 'Hledat'}).click();
         await page.getByRole('link', {name: /Teplo Čermák/}).click();
         await expect(page.getByRole('heading', {level: 1, name: 'Zákazník'})).toBeVisible();
         await page.getByRole('link', {name: /Kotel v dílně/}).click();
         await expect(page.getByRole('heading', {name: 'Kotel v dílně'})).toBeVisible();
         await expect(page.locator('#stav-data')).toBeVisible();

         for (const note of ['Bez signálu 1', 'Bez signálu 2']) {
             await recordActivity(page, 'Kontrola', note);
             await expect(page.locator('#notice')).toHaveText(offlineNotice);
         }
         await expect(page.locator('#cekajici .item')).toHaveCount(2);
         await expect(page.locator('#cekajici')).toContainText('Čeká na odeslání');
         await photograph(page, 'karta-bez-signalu');

         // A code read or typed on the scanning page looks through the stored cards.
         await page.goto('/#/zakaznik/3/skenovat');
         await page.getByLabel('Kód').fill('NENI-V-TELEFONU');
         await page.getByRole('button', {name: 'Vyhledat'}).click();
         await expect(page.locator('#sken-stav')).toContainText('Žádná karta uložená v telefonu nemá kód');
         await page.getByLabel('Kód').fill('zk-5');
         await page.getByRole('button', {name: 'Vyhledat'}).click();
         await expect(page.getByRole('heading', {name: 'Kotel v suterénu'})).toBeVisible();
         await recordActivity(page, 'Kontrola', 'Bez signálu 3');
         await expect(page.locator('#notice')).toHaveText(offlineNotice);

         // A new card with an activity of its own, both only in the phone yet.
         await page.goto('/#/zakaznik/3/nova-karta');
         await page.getByLabel('Název').fill('Kotel z výjezdu');
         await page.getByLabel('Typ').fill('Kompakt 20');
         await page.getByLabel('Kategorie').selectOption({label: 'Plynový kotel'});
         await page.getByRole('button', {name: 'Uložit'}).click();
         await expect(page.getByRole('heading', {name: 'Kotel z výjezdu'})).toBeVisible();
         await recordActivity(page, 'Revize', 'Na nové kartě');
         await expect(page.locator('#cinnosti')).toContainText('Na nové kartě');
         await photograph(page, 'cekajici-karta');
         await expect(page.locator('#stav-odesilani')).toHaveText('Čeká na odeslání: 5 záznamů');
         expect(count("SELECT count(*) FROM cinnosti WHERE poznamka LIKE 'Bez signálu%'")).toBe(0);

         await context.setOffline(false);
         await page.goto('/#/odesilani');
         await expect(entryStates(page)).toHaveText(Array(5).fill('Zapsáno'));
         await expect(page.locator('#stav-odesilani')).toBeHidden();
         await photograph(page, 'odesilani-zapsano');
         const check = () => {
             expect(count("SELECT count(*) FROM cinnosti WHERE poznamka LIKE 'Bez signálu%' AND " +
                          'id_topneho_zdroje IN (4, 5)'))
                 .toBe(3);
             expect(count("SELECT count(*) FROM topny_zdroj WHERE nazev = 'Kotel z výjezdu'")).toBe(1);
             expect(database("SELECT c.id_topneho_zdroje = t.id, c.id_zakaznika FROM cinnosti c, topny_zdroj t " +
                             "WHERE c.poznamka = 'Na nové kartě' AND t.nazev = 'Kotel z výjezdu'"))
                 .toMatch(/^(1|t|true)\|3$/);
         };
         check();
         // The customer lists his new card without signal too.
         await context.setOffline(true);
         await page.goto('/#/zakaznik/3');
         await expect(page.getByRole('link', {name: /Kotel z výjezdu/})).toBeVisible();
         await context.setOffline(false);
         await page.goto('/#/odesilani');

         // The same outbox sent once more: the server knows each request, and nothing doubles.
         await rewriteOutbox(page, {stav: 'ceka'});
         // Opening the app sends what waits.
         await page.reload();
         await expect(entryStates(page)).toHaveText(Array(5).fill('Zapsáno'));
         check();
         expect(count("SELECT count(*) FROM cinnosti WHERE poznamka = 'Na nové kartě'")).toBe(1);

         // A day later the written entries go, but not a new card whose own activity still
         // waits to be fixed: the fix needs it.
         const twoDaysAgo = new Date(Date.now() - 2 * 24 * 3600 * 1000).toISOString();
         await rewriteOutbox(page, {zapsano: twoDaysAgo}, {'Na nové kartě': {stav: 'odmitnuto', duvod: 'Zkouška'}});
         await page.reload();
         await expect(entryStates(page)).toHaveText(['Zapsáno', 'Odmítnuto']);
         await page.getByRole('link', {name: 'Opravit a odeslat'}).click();
         await expect(page.getByRole('heading', {level: 1, name: 'Oprava záznamu'})).toBeVisible();
         await expect(page.getByLabel('Poznámka')).toHaveValue('Na nové kartě');
     });

// What the phone holds for the trip is the last trip's; the customers opened lately stay besides.
test('a new trip replaces the last one, but not the customers opened lately', async ({page, context}) => {
    await signIn(page);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    await storeTown(page, 'Brno');
    await expect(page.locator('#ulozeno')).toContainText('2 zákazníci');
    await expect(page.locator('#v-telefonu')).toContainText(/Data aplikace v telefonu: \d+,\d MB\./);

    await page.goto('/#/zakaznik/2');
    await expect(page.getByRole('heading', {level: 1, name: 'Zákazník'})).toBeVisible();
    // Kept once the answer is in the phone, which the page does not wait for.
    await page.waitForFunction(() => new Promise(resolve => {
        indexedDB.open('vestibor').onsuccess = event => {
            const db = event.target.result;
            db.transaction('udaje').objectStore('udaje').get('nedavni').onsuccess = read => {
                db.close();
                resolve((read.target.result?.hodnota || []).includes(2));
            };
        };
    }));
    await storeTown(page, 'Třebíč');
    await expect(page.locator('#ulozeno')).toContainText('1 zákazník,');
    await expect(page.locator('#v-telefonu')).toContainText('Města: Třebíč.');

    await context.setOffline(true);
    const opens = async (hash, heading) => {
        await page.goto(hash);
        await expect(page.getByRole('heading', {level: 1, name: heading})).toBeVisible();
    };
    await opens('/#/zakaznik/1', 'Zákazník');
    await expect(page.locator('#main')).toContainText('Šťastná Věra');
    await opens('/#/zakaznik/2', 'Zákazník');
    await expect(page.locator('#main')).toContainText('Teplo Čermák');
    await opens('/#/zakaznik/3', 'Chyba');
    await expect(page.getByRole('alert')).toContainText('v telefonu to uloženo není');
    await opens('/#/hledat?text=brno', 'Hledat');
    await expect(page.locator('#main')).toContainText('Teplo Čermák');
    await expect(page.locator('#main')).not.toContainText('Dvořáková');

    // A single customer goes along from his own page, his cards too, beside the town.
    await context.setOffline(false);
    await opens('/#/zakaznik/3', 'Zákazník');
    await page.getByRole('button', {name: 'Uložit na cestu'}).click();
    await expect(page.locator('#notice')).toHaveText('Zákazník je uložen v telefonu pro práci bez signálu.');
    await opens('/#/na-cestu', 'Na cestu');
    await expect(page.locator('#ulozeno')).toContainText('2 zákazníci');
    await context.setOffline(true);
    await opens('/#/karta/5', 'Karta');
    await expect(page.locator('#main')).toContainText('Kotel v suterénu');
});

test('activities for a card taken out of service meanwhile are refused, shown, one fixed and sent again, ' +
         'one thrown away on purpose',
     async ({page, context}) => {
         database('INSERT INTO topny_zdroj (id, id_zakaznika, nazev, typ, kategorie, lhuta) ' +
                  "VALUES (40, 2, 'Starý kotel', 'Gama', 2, 24)");
         await signIn(page);
         await page.goto('/#/zakaznik/2');
         await page.getByRole('link', {name: /Starý kotel/}).click();
         await expect(page.getByRole('heading', {name: 'Starý kotel'})).toBeVisible();

         await context.setOffline(true);
         for (const note of ['Na vyřazený kotel', 'Omylem na vyřazený']) {
             await recordActivity(page, 'Oprava', note);
             await expect(page.locator('#notice')).toHaveText(offlineNotice);
         }
         const today = database(process.env.VESTIBOR_ENGINE === 'server' ? 'SELECT current_date'
                                                                         : "SELECT date('now', 'localtime')");
         database(`UPDATE topny_zdroj SET vyrazeno_dne = '${today}' WHERE id = 40`);

         await context.setOffline(false);
         await expect(page.locator('#stav-odesilani')).toHaveText('Odmítnuto: 2 – opravte, nebo zahoďte');
         await page.locator('#stav-odesilani').click();
         const entries = page.locator('#zaznamy .item');
         const entry = entries.filter({hasText: 'Na vyřazený kotel'});
         await expect(entries.locator('.badge')).toHaveText(['Odmítnuto', 'Odmítnuto']);
         await expect(entry).toContainText('Karta byla vyřazena z provozu, činnost na ni nelze zapsat.');
         await expect(entry.locator('.current')).toContainText('Vyřazeno');
         await photograph(page, 'odesilani-odmitnuto');

         await entry.getByRole('link', {name: 'Opravit a odeslat'}).click();
         await expect(page.getByRole('alert')).toContainText('Karta byla vyřazena z provozu');
         await expect(page.getByLabel('Poznámka')).toHaveValue('Na vyřazený kotel');
         await page.getByRole('button', {name: 'Odeslat znovu'}).click();
         await expect(page.getByRole('alert')).toHaveText('Vyberte kartu, na kterou činnost patří.');
         await photograph(page, 'oprava-zaznamu');
         // The next revision as the chosen card's period gives it.
         await expect(page.locator('#datum-pristi')).toHaveText(dateText(monthsFromToday(24)));
         await page.getByLabel('Karta').selectOption({label: 'Kotel v dílně, ZK-4'});
         await expect(page.locator('#datum-pristi')).toHaveText(dateText(monthsFromToday(12)));
         await page.getByRole('button', {name: 'Odeslat znovu'}).click();
         await expect(page.getByRole('heading', {level: 1, name: 'Odesílání'})).toBeVisible();
         await expect(entry.locator('.badge')).toHaveText('Zapsáno');
         expect(database("SELECT id_topneho_zdroje FROM cinnosti WHERE poznamka = 'Na vyřazený kotel'")).toBe('4');

         // Thrown away only on the second tap.
         const mistaken = entries.filter({hasText: 'Omylem na vyřazený'});
         await mistaken.getByRole('button', {name: 'Zahodit'}).click();
         await expect(mistaken).toBeVisible();
         await mistaken.getByRole('button', {name: 'Opravdu zahodit'}).click();
         await expect(page.locator('#notice')).toHaveText('Záznam je zahozen.');
         await expect(entries).toHaveCount(1);
         await expect(page.locator('#stav-odesilani')).toBeHidden();
         expect(count("SELECT count(*) FROM cinnosti WHERE poznamka = 'Omylem na vyřazený'")).toBe(0);
     });

test('a correction made offline to a row changed meanwhile is refused with the row as it is now, and sent again',
     async ({page, context}) => {
         await signIn(page);
         await page.goto('/#/karta/5/nova');
         await page.getByLabel('Činnost', {exact: true}).selectOption({label: 'Kontrola'});
         await page.getByLabel('Práce').fill('700');
         await page.getByLabel('Poznámka').fill('K opravě venku');
         await page.getByRole('button', {name: 'Uložit'}).click();
         await expect(page.locator('#notice')).toHaveText('Činnost je uložena.');

         await context.setOffline(true);
         await page.locator('#cinnosti > li').filter({hasText: 'K opravě venku'}).getByRole('link', {name: /Opravit/})
             .click();
         await expect(page.getByLabel('Práce')).toHaveValue('700');
         await page.getByLabel('Práce').fill('800');
         await page.getByRole('button', {name: 'Uložit'}).click();
         await expect(page.locator('#notice')).toHaveText(offlineNotice);
         database("UPDATE cinnosti SET cena_prace = 955, datum_pristi = NULL WHERE poznamka = 'K opravě venku'");

         await context.setOffline(false);
         await page.locator('#stav-odesilani').click();
         // The activity written before stays listed as written for a while.
         await expect(page.locator('#zaznamy .item').filter({hasText: 'Nová činnost'}).locator('.badge'))
             .toHaveText('Zapsáno');
         const entry = page.locator('#zaznamy .item').filter({hasText: 'Oprava činnosti'});
         await expect(entry.locator('.badge')).toHaveText('Odmítnuto');
         await expect(entry).toContainText('Záznam mezitím změnil jiný uživatel.');
         await expect(entry.locator('.current')).toContainText('955,00 Kč');

         await entry.getByRole('link', {name: 'Opravit a odeslat'}).click();
         await expect(page.getByRole('heading', {level: 1, name: 'Oprava záznamu'})).toBeVisible();
         await expect(page.getByRole('region', {name: 'Aktuální záznam'})).toContainText('955,00 Kč');
         await expect(page.getByLabel('Práce')).toHaveValue('800');
         await page.getByRole('button', {name: 'Odeslat znovu'}).click();
         await expect(entry.locator('.badge')).toHaveText('Zapsáno');
         expect(database(`SELECT ${amount('cena_prace')} FROM cinnosti WHERE poznamka = 'K opravě venku'`))
             .toBe('800.00');
     });

test('the whole due list stored for the trip opens offline, by town too', async ({page, context}) => {
    await signIn(page);
    await page.goto('/#/na-cestu');
    await page.getByRole('checkbox', {name: 'Celý seznam revizí (všechna města)'}).check();
    await page.getByRole('button', {name: 'Uložit do telefonu'}).click();
    await expect(page.locator('#notice')).toHaveText('Uloženo do telefonu. Data budou k dispozici i bez signálu.');
    await expect(page.locator('#v-telefonu')).toContainText('Celý seznam revizí.');
    await page.goto('/#/revize');
    const online = await page.locator('#pocet').textContent();

    await context.setOffline(true);
    await page.getByLabel('Město').selectOption('Třebíč');
    await expect(page.locator('#stav-data')).toContainText('Bez signálu – data z ');
    await expect(page.locator('main h2')).toHaveText(['Třebíč']);
    await page.getByLabel('Město').selectOption('');
    await expect(page.locator('main h2')).toHaveText(['Brno', 'Třebíč']);
    await expect(page.locator('#pocet')).toHaveText(online);
    await page.getByRole('link', {name: /Šťastná Věra/}).click();
    await expect(page.getByRole('heading', {name: 'Kotel v kotelně'})).toBeVisible();
});

test('signing out waits for the outbox, then leaves nothing in the phone until the next sign-in', async ({page, context}) => {
    await signIn(page);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    await page.goto('/#/karta/5');
    await expect(page.getByRole('heading', {name: 'Kotel v suterénu'})).toBeVisible();
    await context.setOffline(true);
    await recordActivity(page, 'Kontrola', 'Před odhlášením');
    await page.getByRole('button', {name: 'Odhlásit'}).click();
    await expect(page.locator('#notice'))
        .toHaveText('Odhlásit se nelze, v telefonu jsou neodeslané záznamy (1). Počkejte, až se odešlou, nebo ' +
                    'je na stránce Odesílání zahoďte.');
    await expect(page.getByRole('heading', {level: 1, name: 'Karta'})).toBeVisible();

    await context.setOffline(false);
    await expect(page.locator('#stav-odesilani')).toBeHidden();
    expect(count("SELECT count(*) FROM cinnosti WHERE poznamka = 'Před odhlášením'")).toBe(1);
    expect(await page.evaluate(async () => (await indexedDB.databases()).length)).toBe(1);
    await page.getByRole('button', {name: 'Odhlásit'}).click();
    await expect(page.getByRole('heading', {level: 1, name: 'Přihlášení'})).toBeVisible();
    expect(await page.evaluate(async () => ({
                                   databases: (await indexedDB.databases()).map(d => d.name),
                                   caches: await caches.keys()
                               })))
        .toEqual({databases: [], caches: []});

    // Signed in again, the phone keeps the app's own files once more, and it opens offline.
    await submitSignIn(page);
    await expect(page.getByRole('heading', {level: 1, name: 'Revize'})).toBeVisible();
    await expect.poll(() => page.evaluate(async () => Boolean(await caches.match('/index.html')))).toBe(true);
    await context.setOffline(true);
    await page.reload();
    await expect(page.locator('main')).toContainText('v telefonu to uloženo není');
});
