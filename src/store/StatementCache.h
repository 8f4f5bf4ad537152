#pragma once

#include "store/ColumnKind.h"

#include <QHash>
#include <QList>
#include <QString>
#include <sqlite3.h>

// A prepared statement with what is known of its result columns.
struct Prepared
{
    sqlite3_stmt* stmt = nullptr;
    QList<ColumnInfo> columns;
    // How often SQLite had prepared it again (after a change of the schema) when the
    // columns were described; -1 before.
    int describedAt = -1;
};

// Prepared statements kept for reuse, by their text: the program runs the same few
// statements over and over (moving between cards, saving rows, importing), and preparing
// and describing the columns cost more than running.
class StatementCache
{
public:
    ~StatementCache() { clear(); }

    Prepared take(const QString& sql) { return m_statements.take(sql); }
    void give(const QString& sql, Prepared prepared)
    {
        sqlite3_reset(prepared.stmt);
        sqlite3_clear_bindings(prepared.stmt);
        if (m_statements.contains(sql) || m_statements.size() >= 64) {
            sqlite3_finalize(prepared.stmt);
            return;
        }
        m_statements.insert(sql, std::move(prepared));
    }
    void clear()
    {
        for (const Prepared& prepared : std::as_const(m_statements))
            sqlite3_finalize(prepared.stmt);
        m_statements.clear();
    }

private:
    QHash<QString, Prepared> m_statements;
};
