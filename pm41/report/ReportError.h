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
        return shortened(line > 0 ? QStringLiteral("Řádek %1: %2").arg(line).arg(message) : message);
    }

    // Messages quote the template, whose lines may be very long: a run of more than 80
    // characters without a space is cut short with "…", and so is a message beyond 2000
    // characters. A long unbroken text would make the window wide and slow to lay out.
    static QString shortened(const QString& text)
    {
        constexpr qsizetype longestWord = 80;
        constexpr qsizetype longest = 2000;
        QString out;
        qsizetype run = 0;
        for (const QChar c : text) {
            run = c.isSpace() ? 0 : run + 1;
            if (run > longestWord) {
                if (run == longestWord + 1) {
                    if (!out.isEmpty() && out.back().isHighSurrogate())
                        out.chop(1);
                    out += QChar(0x2026);
                }
                continue;
            }
            if (out.size() >= longest) {
                out += QChar(0x2026);
                break;
            }
            out += c;
        }
        return out;
    }
};

[[noreturn]] inline void fail(int line, const QString& message)
{
    throw ReportError{line, message};
}

} // namespace pm41
