#include "exchange/TableWriters.h"

#include "app/Cp1250.h"
#include "store/DataSet.h"
#include "store/Errors.h"

#include <QIODevice>
#include <QRegularExpression>

namespace TableWriters {

namespace {

void put(QIODevice& device, const QByteArray& bytes)
{
    if (device.write(bytes) != bytes.size())
        throw AppError(device.errorString().isEmpty() ? QStringLiteral("Zápis do souboru selhal.")
                                                      : device.errorString());
}

bool isElementName(const QString& name)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9._-]*$"));
    return re.match(name).hasMatch();
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

} // namespace

void writeXml(QIODevice& device, const DataSet& dataSet, const QString& rootName)
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
    for (int row = 0; row < dataSet.recordCount(); ++row) {
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
    }
    text += QStringLiteral("</%1>\r\n").arg(rootName);
    put(device, text.toUtf8());
}

qsizetype writeCsv(QIODevice& device, const DataSet& dataSet, const std::function<void()>& afterRecord)
{
    const auto& fields = dataSet.fields();
    QStringList names;
    for (const auto& field : fields)
        names << field.name;
    qsizetype replaced = 0;
    put(device, Cp1250::encode(names.join(u'|'), &replaced) + "\r\n");

    QStringList values;
    for (int row = 0; row < dataSet.recordCount(); ++row) {
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
