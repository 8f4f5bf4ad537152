#pragma once

#include <QString>

class IniFile;

// The run state read from the settings file at start-up, under the names of its keys.
// Other windows read these values, never the file.
struct Settings
{
    // section uzivatel: the user's own company data, handed to the report generator
    QString NazevSubjektu, OdpovednaOsoba, Ulice, PSC, Mesto, ICO, DIC, Tel, Email, WWW;

    // section konfig
    int BarvaKartaTZ = DefaultBarvaKartaTZ;
    int BarvaKartaCinnosti = DefaultBarvaKartaCinnosti;
    bool DialogUlozit = true;
    bool ZaviratFrmTisk = false;
    bool PovolitPrimouEditaciDatumu = false;
    bool hsl = true;

    static constexpr int DefaultBarvaKartaTZ = 6401967;        // 0x61AFAF
    static constexpr int DefaultBarvaKartaCinnosti = 12183270; // 0xB9E6E6

    // The sixteen keys of uzivatel and konfig, each with its default.
    static Settings read(const IniFile& file);

    // Section konfig, all six keys in order.
    void writeConfiguration(const IniFile& file) const;
    // Section uzivatel, all ten keys in order.
    void writeUserData(const IniFile& file) const;

    // The user data in the order of the file and of the user data dialog.
    static const QStringList& userDataKeys();
    QString* userDataValue(int index);
    const QString* userDataValue(int index) const;
};

// The sort order of the customer register, section CisZakazniku, key Trideni.
namespace CustomerSortSetting {
int read(const IniFile& file);
void write(const IniFile& file, int index);
} // namespace CustomerSortSetting
