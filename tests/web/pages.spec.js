// Every page on the narrowest phone: nothing wider than the screen. Each page is also
// photographed at 390 × 844 for a person to look at.
const fs = require('node:fs');
const path = require('node:path');
const {test, expect} = require('@playwright/test');
const {signIn} = require('./support.js');

const pages = [
    ['revize', '#/revize'], ['hledat', '#/hledat?text=brno'], ['zakaznik', '#/zakaznik/2'],
    ['karta', '#/karta/1'], ['nova-cinnost', '#/karta/2/nova'], ['nova-karta', '#/zakaznik/1/nova-karta']
];
const shots = process.env.VESTIBOR_SCREENSHOTS || path.join(process.env.VESTIBOR_WORK || '/tmp', 'obrazovky');

test('no page scrolls sideways at 360 px, and each is photographed', async ({page}) => {
    fs.mkdirSync(shots, {recursive: true});
    await page.goto('/#/prihlaseni');
    await page.screenshot({path: path.join(shots, 'prihlaseni.png')});
    await signIn(page);
    for (const [name, hash] of pages) {
        await page.setViewportSize({width: 390, height: 844});
        await page.goto('/' + hash);
        await expect(page.locator('main')).not.toHaveAttribute('aria-busy', 'true');
        await page.screenshot({path: path.join(shots, `${name}.png`)});
        await page.setViewportSize({width: 360, height: 740});
        const width = await page.evaluate(
            () => [document.documentElement.scrollWidth, document.documentElement.clientWidth]);
        expect(width[0], `${hash} is wider than the screen`).toBeLessThanOrEqual(width[1]);
    }
});
