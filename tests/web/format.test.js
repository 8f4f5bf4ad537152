// The app's own copies of the desktop's rules for what it shows before the server answers:
// the next revision date and typed amounts.
// They run in the browser, on the module as the server serves it.
const {test, expect} = require('@playwright/test');

// What the named function of the module gives for each list of arguments.
async function results(page, name, argumentLists) {
    await page.goto('/#/prihlaseni');
    return page.evaluate(async ([name, lists]) => {
        const format = await import('/js/format.js');
        return lists.map(args => format[name](...args));
    }, [name, argumentLists]);
}

test('the next revision keeps the day or clamps it to the month end; period 0 gives the date',
     async ({page}) => {
         const cases = [
             ['2024-01-31', 1, '2024-02-29'], ['2023-01-31', 1, '2023-02-28'],
             ['2024-05-15', 0, '2024-05-15'], ['2024-11-30', 3, '2025-02-28'],
             ['2024-02-29', 12, '2025-02-28'], ['2024-03-31', -1, '2024-02-29'],
             ['2024-12-10', 24, '2026-12-10'], ['2024-02-30', 1, null]
         ];
         const got = await results(page, 'nextRevisionDate', cases.map(([date, months]) => [date, months]));
         expect(got).toEqual(cases.map(([, , next]) => next));
     });

test('amounts are read as the desktop reads them and sent with a decimal point', async ({page}) => {
    const cases = [
        ['1 250,5', '1250.5'], ['300', '300'], ['0,1234', '0.1234'], [',5', '0.5'], ['12.', '12'],
        ['-40,50', '-40.5'], ['+7', '7'], ['\u00a0015 ', '15'], ['', ''], ['  ', ''], ['12,34567', null],
        ['1,2,3', null], ['abc', null], ['-', null], [',', null], ['123456789012', null]
    ];
    expect(await results(page, 'parseMoney', cases.map(([typed]) => [typed])))
        .toEqual(cases.map(([, sent]) => sent));
    expect(await results(page, 'moneyText', [['1250.5'], ['-0.1234']])).toEqual([
        '1\u00a0250,50\u00a0Kč', '-0,1234\u00a0Kč'
    ]);
    expect(await results(page, 'moneySum', [[['0.1', '0.2', '1250.0005', null]]])).toEqual(['1250.3005']);
});
