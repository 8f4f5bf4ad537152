#pragma once

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <condition_variable>
#include <memory>
#include <mutex>

class Connection;

// The customers' texts that the search box looks through (name, contact person, town, street,
// phones), folded once and kept in memory in the order of names: a search goes through them
// instead of folding every customer's texts in the database again for every request. Customers
// change in the desktop only; the texts are read again when a search finds them older than a
// few seconds, by one request while the others use the ones before.
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
        QDateTime read;
        QList<qint64> ids;
        QStringList words;  // the four texts folded, each apart
        QStringList phones; // both phones without spaces, folded, each apart
    };

    std::shared_ptr<const Texts> current(Connection& connection, const QDateTime& now);
    static std::shared_ptr<const Texts> readTexts(Connection& connection, const QDateTime& now);

    std::mutex m_mutex;
    std::shared_ptr<const Texts> m_texts;
    bool m_reading = false;
    std::condition_variable m_readingDone;
};
