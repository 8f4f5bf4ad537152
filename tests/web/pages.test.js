// Every page on the narrowest phone: nothing wider than the screen, nothing from another
// host, nothing the content security policy refuses, and none fetches the barcode reader,
// which only the camera's view loads. Each page is also photographed on the narrowest and
// the widest phone, 360 and 430 px, for a person to look at.
const path = require('node:path');
const fs = require('node:fs');
const zlib = require('node:zlib');
const {test, expect} = require('@playwright/test');
const {photograph, signIn} = require('./support.js');

const pages = [
    ['revize', '#/revize'], ['hledat', '#/hledat?text=brno'], ['zakaznik', '#/zakaznik/2'],
    ['karta', '#/karta/1'], ['nova-cinnost', '#/karta/2/nova'], ['nova-karta', '#/zakaznik/1/nova-karta'],
    ['na-cestu', '#/na-cestu'], ['odesilani', '#/odesilani']
];

test('no page scrolls sideways at 360 px or asks another host, and each is photographed',
     async ({page, baseURL}) => {
         const foreign = [];
         const refused = [];
         const reader = [];
         page.on('request', request => {
             const url = new URL(request.url());
             if (url.origin !== new URL(baseURL).origin)
                 foreign.push(request.url());
             else if (url.pathname.startsWith('/vendor/'))
                 reader.push(url.pathname);
         });
         page.on('console', message => {
             if (/Content Security Policy/i.test(message.text()))
                 refused.push(message.text());
         });
         await page.goto('/#/prihlaseni');
         await photograph(page, 'prihlaseni');
         await signIn(page);
         for (const [name, hash] of pages) {
             await page.setViewportSize({width: 430, height: 932});
             await page.goto('/' + hash);
             await expect(page.locator('main')).not.toHaveAttribute('aria-busy', 'true');
             await photograph(page, name + '-430');
             await page.setViewportSize({width: 360, height: 740});
             await photograph(page, name + '-360');
             const [scrolled, shown] = await page.evaluate(
                 () => [document.documentElement.scrollWidth, document.documentElement.clientWidth]);
             expect(scrolled, `${hash} is wider than the screen`).toBeLessThanOrEqual(shown);
         }
         expect(foreign).toEqual([]);
         expect(refused).toEqual([]);
         expect(reader).toEqual([]);
     });

// The barcode reader under vendor/ is no part of the shell: only the camera's view loads it.
test('the app shell stays under 100 KB compressed', () => {
    const root = path.join(__dirname, '../../webapp');
    let compressed = 0;
    for (const name of fs.readdirSync(root, {recursive: true})) {
        if (name.split(path.sep)[0] === 'vendor')
            continue;
        const file = path.join(root, name);
        if (fs.statSync(file).isFile())
            compressed += zlib.gzipSync(fs.readFileSync(file), {level: 9}).length;
    }
    expect(compressed).toBeLessThan(100 * 1024);
});
