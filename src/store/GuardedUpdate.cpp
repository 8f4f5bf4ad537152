#include "store/GuardedUpdate.h"

#include "store/Connection.h"
#include "store/Transaction.h"

#include <QStringList>
#include <optional>

namespace {

// The row as the database holds it now, converted as on reading; nothing when it is gone.
// Locked until the transaction ends, so that no other user's save slips in between the
// comparison and the update.
std::optional<QList<QVariant>> lockedRow(Connection& connection, const GuardedRow& row, qint64 rowId)
{
    QStringList names;
    for (const ColumnInfo& column : row.columns)
        names << column.name;
    const ResultSet current = connection.query(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? FOR UPDATE")
                                                   .arg(names.join(QStringLiteral(", ")), row.table, row.key),
                                               {rowId});
    if (current.rows.isEmpty())
        return std::nullopt;
    QList<QVariant> values = current.rows.first();
    for (int i = 0; i < values.size() && i < row.columns.size(); ++i)
        FieldValues::adoptFromStorage(row.columns[i].kind, values[i]);
    return values;
}

} // namespace

GuardedUpdateResult updateIfUnchanged(Connection& connection, const GuardedRow& row, qint64 rowId,
                                      const QList<QVariant>& asRead,
                                      const QList<std::pair<int, QVariant>>& changes)
{
    Transaction transaction(connection);
    std::optional<QList<QVariant>> stored = lockedRow(connection, row, rowId);
    if (!stored)
        return {GuardedUpdateResult::Outcome::DeletedMeanwhile, {}};
    if (*stored != asRead)
        return {GuardedUpdateResult::Outcome::ChangedMeanwhile, std::move(*stored)};
    QStringList assignments;
    QVariantList values;
    for (const auto& [column, value] : changes) {
        const ColumnInfo& info = row.columns.at(column);
        assignments << info.name + QStringLiteral(" = ?");
        values << FieldValues::toStorage(info.kind, value);
    }
    if (!assignments.isEmpty()) {
        values << rowId;
        connection.execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                               .arg(row.table, assignments.join(QStringLiteral(", ")), row.key),
                           values);
    }
    transaction.commit();
    return {GuardedUpdateResult::Outcome::Written, {}};
}

QString changedMeanwhileMessage()
{
    return QStringLiteral("Záznam mezitím změnil jiný uživatel. Vaše změny nebyly uloženy a záznam je "
                          "načten znovu; prohlédněte si ho a změny případně proveďte znovu.");
}

QString deletedMeanwhileMessage()
{
    return QStringLiteral("Záznam mezitím smazal jiný uživatel, změny nelze uložit. Zrušte je tlačítkem "
                          "Storno.");
}
