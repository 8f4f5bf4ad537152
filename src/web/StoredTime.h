#pragma once

#include <QDateTime>
#include <QVariant>

// Times the web tables keep: UTC, to the second, "YYYY-MM-DD HH:MM:SS" on the file and a
// timestamp on the server.
namespace StoredTime {

QString text(const QDateTime& utc);
QDateTime fromStored(const QVariant& stored);

} // namespace StoredTime
