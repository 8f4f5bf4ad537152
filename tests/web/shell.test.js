// The app shell: kept by the service worker so that it opens without the network, and a new
// version offered by a bar, taken only when asked, with the open form coming back filled.
// Run on a server that serves the app from a copy of webapp/ (VESTIBOR_APLIKACE) to change.
const fs = require('node:fs');
const path = require('node:path');
const {test, expect} = require('@playwright/test');
const {photograph, signIn} = require('./support.js');

const controlled = page => page.waitForFunction(() => navigator.serviceWorker.controller !== null);

test('the app opens without the network once it was loaded, and never keeps the answers of the API',
     async ({page, context}) => {
         // The browser refuses to keep the data: asked once signed in, and nothing else happens.
         await page.addInitScript(() => {
             navigator.storage.persist = async () => {
                 window.persistAsked = (window.persistAsked || 0) + 1;
                 return false;
             };
         });
         await signIn(page);
         expect(await page.evaluate(() => window.persistAsked)).toBe(1);
         await controlled(page);
         await context.setOffline(true);
         await page.reload();
         await expect(page.locator('header h1')).toBeVisible();
         await expect(page.locator('main')).toContainText('Bez signálu, a v telefonu to uloženo není.');
         const kept = await page.evaluate(async () => {
             const names = await caches.keys();
             const requests = await (await caches.open(names[0])).keys();
             return {names, paths: requests.map(r => new URL(r.url).pathname)};
         });
         expect(kept.names).toHaveLength(1);
         expect(kept.paths)
             .toEqual(expect.arrayContaining(['/index.html', '/app.css', '/js/main.js', '/js/update.js']));
         expect(kept.paths.filter(p => p.startsWith('/api/') || p === '/sw.js')).toEqual([]);
     });

// The barcode reader (about a megabyte) is not kept with the shell: the scanning view keeps it
// the first time it fetches it, and from then on it reads without the network.
test('the barcode reader is kept once the scanning view fetched it, and then comes without the network',
     async ({page, context}) => {
         await page.addInitScript(() => {
             navigator.mediaDevices.getUserMedia = async () => {
                 const canvas = document.createElement('canvas');
                 canvas.getContext('2d').fillRect(0, 0, 10, 10);
                 return canvas.captureStream();
             };
         });
         const kept = () => page.evaluate(async () => {
             const names = await caches.keys();
             const requests = await (await caches.open(names[0])).keys();
             return requests.map(r => new URL(r.url).pathname).filter(p => p.startsWith('/vendor/')).sort();
         });
         await signIn(page);
         await controlled(page);
         expect(await kept()).toEqual([]);
         await page.goto('/#/skenovat');
         await expect(page.locator('#sken-stav')).toHaveText('Namiřte fotoaparát na štítek s kódem.', {
             timeout: 15000
         });
         await expect.poll(kept).toEqual(['/vendor/barcode-detector.js', '/vendor/zxing_reader.wasm']);

         await context.setOffline(true);
         const offline = await page.evaluate(
             () =>
                 Promise.all(['/vendor/barcode-detector.js', '/vendor/zxing_reader.wasm'].map(async file => {
                     const answer = await fetch(file);
                     return [answer.status, answer.headers.get('Content-Type')];
                 })));
         await context.setOffline(false);
         expect(offline).toEqual([[200, 'text/javascript; charset=utf-8'], [200, 'application/wasm']]);
     });

test(
    'a new version is offered by a bar, taken only when asked, and the open form comes back filled',
    async ({page}) => {
        await signIn(page);
        await controlled(page);
        await page.goto('/#/karta/5/nova');
        await expect(page.getByRole('heading', {level: 1, name: 'Nová činnost'})).toBeVisible();
        await page.getByLabel('Práce').fill('1 100');
        await page.getByLabel('Poznámka').fill('Rozepsáno před novou verzí');
        const bar = page.getByRole('button', {name: 'Nová verze – načíst'});
        await expect(bar).toBeHidden();

        const css = path.join(process.env.VESTIBOR_APLIKACE, 'app.css');
        const before = fs.readFileSync(css, 'utf8');
        fs.writeFileSync(css, before + '\n/* Nová verze. */\n');
        try {
            await page.evaluate(() => {
                window.sameDocument = true;
                return navigator.serviceWorker.getRegistration().then(r => r.update());
            });
            await expect(bar).toBeVisible();
            await page.waitForTimeout(500);
            expect(await page.evaluate(() => window.sameDocument)).toBe(true);
            await expect(page.getByLabel('Poznámka')).toHaveValue('Rozepsáno před novou verzí');
            await photograph(page, 'nova-verze');

            await bar.click();
            await expect(page.locator('#notice')).toHaveText('Rozepsaný formulář je zpět, uložte ho prosím.');
            expect(await page.evaluate(() => window.sameDocument)).toBeUndefined();
            await expect(page.getByLabel('Práce')).toHaveValue('1 100');
            await expect(page.getByLabel('Poznámka')).toHaveValue('Rozepsáno před novou verzí');
            await expect(bar).toBeHidden();
            const version = (await (await page.request.get('/sw.js')).text()).match(/VERSION = '(\w+)'/)[1];
            expect(await page.evaluate(() => caches.keys())).toEqual(['vestibor-' + version]);
        } finally {
            fs.writeFileSync(css, before);
        }
    });

test('a form nobody typed into comes back after the new version without a notice', async ({page}) => {
    await signIn(page);
    await controlled(page);
    await page.goto('/#/karta/5/nova');
    await expect(page.getByRole('heading', {level: 1, name: 'Nová činnost'})).toBeVisible();
    const script = path.join(process.env.VESTIBOR_APLIKACE, 'js', 'format.js');
    const before = fs.readFileSync(script, 'utf8');
    fs.writeFileSync(script, before + '\n// Nová verze.\n');
    try {
        await page.evaluate(() => navigator.serviceWorker.getRegistration().then(r => r.update()));
        await page.getByRole('button', {name: 'Nová verze – načíst'}).click();
        await expect(page.getByRole('button', {name: 'Nová verze – načíst'})).toBeHidden();
        await expect(page.getByRole('heading', {level: 1, name: 'Nová činnost'})).toBeVisible();
        await expect(page.getByLabel('Poznámka')).toHaveValue('');
        await expect(page.locator('#notice')).toBeHidden();
    } finally {
        fs.writeFileSync(script, before);
    }
});
