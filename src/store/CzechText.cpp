#include "store/CzechText.h"

#include <QCollator>
#include <QLocale>
#include <QVarLengthArray>

#ifdef VESTIBOR_SQLITE_EXTENSION
// Built into the loadable extension (src/store/extension): every call goes through the
// routines of the SQLite that loaded it, which may be another one than the program's.
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif

namespace CzechText {

namespace {

const QCollator& collator()
{
    static const QCollator c(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    return c;
}

QStringView viewOf(const void* data, int bytes)
{
    return QStringView(static_cast<const char16_t*>(data), bytes / 2);
}

// UTF-8 from the database into UTF-16 on the stack: a collation runs for every comparison
// of every sort and index, so it allocates nothing for ordinary lengths.
using Utf16Buffer = QVarLengthArray<char16_t, 256>;

void decodeUtf8(const unsigned char* p, int length, Utf16Buffer& out)
{
    out.clear();
    const unsigned char* end = p + length;
    while (p < end) {
        char32_t c = *p++;
        int extra = 0;
        if (c >= 0xF0 && c < 0xF8) {
            c &= 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            c &= 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            c &= 0x1F;
            extra = 1;
        } else if (c >= 0x80) {
            c = 0xFFFD;
        }
        for (; extra > 0; --extra) {
            if (p >= end || (*p & 0xC0) != 0x80) {
                c = 0xFFFD;
                break;
            }
            c = (c << 6) | (*p++ & 0x3F);
        }
        if (c > 0xFFFF) {
            c -= 0x10000;
            out.append(char16_t(0xD800 + (c >> 10)));
            out.append(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
            out.append(char16_t(c));
        }
    }
}

int collate(void*, int lenA, const void* a, int lenB, const void* b)
{
    Utf16Buffer textA;
    Utf16Buffer textB;
    decodeUtf8(static_cast<const unsigned char*>(a), lenA, textA);
    decodeUtf8(static_cast<const unsigned char*>(b), lenB, textB);
    return compare(QStringView(textA.constData(), textA.size()),
                   QStringView(textB.constData(), textB.size()));
}

// Equal when the texts differ only in letter case, in any alphabet: serial numbers and
// barcodes are typed from labels whose case the user cannot know.
int collateCaseless(void*, int lenA, const void* a, int lenB, const void* b)
{
    Utf16Buffer textA;
    Utf16Buffer textB;
    decodeUtf8(static_cast<const unsigned char*>(a), lenA, textA);
    decodeUtf8(static_cast<const unsigned char*>(b), lenB, textB);
    const QString foldedA = QStringView(textA.constData(), textA.size()).toString().toCaseFolded();
    const QString foldedB = QStringView(textB.constData(), textB.size()).toString().toCaseFolded();
    const int c = foldedA.compare(foldedB, Qt::CaseSensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

QStringView argText(sqlite3_value* v)
{
    const void* data = sqlite3_value_text16(v);
    const int bytes = sqlite3_value_bytes16(v);
    return data ? viewOf(data, bytes) : QStringView();
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    QChar escape;
    if (argc == 3) {
        const QStringView e = argText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.front();
    }
    // like(X, Y) is "Y LIKE X": the pattern comes first.
    const QString pattern = argText(argv[0]).toString().toCaseFolded();
    const QString text = argText(argv[1]).toString().toCaseFolded();
    sqlite3_result_int(ctx, like(pattern, text, escape) ? 1 : 0);
}

} // namespace

int compare(QStringView a, QStringView b)
{
    const int c = collator().compare(a, b);
    if (c != 0)
        return c;
    const int binary = a.compare(b, Qt::CaseSensitive);
    return binary < 0 ? -1 : (binary > 0 ? 1 : 0);
}

bool like(QStringView pattern, QStringView text, QChar escape)
{
    // Iterative matcher with one back-tracking point for the last "%".
    qsizetype p = 0, t = 0, starP = -1, starT = -1;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const QChar pc = pattern[p];
            if (pc == u'%' && pc != escape) {
                starP = ++p;
                starT = t;
                continue;
            }
            if (!escape.isNull() && pc == escape && p + 1 < pattern.size()) {
                if (pattern[p + 1] == text[t]) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if ((pc == u'_' && pc != escape) || pc == text[t]) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == u'%' && pattern[p] != escape)
        ++p;
    return p == pattern.size();
}

bool registerOn(sqlite3* db)
{
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    bool ok = sqlite3_create_collation_v2(db, "czech", SQLITE_UTF8, nullptr, collate, nullptr) == SQLITE_OK;
    ok = ok && sqlite3_create_collation_v2(db, "caseless", SQLITE_UTF8, nullptr, collateCaseless, nullptr) ==
                   SQLITE_OK;
    ok = ok &&
         sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK;
    ok = ok &&
         sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr) == SQLITE_OK;
    return ok;
}

} // namespace CzechText
