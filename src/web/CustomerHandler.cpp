#include "web/CustomerHandler.h"

#include "store/Connection.h"
#include "web/ApiError.h"
#include "web/JsonValues.h"
#include "web/RequestContext.h"

#include <QJsonArray>

namespace CustomerHandler {

std::optional<QJsonObject> document(RequestContext& context, qint64 id)
{
    Connection& c = context.db();
    const ResultSet customer = c.query(QStringLiteral("SELECT * FROM cis_zakaznici WHERE id = ?"), {id});
    if (customer.isEmpty())
        return std::nullopt;
    const ResultSet cards = c.query(
        QStringLiteral(
            "SELECT t.id, t.nazev, t.typ, t.vyrobce, t.vyrobni_cislo, t.carovy_kod, t.vyrazeno_dne, p.datum "
            "AS pristi_revize FROM topny_zdroj t LEFT JOIN pristi_revize_karet p ON "
            "p.id_topneho_zdroje = t.id WHERE t.id_zakaznika = ? ORDER BY t.id"),
        {id});
    const int next = cards.columnIndex(QStringLiteral("pristi_revize"));
    QJsonArray list;
    for (int i = 0; i < cards.rows.size(); ++i) {
        QJsonObject card = JsonValues::row(cards, i);
        const QDate due = FieldValues::fromStorage(ColumnKind::Date, cards.rows[i][next]).toDate();
        card.insert(QStringLiteral("po_terminu"), due.isValid() && due < context.today);
        list.append(card);
    }
    QJsonObject document;
    document.insert(QStringLiteral("zakaznik"), JsonValues::row(customer, 0));
    document.insert(QStringLiteral("karty"), list);
    return document;
}

void get(RequestContext& context)
{
    const std::optional<QJsonObject> customer = document(context, context.pathId);
    if (!customer)
        throw ApiError(404, QStringLiteral("Zákazník nebyl nalezen."));
    context.reply = *customer;
}

} // namespace CustomerHandler
