#include "helpers/PlanSettings.h"

#include "helpers/IniFile.h"

namespace {

const QString section = QStringLiteral("PlanRevizi");

} // namespace

PlanSettings PlanSettings::read(const IniFile& file)
{
    PlanSettings s;
    // More than ten years ahead is no plan; a negative number would hide today's revisions.
    const int days = file.readInteger(section, QStringLiteral("DnyPredem"), DefaultDnyPredem);
    s.DnyPredem = days < 0 || days > 3650 ? DefaultDnyPredem : days;

    const int left = file.readInteger(section, QStringLiteral("Vlevo"), -1);
    const int top = file.readInteger(section, QStringLiteral("Nahore"), -1);
    const int width = file.readInteger(section, QStringLiteral("Sirka"), -1);
    const int height = file.readInteger(section, QStringLiteral("Vyska"), -1);
    if (width > 0 && height > 0 && left > -10000 && top > -10000 && left < 100000 && top < 100000 &&
        width < 100000 && height < 100000)
        s.geometry = QRect(left, top, width, height);

    const QString widths = file.readString(section, QStringLiteral("SirkySloupcu"));
    for (const QString& part : widths.split(u',', Qt::SkipEmptyParts)) {
        int value = 0;
        if (!IniFile::parseInteger(part.trimmed(), &value) || value < 0 || value > 5000) {
            s.columnWidths.clear(); // a damaged list gives every column its default width
            break;
        }
        s.columnWidths << value;
    }
    return s;
}

void PlanSettings::writePlacement(const IniFile& file) const
{
    QStringList widths;
    for (const int w : columnWidths)
        widths << QString::number(w);
    file.write(section, {{QStringLiteral("Vlevo"), IniFile::integerText(geometry.left())},
                         {QStringLiteral("Nahore"), IniFile::integerText(geometry.top())},
                         {QStringLiteral("Sirka"), IniFile::integerText(geometry.width())},
                         {QStringLiteral("Vyska"), IniFile::integerText(geometry.height())},
                         {QStringLiteral("SirkySloupcu"), widths.join(u',')}});
}
