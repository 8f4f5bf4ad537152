#include "web/CustomerSearchIndex.h"

#include "store/Connection.h"
#include "web/TextFolding.h"

namespace {

// Joins the texts with a character nobody types, so that no match runs across two of them.
const QChar Between(0x1F);

QString joined(const QList<QVariant>& row, int from, int to)
{
    QString text;
    for (int i = from; i < to; ++i) {
        if (i > from)
            text += Between;
        text += row[i].toString();
    }
    return text;
}

} // namespace

QList<qint64> CustomerSearchIndex::find(Connection& connection, const QDateTime& now, const QString& text,
                                        const QString& digits, int most)
{
    const std::shared_ptr<const Texts> texts =
        m_texts.get(now, QString(), [&connection] { return readTexts(connection); });
    const QString words = TextFolding::fold(text);
    const QString phone = TextFolding::fold(digits);
    QList<qint64> found;
    for (qsizetype i = 0; i < texts->ids.size() && found.size() < most; ++i) {
        if (texts->words[i].contains(words) || (!phone.isEmpty() && texts->phones[i].contains(phone)))
            found.append(texts->ids[i]);
    }
    return found;
}

CustomerSearchIndex::Texts CustomerSearchIndex::readTexts(Connection& connection)
{
    const ResultSet r = connection.query(QStringLiteral(
        "SELECT id, nazev, osoba, mesto, ulice, replace(tel, ' ', ''), replace(mobil, ' ', '') "
        "FROM cis_zakaznici ORDER BY nazev, id"));
    Texts texts;
    texts.ids.reserve(r.rows.size());
    texts.words.reserve(r.rows.size());
    texts.phones.reserve(r.rows.size());
    for (const QList<QVariant>& row : r.rows) {
        texts.ids.append(row[0].toLongLong());
        texts.words.append(TextFolding::fold(joined(row, 1, 5)));
        texts.phones.append(TextFolding::fold(joined(row, 5, 7)));
    }
    return texts;
}
