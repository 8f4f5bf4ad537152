#include "exchange/CustomerImport.h"

#include "helpers/AppError.h"
#include "helpers/ConversionError.h"
#include "helpers/TextConversions.h"
#include "store/Connection.h"
#include "uikit/LongWork.h"

#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

namespace {

// One record of the file: the text of the first element of each name, or a note that
// that element does not hold a single piece of text.
struct Record
{
    QHash<QString, std::optional<QString>> values; // nullopt: not a single text node
};

[[noreturn]] void parserError(const QXmlStreamReader& xml)
{
    throw AppError(QStringLiteral("Soubor XML nelze přečíst (řádek %1, sloupec %2): %3")
                       .arg(xml.lineNumber())
                       .arg(xml.columnNumber())
                       .arg(xml.errorString()));
}

// Every record is committed on its own; copying the journal back into the database after
// every few records would cost more than the records themselves, so it waits until the end.
class LessFrequentCheckpoints
{
public:
    explicit LessFrequentCheckpoints(Connection& connection) : m_connection(connection)
    {
        m_connection.beginBulkWrite();
    }
    // The import's normal end: what the database says here is the import's to report (on the
    // server the rows are on the disk only after it).
    void finish()
    {
        m_finished = true;
        m_connection.endBulkWrite();
    }
    ~LessFrequentCheckpoints()
    {
        if (m_finished)
            return;
        try {
            m_connection.endBulkWrite();
        } catch (const AppError&) {
            // The import failed already; the journal is copied back by the next checkpoint.
        }
    }

private:
    Connection& m_connection;
    bool m_finished = false;
};

QFile& openFile(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(
            QStringLiteral("Soubor „%1“ nelze otevřít: %2").arg(file.fileName(), file.errorString()));
    return file;
}

// Reads one field element; the reader stands on its start. Its content must be one
// piece of text: a run of plain text (character references and entities included), or
// one CDATA section. A run of white space alone does not count, as white space between
// elements does not: an element of only white space is empty.
std::optional<QString> readField(QXmlStreamReader& xml)
{
    QStringList pieces;      // plain-text runs and CDATA sections, in order
    bool inTextRun = false;  // the last piece is a plain-text run that goes on
    bool runIsBlank = false; // ... and holds nothing but white space so far
    bool single = true;
    const auto endRun = [&] {
        if (inTextRun && runIsBlank)
            pieces.removeLast();
        inTextRun = false;
    };
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            break;
        if (xml.isCDATA()) {
            endRun();
            pieces << xml.text().toString();
        } else if (xml.isCharacters()) {
            if (!inTextRun) {
                pieces << QString();
                inTextRun = true;
                runIsBlank = true;
            }
            pieces.last() += xml.text();
            runIsBlank = runIsBlank && xml.isWhitespace();
        } else {
            endRun();
            if (xml.isStartElement()) {
                single = false;
                xml.skipCurrentElement();
            } else if (xml.isComment() || xml.isProcessingInstruction()) {
                single = false;
            }
        }
    }
    endRun();
    if (xml.hasError())
        parserError(xml);
    if (!single || pieces.size() > 1)
        return std::nullopt;
    return pieces.isEmpty() ? QString() : pieces.first();
}

// Walks the records of the file; handle(record) is called for each child node of the root.
template <typename Handle> void walkRecords(QIODevice& device, Handle&& handle)
{
    QXmlStreamReader xml(&device);
    while (!xml.atEnd() && !xml.isStartElement())
        xml.readNext();
    if (xml.hasError())
        parserError(xml);
    if (!xml.isStartElement())
        throw AppError(QStringLiteral("Soubor XML nemá kořenový element."));
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            break; // the end of the root
        Record record;
        if (xml.isStartElement()) {
            while (!xml.atEnd()) {
                xml.readNext();
                if (xml.isEndElement())
                    break;
                if (xml.isStartElement()) {
                    const QString name = xml.name().toString();
                    const std::optional<QString> value = readField(xml);
                    if (!record.values.contains(name))
                        record.values.insert(name, value);
                }
            }
        } else if (xml.isCharacters() && xml.isWhitespace()) {
            continue; // white space between records
        } else if (!xml.isComment() && !xml.isCharacters() && !xml.isProcessingInstruction()) {
            continue;
        }
        if (xml.hasError())
            parserError(xml);
        handle(record);
    }
    if (xml.hasError())
        parserError(xml);
}

QVariant convert(const ColumnInfo& column, const QString& text)
{
    switch (column.kind) {
    case ColumnKind::Date:
        return TextToDateTime(text).date();
    case ColumnKind::DateTime:
        return TextToDateTime(text);
    case ColumnKind::Integer:
        return TextToInteger(text);
    case ColumnKind::Float:
    case ColumnKind::Money: {
        const QString normalized = NormalizeDecimalText(text);
        bool ok = false;
        const double value = QString(normalized).replace(u',', u'.').toDouble(&ok);
        if (!ok || normalized.count(u',') > 1)
            throw ConversionError(QStringLiteral("„%1“ není platné číslo.").arg(normalized));
        return FieldValues::toStorage(column.kind, FieldValues::normalize(column.kind, value));
    }
    case ColumnKind::YesNo:
        return text.toLower() == u"true";
    default:
        return FieldValues::toStorage(column.kind, FieldValues::parse(column.kind, text));
    }
}

} // namespace

void ImportovatXML(Connection& connection, const QString& path, const QString& table)
{
    // The whole file is read once before anything is written: a file that does not parse
    // imports nothing.
    {
        QFile file(path);
        QXmlStreamReader xml(&openFile(file));
        while (!xml.atEnd())
            xml.readNext();
        if (xml.hasError())
            parserError(xml);
    }

    QList<ColumnInfo> columns;
    for (const ColumnInfo& c : connection.tableColumns(table))
        if (c.kind != ColumnKind::AutoKey)
            columns.append(c);

    LongWork work(QStringLiteral("Import zákazníků"));
    LessFrequentCheckpoints checkpoints(connection);
    QFile file(path);
    walkRecords(openFile(file), [&](const Record& record) {
        QStringList names;
        QStringList marks;
        QVariantList values;
        for (const ColumnInfo& column : columns) {
            const auto found = record.values.constFind(column.name);
            if (found == record.values.constEnd())
                continue;
            if (!found->has_value())
                throw AppError(QStringLiteral("Element does not contain a single text node"));
            if ((*found)->isEmpty())
                continue;
            names << column.name;
            marks << QStringLiteral("?");
            values << convert(column, **found);
        }
        connection.execute(names.isEmpty()
                               ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table)
                               : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(table, names.join(QStringLiteral(", ")), marks.join(u',')),
                           values);
        work.step();
    });
    checkpoints.finish();
}
