#include "GenData.h"

namespace GenData {

const QStringList& maleFirstNames()
{
    static const QStringList list{"Jan",       "Petr",     "Josef",    "Pavel",     "Jiří",     "Martin",
                                  "Tomáš",     "Jaroslav", "Miroslav", "Zdeněk",    "Václav",   "Michal",
                                  "František", "Karel",    "Milan",    "Lukáš",     "Vladimír", "David",
                                  "Jakub",     "Ondřej",   "Radek",    "Stanislav", "Aleš",     "Libor",
                                  "Roman",     "Luboš",    "Vojtěch",  "Bohumil"};
    return list;
}

const QStringList& femaleFirstNames()
{
    static const QStringList list{"Marie",    "Jana",    "Eva",      "Hana",   "Anna",    "Lenka",
                                  "Kateřina", "Věra",    "Lucie",    "Alena",  "Petra",   "Jaroslava",
                                  "Veronika", "Martina", "Jitka",    "Tereza", "Ludmila", "Helena",
                                  "Zdeňka",   "Ivana",   "Michaela", "Monika", "Markéta", "Dana",
                                  "Božena",   "Vlasta",  "Dagmar",   "Šárka"};
    return list;
}

const QList<Surname>& surnames()
{
    static const QList<Surname> list{{"Novák", "Nováková"},
                                     {"Svoboda", "Svobodová"},
                                     {"Novotný", "Novotná"},
                                     {"Dvořák", "Dvořáková"},
                                     {"Černý", "Černá"},
                                     {"Procházka", "Procházková"},
                                     {"Kučera", "Kučerová"},
                                     {"Veselý", "Veselá"},
                                     {"Horák", "Horáková"},
                                     {"Němec", "Němcová"},
                                     {"Marek", "Marková"},
                                     {"Pospíšil", "Pospíšilová"},
                                     {"Pokorný", "Pokorná"},
                                     {"Hájek", "Hájková"},
                                     {"Král", "Králová"},
                                     {"Jelínek", "Jelínková"},
                                     {"Růžička", "Růžičková"},
                                     {"Beneš", "Benešová"},
                                     {"Fiala", "Fialová"},
                                     {"Sedláček", "Sedláčková"},
                                     {"Doležal", "Doležalová"},
                                     {"Zeman", "Zemanová"},
                                     {"Kolář", "Kolářová"},
                                     {"Navrátil", "Navrátilová"},
                                     {"Čermák", "Čermáková"},
                                     {"Vaněk", "Vaňková"},
                                     {"Urban", "Urbanová"},
                                     {"Blažek", "Blažková"},
                                     {"Kříž", "Křížová"},
                                     {"Kovář", "Kovářová"},
                                     {"Kratochvíl", "Kratochvílová"},
                                     {"Bartoš", "Bartošová"},
                                     {"Vlček", "Vlčková"},
                                     {"Polák", "Poláková"},
                                     {"Musil", "Musilová"},
                                     {"Šimek", "Šimková"},
                                     {"Štěpánek", "Štěpánková"},
                                     {"Chalupa", "Chalupová"},
                                     {"Čech", "Čechová"},
                                     {"Šťastný", "Šťastná"},
                                     {"Holub", "Holubová"},
                                     {"Ševčík", "Ševčíková"},
                                     {"Chmelař", "Chmelařová"},
                                     {"Žák", "Žáková"},
                                     {"Hrubý", "Hrubá"},
                                     {"Skála", "Skálová"},
                                     {"Ondráček", "Ondráčková"},
                                     {"Zedník", "Zedníková"}};
    return list;
}

const QList<Town>& towns()
{
    static const QList<Town> list{{"Praha", "110 00", "2"},
                                  {"Brno", "602 00", "54"},
                                  {"Ostrava", "702 00", "59"},
                                  {"Olomouc", "779 00", "58"},
                                  {"Zlín", "760 01", "57"},
                                  {"Jihlava", "586 01", "56"},
                                  {"České Budějovice", "370 01", "38"},
                                  {"Hradec Králové", "500 02", "49"},
                                  {"Pardubice", "530 02", "46"},
                                  {"Kroměříž", "767 01", "573"},
                                  {"Plzeň", "301 00", "37"},
                                  {"Liberec", "460 01", "48"},
                                  {"Ústí nad Labem", "400 01", "47"},
                                  {"Karlovy Vary", "360 01", "35"},
                                  {"Prostějov", "796 01", "582"},
                                  {"Přerov", "750 02", "581"},
                                  {"Uherské Hradiště", "686 01", "572"},
                                  {"Vsetín", "755 01", "571"},
                                  {"Vyškov", "682 01", "517"},
                                  {"Blansko", "678 01", "516"},
                                  {"Znojmo", "669 02", "515"},
                                  {"Břeclav", "690 02", "519"},
                                  {"Hodonín", "695 01", "518"},
                                  {"Třebíč", "674 01", "568"},
                                  {"Žďár nad Sázavou", "591 01", "566"},
                                  {"Havlíčkův Brod", "580 01", "569"},
                                  {"Tábor", "390 02", "381"},
                                  {"Písek", "397 01", "382"},
                                  {"Kolín", "280 02", "321"},
                                  {"Kladno", "272 01", "312"},
                                  {"Mladá Boleslav", "293 01", "326"},
                                  {"Opava", "746 01", "553"},
                                  {"Frýdek-Místek", "738 01", "558"},
                                  {"Nový Jičín", "741 01", "556"},
                                  {"Šumperk", "787 01", "583"},
                                  {"Chrudim", "537 01", "469"},
                                  {"Svitavy", "568 02", "461"},
                                  {"Boskovice", "680 01", "516"},
                                  {"Valašské Meziříčí", "757 01", "571"},
                                  {"Trutnov", "541 01", "499"}};
    return list;
}

const QList<Town>& villages()
{
    static const QList<Town> list{{"Lhota", "763 02", "577"},
                                  {"Bukovany", "696 31", "518"},
                                  {"Újezd u Brna", "664 53", "544"},
                                  {"Ořechov", "664 44", "547"},
                                  {"Sedlec", "691 21", "519"},
                                  {"Nová Ves", "664 91", "546"},
                                  {"Lipová", "798 42", "582"},
                                  {"Kunovice", "686 04", "572"},
                                  {"Hostěrádky-Rešov", "683 52", "544"},
                                  {"Babice", "687 03", "572"},
                                  {"Ruprechtov", "683 04", "517"},
                                  {"Radslavice", "751 11", "581"},
                                  {"Kozlovice", "739 47", "558"},
                                  {"Vrbice", "691 09", "519"}};
    return list;
}

const QStringList& streets()
{
    static const QStringList list{
        "Dlouhá",     "Krátká",      "Nádražní",  "Školní",       "Husova",    "Palackého", "Masarykova",
        "Komenského", "Sokolská",    "Zahradní",  "Polní",        "Lipová",    "Za Humny",  "Na Výsluní",
        "Tyršova",    "Jiráskova",   "Smetanova", "Havlíčkova",   "Žižkova",   "Nerudova",  "Bezručova",
        "Mánesova",   "Štefánikova", "Riegrova",  "Kpt. Jaroše",  "Slovanská", "Luční",     "Větrná",
        "Družstevní", "U Hřiště",    "Pod Kaplí", "Náměstí Míru", "Brněnská",  "Olomoucká", "Vinohradská",
        "Sadová",     "K Lesu",      "Ke Mlýnu",  "Úzká",         "Čs. armády"};
    return list;
}

const QStringList& firmPatterns()
{
    static const QStringList list{"Topení %S s.r.o.",
                                  "%S a syn s.r.o.",
                                  "Instalatérství %S",
                                  "Obec %V",
                                  "SVJ %U",
                                  "Bytové družstvo %T",
                                  "Mateřská škola %U",
                                  "Základní škola %T",
                                  "Pekárna %S s.r.o.",
                                  "Autoservis %S",
                                  "%S & %S v.o.s.",
                                  "Farma %S",
                                  "Penzion %W",
                                  "Restaurace %W",
                                  "Agro %T a.s.",
                                  "Město %T",
                                  "Farní úřad %V",
                                  "Truhlářství %S",
                                  "Stavební firma %S s.r.o.",
                                  "Společenství vlastníků %U"};
    return list;
}

const QStringList& businessWords()
{
    static const QStringList list{"U Lípy",  "Na Rychtě", "U Lesa",       "Na Kopečku", "Pod Hradem",
                                  "U Mlýna", "Na Statku", "Zlatá hvězda", "U Kapličky", "Na Hrázi"};
    return list;
}

const QList<Category>& categories()
{
    static const QList<Category> list{
        {"Plynové kotle",
         12,
         35,
         1990,
         "Plynový kotel",
         {{"Protherm", "Panther 25 KTV"},
          {"Protherm", "Gepard 23 MTV"},
          {"Baxi", "Eco Four 24"},
          {"Baxi", "Luna 3 Comfort 240 Fi"},
          {"Vaillant", "atmoTEC plus VU 240"},
          {"Vaillant", "turboTEC pro VUW 242"},
          {"Thermona", "Therm 24 KD.A"},
          {"Thermona", "Therm 28 LXZ"},
          {"Buderus", "Logamax U072-24K"},
          {"Immergas", "Mini Eolo 24"}}},
        {"Kondenzační kotle",
         12,
         20,
         2003,
         "Kondenzační kotel",
         {{"Vaillant", "ecoTEC plus VU 256"},
          {"Buderus", "Logamax plus GB172-24"},
          {"Thermona", "Therm 28 KDC"},
          {"Baxi", "Duo-tec Compact 24"},
          {"Protherm", "Lynx Condens 25/30 MKV"},
          {"Geminox", "THRs 2-17"},
          {"Immergas", "Victrix Tera 24"}}},
        {"Kotle na tuhá paliva",
         12,
         12,
         1990,
         "Kotel na tuhá paliva",
         {{"Dakon", "DOR 24"},
          {"Dakon", "FB2 32"},
          {"Viadrus", "Hercules U22"},
          {"Atmos", "DC 25 GS"},
          {"Opop", "H 424"},
          {"Verner", "A 501"},
          {"Benekov", "C 16"}}},
        {"Krby a kamna",
         24,
         8,
         1990,
         "Krbová kamna",
         {{"Romotop", "Vigo 02"},
          {"Romotop", "Ramses 01"},
          {"Thorma", "Borneo"},
          {"ABX", "Cairo"},
          {"Hark", "Tutti Frutti"},
          {"Haas+Sohn", "Pallas"}}},
        {"Průtokové ohřívače",
         12,
         8,
         1990,
         "Průtokový ohřívač",
         {{"Mora", "Vega 10"},
          {"Mora", "5110"},
          {"Vaillant", "MAG 14"},
          {"Stiebel Eltron", "DHB-E 18"},
          {"Junkers", "WR 11"}}},
        {"Zásobníkové ohřívače",
         24,
         7,
         1990,
         "Zásobníkový ohřívač",
         {{"Dražice", "OKCE 100"}, {"Dražice", "OKC 160"}, {"Tatramat", "VTI 125"}, {"Regulus", "RBC 200"}}},
        {"Tepelná čerpadla",
         24,
         5,
         2006,
         "Tepelné čerpadlo",
         {{"Regulus", "EcoAir 410"},
          {"IVT", "AirX 70"},
          {"NIBE", "F2040-12"},
          {"Master Therm", "BoxAir 30"},
          {"Stiebel Eltron", "WPL 15 AS"},
          {"Hoval", "Belaria SRM 8"}}},
        {"Plynová topidla",
         24,
         3,
         1990,
         "Plynové topidlo",
         {{"Karma", "Beta 3 Mini"}, {"Karma", "Gamat 3000"}, {"Mora", "Gamat 2500"}}},
        {"Komíny a spalinové cesty",
         12,
         2,
         1990,
         "Spalinová cesta",
         {{"Schiedel", "Absolut 18"}, {"Komtherm", "K 100/150"}, {"Jeremias", "EW-FU 130"}}}};
    return list;
}

const QStringList& activityKinds()
{
    static const QStringList list{"Revize", "Kontrola", "Servisní prohlídka",
                                  "Oprava", "Čištění",  "Uvedení do provozu"};
    return list;
}

const QList<Technician>& technicians()
{
    static const QList<Technician> list{{1, "Jiří Kadlec"},
                                        {2, "Petr Šindelář"},
                                        {3, "Tomáš Vávra"},
                                        {4, "Radek Ondrušek"},
                                        {5, "Pavel Hloušek"}};
    return list;
}

const QStringList& cardPlaces()
{
    static const QStringList list{"kotelna",       "sklep", "kuchyň", "koupelna", "přízemí", "podkroví",
                                  "obývací pokoj", "garáž", "byt 1",  "byt 2",    "byt 3",   "chodba"};
    return list;
}

const QStringList& cardNotes()
{
    static const QStringList list{
        "Kotel v těsné nice, přístup jen zboku.", "Klíč od kotelny u souseda.",
        "Zákazník požaduje ohlášení den předem.", "Odkouření přes střechu, nutný žebřík.",
        "Původní instalace, dokumentace chybí.",  "Záruka prodloužena do konce roku.",
        "Na zahradě pes, zvonit u branky."};
    return list;
}

const QStringList& activityNotes()
{
    static const QStringList list{
        "Vyměněno těsnění hořáku.",        "Zákazník nebyl doma, přeobjednáno.",
        "Vyčištěn výměník a sifon.",       "Doporučena výměna kotle do dvou let.",
        "Seřízen hořák, změřeny spaliny.", "Doplněn tlak v soustavě na 1,5 bar.",
        "Vyměněna expanzní nádoba.",       "Porucha čidla teploty, objednán díl.",
        "Komín v pořádku, bez závad.",     "Nalezena netěsnost na plynové armatuře, odstraněno."};
    return list;
}

const QStringList& customerNotes()
{
    static const QStringList list{"Platí hotově na místě.",           "Fakturovat na správce domu.",
                                  "Volat nejdříve po 16. hodině.",    "Stálý zákazník, sleva 10 %.",
                                  "Termíny domlouvat s paní účetní.", "Objekt obsazen jen v létě."};
    return list;
}

const QStringList& mailDomains()
{
    static const QStringList list{"seznam.cz", "email.cz", "centrum.cz", "gmail.com", "volny.cz", "post.cz"};
    return list;
}

} // namespace GenData
