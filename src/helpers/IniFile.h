#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The settings file in the manner of the Windows profile functions: sections in square
// brackets, "key=value" lines, names matched without regard to case, 8-bit Windows-1250
// text. The file is read for each batch and released; no copy of it stays in memory.
class IniFile
{
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }

    // A missing or unreadable file, section or key gives the default. Values longer than
    // 2047 characters are cut.
    QString readString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Decimal, or hexadecimal after "0x", "0X" or "$"; anything else gives the default.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // An integer: 0 is off, any other whole number on; anything else gives the default.
    bool readFlag(const QString& section, const QString& key, bool defaultValue) const;

    using Entries = QList<QPair<QString, QString>>;
    // Writes the keys in order into the section, keeping every other line of the file.
    // The new content replaces the old file only when complete. Throws AppError
    // "Unable to write to <path>" with the system's reason on the next line when the file
    // cannot be written.
    void write(const QString& section, const Entries& entries) const;

    static QString integerText(int value) { return QString::number(value); }
    static QString flagText(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

    // The integer rule on its own, for callers and tests.
    static bool parseInteger(const QString& text, int* value);

private:
    QStringList readLines(bool* readable, QString* reason = nullptr) const;

    QString m_path;
};
