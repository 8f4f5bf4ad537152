#include "report/ReportRunner.h"

#include "report/Database.h"
#include "report/Formatting.h"
#include "report/LetterFiller.h"
#include "report/QueryText.h"
#include "report/ReadOnlyReading.h"
#include "report/ReportError.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlite3.h>

#include <limits>

namespace pm41 {

namespace {

QString customerLine(QSqlQuery& q, qint64 id)
{
    q.setForwardOnly(true);
    if (!q.prepare(QStringLiteral("SELECT nazev, ulice, psc, mesto FROM cis_zakaznici WHERE id = ?")))
        fail(0, QStringLiteral("Zákazníka nelze v databázi vyhledat: %1").arg(databaseWords(q.lastError())));
    q.addBindValue(id);
    if (!q.exec())
        fail(0, QStringLiteral("Zákazníka nelze v databázi vyhledat: %1").arg(databaseWords(q.lastError())));
    if (!q.next())
        fail(0, QStringLiteral("Otevřený zákazník (číslo %1) v databázi není.").arg(id));
    QStringList parts;
    const QString town = (q.value(2).toString() + u' ' + q.value(3).toString()).trimmed();
    for (const QString& part : {q.value(0).toString().trimmed(), q.value(1).toString().trimmed(), town})
        if (!part.isEmpty())
            parts << part;
    return parts.join(QStringLiteral(", "));
}

int fieldIndex(const QSqlRecord& record, const QString& field, int line)
{
    const int i = record.indexOf(field);
    if (i < 0) {
        QStringList returned;
        for (int c = 0; c < record.count(); ++c)
            returned << record.fieldName(c);
        fail(line, QStringLiteral("dotaz nevrací pole „%1“; vrací jen: %2.")
                       .arg(field, returned.join(QStringLiteral(", "))));
    }
    return i;
}

// A date the query gets: a day of the calendar that both databases write as YYYY-MM-DD.
QVariant checkedDate(const QDate& date, DatabaseKind kind, int line, const QString& what)
{
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        fail(line, QStringLiteral("%1 nemá platné datum.").arg(what));
    return dateValue(kind, date);
}

// What each :name of the query gets: the parameter text, today, the prompted values, the
// dates computed from them, the values from the program.
QHash<QString, QVariant> boundValues(const Template& t, const UserData& user, const ParameterValues& given,
                                     const QDate& today, DatabaseKind kind, ReportData& data)
{
    QHash<QString, QVariant> bound;
    for (const QString& name : companyNames())
        bound.insert(name, user.value(name));
    bound.insert(QStringLiteral("OtevrenyZakaznik"), user.openCustomerId);
    bound.insert(QStringLiteral("dnes"), dateValue(kind, today));
    QHash<QString, QDate> dates{{QStringLiteral("dnes"), today}};
    QHash<QString, qint64> numbers;
    for (const PromptedParameter& p : t.parameters) {
        const QVariant v = given.value(p.name);
        if (p.kind == ParameterKind::Date) {
            const QDate date = v.isValid() ? v.toDate() : today.addDays(p.defaultValue);
            bound.insert(p.name,
                         checkedDate(date, kind, p.line, QStringLiteral("parametr „%1“").arg(p.caption)));
            dates.insert(p.name, date);
            data.parameters.append({p.caption, date.toString(QStringLiteral("d.M.yyyy"))});
        } else {
            const qint64 number = v.isValid() ? v.toLongLong() : p.defaultValue;
            bound.insert(p.name, number);
            numbers.insert(p.name, number);
            data.parameters.append({p.caption, QString::number(number)});
        }
    }
    for (const DerivedDate& d : t.derivedDates) {
        const qint64 days = d.daysParameter.isEmpty() ? d.fixedDays : numbers.value(d.daysParameter);
        const QDate date = dates.value(d.base).addDays(d.subtract ? -days : days);
        bound.insert(d.name,
                     checkedDate(date, kind, d.line, QStringLiteral("vypočtené datum „%1“").arg(d.name)));
    }
    for (const QString& name : t.programValues) {
        if (!given.contains(name))
            fail(t.programValuesLine,
                 QStringLiteral("sestava potřebuje hodnotu „%1“, kterou jí předává program; tiskne se z jeho "
                                "okna, ne ze seznamu sestav.")
                     .arg(name));
        bound.insert(name, given.value(name).toString());
    }
    return bound;
}

// The values of the row the query stands on, as the file gives them.
QVariantList readRow(const QSqlQuery& q, int fieldCount)
{
    QVariantList row;
    row.reserve(fieldCount);
    for (int i = 0; i < fieldCount; ++i)
        row << valueAsOnFile(q.value(i));
    return row;
}

// Splits the rows into letters as they are read: a new one whenever the group field changes.
class LetterGroups
{
public:
    LetterGroups(const Template& t, const QSqlRecord& record, const UserData& user, const QDate& today)
        : m_t(t), m_filler(t, record, user, today),
          m_field(t.groupField.isEmpty() ? -1 : fieldIndex(record, t.groupField, t.groupLine))
    {
    }

