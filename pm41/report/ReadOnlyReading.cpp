#include "report/ReadOnlyReading.h"

#include "report/ReportError.h"

#include <QSqlError>
#include <QSqlQuery>

namespace pm41 {

namespace {

[[noreturn]] void notPrepared(const QSqlQuery& q)
{
    fail(0,
         QStringLiteral("Databázi nelze připravit ke čtení sestavy: %1").arg(databaseWords(q.lastError())));
}

void run(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        notPrepared(q);
}

} // namespace

ReadOnlyReading::ReadOnlyReading(const QSqlDatabase& db, DatabaseKind kind) : m_db(db), m_kind(kind)
{
    QSqlQuery q(db);
    if (kind == DatabaseKind::File) {
        // Already on: someone else lifts it again.
        if (q.exec(QStringLiteral("PRAGMA query_only")) && q.next() && q.value(0).toInt() != 0)
            return;
        run(db, QStringLiteral("PRAGMA query_only = 1"));
        m_active = true;
        return;
    }
    // A statement outside a transaction block is a transaction of its own, begun when the
    // statement came; inside the program's block it came later than the block began. The
    // rollback at the end would undo the program's work there, so the report waits.
    if (!q.exec(QStringLiteral("SELECT transaction_timestamp() = statement_timestamp()")) || !q.next())
        notPrepared(q);
    if (!q.value(0).toBool())
        fail(0, QStringLiteral("Sestavu teď nelze sestavit: program právě zapisuje do databáze. Zkuste to "
                               "prosím za chvíli znovu."));
    run(db, QStringLiteral("BEGIN READ ONLY"));
    m_active = true;
    // Nobody reads the server's notices about a query (a long name cut short, say); its
    // warnings and errors still come. Nothing to refuse here: the constructor has begun.
    QSqlQuery(db).exec(QStringLiteral("SET LOCAL client_min_messages = warning"));
}

ReadOnlyReading::~ReadOnlyReading()
{
    if (m_active)
        QSqlQuery(m_db).exec(m_kind == DatabaseKind::File ? QStringLiteral("PRAGMA query_only = 0")
                                                          : QStringLiteral("ROLLBACK"));
}

} // namespace pm41
