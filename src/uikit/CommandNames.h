#pragma once

// The object names of the program's commands (QActions). The command table, the windows
// and the tests name a command only through these, so a name is spelt in one place. A
// command's button carries the same name with "Tl_" in place of "Akce_" (buttonNameFor).

// The main window's menu and toolbar.
inline constexpr char Akce_OtevritZakaznika[] = "Akce_OtevritZakaznika";
inline constexpr char Akce_ZavritZakaznika[] = "Akce_ZavritZakaznika";
inline constexpr char Akce_OtevritTZ[] = "Akce_OtevritTZ";
inline constexpr char Akce_PlanRevizi[] = "Akce_PlanRevizi";
inline constexpr char Akce_Konec[] = "Akce_Konec";
inline constexpr char Akce_UdajeUzivatele[] = "Akce_UdajeUzivatele";
inline constexpr char Akce_CiselnikZakazniku[] = "Akce_CiselnikZakazniku";
inline constexpr char Akce_CiselnikCinnosti[] = "Akce_CiselnikCinnosti";
inline constexpr char Akce_CiselnikKategorii[] = "Akce_CiselnikKategorii";
inline constexpr char Akce_CiselnikTechniku[] = "Akce_CiselnikTechniku";
inline constexpr char Akce_Tisk[] = "Akce_Tisk";
inline constexpr char Akce_ZmenaHesla[] = "Akce_ZmenaHesla";
inline constexpr char Akce_Konfig[] = "Akce_Konfig";
inline constexpr char Akce_ImportZakazniku[] = "Akce_ImportZakazniku";
inline constexpr char Akce_ZalohovatDatabazi[] = "Akce_ZalohovatDatabazi";
inline constexpr char Akce_ObnovitZeZalohy[] = "Akce_ObnovitZeZalohy";
inline constexpr char Akce_UctyTechniku[] = "Akce_UctyTechniku";
inline constexpr char Akce_DomovskaStranka[] = "Akce_DomovskaStranka";
inline constexpr char Akce_OProgramu[] = "Akce_OProgramu";

// A record panel's navigation and editing; a panel may add a suffix of its own.
inline constexpr char Akce_NaZacatek[] = "Akce_NaZacatek";
inline constexpr char Akce_Vzad[] = "Akce_Vzad";
inline constexpr char Akce_Vpred[] = "Akce_Vpred";
inline constexpr char Akce_NaKonec[] = "Akce_NaKonec";
inline constexpr char Akce_Novy[] = "Akce_Novy";
inline constexpr char Akce_Edit[] = "Akce_Edit";
inline constexpr char Akce_Smazat[] = "Akce_Smazat";
inline constexpr char Akce_Ulozit[] = "Akce_Ulozit";
inline constexpr char Akce_Storno[] = "Akce_Storno";

// The listings of the card panel and the code-list windows, the activity panel's listing,
// the card panel's inspection card, and the code-list windows' export and close.
inline constexpr char Akce_Vypis[] = "Akce_Vypis";
inline constexpr char Akce_Vypis_Cin[] = "Akce_Vypis_Cin";
inline constexpr char Akce_TiskKarty[] = "Akce_TiskKarty";
inline constexpr char Akce_Export[] = "Akce_Export";
inline constexpr char Akce_Zavrit[] = "Akce_Zavrit";

// The technicians' web accounts window.
inline constexpr char Akce_PridatUcet[] = "Akce_PridatUcet";
inline constexpr char Akce_NoveHeslo[] = "Akce_NoveHeslo";
inline constexpr char Akce_Zablokovat[] = "Akce_Zablokovat";
inline constexpr char Akce_Odblokovat[] = "Akce_Odblokovat";
