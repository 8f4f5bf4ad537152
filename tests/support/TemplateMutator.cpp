#include "support/TemplateMutator.h"

#include <cctype>
#include <cstring>

namespace {

// clang-format off
const char* const headers[] = {
    "[", "]", "[]", "[ ]", "[sestava]", "[dotaz]", "[dotaz] x", "[sloupec]", "[sloupec 1x]",
    "[sloupec nazev]", "[sloupec castka]", "[parametr dnes]", "[parametr od]", "[parametr n]",
    "[soucty]", "[zvyrazneni]", "[zvýraznění]", "[ Sestava ]", "[soucty", "[[dotaz]]",
    "[sloupec a b]", "[parametr é]", "  [dotaz]", "[obrazek]", "[adresat]", "[uvod]", "[zaver]",
    "[uvod] x", "[zaver]]"};

const char* const keyLines[] = {
    "sirka = ", "sirka = nan", "sirka = 1e-320", "sirka = 1e308", "šířka = 4.9e-324", "pismo = nan",
    "pismo = inf", "pismo = 12,0", "min = -2147483648", "max = 2147483647",
    "min = 99999999999999999999", "vychozi = 36500", "vychozi = -36501", "druh = datum",
    "druh = cislo", "format = penize", "format = cislo", "format = datum", "zarovnani = na střed",
    "sloupce = castka, castka", "sloupce = ,", "pole = castka", "legenda = x", "mena = ne",
    "orientace = na šířku", "vyzaduje_zakaznika = ano", "titulek = ", "= x", "x =", "# :dnes",
    "skupina = nazev", "skupina = castka", "skupina = ", "skupina = neni", "od_programu = Zdroje",
    "od_programu = Zdroje, Zdroje", "od_programu = dnes", "od_programu = ,", "{nazev} {Mesto}", "{"};

const char* const values[] = {
    "", "0", "-0", "1e308", "-1e308", "nan", "inf", "99999999999999999999", "-2147483648",
    "2147483647", "2147483648", "0,0000001", "4.9e-324", "ano", "ne", "na šířku", "penize", "datum",
    "cislo", "vpravo", ":dnes", "[x]", "x = y"};

const char* const sqlPieces[] = {
    ":dnes", ":od", ":do", ":n", ":OtevrenyZakaznik", ":NazevSubjektu", ":x", ":", "::", ":1",
    ":dnesé", ":dnes$a", "?", "?1", "@a", "$a", "#a", "a$b", "'", "''", "'O''Brien :dnes'", "\"",
    "\"a\"\":dnes\"", "`", "[", "]", "[a:dnes]", "--", "-- :dnes\n", "/*", "*/", "/* :od */", ";",
    "; SELECT 1", "\n", "\r", "\r\n", "\t", "=", "é", "(", ")", ",", " UNION ALL SELECT ", " ORDER BY 1",
    " WHERE ", " LIMIT -1", "9223372036854775807", "-9223372036854775808", "1e308", "9.3e16", "0.005",
    "-0.005", "NULL", "'nan'", "x'00'", "char(0)", "zeroblob(9)", " AS ", "*", "0/0", "1.0/0",
    // and of a letter's text
    "{", "}", "{{", "}}", "{nazev}", "{dnes}", "{Mesto}", "{neni}", "{ }", "{é}", "{castka}", ":Zdroje"};

const char* const nameTails[] = {"é", "ř", "1", "$a", "_x", "::a", "(x)"};

// Bytes that are no plain text: NUL and other controls, a lone high byte, broken and odd UTF-8
// (a cut sequence, a surrogate, beyond U+10FFFF, overlong, the byte order mark, NEL, a line
// separator, a no-break space).
const char* const oddBytes[] = {
    "\x01", "\x08", "\x0b", "\x0c", "\x1b", "\x1f", "\x7f", "\x80", "\xff", "\xc3", "\xed\xa0\x80",
    "\xf4\x90\x80\x80", "\xc0\x80", "\xef\xbb\xbf", "\xc2\x85", "\xe2\x80\xa8", "\xc2\xa0"};
// clang-format on

} // namespace

TemplateMutator::TemplateMutator(QList<QByteArray> seeds, quint32 seed)
    : m_seeds(std::move(seeds)), m_random(seed)
{
}

