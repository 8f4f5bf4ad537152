#include "web/ApiRows.h"

#include "store/Connection.h"
#include "web/JsonValues.h"

namespace ApiRows {

namespace {

std::optional<QJsonObject> first(const ResultSet& r)
{
    if (r.isEmpty())
        return std::nullopt;
    return JsonValues::row(r, 0);
}

} // namespace

std::optional<QJsonObject> card(Connection& connection, qint64 id)
{
    return first(connection.query(QStringLiteral("SELECT t.*, k.nazev_kategorie FROM topny_zdroj t LEFT JOIN "
                                                 "cis_kategorie k ON k.id = t.kategorie WHERE t.id = ?"),
                                  {id}));
}

std::optional<QJsonObject> activity(Connection& connection, qint64 id)
{
    return first(
        connection.query(QStringLiteral("SELECT c.*, d.nazev_cinnosti FROM cinnosti c LEFT JOIN cis_cinnost "
                                        "d ON d.id = c.cinnost WHERE c.id = ?"),
                         {id}));
}

} // namespace ApiRows
