// Reading a card's label with the phone's camera: the code opens its card; one no card has
// is offered as a new card's barcode at the customer the scan started from. The code can
// always be typed instead. The barcode reader is fetched only when the camera opens.
import * as api from '../api.js';
import {h, show} from '../dom.js';
import {go} from '../router.js';

// Code 128, EAN-13, QR and Data Matrix: what the labels on the boilers carry.
const formats = ['code_128', 'ean_13', 'qr_code', 'data_matrix'];
const readerScript = '/vendor/barcode-detector.js';
const readerModule = '/vendor/zxing_reader.wasm';
const pause = 150; // ms between two looks at the picture

export function scanPage([customerId]) {
    return renderScan(customerId || null);
}

let loading = null;

function loadScript(src) {
    return new Promise((resolve, reject) => {
        const script = h('script', {src});
        script.addEventListener('load', resolve);
        script.addEventListener('error', () => reject(new Error(src)));
        document.head.appendChild(script);
    });
}

// The browser's own reader when it reads all our formats, else the bundled one, whose
// WebAssembly comes from this server and never from anywhere else.
async function makeDetector() {
    if ('BarcodeDetector' in window) {
        try {
            const supported = await window.BarcodeDetector.getSupportedFormats();
            if (formats.every(f => supported.includes(f)))
                return new window.BarcodeDetector({formats});
        } catch {
            // The bundled reader then.
        }
    }
    loading ??= loadScript(readerScript).then(() => {
        const reader = window.BarcodeDetectionAPI;
        reader.setZXingModuleOverrides({locateFile: path => (path.endsWith('.wasm') ? readerModule : path)});
        return reader;
    });
    try {
        const reader = await loading;
        const detector = new reader.BarcodeDetector({formats});
        // Its WebAssembly comes with the first look: one that cannot come says so now.
        await detector.detect(new ImageData(1, 1));
        return detector;
    } catch (error) {
        loading = null;
        throw error;
    }
}

function cameraProblem(error) {
    if (error?.name === 'NotAllowedError' || error?.name === 'SecurityError')
        return 'Přístup k fotoaparátu není povolen. Povolte ho v nastavení prohlížeče, nebo kód napište.';
    if (error?.name === 'NotFoundError' || error?.name === 'OverconstrainedError')
        return 'Telefon nemá fotoaparát, který by šel použít. Kód napište.';
    if (error?.name === 'NotReadableError')
        return 'Fotoaparát používá jiná aplikace. Zavřete ji, nebo kód napište.';
    return 'Fotoaparát se nepodařilo spustit. Kód napište.';
}

