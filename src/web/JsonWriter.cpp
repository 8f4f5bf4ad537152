#include "web/JsonWriter.h"

#include "web/JsonValues.h"

void JsonWriter::separate()
{
    if (m_afterKey)
        m_afterKey = false;
    else if (!m_first)
        m_text += ',';
    m_first = false;
}

void JsonWriter::open(char bracket)
{
    separate();
    m_text += bracket;
    m_first = true;
}

void JsonWriter::close(char bracket)
{
    m_text += bracket;
    m_first = false;
}

void JsonWriter::key(const char* name)
{
    separate();
    m_text += '"';
    m_text += name;
    m_text += "\":";
    m_afterKey = true;
}

void JsonWriter::string(const QString& text)
{
    separate();
    static const char hex[] = "0123456789abcdef";
    m_text += '"';
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_text += '\\';
            m_text += c;
        } else if (u < 0x20) {
            m_text += "\\u00";
            m_text += hex[u >> 4];
            m_text += hex[u & 15];
        } else {
            m_text += c;
        }
    }
    m_text += '"';
}

void JsonWriter::value(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::String:
        string(value.toString());
        return;
    case QJsonValue::Bool:
        separate();
        m_text += value.toBool() ? "true" : "false";
        return;
    case QJsonValue::Double:
        separate();
        if (value.toDouble() == double(value.toInteger()))
            m_text += QByteArray::number(value.toInteger());
        else
            m_text += QByteArray::number(value.toDouble(), 'g', 17);
        return;
    default:
        separate();
        m_text += "null";
        return;
    }
}

void JsonWriter::stored(ColumnKind kind, const QVariant& value)
{
    if (value.isNull()) {
        separate();
        m_text += "null";
        return;
    }
    switch (kind) {
    case ColumnKind::Text:
    case ColumnKind::LongText:
        string(value.toString());
        return;
    case ColumnKind::AutoKey:
    case ColumnKind::Integer:
    case ColumnKind::Year:
        separate();
        m_text += QByteArray::number(value.toLongLong());
        return;
    default:
        this->value(JsonValues::fromStored(kind, value));
        return;
    }
}
