#pragma once

#include "web/KeptForSeconds.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

class Connection;

// The customers' texts that the search box looks through (name, contact person, town, street,
// phones), folded once and kept in memory in the order of names: a search goes through them
// instead of folding every customer's texts in the database again for every request. Customers
// change in the desktop only; the texts are read again when a search finds them older than a
// few seconds.
class CustomerSearchIndex
{
public:
    static constexpr int FreshSeconds = 5;

    // The ids of the first `most` customers, in the order of names, one of whose texts holds
    // the text (accents and letter case ignored), or, when `digits` is given, one of whose
    // phones holds it (spaces ignored).
    QList<qint64> find(Connection& connection, const QDateTime& now, const QString& text,
                       const QString& digits, int most);

private:
    struct Texts
    {
        QList<qint64> ids;
        QStringList words;  // the four texts folded, each apart
        QStringList phones; // both phones without spaces, folded, each apart
    };

    static Texts readTexts(Connection& connection);

    KeptForSeconds<Texts> m_texts{FreshSeconds};
};
