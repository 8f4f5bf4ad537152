// Scanning with the phone's camera: chromium's fake camera shows a label zint drew, and
// the app reads it with the bundled reader (chromium on Linux reads no codes itself). No
// request may go to another host while it does.
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const {chromium, test, expect} = require('@playwright/test');
const {browser} = require('./browser.js');
const {photograph, signIn} = require('./support.js');

const work = path.join(process.env.VESTIBOR_WORK || '/tmp', 'stitky');
const width = 640, height = 480;

// The symbol's modules as rows of booleans, from zint's dump: a line a row, a hex digit
// four modules.
function modules(symbology, text) {
    const dump = execFileSync('zint', ['-b', String(symbology), '-d', text, '--dump'], {encoding: 'utf8'});
    return dump.trim().split('\n').map(line => {
        const bits = [];
        for (const digit of line.replace(/\s+/g, ''))
            for (let bit = 3; bit >= 0; --bit)
                bits.push(Boolean((parseInt(digit, 16) >> bit) & 1));
        return bits;
    });
}

// A YUV4MPEG2 file of a few frames, the label black on white in the middle (or no label);
// a linear symbol's one row is drawn tall.
function cameraFile(name, symbology, text) {
    const rows = text ? modules(symbology, text) : [[false]];
    const linear = rows.length === 1;
    const size =
        Math.floor(Math.min((width - 160) / rows[0].length, linear ? 4 : (height - 80) / rows.length));
    const tall = linear ? 200 : rows.length * size;
    const left = Math.floor((width - rows[0].length * size) / 2), top = Math.floor((height - tall) / 2);
    const luma = Buffer.alloc(width * height, 255);
    for (let y = 0; y < tall; ++y) {
        const row = rows[linear ? 0 : Math.floor(y / size)];
        for (let x = 0; x < row.length * size; ++x)
            if (row[Math.floor(x / size)])
                luma[(top + y) * width + left + x] = 0;
    }
    const chroma = Buffer.alloc(width * height / 2, 128);
    const frame = Buffer.concat([Buffer.from('FRAME\n'), luma, chroma]);
    const file = path.join(work, name + '.y4m');
    fs.mkdirSync(work, {recursive: true});
    fs.writeFileSync(file, Buffer.concat([
        Buffer.from(`YUV4MPEG2 W${width} H${height} F10:1 Ip A1:1 C420jpeg\n`), frame, frame, frame, frame,
        frame
    ]));
    return file;
}

// A page signed in, in a chromium whose camera shows the file; what it asked for is kept.
async function withCamera(file, baseURL, work) {
    const launched = await chromium.launch({
        ...browser,
        args: [
            ...browser.args, '--use-fake-device-for-media-stream', '--use-fake-ui-for-media-stream',
            `--use-file-for-fake-video-capture=${file}`
        ]
    });
    try {
        const context = await launched.newContext(
            {baseURL, viewport: {width: 390, height: 844}, locale: 'cs-CZ', ignoreHTTPSErrors: true});
        // Every stream the app opens, to see that it was put off.
        await context.addInitScript(() => {
            const open = navigator.mediaDevices.getUserMedia.bind(navigator.mediaDevices);
            window.openedStreams = [];
            navigator.mediaDevices.getUserMedia = async wanted => {
                const stream = await open(wanted);
                window.openedStreams.push(stream);
                return stream;
            };
        });
        const page = await context.newPage();
        const asked = [];
        const refused = [];
        page.on('request', request => asked.push(request.url()));
        page.on('console', message => {
            if (/Content Security Policy/i.test(message.text()))
                refused.push(message.text());
        });
        await signIn(page);
        // What was asked of another host, or refused by the policy, says more than a
        // failure it led to.
        let failure = null;
        try {
            await work(page);
        } catch (error) {
            failure = error;
        }
        const origin = new URL(baseURL).origin;
        expect(asked.filter(url => new URL(url).origin !== origin)).toEqual([]);
        expect(refused).toEqual([]);
        if (failure)
            throw failure;
        return asked.map(url => new URL(url).pathname);
    } finally {
        await launched.close();
    }
}

