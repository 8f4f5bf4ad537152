#include "records/CardSearch.h"

#include "helpers/AppError.h"
#include "store/Connection.h"

namespace CardSearch {

namespace {
const QString& checked(const QString& column)
{
    if (!isSearchColumn(column))
        throw AppError(QStringLiteral("Neznámý sloupec pro vyhledávání: %1").arg(column));
    return column;
}
} // namespace

bool isSearchColumn(const QString& column)
{
    return column == u"vyrobni_cislo" || column == u"carovy_kod";
}

int count(Connection& connection, const QString& column, const QString& value)
{
    const QString& c = checked(column);
    const ResultSet r = connection.query(QStringLiteral("SELECT COUNT(") + c +
                                             QStringLiteral(") as Celkem FROM topny_zdroj WHERE ") + c +
                                             QStringLiteral(" = ? COLLATE caseless"),
                                         {value});
    return r.rows.value(0).value(0).toInt();
}

int firstCardId(Connection& connection, const QString& column, const QString& value)
{
    const QString& c = checked(column);
    const ResultSet r = connection.query(QStringLiteral("SELECT id FROM topny_zdroj WHERE ") + c +
                                             QStringLiteral(" = ? COLLATE caseless"),
                                         {value});
    return r.rows.value(0).value(0).toInt();
}

QString listQuery(const QString& column)
{
    return QStringLiteral("SELECT cis_zakaznici.nazev AS nazev_zakaznika, topny_zdroj.* FROM topny_zdroj, "
                          "cis_zakaznici WHERE (topny_zdroj.id_zakaznika = cis_zakaznici.id) AND (") +
           checked(column) + QStringLiteral(" = ? COLLATE caseless)");
}

} // namespace CardSearch
