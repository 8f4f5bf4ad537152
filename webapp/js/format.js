// Dates and money as the desktop writes and reads them: dates d.M.yyyy, money with a decimal
// comma and up to four decimals.

export function parseIsoDate(text) {
    const m = /^(\d{4})-(\d{2})-(\d{2})$/.exec(text || '');
    if (!m)
        return null;
    const [year, month, day] = [Number(m[1]), Number(m[2]), Number(m[3])];
    const date = new Date(Date.UTC(year, month - 1, day));
    return date.getUTCMonth() === month - 1 && date.getUTCDate() === day ? {year, month, day} : null;
}

function pad(n) {
    return String(n).padStart(2, '0');
}

export function isoDate({year, month, day}) {
    return `${String(year).padStart(4, '0')}-${pad(month)}-${pad(day)}`;
}

export function todayIso() {
    const now = new Date();
    return isoDate({year: now.getFullYear(), month: now.getMonth() + 1, day: now.getDate()});
}

// "2027-06-10" shown as "10.6.2027"; anything else as it came.
export function dateText(iso) {
    const d = parseIsoDate(iso);
    return d ? `${d.day}.${d.month}.${d.year}` : (iso || '');
}

// The next revision: the date plus the period in calendar months, the day kept or clamped
// to the end of a shorter month; a period of 0 gives the date itself.
export function nextRevisionDate(iso, periodMonths) {
    const d = parseIsoDate(iso);
    if (!d)
        return null;
    const months = Number(periodMonths) || 0;
    const total = d.year * 12 + (d.month - 1) + months;
    const year = Math.floor(total / 12);
    const month = total - year * 12 + 1;
    const lastDay = new Date(Date.UTC(year, month, 0)).getUTCDate();
    return isoDate({year, month, day: Math.min(d.day, lastDay)});
}

// A typed amount: optional sign, up to 11 digits, a decimal comma or point and up to four
// decimals; spaces are ignored. Gives the API's form ("1250.5"), '' for an empty text, or
// null when the text is no amount.
export function parseMoney(text) {
    const t = String(text ?? '').trim().replace(/[ \u00a0]/g, '');
    if (t === '')
        return '';
    const m = /^([+-]?)(\d{0,11})(?:[.,](\d{0,4}))?$/.exec(t);
    if (!m || (m[2] === '' && (m[3] ?? '') === ''))
        return null;
    const whole = String(Number(m[2] || '0'));
    const decimals = (m[3] ?? '').replace(/0+$/, '');
    const negative = m[1] === '-' && (whole !== '0' || decimals !== '');
    return (negative ? '-' : '') + whole + (decimals ? '.' + decimals : '');
}

// The API's amount ("1250.5") as the desktop writes it ("1250,5").
export function moneyInput(value) {
    return value === null || value === undefined ? '' : String(value).replace('.', ',');
}

// An amount for reading: thousands grouped, two decimals at least, "Kč".
export function moneyText(value) {
    if (value === null || value === undefined || value === '')
        return '';
    const m = /^(-?)(\d+)(?:\.(\d+))?$/.exec(String(value));
    if (!m)
        return String(value);
    const whole = m[2].replace(/\B(?=(\d{3})+(?!\d))/g, '\u00a0');
    const decimals = (m[3] ?? '').replace(/0+$/, '').padEnd(2, '0');
    return `${m[1]}${whole},${decimals}\u00a0Kč`;
}

// Czech counted nouns: 1 zdroj, 2 zdroje, 5 zdrojů.
// "10.12. 14:05" of an ISO time, in the phone's time.
export function timeText(iso) {
    const t = new Date(iso);
    if (Number.isNaN(t.getTime()))
        return '';
    const minutes = String(t.getMinutes()).padStart(2, '0');
    return `${t.getDate()}.${t.getMonth() + 1}. ${t.getHours()}:${minutes}`;
}

export function counted(n, one, few, many) {
    const word = n === 1 ? one : n >= 2 && n <= 4 ? few : many;
    return `${n} ${word}`;
}

// The sum of amounts in the API's form, exact to the ten-thousandth.
export function moneySum(values) {
    let total = 0n;
    for (const value of values) {
        const m = /^(-?)(\d+)(?:\.(\d{1,4}))?$/.exec(String(value ?? ''));
        if (m)
            total += (m[1] ? -1n : 1n) * (BigInt(m[2]) * 10000n + BigInt((m[3] ?? '').padEnd(4, '0') || '0'));
    }
    const negative = total < 0n;
    const magnitude = negative ? -total : total;
    const decimals = String(magnitude % 10000n).padStart(4, '0').replace(/0+$/, '');
    return (negative ? '-' : '') + String(magnitude / 10000n) + (decimals ? '.' + decimals : '');
}

// A period in months as words ("12 měsíců"); empty when there is none.
export function periodText(months) {
    return months === null || months === undefined || months === ''
               ? ''
               : counted(Number(months), 'měsíc', 'měsíce', 'měsíců');
}
