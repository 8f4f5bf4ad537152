// Every exchange with the server goes through this module: the pages get plain objects and
// never talk to the network themselves.

const unreachable = 'Server neodpovídá. Zkontrolujte připojení a zkuste to znovu.';

export class ApiError extends Error {
    constructor(status, body) {
        super(body?.chyba || unreachable);
        this.status = status;
        this.field = body?.pole || null;
        this.current = body?.aktualni || null;
    }

    // The server gave its final word; without one the write may or may not have happened.
    get answered() {
        return this.status !== 0 && this.status !== 502 && this.status !== 503 && this.status !== 504;
    }
}

let onSignedOut = () => {};

// Called when the server says the session is gone (401 on any call but signing in).
export function whenSignedOut(handler) {
    onSignedOut = handler;
}

async function call(method, path, body) {
    const options =
        {method, credentials: 'same-origin', cache: 'no-store', headers: {Accept: 'application/json'}};
    if (body !== undefined) {
        options.headers['Content-Type'] = 'application/json';
        options.body = JSON.stringify(body);
    }
    let response;
    try {
        response = await fetch('/api/' + path, options);
    } catch {
        throw new ApiError(0, null);
    }
    let data = null;
    try {
        data = await response.json();
    } catch {
        data = null;
    }
    if (!response.ok) {
        const error = new ApiError(response.status, data);
        if (response.status === 401 && path !== 'prihlaseni')
            onSignedOut();
        throw error;
    }
    return data ?? {};
}

function requestId() {
    if (crypto.randomUUID)
        return crypto.randomUUID();
    const bytes = crypto.getRandomValues(new Uint8Array(16));
    return Array.from(bytes, b => b.toString(16).padStart(2, '0')).join('');
}

// One write the user means to make. Its request id stays until the server answers, so
// sending again after a lost answer is recorded once.
export class Write {
    #id = null;

    async send(method, path, body) {
        this.#id ??= requestId();
        try {
            const answer = await call(method, path, {id_pozadavku: this.#id, ...body});
            this.#id = null;
            return answer;
        } catch (error) {
            if (error.answered)
                this.#id = null;
            throw error;
        }
    }
}

// The query of a path from the pairs that have a value.
const query = pairs => {
    const given = Object.entries(pairs).filter(([, value]) => value !== '' && value != null);
    return given.length ? '?' + given.map(([n, v]) => `${n}=${encodeURIComponent(v)}`).join('&') : '';
};

export const signIn = (login, password) => call('POST', 'prihlaseni', {login, heslo: password});
export const signOut = () => call('POST', 'odhlaseni', {});
export const changePassword = (password, newPassword) =>
    call('POST', 'heslo', {heslo: password, nove_heslo: newPassword});
export const account = () => call('GET', 'ucet');
export const codeLists = () => call('GET', 'ciselniky');
export const dueList = (town, from) => call('GET', 'revize' + query({mesto: town, od: from || ''}));
export const search = text => call('GET', 'hledat' + query({text}));
export const customer = id => call('GET', `zakaznici/${encodeURIComponent(id)}`);
export const card = id => call('GET', `karty/${encodeURIComponent(id)}`);
export const addActivity = (write, activity) => write.send('POST', 'cinnosti', activity);
export const correctActivity = (write, id, asRead, changed) =>
    write.send('PUT', `cinnosti/${encodeURIComponent(id)}`, {puvodni: asRead, cinnost: changed});
export const addCard = (write, newCard) => write.send('POST', 'karty', newCard);
