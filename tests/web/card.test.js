// A boiler nobody registered gets its card at the customer's, with the category's period.
const {test, expect} = require('@playwright/test');
const {database, signIn} = require('./support.js');

test('a new card at the customer takes the period of its category', async ({page}) => {
    await signIn(page);
    await page.goto('/#/zakaznik/3');
    await page.getByRole('link', {name: 'Nová karta'}).click();
    await expect(page.getByRole('heading', {level: 1, name: 'Nová karta'})).toBeVisible();
    await page.getByRole('button', {name: 'Uložit'}).click();
    await expect(page.getByRole('alert')).toHaveText('Kolonka Název musí být vyplněná!');

    await page.getByLabel('Název').fill('Kotel ve sklepě');
    await page.getByLabel('Typ').fill('Kompakt 18');
    await page.getByLabel('Výrobní číslo').fill('NK-2026-01');
    await page.getByLabel('Rok výroby').selectOption('2021');
    await page.getByLabel('Kategorie').selectOption({label: 'Kotel na tuhá paliva'});
    await expect(page.locator('#lhuta')).toHaveText('24 měsíců');
    await page.getByRole('button', {name: 'Uložit'}).click();

    await expect(page.getByRole('heading', {level: 1, name: 'Karta'})).toBeVisible();
    await expect(page.getByRole('heading', {name: 'Kotel ve sklepě'})).toBeVisible();
    expect(
        database('SELECT id_zakaznika, typ, vyrobni_cislo, rok_vyroby, kategorie, lhuta FROM topny_zdroj ' +
                 "WHERE nazev = 'Kotel ve sklepě'"))
        .toBe('3|Kompakt 18|NK-2026-01|2021|2|24');
    await page.getByRole('link', {name: /Dvořáková Jana/}).click();
    await expect(page.locator('#karty')).toContainText('Kotel ve sklepě');
});
