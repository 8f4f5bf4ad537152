// What the browser tests share: the accounts, signing in, the database itself and dates.
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const {expect} = require('@playwright/test');

// The passwords global set-up gives the accounts that do not test the first sign-in.
const passwords = {
    technik2: 'Kotelna-Sklep-2026',
    kancelar1: 'Kancelar-Dvur-2026'
};

const onServer = process.env.VESTIBOR_ENGINE === 'server';

// The rows the statements give, a line for each, columns separated by '|'; the database
// file through the sqlite3 shell with the program's extension, the server through psql.
function database(sql) {
    const [program, args] = onServer
        ? ['psql', [process.env.VESTIBOR_CONNECTION, '-X', '-q', '-A', '-t', '-F', '|', '-v', 'ON_ERROR_STOP=1', '-c', sql]]
        : ['sqlite3', ['-batch', '-bail', '-cmd', `.load ${process.env.VESTIBOR_EXTENSION}`, process.env.VESTIBOR_DATABASE, sql]];
    return execFileSync(program, args, {encoding: 'utf8'}).trim();
}

// An amount column as text with two decimals, on either engine.
const amount = column => (onServer ? `to_char(${column}, 'FM99999999990.00')` : `printf('%.2f', ${column})`);

const iso = date => [date.getFullYear(), date.getMonth() + 1, date.getDate()]
                        .map((n, i) => String(n).padStart(i ? 2 : 4, '0'))
                        .join('-');

// Today, or the date the given number of calendar months from it (the day kept or clamped
// to the end of a shorter month).
function monthsFromToday(months = 0) {
    const today = new Date();
    const target = new Date(today.getFullYear(), today.getMonth() + months, 1);
    const lastDay = new Date(target.getFullYear(), target.getMonth() + 1, 0).getDate();
    return iso(new Date(target.getFullYear(), target.getMonth(), Math.min(today.getDate(), lastDay)));
}

// Fills in and sends the sign-in page the app shows.
async function submitSignIn(page, login = 'technik2', password = passwords[login]) {
    await page.getByLabel('Přihlašovací jméno').fill(login);
    await page.getByLabel('Heslo', {exact: true}).fill(password);
    await page.getByRole('button', {name: 'Přihlásit'}).click();
}

async function signIn(page, login = 'technik2', password = passwords[login]) {
    await page.goto('/#/revize');
    await submitSignIn(page, login, password);
    await expect(page.getByRole('heading', {level: 1, name: 'Revize'})).toBeVisible();
}

async function signOut(page) {
    await page.getByRole('button', {name: 'Odhlásit'}).click();
    await expect(page.getByRole('heading', {level: 1, name: 'Přihlášení'})).toBeVisible();
}

// The text of a page with its runs of white space made single.
const collapsed = text => text.replace(/\s+/g, ' ').trim();

// A picture of the page for a person to look at: into $VESTIBOR_SCREENSHOTS, or a folder of
// the run's temporary directory; one folder an engine.
async function photograph(page, name) {
    const folder = path.join(process.env.VESTIBOR_SCREENSHOTS ||
                                 path.join(process.env.VESTIBOR_WORK || '/tmp', 'obrazovky'),
                             process.env.VESTIBOR_ENGINE || '');
    fs.mkdirSync(folder, {recursive: true});
    await page.screenshot({path: path.join(folder, `${name}.png`)});
}

module.exports = {
    database,
    amount,
    monthsFromToday,
    signIn,
    signOut,
    submitSignIn,
    passwords,
    collapsed,
    photograph
};
