#include "web/CodeListHandler.h"

#include "store/Connection.h"
#include "web/RequestContext.h"

#include <QJsonArray>

namespace CodeListHandler {

namespace {

// The rows of the query, each column under the API's name given for it.
QJsonArray list(Connection& connection, const QString& sql, const QStringList& names)
{
    const ResultSet r = connection.query(sql);
    QJsonArray out;
    for (const QList<QVariant>& row : r.rows) {
        QJsonObject item;
        for (int c = 0; c < names.size(); ++c)
            item.insert(names[c], row[c].typeId() == QMetaType::QString ? QJsonValue(row[c].toString())
                                                                        : QJsonValue(row[c].toLongLong()));
        out.append(item);
    }
    return out;
}

} // namespace

QJsonObject document(Connection& c)
{
    QJsonObject lists;
    lists.insert(
        QStringLiteral("cinnosti"),
        list(c, QStringLiteral("SELECT id, nazev_cinnosti FROM cis_cinnost ORDER BY nazev_cinnosti, id"),
             {QStringLiteral("id"), QStringLiteral("nazev")}));
    lists.insert(QStringLiteral("kategorie"),
                 list(c,
                      QStringLiteral("SELECT id, nazev_kategorie, lhuta FROM cis_kategorie ORDER BY "
                                     "nazev_kategorie, id"),
                      {QStringLiteral("id"), QStringLiteral("nazev"), QStringLiteral("lhuta")}));
    lists.insert(
        QStringLiteral("technici"),
        list(c,
             QStringLiteral("SELECT cislo, jmeno_technika FROM cis_technici ORDER BY jmeno_technika, cislo"),
             {QStringLiteral("cislo"), QStringLiteral("jmeno")}));
    return lists;
}

void get(RequestContext& context)
{
    context.reply = document(context.db());
}

} // namespace CodeListHandler
