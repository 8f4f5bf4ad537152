#pragma once

#include <QString>

namespace pm41 {

// A fault of a template or of running it, with the template line it belongs to (0 when it
// belongs to no line). Thrown inside the library only; the outside sees text().
struct ReportError
{
    int line = 0;
    QString message;

    QString text() const
    {
        return line > 0 ? QStringLiteral("Řádek %1: %2").arg(line).arg(message) : message;
    }
};

[[noreturn]] inline void fail(int line, const QString& message)
{
    throw ReportError{line, message};
}

} // namespace pm41