// Whether the camera the app opened is on.
const cameraOn = page =>
    page.evaluate(() => window.openedStreams.some(s => s.getTracks().some(t => t.readyState === 'live')));

test.describe('scanning a label', () => {
    test.setTimeout(90000);

    test('the camera shows in the view and goes off on leaving it', async ({baseURL}) => {
        const file = cameraFile('prazdny', 0, null);
        await withCamera(file, baseURL, async page => {
            await page.goto('/#/hledat');
            await page.getByRole('link', {name: 'Skenovat'}).click();
            await expect(page.locator('#sken-stav')).toHaveText('Namiřte fotoaparát na štítek s kódem.');
            await expect.poll(() => page.evaluate(() => document.querySelector('video').readyState))
                .toBeGreaterThan(1);
            expect(await cameraOn(page)).toBe(true);
            await photograph(page, 'skenovat-390');
            await page.getByRole('link', {name: 'Zpět'}).click();
            await expect(page.getByRole('heading', {level: 1, name: 'Hledat'})).toBeVisible();
            await expect.poll(() => cameraOn(page)).toBe(false);
        });
    });

    test('a Code 128 label with a serial number in other case opens its card, through the bundled reader',
         async ({baseURL}) => {
             const file = cameraFile('code128', 20, 'vc-2024-abc');
             const asked = await withCamera(file, baseURL, async page => {
                 expect(await page.evaluate(() => 'BarcodeDetector' in window)).toBe(false);
                 await page.goto('/#/hledat');
                 await page.getByRole('link', {name: 'Skenovat'}).click();
                 await expect(page.getByRole('heading', {level: 1, name: 'Karta'})).toBeVisible({
                     timeout: 30000
                 });
                 await expect(page.getByRole('heading', {name: 'Kotel v kotelně'})).toBeVisible();
             });
             expect(asked).toContain('/vendor/barcode-detector.js');
             expect(asked).toContain('/vendor/zxing_reader.wasm');
         });

    // The other formats of the labels on the boilers, each from a view the scan can start from.
    const labels = [
        ['QR', 58, 'KS-77', '/#/zakaznik/2', 'Kaskáda kotlů'],
        ['EAN-13', 13, '8594003000034', '/#/skenovat', 'Kamna v obýváku'],
        ['Data Matrix', 71, 'ZK-4', '/#/zakaznik/2', 'Kotel v dílně'],
    ].map(([format, symbology, code, from, card]) => ({format, symbology, code, from, card}));
    for (const label of labels) {
        test(`a label in ${label.format} opens its card`, async ({baseURL}) => {
            const name = label.format.replace(/\W/g, '').toLowerCase();
            const file = cameraFile(name, label.symbology, label.code);
            await withCamera(file, baseURL, async page => {
                await page.goto(label.from);
                if (label.from !== '/#/skenovat')
                    await page.getByRole('link', {name: 'Skenovat'}).click();
                await expect(page.getByRole('heading', {name: label.card})).toBeVisible({timeout: 30000});
            });
        });
    }

    test('a code no card has offers a new card at the customer with the code as its barcode',
         async ({baseURL}) => {
             const file = cameraFile('neznamy', 20, 'NOVY-4711');
             await withCamera(file, baseURL, async page => {
                 await page.goto('/#/zakaznik/2');
                 await page.getByRole('link', {name: 'Skenovat'}).click();
                 await expect(page.getByRole('heading', {level: 1, name: 'Skenovat'})).toBeVisible();
                 await expect(page.locator('#sken-stav')).toContainText('Žádná karta nemá kód „NOVY-4711“.', {
                     timeout: 30000
                 });
                 await expect(page.getByLabel('Kód')).toHaveValue('NOVY-4711');
                 await photograph(page, 'skenovat-nenalezeno-390');
                 await page.getByRole('link', {name: 'Založit novou kartu'}).click();
                 await expect(page.getByRole('heading', {level: 1, name: 'Nová karta'})).toBeVisible();
                 await expect(page.getByLabel('Čárový kód')).toHaveValue('NOVY-4711');
             });
         });
});

