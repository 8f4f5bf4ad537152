#include "helpers/Settings.h"

#include "helpers/IniFile.h"

namespace {
const QString userDataSection = QStringLiteral("uzivatel");
const QString configurationSection = QStringLiteral("konfig");
} // namespace

const QStringList& Settings::userDataKeys()
{
    static const QStringList keys{QStringLiteral("NazevSubjektu"), QStringLiteral("OdpovednaOsoba"),
                                  QStringLiteral("Ulice"),         QStringLiteral("PSC"),
                                  QStringLiteral("Mesto"),         QStringLiteral("ICO"),
                                  QStringLiteral("DIC"),           QStringLiteral("Tel"),
                                  QStringLiteral("Email"),         QStringLiteral("WWW")};
    return keys;
}

QString* Settings::userDataValue(int index)
{
    QString* values[] = {&NazevSubjektu, &OdpovednaOsoba, &Ulice, &PSC, &Mesto, &ICO, &DIC,
                         &Tel,           &Email,          &WWW};
    return index >= 0 && index < 10 ? values[index] : nullptr;
}

const QString* Settings::userDataValue(int index) const
{
    return const_cast<Settings*>(this)->userDataValue(index);
}

Settings Settings::read(const IniFile& file)
{
    Settings s;
    for (int i = 0; i < userDataKeys().size(); ++i)
        *s.userDataValue(i) = file.readString(userDataSection, userDataKeys()[i]);
    s.BarvaKartaTZ =
        file.readInteger(configurationSection, QStringLiteral("BarvaKartaTZ"), DefaultBarvaKartaTZ);
    s.BarvaKartaCinnosti = file.readInteger(configurationSection, QStringLiteral("BarvaKartaCinnosti"),
                                            DefaultBarvaKartaCinnosti);
    s.DialogUlozit = file.readFlag(configurationSection, QStringLiteral("DialogUlozit"), true);
    s.ZaviratFrmTisk = file.readFlag(configurationSection, QStringLiteral("ZaviratFrmTisk"), false);
    s.PovolitPrimouEditaciDatumu =
        file.readFlag(configurationSection, QStringLiteral("PovolitPrimouEditaciDatumu"), false);
    s.hsl = file.readFlag(configurationSection, QStringLiteral("hsl"), true);
    return s;
}

void Settings::writeConfiguration(const IniFile& file) const
{
    file.write(configurationSection,
               {{QStringLiteral("BarvaKartaTZ"), IniFile::integerText(BarvaKartaTZ)},
                {QStringLiteral("BarvaKartaCinnosti"), IniFile::integerText(BarvaKartaCinnosti)},
                {QStringLiteral("DialogUlozit"), IniFile::flagText(DialogUlozit)},
                {QStringLiteral("ZaviratFrmTisk"), IniFile::flagText(ZaviratFrmTisk)},
                {QStringLiteral("PovolitPrimouEditaciDatumu"), IniFile::flagText(PovolitPrimouEditaciDatumu)},
                {QStringLiteral("hsl"), IniFile::flagText(hsl)}});
}

void Settings::writeUserData(const IniFile& file) const
{
    IniFile::Entries entries;
    for (int i = 0; i < userDataKeys().size(); ++i)
        entries.append({userDataKeys()[i], *userDataValue(i)});
    file.write(userDataSection, entries);
}

namespace CustomerSortSetting {

int read(const IniFile& file)
{
    return file.readInteger(QStringLiteral("CisZakazniku"), QStringLiteral("Trideni"), 0);
}

void write(const IniFile& file, int index)
{
    file.write(QStringLiteral("CisZakazniku"), {{QStringLiteral("Trideni"), IniFile::integerText(index)}});
}

} // namespace CustomerSortSetting
