#pragma once

#include "store/ColumnKind.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

class Connection;

// The row of a table as a user read it: what is compared before a save.
struct GuardedRow
{
    QString table;             // e.g. "cinnosti"
    QString key;               // the column that keys the rows, e.g. "id"
    QList<ColumnInfo> columns; // compared in this order, values in the program's form
};

struct GuardedUpdateResult
{
    enum class Outcome
    {
        Written,
        ChangedMeanwhile,
        DeletedMeanwhile
    };
    Outcome outcome = Outcome::Written;
    QList<QVariant> current; // the row as stored now (ChangedMeanwhile), program's form
};

// Saves a row only when it is still as it was read: another user may have saved it since.
// In one transaction (nested in the caller's when one is open) the row is read and locked
// (FOR UPDATE on the server), compared with asRead, and the changed columns (index into
// row.columns, value in the program's form) are written only when it is equal. Throws
// DatabaseError when the database refuses.
GuardedUpdateResult updateIfUnchanged(Connection& connection, const GuardedRow& row, qint64 rowId,
                                      const QList<QVariant>& asRead,
                                      const QList<std::pair<int, QVariant>>& changes);

// What the user is told when the save was refused.
QString changedMeanwhileMessage();
QString deletedMeanwhileMessage();
