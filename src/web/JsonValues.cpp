#include "web/JsonValues.h"

#include <QDate>
#include <QDateTime>

namespace JsonValues {

QString moneyText(qint64 tenThousandths)
{
    // The desktop's text of the amount, with the decimal point of JSON.
    return FieldValues::moneyText(tenThousandths).replace(u',', u'.');
}

QJsonValue fromProgram(ColumnKind kind, const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return QJsonValue::Null;
    switch (kind) {
    case ColumnKind::AutoKey:
    case ColumnKind::Integer:
    case ColumnKind::Year:
        return value.toLongLong();
    case ColumnKind::Float:
        return value.toDouble();
    case ColumnKind::Money:
        return moneyText(value.toLongLong());
    case ColumnKind::Date:
        return value.toDate().toString(Qt::ISODate);
    case ColumnKind::DateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case ColumnKind::YesNo:
        return value.toBool();
    case ColumnKind::Text:
    case ColumnKind::LongText:
        return value.toString();
    }
    return value.toString();
}

QJsonValue fromStored(ColumnKind kind, const QVariant& stored)
{
    return fromProgram(kind, FieldValues::fromStorage(kind, stored));
}

QJsonObject row(const ResultSet& result, int rowIndex)
{
    QJsonObject object;
    const QList<QVariant>& values = result.rows.at(rowIndex);
    for (int c = 0; c < result.columns.size(); ++c)
        object.insert(result.columns[c].name, fromStored(result.columns[c].kind, values.value(c)));
    return object;
}

} // namespace JsonValues