QByteArray TemplateMutator::next()
{
    QByteArray text = pick(m_seeds);
    for (quint32 n = 1 + below(4); n > 0; --n)
        change(text);
    return text;
}

qsizetype TemplateMutator::boundary(const QByteArray& text)
{
    qsizetype at = position(text);
    while (at < text.size() && (uchar(text[at]) & 0xC0) == 0x80)
        ++at;
    return at;
}

QList<qsizetype> TemplateMutator::nameEnds(const QByteArray& text)
{
    QList<qsizetype> ends;
    for (qsizetype at = text.indexOf(':'); at >= 0; at = text.indexOf(':', at + 1)) {
        qsizetype end = at + 1;
        while (end < text.size() &&
               (std::isalnum(uchar(text[end])) || text[end] == '_' || uchar(text[end]) >= 0x80))
            ++end;
        if (end > at + 1)
            ends << end;
    }
    return ends;
}

qsizetype TemplateMutator::spot(const QByteArray& text)
{
    if (below(2))
        return boundary(text);
    QList<qsizetype> spots = nameEnds(text);
    for (qsizetype at = 0; at < text.size(); ++at)
        if (std::strchr("'\"`[]-*{}", text[at]) && text[at] != '\0')
            spots << at << at + 1;
    return spots.isEmpty() ? boundary(text) : spots[below(quint32(spots.size()))];
}

// Damage that the parser refuses at once (broken UTF-8, control characters) is made less
// often than damage that leaves a template which still loads and runs.
void TemplateMutator::change(QByteArray& text)
{
    const quint32 kind = below(24);
    switch (kind) {
    case 0: // a flipped bit
        if (!text.isEmpty()) {
            const qsizetype at = below(quint32(text.size()));
            text[at] = char(text[at] ^ (1 << below(8)));
        }
        break;
    case 1: { // a NUL, often just after a :name, where the query may still be whole before it
        const QList<qsizetype> ends = nameEnds(text);
        text.insert(below(2) && !ends.isEmpty() ? ends[below(quint32(ends.size()))] : spot(text), '\0');
        break;
    }
    case 2:
        text.insert(spot(text), pick(oddBytes));
        break;
    case 3:
        text.insert(position(text), char(below(256)));
        break;
    case 4:
        text.truncate(position(text));
        break;
    case 5: { // a name that runs on, such as ":dnesé" or ":od1"
        const QList<qsizetype> ends = nameEnds(text);
        if (!ends.isEmpty())
            text.insert(ends[below(quint32(ends.size()))], pick(nameTails));
        break;
    }
    case 6:
    case 7:
    case 8:
    case 9:
        text.insert(spot(text), pick(sqlPieces));
        break;
    case 10: { // a very long run
        const QByteArray piece = below(2) ? QByteArray("x") : QByteArray(pick(sqlPieces));
        text.insert(boundary(text), piece.repeated(1000 + below(20000)));
        break;
    }
    case 11: // line endings of another system, a byte order mark
        if (below(2))
            text.replace("\n", "\r\n");
        else
            text.prepend("\xef\xbb\xbf");
        break;
    default:
        changeLines(text, kind);
        break;
    }
}

void TemplateMutator::changeLines(QByteArray& text, quint32 kind)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty())
        lines << QByteArray();
    const qsizetype at = below(quint32(lines.size()));
    if (kind < 14) { // a line twice, or gone
        if (below(2))
            lines.insert(at, lines[at]);
        else
            lines.removeAt(at);
    } else if (kind < 15) {
        lines.swapItemsAt(at, below(quint32(lines.size())));
    } else if (kind < 17) {
        lines.insert(at, pick(headers));
    } else if (kind < 20) {
        lines.insert(at, pick(keyLines));
    } else { // the value of a key replaced, or a line of another template
        const qsizetype equals = lines[at].indexOf('=');
        if (equals >= 0 && below(3) != 0) {
            lines[at] = lines[at].left(equals + 1) + ' ' + pick(values);
        } else {
            const QList<QByteArray> other = pick(m_seeds).split('\n');
            lines[at] = other[below(quint32(other.size()))];
        }
    }
    text = lines.join('\n');
}
