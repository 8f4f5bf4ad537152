#include "web/RequestLog.h"

namespace RequestLog {

QString line(const QString& method, const QString& path, int status, qint64 milliseconds, qint64 account)
{
    // The path as far as it is ours to show: what a client sends could hold anything, so
    // it is cut short and its control characters replaced.
    QString shownPath = path.section(u'?', 0, 0).left(200);
    for (QChar& c : shownPath) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u'?';
    }
    return QStringLiteral("%1 %2 %3 %4 ms ucet=%5")
        .arg(method.left(10), shownPath)
        .arg(status)
        .arg(milliseconds)
        .arg(account ? QString::number(account) : QStringLiteral("-"));
}

} // namespace RequestLog
