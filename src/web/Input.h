#pragma once

#include "store/ColumnKind.h"

#include <QDate>
#include <QJsonObject>
#include <QString>

#include <optional>

// The fields of a request's JSON body, checked by the schema's rules; each throws ApiError
// 400 with a Czech message naming the field when it does not hold.
namespace Input {

// The client's request id: 16 to 64 characters of letters, digits and dashes.
QString requestId(const QJsonObject& body, const QString& key = QStringLiteral("id_pozadavku"));
// A whole number; nothing when absent or null and not required.
std::optional<qint64> integer(const QJsonObject& body, const QString& key, bool required);
// A text within the column's length; nothing when absent or null (and not required), and
// an empty text is absent too.
std::optional<QString> text(const QJsonObject& body, const ColumnInfo& column, bool required);
QDate date(const QJsonObject& body, const QString& key);
// Money as a string by the desktop's rules, in ten-thousandths; nothing when absent.
std::optional<qint64> money(const QJsonObject& body, const QString& key);
std::optional<qint64> year(const QJsonObject& body, const QString& key);
// The object under the key; an error when it is not one.
QJsonObject object(const QJsonObject& body, const QString& key);

// The user's name of a field, for messages.
QString caption(const QString& key);
[[noreturn]] void refuse(const QString& key, const QString& message);
[[noreturn]] void refuseReference(const QString& key);

} // namespace Input
