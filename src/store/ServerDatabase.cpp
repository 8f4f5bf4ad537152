#include "store/ServerDatabase.h"

#include "store/ColumnKind.h"
#include "store/Connection.h"
#include "store/DatabaseError.h"
#include "store/NextInspections.h"
#include "store/Schema.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace ServerDatabase {

namespace {

// The tables of the database file, parents before the rows that point at them.
const char* const copiedTables[] = {"cis_zakaznici", "cis_kategorie", "cis_cinnost", "cis_technici",
                                    "topny_zdroj",   "cinnosti",      "upozorneni",  "web_ucty",
                                    "web_relace",    "web_audit",     "web_prijato"};

// Rows per INSERT: few statements, far below the server's limit of bound values.
constexpr int rowsPerInsert = 500;

QString reason(const QSqlError& error)
{
    const QString text = error.databaseText().trimmed();
    return text.isEmpty() ? error.text().trimmed() : text;
}

void run(QSqlDatabase& server, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query(server);
    if (values.isEmpty()) { // the schema's statements cannot be prepared
        if (!query.exec(sql))
            throw DatabaseError(reason(query.lastError()));
        return;
    }
    if (!query.prepare(sql))
        throw DatabaseError(reason(query.lastError()));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw DatabaseError(reason(query.lastError()));
}

QVariant scalar(QSqlDatabase& server, const QString& sql)
{
    QSqlQuery query(server);
    if (!query.exec(sql) || !query.next())
        throw DatabaseError(reason(query.lastError()));
    return query.value(0);
}

// All or nothing: rolled back unless committed.
class ServerTransaction
{
public:
    explicit ServerTransaction(QSqlDatabase& server) : m_server(server)
    {
        if (!m_server.transaction())
            throw DatabaseError(reason(m_server.lastError()));
    }
    ~ServerTransaction()
    {
        if (!m_done)
            m_server.rollback();
    }
    void commit()
    {
        if (!m_server.commit())
            throw DatabaseError(reason(m_server.lastError()));
        m_done = true;
    }

private:
    QSqlDatabase& m_server;
    bool m_done = false;
};

// A value of the file as the server column takes it: money as an exact decimal text.
QVariant serverValue(ColumnKind kind, const QVariant& stored)
{
    const QVariant value = FieldValues::fromStorage(kind, stored);
    if (value.isNull())
        return value;
    if (kind == ColumnKind::Money && value.typeId() == QMetaType::LongLong) {
        const qint64 tenThousandths = value.toLongLong();
        const qint64 whole = tenThousandths / 10000;
        const qint64 part = std::abs(tenThousandths % 10000);
        return QStringLiteral("%1%2.%3")
            .arg(tenThousandths < 0 && whole == 0 ? QStringLiteral("-") : QString())
            .arg(whole)
            .arg(part, 4, 10, QLatin1Char('0'));
    }
    return value;
}

void copyTable(Connection& file, QSqlDatabase& server, const QString& table,
               const std::function<void(const QString&, int)>& progress)
{
    const QList<ColumnInfo> columns = file.tableColumns(table);
    QStringList names;
    for (const ColumnInfo& c : columns)
        names << c.name;
    const QString select = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid > ? ORDER BY rowid LIMIT %3")
                               .arg(names.join(QStringLiteral(", ")), table)
                               .arg(rowsPerInsert);
    const QString row = u'(' + QStringList(names.size(), QStringLiteral("?")).join(u',') + u')';
    qint64 lastRowId = 0;
    int copied = 0;
    for (;;) {
        const ResultSet batch = file.query(select, {lastRowId});
        if (batch.rows.isEmpty())
            break;
        QVariantList values;
        values.reserve(batch.rows.size() * names.size());
        for (const auto& stored : batch.rows) {
            for (int c = 0; c < columns.size(); ++c)
                values << serverValue(columns[c].kind, stored[c + 1]);
            lastRowId = stored[0].toLongLong();
        }
        try {
            run(server,
                QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                    .arg(table, names.join(QStringLiteral(", ")),
                         QStringList(batch.rows.size(), row).join(QStringLiteral(", "))),
                values);
        } catch (const DatabaseError& e) {
            throw DatabaseError(QStringLiteral("Tabulku %1 nelze přenést (řádky do %2): %3")
                                    .arg(table)
                                    .arg(lastRowId)
                                    .arg(e.text()));
        }
        copied += int(batch.rows.size());
        if (progress)
            progress(table, copied);
    }
    if (!names.contains(QStringLiteral("id")))
        return;
    // The next id lies past every id the file ever gave, deleted rows included.
    const ResultSet used =
        file.query(QStringLiteral("SELECT max(coalesce((SELECT max(id) FROM %1), 0), "
                                  "coalesce((SELECT seq FROM sqlite_sequence WHERE name = ?), 0))")
                       .arg(table),
                   {table});
    run(server, QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), ?, false)").arg(table),
        {used.rows.value(0).value(0).toLongLong() + 1});
}

} // namespace

