#include "web/RequestContext.h"

#include "accounts/WebAudit.h"

#include "web/RouteTable.h"
#include "web/WebServices.h"

#include <httplib.h>

RequestContext::RequestContext(const httplib::Request& r, WebServices& s)
    : request(r), services(s), address(QString::fromStdString(r.remote_addr))
{
}

QString RequestContext::queryValue(const char* name) const
{
    return QString::fromUtf8(request.get_param_value(name));
}

QStringList RequestContext::queryValues(const char* name) const
{
    QStringList all;
    const size_t count = request.get_param_value_count(name);
    for (size_t i = 0; i < count; ++i)
        all << QString::fromUtf8(request.get_param_value(name, i));
    return all;
}

std::string RequestContext::header(const char* name) const
{
    return request.get_header_value(name);
}

Connection& RequestContext::db()
{
    return services.database.connection();
}

bool RequestContext::ownerAllows(OwnerRule rule, const QString& technicianName, const QDate& day) const
{
    if (!account)
        return false;
    switch (rule) {
    case OwnerRule::None:
        return true;
    case OwnerRule::OwnActivityOfToday:
        return account->office() || (!account->technicianName.isEmpty() &&
                                     technicianName == account->technicianName && day == today);
    }
    return false;
}

void RequestContext::audit(const QString& event, qint64 accountId, const QString& table, qint64 rowId,
                           const QJsonObject& before, const QJsonObject& after)
{
    const qint64 actor = accountId ? accountId : account ? account->id : 0;
    WebAudit::write(db(), {event, actor ? QVariant(actor) : QVariant(), address, table,
                           rowId ? QVariant(rowId) : QVariant(), before, after});
}