// Without a camera, or without the reader: a clear message, the camera off, and the code
// typed instead; from the search page an unknown code is only said to be unknown.
const failures = [
    {
        what: 'a refused camera',
        message: 'Přístup k fotoaparátu není povolen. Povolte ho v nastavení prohlížeče, nebo kód napište.',
        photo: 'skenovat-odepreno-390',
        camera: () => {
            navigator.mediaDevices.getUserMedia = () =>
                Promise.reject(new DOMException('Odepřeno', 'NotAllowedError'));
        }
    },
    {
        what: 'a reader that cannot be loaded',
        message: 'Čtečku kódů se nepodařilo načíst. Kód napište.',
        photo: 'skenovat-bez-ctecky-390',
        camera: () => {
            navigator.mediaDevices.getUserMedia = async () => {
                const canvas = document.createElement('canvas');
                canvas.getContext('2d').fillRect(0, 0, 10, 10);
                window.openedStream = canvas.captureStream();
                return window.openedStream;
            };
        }
    },
];
for (const failing of failures) {
    test(`${failing.what} leaves the typing, which finds a card or says no card has the code`,
         async ({page}) => {
             await page.addInitScript(failing.camera);
             await page.route('**/vendor/zxing_reader.wasm', route => route.abort());
             await signIn(page);
             await page.goto('/#/skenovat');
             await expect(page.getByRole('alert')).toHaveText(failing.message);
             expect(await page.evaluate(
                        () => window.openedStream?.getTracks().some(t => t.readyState === 'live') ?? false))
                 .toBe(false);
             await expect(page.locator('video')).toBeHidden();
             await photograph(page, failing.photo);
             await page.getByLabel('Kód').fill('nic-takoveho');
             await page.getByRole('button', {name: 'Vyhledat'}).click();
             await expect(page.locator('#sken-stav')).toContainText('Žádná karta nemá kód „nic-takoveho“.');
             await expect(page.getByRole('link', {name: 'Založit novou kartu'})).toHaveCount(0);
             await page.getByLabel('Kód').fill('8594001234567');
             await page.getByRole('button', {name: 'Vyhledat'}).click();
             await expect(page.getByRole('heading', {name: 'Kotel v kotelně'})).toBeVisible();

             // The answer comes after the user went elsewhere: he stays where he went.
             await page.goto('/#/skenovat');
             let answer;
             const answered = new Promise(resolve => (answer = resolve));
             await page.route('**/api/hledat?*', async route => {
                 const response = await route.fetch();
                 await answered;
                 await route.fulfill({response});
             });
             await page.getByLabel('Kód').fill('8594001234567');
             await page.getByRole('button', {name: 'Vyhledat'}).click();
             await page.getByRole('link', {name: 'Revize'}).click();
             await expect(page.getByRole('heading', {level: 1, name: 'Revize'})).toBeVisible();
             const searched = page.waitForResponse('**/api/hledat?*');
             answer();
             await searched;
             await page.waitForTimeout(300);
             await expect(page.getByRole('heading', {level: 1, name: 'Revize'})).toBeVisible();
         });
}

// A browser that reads the codes itself is left to do it: the bundled reader is not fetched.
test('the browser\'s own reader, where it reads all four formats, is used instead of the bundled one',
     async ({page}) => {
         await page.addInitScript(() => {
             navigator.mediaDevices.getUserMedia = async () => {
                 const canvas = document.createElement('canvas');
                 canvas.getContext('2d').fillRect(0, 0, 10, 10);
                 return canvas.captureStream();
             };
             window.BarcodeDetector = class {
                 static async getSupportedFormats() {
                     return ['aztec', 'code_128', 'data_matrix', 'ean_13', 'qr_code'];
                 }
                 async detect() {
                     return [{rawValue: 'KS-77'}];
                 }
             };
         });
         const asked = [];
         page.on('request', request => asked.push(new URL(request.url()).pathname));
         await signIn(page);
         await page.goto('/#/skenovat');
         await expect(page.getByRole('heading', {name: 'Kaskáda kotlů'})).toBeVisible();
         expect(asked.filter(path => path.startsWith('/vendor/'))).toEqual([]);
     });
