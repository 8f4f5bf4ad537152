// The three code lists and how they differ.
#include "codelists/CodeListDefinitions.h"

namespace CodeListDefinitions {

const CodeListDefinition& activityKinds()
{
    static const CodeListDefinition definition{
        QStringLiteral("TCisCinnosti"),
        QStringLiteral("Číselník činností"),
        QStringLiteral("cis_cinnost"),
        QStringLiteral("nazev_cinnosti"),
        QStringLiteral("Činnost"),
        {{QStringLiteral("Název činnosti"), QStringLiteral("La_nazev_cinnosti"),
          QStringLiteral("Ed_nazev_cinnosti"), QStringLiteral("nazev_cinnosti"), 257,
          QStringLiteral("Kolonka Název činnosti musí být vyplněná!")}},
        QStringLiteral("Ed_nazev_cinnosti"),
        QStringLiteral("nazev_cinnosti"),
        QStringLiteral("Výpis číselníku činností"),
        QStringLiteral("SELECT * FROM cis_cinnost ORDER BY id"),
        QStringLiteral("Kód\tNázev činnosti\r\n"),
        {QStringLiteral("id"), QStringLiteral("nazev_cinnosti")},
        QStringLiteral("cis_cinnost")};
    return definition;
}

const CodeListDefinition& categories()
{
    static const CodeListDefinition definition{
        QStringLiteral("TCisKategorii"),
        QStringLiteral("Číselník kategorií topných zdrojů"),
        QStringLiteral("cis_kategorie"),
        QStringLiteral("nazev_kategorie"),
        QStringLiteral("Kategorie"),
        {{QStringLiteral("Název kategorie"), QStringLiteral("La_nazev_cinnosti"),
          QStringLiteral("Ed_nazev_cinnosti"), QStringLiteral("nazev_kategorie"), 257,
          QStringLiteral("Kolonka Název kategorie musí být vyplněná!")},
         {QStringLiteral("Lhůta"), QStringLiteral("La_lhuta"), QStringLiteral("Ed_lhuta"),
          QStringLiteral("lhuta"), 57, QStringLiteral("Kolonka Lhůta musí být vyplněná!")}},
        QStringLiteral("Ed_nazev_cinnosti"),
        QStringLiteral("nazev_kategorie"),
        QStringLiteral("Výpis číselníku kategorií"),
        QStringLiteral("SELECT * FROM cis_kategorie ORDER BY id"),
        QStringLiteral("Kód\tNázev kategorie\tLhůta\r\n"),
        {QStringLiteral("id"), QStringLiteral("nazev_kategorie"), QStringLiteral("lhuta")},
        QStringLiteral("cis_kategorie")};
    return definition;
}

const CodeListDefinition& technicians()
{
    static const CodeListDefinition definition{
        QStringLiteral("TCisTechniku"),
        QStringLiteral("Číselník techniků"),
        QStringLiteral("cis_technici"),
        QStringLiteral("jmeno_technika"),
        QStringLiteral("Jméno technika"),
        {{QStringLiteral("Číslo technika"), QStringLiteral("La_cislo"), QStringLiteral("Ed_cislo"),
          QStringLiteral("cislo"), 97, QStringLiteral("Kolonka Číslo technika musí být vyplněná!")},
         {QStringLiteral("Jméno technika"), QStringLiteral("La_jmeno_technika"),
          QStringLiteral("Ed_jmeno_technika"), QStringLiteral("jmeno_technika"), 257,
          QStringLiteral("Kolonka Jméno technika musí být vyplněná!")}},
        QStringLiteral("Ed_jmeno_technika"),
        QStringLiteral("jmeno_technika"),
        QStringLiteral("Výpis číselníku techniků"),
        QStringLiteral("SELECT * FROM cis_technici ORDER BY jmeno_technika"),
        QStringLiteral("Číslo\tJméno technika\r\n"),
        {QStringLiteral("cislo"), QStringLiteral("jmeno_technika")},
        QStringLiteral("cis_technici")};
    return definition;
}

} // namespace CodeListDefinitions
