#pragma once

#include <QString>

class IniFile;

// Section databaze of the settings file: which database the program works on. "soubor"
// (the default) is Vestibor.mdb in the program directory; "server" the shared PostgreSQL
// database. The database user's password is never kept here.
struct DatabaseSettings
{
    bool server = false; // Typ
    QString Server;
    int Port = 5432;
    QString Databaze;
    QString Uzivatel;
    // How many automatic backups of the file the folder Zalohy keeps; 0 makes none.
    int PocetZaloh = DefaultPocetZaloh;
    static constexpr int DefaultPocetZaloh = 10;

    static DatabaseSettings read(const IniFile& file);

    // The libpq connection string, with the password when one is given.
    QString connectionString(const QString& password = QString()) const;
    // "server:port/database" for messages.
    QString shownName() const;
};
