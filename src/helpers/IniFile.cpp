#include "helpers/IniFile.h"

#include "helpers/AppError.h"
#include "helpers/Cp1250.h"
#include "helpers/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cctype>

namespace {

constexpr int maxValueLength = 2047;

bool isSectionLine(const QString& line, QString* name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(u'['))
        return false;
    const qsizetype end = t.indexOf(u']');
    if (name)
        *name = (end < 0 ? t.mid(1) : t.mid(1, end - 1)).trimmed();
    return true;
}

bool isKeyLine(const QString& line, const QString& key, QString* value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return false;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value)
        *value = line.mid(eq + 1);
    return true;
}

// A value is kept on one line; leading or trailing spaces and enclosing quotation marks
// survive the round trip inside one extra pair of quotation marks.
QString storedForm(QString value)
{
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    const bool padded = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    const bool quoted = value.size() >= 2 && value.front() == u'"' && value.back() == u'"';
    return (padded || quoted) ? u'"' + value + u'"' : value;
}

QString readForm(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"')
        value = value.mid(1, value.size() - 2);
    return value.left(maxValueLength);
}

} // namespace

QStringList IniFile::readLines(bool* readable, QString* reason) const
{
    QFile file(m_path);
    *readable = file.open(QIODevice::ReadOnly);
    if (!*readable) {
        if (reason)
            *reason = file.errorString();
        return {};
    }
    QString text = Cp1250::decode(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    bool readable = false;
    const QStringList lines = readLines(&readable);
    bool inSection = false;
    for (const QString& line : lines) {
        QString name;
        if (isSectionLine(line, &name)) {
            if (inSection)
                break; // the first section of that name counts
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString value;
        if (inSection && isKeyLine(line, key, &value))
            return readForm(value);
    }
    return defaultValue;
}

bool IniFile::parseInteger(const QString& input, int* value)
{
    const QString text = input.trimmed();
    bool ok = false;
    if (text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive) || text.startsWith(u'$')) {
        const QString digits = text.mid(text.startsWith(u'$') ? 1 : 2);
        if (digits.isEmpty() || digits.size() > 8)
            return false;
        // Only the digits themselves: the number conversion would also take a sign,
        // spaces and a second "0x".
        for (const QChar c : digits)
            if (c.unicode() > 0x7F || !std::isxdigit(c.toLatin1()))
                return false;
        const uint v = digits.toUInt(&ok, 16);
        if (ok)
            *value = int(v); // eight hex digits wrap into the sign bit, as a 32-bit value does
        return ok;
    }
    for (const QChar c : text)
        if (!c.isDigit() && c != u'-' && c != u'+')
            return false;
    const int v = text.toInt(&ok, 10);
    if (ok)
        *value = v;
    return ok;
}

int IniFile::readInteger(const QString& section, const QString& key, int defaultValue) const
{
    int value = defaultValue;
    return parseInteger(readString(section, key), &value) ? value : defaultValue;
}

bool IniFile::readFlag(const QString& section, const QString& key, bool defaultValue) const
{
    int value = 0;
    return parseInteger(readString(section, key), &value) ? value != 0 : defaultValue;
}

void IniFile::write(const QString& section, const Entries& entries) const
{
    const auto fail = [this](const QString& reason) {
        throw AppError(QStringLiteral("Unable to write to %1\r\n%2").arg(m_path, reason));
    };
    bool readable = false;
    QString reason;
    QStringList lines = readLines(&readable, &reason);
    if (QFileInfo::exists(m_path) && !readable)
        fail(reason);

    for (const auto& [key, rawValue] : entries) {
        const QString line = key + u'=' + storedForm(rawValue);
        int sectionStart = -1;
        int insertAt = -1;
        bool replaced = false;
        for (int i = 0; i < lines.size(); ++i) {
            QString name;
            if (isSectionLine(lines[i], &name)) {
                if (sectionStart >= 0)
                    break;
                if (name.compare(section, Qt::CaseInsensitive) == 0)
                    insertAt = sectionStart = i + 1;
                continue;
            }
            if (sectionStart < 0)
                continue;
            if (isKeyLine(lines[i], key, nullptr)) {
                lines[i] = line;
                replaced = true;
                break;
            }
            if (!lines[i].trimmed().isEmpty())
                insertAt = i + 1;
        }
        if (replaced)
            continue;
        if (sectionStart < 0) {
            lines << u'[' + section + u']';
            insertAt = int(lines.size());
        }
        lines.insert(insertAt, line);
    }

    QByteArray bytes;
    for (const QString& l : std::as_const(lines))
        bytes += Cp1250::encode(l) + "\r\n";
    if (const std::optional<QString> failure = SafeFile::writeWhole(m_path, bytes))
        fail(*failure);
}
