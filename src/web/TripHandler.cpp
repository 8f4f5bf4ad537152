#include "web/TripHandler.h"

#include "store/Connection.h"
#include "web/ApiError.h"
#include "web/CardHandlers.h"
#include "web/CodeListHandler.h"
#include "web/CustomerHandler.h"
#include "web/RequestContext.h"

#include <QJsonArray>
#include <QSet>

namespace TripHandler {

namespace {

// The customers asked for: those of the towns, in the order of names, and those named.
QList<qint64> customersAskedFor(RequestContext& context)
{
    const QStringList towns = context.queryValues("mesto");
    const QStringList named = context.queryValues("zakaznik");
    if (towns.size() > MostTowns)
        throw ApiError(400, QStringLiteral("Najednou lze uložit nejvýše %1 měst.").arg(MostTowns),
                       QStringLiteral("mesto"));
    const auto tooMany = [] {
        return ApiError(400,
                        QStringLiteral("Najednou lze uložit nejvýše %1 zákazníků; vyberte méně měst nebo "
                                       "zákazníků.")
                            .arg(MostCustomers),
                        QStringLiteral("mesto"));
    };
    if (named.size() > MostCustomers)
        throw tooMany();
    QList<qint64> ids;
    QSet<qint64> seen;
    const auto add = [&](qint64 id) {
        if (!seen.contains(id)) {
            seen.insert(id);
            ids.append(id);
        }
    };
    for (const QString& town : towns) {
        for (const QList<QVariant>& row :
             context.db()
                 .query(QStringLiteral("SELECT id FROM cis_zakaznici WHERE mesto = ? ORDER BY nazev, id"),
                        {town})
                 .rows)
            add(row[0].toLongLong());
    }
    for (const QString& text : named) {
        bool ok = false;
        const qint64 id = text.toLongLong(&ok);
        if (!ok || id <= 0)
            throw ApiError(400, QStringLiteral("Číslo zákazníka musí být kladné celé číslo."),
                           QStringLiteral("zakaznik"));
        add(id);
    }
    if (ids.size() > MostCustomers)
        throw tooMany();
    return ids;
}

} // namespace

void get(RequestContext& context)
{
    const QList<qint64> asked = customersAskedFor(context);
    QJsonArray customers, cards;
    for (const qint64 id : asked) {
        const std::optional<QJsonObject> customer = CustomerHandler::document(context, id);
        if (!customer)
            continue; // deleted meanwhile, or never there
        customers.append(*customer);
        for (const QJsonValue& card : customer->value(QStringLiteral("karty")).toArray()) {
            if (const auto document =
                    CardHandlers::document(context, card[QStringLiteral("id")].toInteger(), LastActivities))
                cards.append(*document);
        }
    }
    context.reply.insert(QStringLiteral("cas"), context.now.toString(Qt::ISODate));
    context.reply.insert(QStringLiteral("ciselniky"), CodeListHandler::document(context.db()));
    context.reply.insert(QStringLiteral("zakaznici"), customers);
    context.reply.insert(QStringLiteral("karty"), cards);
}

} // namespace TripHandler
