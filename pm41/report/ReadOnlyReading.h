#pragma once

#include "report/Database.h"

#include <QSqlDatabase>

namespace pm41 {

// While it lives, nothing on the connection can change the database, whatever a template's
// query says: on the file SQLite's query-only switch, on the server a read-only transaction
// that is rolled back at the end. On the server it refuses (a ReportError) to start inside a
// transaction of the program, which its rollback would undo. After the server refused a
// statement it hears nothing but the rollback: queries that run while it lives are declared
// before it, so they are released after it has ended.
class ReadOnlyReading
{
public:
    ReadOnlyReading(const QSqlDatabase& db, DatabaseKind kind);
    ~ReadOnlyReading();
    ReadOnlyReading(const ReadOnlyReading&) = delete;
    ReadOnlyReading& operator=(const ReadOnlyReading&) = delete;

private:
    QSqlDatabase m_db;
    DatabaseKind m_kind;
    bool m_active = false;
};

} // namespace pm41
