#pragma once

#include "store/ColumnKind.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// Compact JSON written straight into text, for answers of thousands of rows, where building
// a document of objects first costs more than the query.
class JsonWriter
{
public:
    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void key(const char* name);
    void value(const QJsonValue& value);
    void string(const QString& text);
    // A value as the database stores it, in the API's form (JsonValues).
    void stored(ColumnKind kind, const QVariant& value);
    QByteArray take() { return std::move(m_text); }

private:
    void open(char bracket);
    void close(char bracket);
    void separate();

    QByteArray m_text;
    bool m_first = true;
    bool m_afterKey = false;
};
