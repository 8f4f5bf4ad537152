#include "web/TextFolding.h"

#include "store/Connection.h"
#include "store/DatabaseError.h"

#include <QSqlDriver>

#include <QHash>

#include <array>

#include <sqlite3.h>

namespace TextFolding {

namespace {

constexpr char16_t firstAccented = 0x00C0;
constexpr char16_t lastAccented = 0x017F;

// Each accented letter of the range with its plain letter (from its canonical decomposition),
// 0 for a character that keeps its form.
const std::array<char16_t, lastAccented - firstAccented + 1>& plainLetters()
{
    static const auto table = [] {
        std::array<char16_t, lastAccented - firstAccented + 1> t{};
        for (char16_t c = firstAccented; c <= lastAccented; ++c) {
            const QString decomposed = QString(QChar(c)).normalized(QString::NormalizationForm_D);
            const char16_t base = decomposed.isEmpty() ? 0 : decomposed.at(0).unicode();
            t[c - firstAccented] = decomposed.size() > 1 && base < 0x80 ? base : 0;
        }
        return t;
    }();
    return table;
}

void unaccentedFunction(sqlite3_context* context, int, sqlite3_value** values)
{
    if (sqlite3_value_type(values[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(values[0]));
    const int bytes = sqlite3_value_bytes16(values[0]);
    const QString folded = fold(QString::fromUtf16(text, bytes / 2));
    sqlite3_result_text16(context, folded.utf16(), int(folded.size() * 2), SQLITE_TRANSIENT);
}

// Every letter a plain one stands for: itself and its accented forms, in both cases.
const QHash<QChar, QString>& lettersOf()
{
    static const auto letters = [] {
        QHash<QChar, QString> l;
        for (char16_t c = u'a'; c <= u'z'; ++c)
            l[QChar(c)] = QString(QChar(c)) + QChar(c - 32);
        const auto& table = plainLetters();
        for (char16_t c = firstAccented; c <= lastAccented; ++c) {
            const char16_t base = table[c - firstAccented];
            if (base)
                l[QChar(base >= u'A' && base <= u'Z' ? base + 32 : base)] += QChar(c);
        }
        return l;
    }();
    return letters;
}

} // namespace

QString fold(const QString& text)
{
    const auto& table = plainLetters();
    QString out(text.size(), Qt::Uninitialized);
    QChar* o = out.data();
    for (const QChar ch : text) {
        char16_t c = ch.unicode();
        if (c >= firstAccented && c <= lastAccented && table[c - firstAccented])
            c = table[c - firstAccented];
        *o++ = c < 0x80 ? QChar(c >= u'A' && c <= u'Z' ? c + 32 : c) : QChar(c).toLower();
    }
    return out;
}

void registerOn(Connection& connection)
{
    if (connection.isServer())
        return;
    const QVariant v = connection.database().driver()->handle();
    sqlite3* db = v.isValid() ? *static_cast<sqlite3* const*>(v.data()) : nullptr;
    if (!db || sqlite3_create_function_v2(db, "unaccented", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                                          unaccentedFunction, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw DatabaseError(QStringLiteral("Nelze připravit hledání bez diakritiky."));
}

QString unaccented(const QString& column)
{
    return QStringLiteral("unaccented(%1)").arg(column);
}

QString accentFreePattern(const QString& text)
{
    const QHash<QChar, QString>& letters = lettersOf();
    QString pattern;
    for (const QChar c : fold(text)) {
        const auto found = letters.constFind(c);
        if (found != letters.constEnd())
            pattern += u'[' + *found + u']';
        else if (c.isLetterOrNumber() || c.isSpace() || c.unicode() >= 0x80)
            pattern += c;
        else
            pattern += u'\\' + QString(c); // every other sign stands for itself
    }
    return pattern;
}

} // namespace TextFolding
