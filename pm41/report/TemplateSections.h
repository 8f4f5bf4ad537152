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
    QString kind;     // folded: sestava, parametr, datum, dotaz, sloupec, soucty, zvyrazneni, adresat, uvod,
                      // zaver
    QString argument; // the name after the kind, for parametr, datum and sloupec; the driver for dotaz
    int line = 0;
    QList<TemplateEntry> entries;
    QStringList textLines; // [dotaz] and the letter's text, from the first non-empty line
    int textLine = 0;      // the line of the first of them

    // Whether the section holds lines of text rather than keys.
    bool holdsText() const { return isTextSection(kind); }
    static bool isTextSection(const QString& kind)
    {
        return kind == u"dotaz" || kind == u"adresat" || kind == u"uvod" || kind == u"zaver";
    }

    QString shown() const
    {
        return argument.isEmpty() ? u'[' + kind + u']' : u'[' + kind + u' ' + argument + u']';
    }
};

// Whether the text is a name of a parameter or column: letters without diacritics, digits
// and "_", not starting with a digit.
bool isName(const QString& text);

// Splits the text into sections: headers, keys, the query's lines. Faults of form (a line
// that is neither, an unknown section, a key twice) are ReportErrors with their line.
QList<TemplateSection> splitSections(const QString& text, int* lineCount);

} // namespace pm41
