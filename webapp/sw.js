// The app's service worker: keeps the app's own files, under a cache named by their version,
// so that the app opens without the network. vestibor-web puts the version and the list of
// the files in place of the two markers when it serves this file. The answers of /api are
// never kept (they are personal and change), and no other host is ever asked.
const VERSION = '@VERZE@';
const FILES = ['@SOUBORY@'];
const CACHE = 'vestibor-' + VERSION;

const keepShell = () =>
    caches.open(CACHE).then(cache => cache.addAll(FILES.map(file => new Request(file, {cache: 'no-cache'}))));

self.addEventListener('install', event => event.waitUntil(keepShell()));

// A new version waits for the page to let it in (the bar "Nová verze – načíst"); the old
// versions' files go once it is in.
self.addEventListener('activate', event => {
    event.waitUntil(
        caches.keys()
            .then(names => Promise.all(names.filter(name => name.startsWith('vestibor-') && name !== CACHE)
                                           .map(name => caches.delete(name))))
            .then(() => self.clients.claim()));
});

const fromCache = (path, request) =>
    caches.open(CACHE).then(cache => cache.match(path)).then(kept => kept || fetch(request));

self.addEventListener('fetch', event => {
    const request = event.request;
    const url = new URL(request.url);
    if (request.method !== 'GET' || url.origin !== self.location.origin || url.pathname.startsWith('/api/'))
        return;
    // Every page of the app is index.html with its route after "#".
    if (request.mode === 'navigate')
        event.respondWith(fromCache('/index.html', request));
    else if (FILES.includes(url.pathname))
        event.respondWith(fromCache(url.pathname, request));
    // The barcode reader is kept the first time the scanning view fetches it, so that it
    // reads offline afterwards; the shell's own files do not wait for its megabyte.
    else if (url.pathname.startsWith('/vendor/'))
        event.respondWith(caches.open(CACHE).then(async cache => {
            const kept = await cache.match(url.pathname);
            if (kept)
                return kept;
            const answer = await fetch(request);
            if (answer.ok)
                event.waitUntil(cache.put(url.pathname, answer.clone()));
            return answer;
        }));
});

// Background Sync, where the browser has it: the network is back, and an open window of the
// app sends what waits in its outbox (the outbox lives with the app's pages).
let sentReply = null;

self.addEventListener('sync', event => {
    if (event.tag !== 'odeslat')
        return;
    event.waitUntil(self.clients.matchAll({type: 'window'}).then(windows => {
        if (!windows.length)
            return undefined; // it goes when the app opens next
        const replied = new Promise(resolve => (sentReply = resolve));
        windows[0].postMessage('odeslat');
        return Promise.race([replied, new Promise(resolve => setTimeout(resolve, 60000))]);
    }));
});

// What the app's pages ask: to let a new version in; to keep the shell again when signing
// out has emptied every cache and somebody signed in; the outbox has been sent.
self.addEventListener('message', event => {
    switch (event.data) {
    case 'aktivovat':
        self.skipWaiting();
        break;
    case 'ulozit-aplikaci':
        event.waitUntil(caches.has(CACHE).then(kept => kept || keepShell()));
        break;
    case 'odeslano':
        sentReply?.();
        break;
    }
});