    // Called for each row before it is added to the report.
    void next(const QVariantList& row, ReportData& data)
    {
        // Compared as text, as it would be printed: an empty value and none are alike.
        const QString key = m_field >= 0 ? row.value(m_field).toString() : QString();
        if (data.groups.isEmpty() || key != m_last) {
            ReportGroup group;
            group.firstRow = int(data.rows.size());
            group.recipient = m_filler.fill(m_t.recipient, row);
            group.intro = m_filler.fill(m_t.intro, row);
            group.closing = m_filler.fill(m_t.closing, row);
            data.groups.append(std::move(group));
        }
        m_last = key;
        ++data.groups.last().rowCount;
    }

private:
    const Template& m_t;
    LetterFiller m_filler;
    int m_field;
    QString m_last;
};

// How many parameters SQLite found in the prepared statement, or -1 when the connection is
// not SQLite. Qt's SQLite driver can read out of bounds when it is handed more values than
// the statement has markers (a NUL that cut the text short once did that), so the count is
// checked before anything is bound.
int statementParameterCount(const QSqlQuery& q)
{
    const QVariant handle = q.result() ? q.result()->handle() : QVariant();
    if (qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0)
        return -1;
    sqlite3_stmt* const statement = *static_cast<sqlite3_stmt* const*>(handle.constData());
    return statement ? sqlite3_bind_parameter_count(statement) : -1;
}

// The sum with one more value, or none once a value or the sum itself leaves what can be
// kept exactly.
std::optional<qint64> addMoney(std::optional<qint64> sum, const QVariant& value)
{
    const std::optional<qint64> units = moneyUnits(value);
    qint64 result = 0;
    if (!sum || !units || __builtin_add_overflow(*sum, *units, &result))
        return std::nullopt;
    return result;
}

[[noreturn]] void queryRefused(const QSqlQuery& q, int line)
{
    fail(line, QStringLiteral("dotaz sestavy skončil chybou databáze: %1").arg(databaseWords(q.lastError())));
}

// The query the database runs: its own section, else the common one. Without either the
// fault is shown at the query the template has, for the other database.
const TemplateQuery& queryOf(const Template& t, DatabaseKind kind)
{
    if (const TemplateQuery* query = t.queryFor(driverName(kind)))
        return *query;
    fail(t.queries.value(0).line,
         kind == DatabaseKind::File
             ? QStringLiteral("předloha má jen dotaz pro databázový server; pro databázový soubor jí chybí "
                              "oddíl [dotaz] nebo [dotaz QSQLITE].")
             : QStringLiteral("předloha má jen dotaz pro databázový soubor; pro databázový server jí chybí "
                              "oddíl [dotaz] nebo [dotaz QPSQL]."));
}

void runQuery(QSqlQuery& q, const TemplateQuery& query, DatabaseKind kind,
              const QHash<QString, QVariant>& bound)
{
    q.setForwardOnly(true);
    // Numbers as doubles, as the file keeps them; the server's exact decimals would come as
    // text otherwise, and print unlike the file's.
    q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    const bool forBoth = query.driver.isEmpty();
    if (!q.prepare(kind == DatabaseKind::Server && forBoth ? withCaselessLike(query.prepared)
                                                           : query.prepared.sql))
        queryRefused(q, query.line);
    const QStringList& names = query.prepared.names;
    const int parameterCount = statementParameterCount(q);
    if (parameterCount >= 0 && parameterCount != names.size())
        fail(query.line, QStringLiteral("dotaz nelze spustit: databáze v něm vidí jiný počet parametrů "
                                        "(%1) než sestava (%2).")
                             .arg(parameterCount)
                             .arg(names.size()));
    for (const QString& name : names)
        q.addBindValue(bound.value(name));
    if (!q.exec())
        queryRefused(q, query.line);
}

} // namespace

ReportData runTemplate(const Template& t, const UserData& user, const ParameterValues& values,
                       const QSqlDatabase& connection, const QDate& today)
{
    if (t.requiresCustomer && user.openCustomerId <= 0)
        fail(0, QStringLiteral(
                    "Sestava „%1“ se tiskne pro otevřeného zákazníka, ale žádný zákazník není otevřen. "
                    "Otevřete zákazníka v hlavním okně a spusťte tisk znovu.")
                    .arg(t.title));
    if (!connection.isValid() || !connection.isOpen())
        fail(0, QStringLiteral("Spojení s databází není otevřené; sestavu nelze sestavit."));
    const DatabaseKind kind = databaseKind(connection);
    const TemplateQuery& query = queryOf(t, kind);

    ReportData data;
    data.title = t.title;
    data.orientation = t.orientation;
    data.fontSize = t.fontSize;
    data.companyName = user.text(QStringLiteral("NazevSubjektu")).trimmed();
    data.companyAddress = user.addressLines();
    data.companyContacts = user.contactLines();
    data.printed = today;
    data.columns = t.columns;
    data.letter = t.letter;
    const QHash<QString, QVariant> bound = boundValues(t, user, values, today, kind, data);

    QSqlQuery customer(connection);
    QSqlQuery q(connection);
    const ReadOnlyReading readOnly(connection, kind); // after the queries: it ends before they are released
    if (t.requiresCustomer)
        data.customer = customerLine(customer, user.openCustomerId);

    runQuery(q, query, kind, bound);

    const QSqlRecord record = q.record();
    QList<int> fields;
    for (const Column& c : t.columns)
        fields << fieldIndex(record, c.field, c.line);
    const int markField = t.mark ? fieldIndex(record, t.mark->field, t.mark->line) : -1;
    QList<int> totalColumns;
    if (t.totals)
        for (const QString& field : t.totals->fields)
            for (int c = 0; c < t.columns.size(); ++c)
                if (t.columns[c].field == field)
                    totalColumns << c;
    // Exact sums in ten-thousandths; an empty one could not be kept exactly.
    QList<std::optional<qint64>> sums(totalColumns.size(), qint64(0));
    std::optional<LetterGroups> letters;
    if (t.letter)
        letters.emplace(t, record, user, today);

    while (q.next()) {
        const QVariantList values = readRow(q, record.count());
        if (letters)
            letters->next(values, data);
        ReportRow row;
        row.cells.reserve(fields.size());
        for (int c = 0; c < fields.size(); ++c)
            row.cells << formatValue(values[fields[c]], t.columns[c].format);
        for (int s = 0; s < totalColumns.size(); ++s)
            sums[s] = addMoney(sums[s], values[fields[totalColumns[s]]]);
        row.marked = markField >= 0 && isNonZero(values[markField]);
        data.markedCount += row.marked ? 1 : 0;
        data.rows.append(std::move(row));
    }
    if (q.lastError().isValid())
        queryRefused(q, query.line);

    if (t.totals) {
        data.totalsCaption = t.totals->caption;
        data.totalsUnit = t.totals->currency ? QStringLiteral("Kč") : QString();
        for (int s = 0; s < totalColumns.size(); ++s) {
            ReportTotal total;
            total.column = totalColumns[s];
            if (sums[s]) {
                total.value = double(*sums[s]) / 10000.0;
                total.amount = formatMoneyUnits(*sums[s]);
                total.text = data.totalsUnit.isEmpty() ? total.amount : total.amount + u' ' + data.totalsUnit;
            } else {
                total.value = std::numeric_limits<double>::quiet_NaN();
                total.amount = total.text = notShown;
            }
            data.totals.append(total);
        }
    }
    if (t.mark)
        data.legend = t.mark->legend;
    return data;
}

} // namespace pm41