QMap<QString, QString> parseConnectionString(const QString& text)
{
    QMap<QString, QString> result;
    qsizetype i = 0;
    const auto skipSpaces = [&] {
        while (i < text.size() && text[i].isSpace())
            ++i;
    };
    for (skipSpaces(); i < text.size(); skipSpaces()) {
        const qsizetype keyStart = i;
        while (i < text.size() && (text[i].isLetterOrNumber() || text[i] == u'_'))
            ++i;
        const QString key = text.mid(keyStart, i - keyStart);
        skipSpaces();
        if (key.isEmpty() || i >= text.size() || text[i] != u'=')
            throw DatabaseError(QStringLiteral("Připojovacímu řetězci serveru nerozumím u „%1“.")
                                    .arg(text.mid(keyStart, 20)));
        ++i;
        skipSpaces();
        QString value;
        const bool quoted = i < text.size() && text[i] == u'\'';
        if (quoted)
            ++i;
        bool closed = !quoted;
        for (; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == u'\\' && i + 1 < text.size()) {
                value += text[++i];
            } else if (quoted && c == u'\'') {
                closed = true;
                ++i;
                break;
            } else if (!quoted && c.isSpace()) {
                break;
            } else {
                value += c;
            }
        }
        if (!closed)
            throw DatabaseError(
                QStringLiteral("V připojovacím řetězci serveru chybí uzavírací apostrof u „%1“.").arg(key));
        result.insert(key, value);
    }
    return result;
}

QSqlDatabase connect(const QString& connectionString, const QString& connectionName)
{
    const QMap<QString, QString> parts = parseConnectionString(connectionString);
    QSqlDatabase server = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    if (!server.isValid()) {
        server = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw DatabaseError(
            QStringLiteral("Ovladač databázového serveru PostgreSQL (QPSQL) není nainstalován."));
    }
    QStringList options;
    for (auto it = parts.begin(); it != parts.end(); ++it) {
        if (it.key() == u"host")
            server.setHostName(it.value());
        else if (it.key() == u"port")
            server.setPort(it.value().toInt());
        else if (it.key() == u"dbname")
            server.setDatabaseName(it.value());
        else if (it.key() == u"user")
            server.setUserName(it.value());
        else if (it.key() == u"password")
            server.setPassword(it.value());
        else
            options << it.key() + u'=' + it.value();
    }
    server.setConnectOptions(options.join(u';'));
    if (!server.open()) {
        const QString why = reason(server.lastError());
        server = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw DatabaseError(why);
    }
    return server;
}

void administer(const QString& connectionString, const QString& sql)
{
    static int made = 0;
    const QString name = QStringLiteral("administer-%1").arg(++made);
    bool ok = false;
    QString why;
    {
        QSqlDatabase admin = connect(connectionString + QStringLiteral(" dbname=postgres"), name);
        QSqlQuery query(admin);
        ok = query.exec(sql);
        why = reason(query.lastError());
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok)
        throw DatabaseError(why);
}

