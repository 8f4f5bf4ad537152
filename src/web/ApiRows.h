#pragma once

#include <QJsonObject>

#include <optional>

class Connection;

// The rows the API hands back after reading or writing them.
namespace ApiRows {

// Every column of topny_zdroj with the category's name.
std::optional<QJsonObject> card(Connection& connection, qint64 id);
// Every column of cinnosti with the activity kind's name.
std::optional<QJsonObject> activity(Connection& connection, qint64 id);

} // namespace ApiRows
