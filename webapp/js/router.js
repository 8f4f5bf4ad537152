// Hash routes to pages. A page is a function of the route's parameters that reads what it
// needs and returns a view (title, way back, content, bottom actions).
import * as api from './api.js';
import {countNavigation, errorView, showLoading, showView} from './layout.js';
import {correctionPage, newActivityPage, pendingActivityPage} from './pages/activityForm.js';
import {cardPage} from './pages/card.js';
import {newCardPage} from './pages/cardForm.js';
import {customerPage} from './pages/customer.js';
import {duePage} from './pages/due.js';
import {fixPage, outboxPage} from './pages/outbox.js';
import {passwordPage} from './pages/password.js';
import {pendingCardPage} from './pages/pendingCard.js';
import {scanPage} from './pages/scan.js';
import {searchPage} from './pages/search.js';
import {signInPage} from './pages/signIn.js';
import {tripPage} from './pages/trip.js';
import * as session from './session.js';

const routes = [
    [/^\/prihlaseni$/, signInPage, {public: true}],
    [/^\/heslo$/, passwordPage, {passwordChange: true}],
    [/^\/revize$/, duePage],
    [/^\/hledat$/, searchPage],
    [/^\/skenovat$/, scanPage],
    [/^\/zakaznik\/(\d+)$/, customerPage],
    [/^\/zakaznik\/(\d+)\/nova-karta$/, newCardPage],
    [/^\/zakaznik\/(\d+)\/skenovat$/, scanPage],
    [/^\/karta\/(\d+)$/, cardPage],
    [/^\/karta\/(\d+)\/nova$/, newActivityPage],
    [/^\/cinnost\/(\d+)\/oprava$/, correctionPage],
    [/^\/na-cestu$/, tripPage],
    [/^\/odesilani$/, outboxPage],
    [/^\/odesilani\/([0-9a-f-]+)$/, fixPage],
    [/^\/cekajici\/([0-9a-f-]+)$/, pendingCardPage],
    [/^\/cekajici\/([0-9a-f-]+)\/nova$/, pendingActivityPage],
];

let generation = 0;
let replacing = false;
const scrolled = new Map(); // where each page was left, by its hash

export function go(hash, {replace = false} = {}) {
    if (hash === location.hash) {
        route();
    } else if (replace) {
        replacing = true;
        location.replace(hash);
    } else {
        location.hash = hash;
    }
}

function parse(hash) {
    const [path, search] = hash.replace(/^#/, '').split('?');
    return {path: path || '/revize', query: new URLSearchParams(search || '')};
}

async function ensureAccount() {
    if (session.account())
        return session.account();
    try {
        return await session.load();
    } catch (error) {
        if (error.status === 401)
            return null;
        throw error;
    }
}

export async function route(back = false) {
    const mine = ++generation;
    const hash = location.hash;
    const {path, query} = parse(location.hash);
    const found = routes.find(([pattern]) => pattern.test(path));
    if (!found) {
        go('#/revize', {replace: true});
        return;
    }
    const [pattern, page, options = {}] = found;
    const params = path.match(pattern).slice(1);
    showLoading();
    const attempt = async () => {
        try {
            if (!options.public) {
                const account = await ensureAccount();
                if (mine !== generation)
                    return;
                if (!account) {
                    go('#/prihlaseni?dalsi=' + encodeURIComponent(location.hash), {replace: true});
                    return;
                }
                if (account.zmenit_heslo && !options.passwordChange) {
                    go('#/heslo', {replace: true});
                    return;
                }
            }
            api.beginPage();
            const view = await page(params, query);
            if (mine === generation)
                showView({storedSince: api.pageStoredSince(), ...view}, back ? scrolled.get(hash) || 0 : 0);
        } catch (error) {
            if (mine === generation && error.status !== 401)
                showView(errorView(error, attempt));
        }
    };
    await attempt();
}

export function start() {
    let lastIndex = history.state?.index ?? 0;
    let lastHash = location.hash;
    history.replaceState({index: lastIndex}, '');
    window.addEventListener('hashchange', () => {
        scrolled.set(lastHash, window.scrollY);
        lastHash = location.hash;
        const index = history.state?.index;
        let back = false;
        if (replacing) {
            replacing = false;
            history.replaceState({index: lastIndex}, '');
        } else if (index === undefined) {
            lastIndex += 1;
            history.replaceState({index: lastIndex}, '');
            countNavigation(false);
        } else {
            back = index < lastIndex;
            lastIndex = index;
            countNavigation(back);
        }
        route(back);
    });
    route();
}
