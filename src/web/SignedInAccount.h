#pragma once

#include <QString>

// The account a request comes from, as its session found it.
struct SignedInAccount
{
    qint64 id = 0;
    QString login;
    QString role;       // "technik" or "kancelar"
    int technician = 0; // cis_technici.cislo; 0 for an office account without one
    QString technicianName;
    bool mustChangePassword = false;

    bool office() const { return role == u"kancelar"; }
};
