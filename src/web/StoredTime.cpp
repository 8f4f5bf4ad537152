#include "web/StoredTime.h"

#include "store/ColumnKind.h"

namespace StoredTime {

QString text(const QDateTime& utc)
{
    return utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime fromStored(const QVariant& stored)
{
    const QDateTime read = FieldValues::fromStorage(ColumnKind::DateTime, stored).toDateTime();
    return QDateTime(read.date(), read.time(), Qt::UTC);
}

} // namespace StoredTime
