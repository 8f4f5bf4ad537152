// What the browser tests share: the accounts, signing in, and the database file itself.
const {execFileSync} = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const {expect} = require('@playwright/test');

// The passwords global set-up gives the accounts that do not test the first sign-in.
const passwords = {
    technik2: 'Kotelna-Sklep-2026',
    kancelar1: 'Kancelar-Dvur-2026'
};

// The rows the statement gives, a line for each, columns separated by '|'.
function database(sql) {
    return execFileSync('sqlite3',
                        [
                            '-batch', '-bail', '-cmd', `.load ${process.env.VESTIBOR_EXTENSION}`,
                            process.env.VESTIBOR_DATABASE, sql
                        ],
                        {encoding: 'utf8'})
        .trim();
}

async function signIn(page, login = 'technik2', password = passwords[login]) {
    await page.goto('/#/revize');
    await page.getByLabel('Přihlašovací jméno').fill(login);
    await page.getByLabel('Heslo', {exact: true}).fill(password);
    await page.getByRole('button', {name: 'Přihlásit'}).click();
    await expect(page.getByRole('heading', {level: 1, name: 'Revize'})).toBeVisible();
}

// The text of a page with its runs of white space made single.
const collapsed = text => text.replace(/\s+/g, ' ').trim();

// A picture of the page for a person to look at: into $VESTIBOR_SCREENSHOTS, or a folder of
// the run's temporary directory.
async function photograph(page, name) {
    const folder =
        process.env.VESTIBOR_SCREENSHOTS || path.join(process.env.VESTIBOR_WORK || '/tmp', 'obrazovky');
    fs.mkdirSync(folder, {recursive: true});
    await page.screenshot({path: path.join(folder, `${name}.png`)});
}

module.exports = {
    database,
    signIn,
    passwords,
    collapsed,
    photograph
};
