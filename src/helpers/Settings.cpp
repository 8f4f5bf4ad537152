#include "helpers/Settings.h"

#include "helpers/IniFile.h"

namespace {
const QString uzivatel = QStringLiteral("uzivatel");
const QString konfig = QStringLiteral("konfig");
} // namespace

const QStringList& Settings::uzivatelKeys()
{
    static const QStringList keys{QStringLiteral("NazevSubjektu"), QStringLiteral("OdpovednaOsoba"),
                                  QStringLiteral("Ulice"),         QStringLiteral("PSC"),
                                  QStringLiteral("Mesto"),         QStringLiteral("ICO"),
                                  QStringLiteral("DIC"),           QStringLiteral("Tel"),
                                  QStringLiteral("Email"),         QStringLiteral("WWW")};
    return keys;
}

QString* Settings::uzivatelValue(int index)
{
    QString* values[] = {&NazevSubjektu, &OdpovednaOsoba, &Ulice, &PSC, &Mesto, &ICO, &DIC,
                         &Tel,           &Email,          &WWW};
    return index >= 0 && index < 10 ? values[index] : nullptr;
}

const QString* Settings::uzivatelValue(int index) const
{
    return const_cast<Settings*>(this)->uzivatelValue(index);
}

Settings Settings::read(const IniFile& file)
{
    Settings s;
    for (int i = 0; i < uzivatelKeys().size(); ++i)
        *s.uzivatelValue(i) = file.readString(uzivatel, uzivatelKeys()[i]);
    s.BarvaKartaTZ = file.readInteger(konfig, QStringLiteral("BarvaKartaTZ"), DefaultBarvaKartaTZ);
    s.BarvaKartaCinnosti =
        file.readInteger(konfig, QStringLiteral("BarvaKartaCinnosti"), DefaultBarvaKartaCinnosti);
    s.DialogUlozit = file.readFlag(konfig, QStringLiteral("DialogUlozit"), true);
    s.ZaviratFrmTisk = file.readFlag(konfig, QStringLiteral("ZaviratFrmTisk"), false);
    s.PovolitPrimouEditaciDatumu = file.readFlag(konfig, QStringLiteral("PovolitPrimouEditaciDatumu"), false);
    s.hsl = file.readFlag(konfig, QStringLiteral("hsl"), true);
    return s;
}

void Settings::writeKonfig(const IniFile& file) const
{
    file.write(konfig,
               {{QStringLiteral("BarvaKartaTZ"), IniFile::integerText(BarvaKartaTZ)},
                {QStringLiteral("BarvaKartaCinnosti"), IniFile::integerText(BarvaKartaCinnosti)},
                {QStringLiteral("DialogUlozit"), IniFile::flagText(DialogUlozit)},
                {QStringLiteral("ZaviratFrmTisk"), IniFile::flagText(ZaviratFrmTisk)},
                {QStringLiteral("PovolitPrimouEditaciDatumu"), IniFile::flagText(PovolitPrimouEditaciDatumu)},
                {QStringLiteral("hsl"), IniFile::flagText(hsl)}});
}

void Settings::writeUzivatel(const IniFile& file) const
{
    IniFile::Entries entries;
    for (int i = 0; i < uzivatelKeys().size(); ++i)
        entries.append({uzivatelKeys()[i], *uzivatelValue(i)});
    file.write(uzivatel, entries);
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
