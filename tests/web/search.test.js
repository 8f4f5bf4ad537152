// One box: a name typed without accents finds the customer, a serial number opens its card.
const {test, expect} = require('@playwright/test');
const {database, monthsFromToday, signIn} = require('./support.js');

test.beforeEach(async ({page}) => signIn(page));

test('a name without accents finds the customer, who is shown with contacts and cards', async ({page}) => {
    await page.getByRole('link', {name: 'Hledat'}).click();
    await page.getByRole('searchbox', {name: 'Hledat'}).fill('stastna');
    await page.getByRole('searchbox', {name: 'Hledat'}).press('Enter');
    await page.getByRole('link', {name: /Šťastná Věra/}).click();

    await expect(page.getByRole('heading', {name: 'Šťastná Věra'})).toBeVisible();
    await expect(page.getByRole('link', {
        name: /Mobil 602 333 444/
    })).toHaveAttribute('href', 'tel:602333444');
    await expect(page.getByRole('link', {
        name: /vera@example.cz/
    })).toHaveAttribute('href', 'mailto:vera@example.cz');
    await expect(page.getByRole('link', {
        name: 'Navigovat'
    })).toHaveAttribute('href', /^geo:0,0\?q=.*T%C5%99eb%C3%AD%C4%8D/);
    await expect(page.getByRole('link', {
        name: 'Mapa na OpenStreetMap'
    })).toHaveAttribute('href', /^https:\/\/www\.openstreetmap\.org\/search\?query=/);
    await expect(page.getByText('Klíč od kotelny u sousedky.')).toBeVisible();
    const card = page.locator('#karty li').filter({hasText: 'Kotel v kotelně'});
    await expect(card).toContainText('Po termínu');
});

test('a serial number in other case opens its card at once', async ({page}) => {
    await page.goto('/#/hledat');
    const menu = page.getByRole('navigation', {name: 'Hlavní nabídka'});
    await expect(menu.getByRole('link', {name: 'Hledat'})).toHaveAttribute('aria-current', 'page');
    await expect(menu.getByRole('link', {name: 'Revize'})).not.toHaveAttribute('aria-current');
    await page.getByRole('searchbox', {name: 'Hledat'}).fill('vc-2024-abc');
    await page.getByRole('button', {name: 'Hledat'}).click();
    await expect(page.getByRole('heading', {level: 1, name: 'Karta'})).toBeVisible();
    await expect(page.getByRole('heading', {name: 'Kotel v kotelně'})).toBeVisible();
    await expect(page.locator('.facts').first()).toContainText('VC-2024-ABC');
});

test('the due list is ordered by town, marks what is overdue and filters by town', async ({page}) => {
    await expect(page.locator('#pocet')).toContainText('3 zdroje, z toho 2 po termínu');
    await expect(page.locator('main h2')).toHaveText(['Brno', 'Třebíč']);
    const late = page.locator('.item').filter({hasText: 'Šťastná Věra'});
    await expect(late).toHaveClass(/overdue/);
    await expect(page.locator('.item').filter({hasText: 'Teplo Čermák'})).not.toContainText('Po termínu');
    await page.getByLabel('Město').selectOption('Třebíč');
    await expect(page.locator('#pocet')).toContainText('1 zdroj');
    await expect(page.locator('main h2')).toHaveText(['Třebíč']);
});

test(
    'a long due list comes a batch at a time under one heading a town, and back from a card stays put',
    async ({page}) => {
        const many = 'WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 230) ';
        database(many + 'INSERT INTO cis_zakaznici (id, nazev, ulice, mesto, hlidani_revizi) ' +
                 "SELECT 1000 + i, 'Zákazník ' || i, 'Dlouhá ' || i, 'Zlín', TRUE FROM n");
        database(many + 'INSERT INTO topny_zdroj (id, id_zakaznika, nazev, typ, kategorie, lhuta) ' +
                 "SELECT 1000 + i, 1000 + i, 'Kotel', 'T-1', 1, 12 FROM n");
        database(many +
                 'INSERT INTO cinnosti (id_zakaznika, id_topneho_zdroje, cinnost, datum, datum_pristi) ' +
                 `SELECT 1000 + i, 1000 + i, 1, '${monthsFromToday(-13)}', '${monthsFromToday(-1)}' FROM n`);
        try {
            await page.goto('/#/revize?mesto=Zl%C3%ADn');
            await expect(page.locator('#pocet')).toContainText('230 zdrojů, z toho 230 po termínu');
            await expect(page.locator('#radky .item')).toHaveCount(200);
            // Back from a card far down the list, the list stands where it was left.
            const far = page.locator('#radky .item').nth(150);
            await far.getByRole('link').click();
            await expect(page.getByRole('heading', {level: 1, name: 'Karta'})).toBeVisible();
            await page.getByRole('link', {name: 'Zpět'}).click();
            await expect(page.locator('#radky .item').nth(150)).toBeInViewport();
            await page.getByRole('button', {name: 'Zobrazit další (30 z 30)'}).click();
            await expect(page.locator('#radky .item')).toHaveCount(230);
            await expect(page.locator('#radky h2')).toHaveText(['Zlín']);
            await expect(page.getByRole('button', {name: /Zobrazit další/})).toHaveCount(0);
        } finally {
            database(
                'DELETE FROM cinnosti WHERE id_topneho_zdroje >= 1000; DELETE FROM topny_zdroj WHERE id >= 1000; ' +
                'DELETE FROM cis_zakaznici WHERE id >= 1000');
        }
    });
