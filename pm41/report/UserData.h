#pragma once

#include "report/Export.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace pm41 {

// The user's own company and the open customer, as the program hands them over:
// "NazevSubjektu|…|OdpovednaOsoba|…|…|WWW|…|OtevrenyZakaznik|12".
struct PM41_EXPORT UserData
{
    QStringList texts;         // the ten company values, in the order of companyNames()
    qint64 openCustomerId = 0; // 0 when no customer is open

    QString text(const QString& name) const; // a company value by its name; empty for others
    // The value a query gets for :name, for the eleven names of the parameter text.
    QVariant value(const QString& name) const;

    // Letterhead lines: street and "PSČ town" with the responsible person first; and the
    // labelled contacts (IČO, DIČ, phone, e-mail, www). Empty values are left out.
    QStringList addressLines() const;
    QStringList contactLines() const;
};

// NazevSubjektu … WWW, the ten company names in the order of the parameter text.
PM41_EXPORT const QStringList& companyNames();

// Reads the parameter text. Names come in a fixed order and values are not escaped, so a
// value runs until the next expected name; a "|" inside a value is kept. Returns an error
// text, empty when the text was read.
PM41_EXPORT QString parseParameterText(const QString& text, UserData& out);

} // namespace pm41