QStringList schemaStatements()
{
    QStringList result{
        QStringLiteral("CREATE COLLATION czech (provider = icu, locale = 'cs-CZ')"),
        // Equal when texts differ only in letter case, as the file's collation of that name.
        QStringLiteral(
            "CREATE COLLATION caseless (provider = icu, locale = 'und-u-ks-level2', deterministic = false)")};
    static const QRegularExpression autoKey(QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"));
    static const QList<std::pair<QRegularExpression, QString>> types{
        {QRegularExpression(QStringLiteral("\\bBIT\\b")), QStringLiteral("BOOLEAN")},
        {QRegularExpression(QStringLiteral("\\bMONEY\\b")), QStringLiteral("NUMERIC(19,4)")},
        {QRegularExpression(QStringLiteral("\\bMEMO\\b")), QStringLiteral("TEXT")},
        {QRegularExpression(QStringLiteral("\\bYEAR\\b")), QStringLiteral("SMALLINT")},
        {QRegularExpression(QStringLiteral("\\bDATETIME\\b")), QStringLiteral("TIMESTAMP(0)")}};
    for (QString statement : Schema::statements()) {
        if (statement.startsWith(QStringLiteral("PRAGMA"), Qt::CaseInsensitive))
            continue;
        // Identity keys take ids from a sequence that never gives one twice.
        statement.replace(autoKey, QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
        for (const auto& [type, serverType] : types)
            statement.replace(type, serverType);
        // A table without an id of its own (the technicians) gets a hidden key, as the file's
        // rows have their row id: the program writes rows back by it.
        if (statement.startsWith(QStringLiteral("CREATE TABLE"), Qt::CaseInsensitive) &&
            !statement.contains(QStringLiteral("PRIMARY KEY"), Qt::CaseInsensitive)) {
            const qsizetype end = statement.lastIndexOf(u')');
            statement.insert(
                end, QStringLiteral(",\n    rowid BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY\n"));
        }
        result << statement;
        if (const QString note = definitionNote(statement); !note.isEmpty())
            result << note;
    }
    return result;
}

QString recordedDefinition(const QString& statement)
{
    return statement.simplified();
}

QString definitionNote(const QString& statement)
{
    static const QRegularExpression viewOrIndex(QStringLiteral("^\\s*CREATE\\s+(VIEW|INDEX)\\s+(\\w+)"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = viewOrIndex.match(statement);
    if (!m.hasMatch())
        return {};
    return QStringLiteral("COMMENT ON %1 %2 IS '%3'")
        .arg(m.captured(1).toUpper(), m.captured(2),
             recordedDefinition(statement).replace(u'\'', QStringLiteral("''")));
}

void createSchema(QSqlDatabase& server)
{
    const int tables = scalar(server, QStringLiteral("SELECT count(*) FROM information_schema.tables "
                                                     "WHERE table_schema = current_schema()"))
                           .toInt();
    if (tables > 0)
        throw DatabaseError(
            QStringLiteral("Databáze „%1“ na serveru už obsahuje tabulky. Schéma programu se zakládá "
                           "jen v prázdné databázi.")
                .arg(server.databaseName()));
    ServerTransaction transaction(server);
    for (const QString& statement : schemaStatements())
        run(server, statement);
    for (const QString& statement : NextInspections::installStatements(true))
        run(server, statement);
    transaction.commit();
}

void copyFromFile(Connection& file, QSqlDatabase& server,
                  const std::function<void(const QString&, int)>& progress)
{
    ServerTransaction transaction(server);
    for (const QString& statement : NextInspections::suspendStatements())
        run(server, statement);
    for (const char* name : copiedTables) {
        const QString table = QString::fromLatin1(name);
        const int rows = scalar(server, QStringLiteral("SELECT count(*) FROM ") + table).toInt();
        if (rows > 0)
            throw DatabaseError(
                QStringLiteral("Tabulka %1 na serveru už obsahuje data; přenáší se jen do nové "
                               "databáze.")
                    .arg(table));
        if (file.hasTable(table))
            copyTable(file, server, table, progress);
    }
    // The cards' next inspections are worked out once, from everything copied, in the same
    // transaction: row by row they would be worked out again with each batch.
    for (const QString& statement : NextInspections::resumeStatements())
        run(server, statement);
    transaction.commit();
    // Statistics for the planner and the visibility map for index-only look-ups: without
    // them the first hours of work on the copy run on guesses.
    run(server, QStringLiteral("VACUUM (ANALYZE)"));
}

} // namespace ServerDatabase
