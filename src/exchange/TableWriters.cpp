#include "exchange/TableWriters.h"

#include "helpers/AppError.h"
#include "helpers/Cp1250.h"
#include "store/DataSet.h"

#include <QIODevice>
#include <algorithm>
#include <numeric>

namespace TableWriters {

namespace {

void put(QIODevice& device, const QByteArray& bytes)
{
    if (device.write(bytes) != bytes.size())
        throw AppError(device.errorString().isEmpty() ? QStringLiteral("Zápis do souboru selhal.")
                                                      : device.errorString());
}

// The first character of an XML name: letters of any script, "_", and the ranges XML
// names for them, beyond the basic plane too. ":" is an XML name character as well, but
// we declare no namespaces and a reader that knows them refuses an undeclared prefix, our
// own import included, so a name with ":" is refused.
bool isNameStartChar(char32_t c)
{
    return (c >= u'A' && c <= u'Z') || c == u'_' || (c >= u'a' && c <= u'z') || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D) ||
           (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool isNameChar(char32_t c)
{
    return isNameStartChar(c) || c == u'-' || c == u'.' || (c >= u'0' && c <= u'9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

bool isElementName(const QString& name)
{
    if (name.isEmpty() || !name.isValidUtf16()) // a lone surrogate is no character at all
        return false;
    const QList<uint> chars = name.toUcs4();
    if (!isNameStartChar(chars.first()))
        return false;
    return std::all_of(chars.begin() + 1, chars.end(), [](uint c) { return isNameChar(c); });
}

bool allowedInXml(char16_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
}

QString escaped(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'\r':
            out += QStringLiteral("&#13;");
            break;
        default:
            if (allowedInXml(c.unicode()))
                out += c; // characters XML cannot carry at all are left out of the file
        }
    }
    return out;
}

QString fieldText(const DataSet& dataSet, int row, int column)
{
    return FieldValues::text(dataSet.fields()[column].kind, dataSet.rowValue(row, column));
}

QList<int> rowIndexes(const DataSet& dataSet, const RowSelection& rows)
{
    if (rows)
        return *rows;
    QList<int> all(dataSet.recordCount());
    std::iota(all.begin(), all.end(), 0);
    return all;
}

} // namespace

void writeXml(QIODevice& device, const DataSet& dataSet, const QString& rootName, const RowSelection& rows,
              const std::function<void()>& afterRecord)
{
    const auto& fields = dataSet.fields();
    for (const QString& name : {rootName, QStringLiteral("zaznam")})
        if (!isElementName(name))
            throw AppError(QStringLiteral("Neplatný název elementu: %1").arg(name));
    for (const auto& field : fields)
        if (!isElementName(field.name))
            throw AppError(QStringLiteral("Neplatný název elementu: %1").arg(field.name));

    QString text;
    text += QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<%1>\r\n").arg(rootName);
    for (const int row : rowIndexes(dataSet, rows)) {
        text += QStringLiteral("  <zaznam>\r\n");
        for (int column = 0; column < fields.size(); ++column) {
            const QString& name = fields[column].name;
            const QString value = escaped(fieldText(dataSet, row, column));
            if (value.isEmpty())
                text += QStringLiteral("    <%1/>\r\n").arg(name);
            else
                text += QStringLiteral("    <%1>%2</%1>\r\n").arg(name, value);
        }
        text += QStringLiteral("  </zaznam>\r\n");
        if (afterRecord)
            afterRecord();
    }
    text += QStringLiteral("</%1>\r\n").arg(rootName);
    put(device, text.toUtf8());
}

qsizetype writeCsv(QIODevice& device, const DataSet& dataSet, const std::function<void()>& afterRecord,
                   const RowSelection& rows)
{
    const auto& fields = dataSet.fields();
    QStringList names;
    for (const auto& field : fields)
        names << field.name;
    qsizetype replaced = 0;
    put(device, Cp1250::encode(names.join(u'|'), &replaced) + "\r\n");

    QStringList values;
    for (const int row : rowIndexes(dataSet, rows)) {
        values.clear();
        for (int column = 0; column < fields.size(); ++column) {
            QString value = fieldText(dataSet, row, column);
            value.replace(u'|', u'_');
            value.remove(u'\n');
            value.remove(u'\r');
            values << value;
        }
        put(device, Cp1250::encode(values.join(u'|'), &replaced) + "\r\n");
        if (afterRecord)
            afterRecord();
    }
    return replaced;
}

} // namespace TableWriters
