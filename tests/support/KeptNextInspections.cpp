#include "support/KeptNextInspections.h"

#include "store/Connection.h"

#include <QMap>

namespace {

// Each card's row as text: "customer|watched|next|last date|last kind|reminded|way".
QMap<QString, QString> cardRows(Connection& connection, const QString& sql)
{
    QMap<QString, QString> rows;
    for (const auto& row : connection.query(sql).rows) {
        QStringList values;
        for (int i = 1; i < row.size(); ++i)
            values << (row[i].isNull() ? QStringLiteral("NULL") : row[i].toString().left(10));
        rows.insert(row[0].toString(), values.join(u'|'));
    }
    return rows;
}

} // namespace

QString keptNextInspectionsDiffer(Connection& connection)
{
    const QMap<QString, QString> kept = cardRows(
        connection,
        QStringLiteral("SELECT id_topneho_zdroje, id_zakaznika, hlidani_revizi, datum, posledni_datum, "
                       "posledni_cinnost, upozorneno, zpusob_upozorneni FROM pristi_revize_karet"));
    const QString latestActivity = QStringLiteral("(SELECT c.%1 FROM cinnosti c WHERE c.id_topneho_zdroje = "
                                                  "t.id ORDER BY c.datum DESC, c.id DESC LIMIT 1)");
    const QString latestReminder = QStringLiteral("(SELECT u.%1 FROM upozorneni u WHERE u.id_topneho_zdroje "
                                                  "= t.id ORDER BY u.datum DESC, u.id DESC LIMIT 1)");
    const QMap<QString, QString> computed = cardRows(
        connection,
        QStringLiteral("SELECT t.id, t.id_zakaznika, z.hlidani_revizi, "
                       "(SELECT max(c.datum_pristi) FROM cinnosti c WHERE c.id_topneho_zdroje = t.id), ") +
            latestActivity.arg(QStringLiteral("datum")) + u',' +
            latestActivity.arg(QStringLiteral("cinnost")) + u',' +
            latestReminder.arg(QStringLiteral("datum")) + u',' +
            latestReminder.arg(QStringLiteral("zpusob")) +
            QStringLiteral(" FROM topny_zdroj t LEFT JOIN cis_zakaznici z ON z.id = t.id_zakaznika "
                           "WHERE t.vyrazeno_dne IS NULL"));
    QStringList differences;
    QStringList cards = kept.keys() + computed.keys();
    cards.removeDuplicates();
    for (const QString& card : cards)
        if (kept.value(card, QStringLiteral("(none)")) != computed.value(card, QStringLiteral("(none)")))
            differences << QStringLiteral("card %1: kept %2, computed %3")
                               .arg(card, kept.value(card, QStringLiteral("(none)")),
                                    computed.value(card, QStringLiteral("(none)")));
    return differences.join(u'\n');
}