export function renderScan(customerId) {
    const back = customerId ? `#/zakaznik/${customerId}` : '#/hledat';
    const video =
        h('video', {class: 'camera', muted: true, playsinline: true, autoplay: true, 'aria-hidden': 'true'});
    const hint = h('p', {class: 'hint'}, 'Namiřte fotoaparát na štítek s kódem.');
    const frame =
        h('div', {class: 'viewfinder', hidden: true}, video, h('div', {class: 'aim', 'aria-hidden': 'true'}));
    const state = h('div', {id: 'sken-stav', role: 'status'});
    const box = codeBox();
    const form = h('form', {class: 'search', id: 'sken-kod'}, box,
                   h('button', {type: 'submit', class: 'button primary'}, 'Vyhledat'));
    const again = h('button', {type: 'button', class: 'button wide', hidden: true}, 'Skenovat znovu');

    let stream = null;
    let running = false;
    let attempt = 0; // a start that finds it changed was overtaken by a stop

    const stop = () => {
        ++attempt;
        running = false;
        for (const track of stream?.getTracks() || [])
            track.stop();
        stream = null;
        video.srcObject = null;
        frame.hidden = true;
    };
    // Leaving the view in any way puts the camera off.
    const leave = () => {
        stop();
        window.removeEventListener('hashchange', leave);
        window.removeEventListener('pagehide', leave);
    };
    window.addEventListener('hashchange', leave);
    window.addEventListener('pagehide', leave);

    const found = async code => {
        stop();
        again.hidden = false;
        box.value = code;
        show(state, h('p', {class: 'loading'}, `Hledám kód „${code}“…`));
        let answer;
        try {
            answer = await api.search(code);
        } catch (error) {
            show(state, h('p', {class: 'error-text', role: 'alert'}, error.message));
            return;
        }
        if (!state.isConnected)
            return; // the user has gone elsewhere meanwhile
        if (answer.karta) {
            go(`#/karta/${answer.karta}`, {replace: true});
            return;
        }
        // Without signal only the cards the phone keeps were looked through.
        const none = h('p', {class: 'count'}, navigator.onLine === false
                                                  ? `Žádná karta uložená v telefonu nemá kód „${code}“.`
                                                  : `Žádná karta nemá kód „${code}“.`);
        if (!customerId) {
            show(state, none, h('p', {class: 'hint'}, 'Novou kartu založíte na stránce zákazníka.'));
            return;
        }
        const fresh = `#/zakaznik/${customerId}/nova-karta?carovy_kod=${encodeURIComponent(code)}`;
        show(state, none, h('a', {class: 'button primary wide', href: fresh}, 'Založit novou kartu'));
    };

    const watch = async detector => {
        while (running && video.isConnected) {
            if (video.readyState >= 2) {
                let codes = [];
                try {
                    codes = await detector.detect(video);
                } catch {
                    codes = []; // a frame the reader could not take; the next one may do
                }
                const code = codes.map(c => c.rawValue.trim()).find(Boolean);
                if (code && running) {
                    await found(code);
                    return;
                }
            }
            await new Promise(resolve => setTimeout(resolve, pause));
        }
        if (!video.isConnected)
            leave();
    };

    const start = async () => {
        const mine = ++attempt;
        again.hidden = true;
        show(state, h('p', {class: 'loading'}, 'Zapínám fotoaparát…'));
        if (!navigator.mediaDevices?.getUserMedia) {
            show(state,
                 h('p', {class: 'error-text', role: 'alert'}, 'Prohlížeč fotoaparát nenabízí. Kód napište.'));
            return;
        }
        let opened;
        try {
            opened = await navigator.mediaDevices.getUserMedia(
                {audio: false, video: {facingMode: {ideal: 'environment'}, width: {ideal: 1280}}});
        } catch (error) {
            if (mine === attempt) {
                show(state, h('p', {class: 'error-text', role: 'alert'}, cameraProblem(error)));
                box.focus();
            }
            return;
        }
        if (mine !== attempt || !video.isConnected) {
            for (const track of opened.getTracks())
                track.stop();
            if (!video.isConnected)
                leave();
            return;
        }
        stream = opened;
        let detector;
        try {
            detector = await makeDetector();
        } catch {
            if (mine === attempt) {
                stop();
                show(state, h('p', {class: 'error-text', role: 'alert'},
                              'Čtečku kódů se nepodařilo načíst. Kód napište.'));
            }
            return;
        }
        if (mine !== attempt)
            return;
        running = true;
        video.muted = true;
        video.srcObject = stream;
        frame.hidden = false;
        show(state, hint);
        video.play().catch(() => {});
        watch(detector);
    };

    form.addEventListener('submit', event => {
        event.preventDefault();
        const code = box.value.trim();
        if (code)
            found(code);
        else
            box.focus();
    });
    again.addEventListener('click', start);
    queueMicrotask(start);

    const content = h('div', {class: 'scan'}, frame, state, again,
                      h('label', {'for': box.id, class: 'scan-label'}, 'Kód'), form);
    return {title: 'Skenovat', back, section: customerId ? null : '#/hledat', content};
}

function codeBox() {
    return h('input', {
        type: 'text',
        id: 'sken-text',
        name: 'kod',
        autocomplete: 'off',
        autocapitalize: 'characters',
        spellcheck: 'false',
        enterkeyhint: 'search'
    });
}
