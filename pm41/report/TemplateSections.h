#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace pm41 {

// One "key = value" line of a section.
struct TemplateEntry
{
    QString key;     // folded
    QString keyText; // as written
    QString value;
    int line = 0;
};

// A section as it stands in the file, before its keys are understood.
struct TemplateSection
{
    QString kind;     // folded: sestava, parametr, dotaz, sloupec, soucty, zvyrazneni
    QString argument; // the name after the kind, for parametr and sloupec
    int line = 0;
    QList<TemplateEntry> entries;
    QStringList sqlLines; // [dotaz] only, from its first non-empty line
    int sqlLine = 0;

    QString shown() const
    {
        return argument.isEmpty() ? u'[' + kind + u']' : u'[' + kind + u' ' + argument + u']';
    }
};

// Splits the text into sections: headers, keys, the query's lines. Faults of form (a line
// that is neither, an unknown section, a key twice) are ReportErrors with their line.
QList<TemplateSection> splitSections(const QString& text, int* lineCount);

} // namespace pm41
