#pragma once

#include <QByteArray>
#include <QList>

#include <iterator>
#include <random>

// Damaged copies of report templates for fuzzing the report generator: a seeded, repeatable
// series of flipped bits, inserted NUL, control and high bytes, broken UTF-8, cut ends,
// repeated, dropped and swapped lines, odd section headers, odd values, pieces of SQL
// (:names, quotes, comments) and of letters' text (braces, placeholders). The same seeds and
// number give the same mutants everywhere.
class TemplateMutator
{
public:
    TemplateMutator(QList<QByteArray> seeds, quint32 seed);

    // One of the seeds with one to four changes.
    QByteArray next();

private:
    quint32 below(quint32 n) { return quint32(m_random() % n); }
    template <typename List> const auto& pick(const List& list)
    {
        return list[below(quint32(std::size(list)))];
    }
    qsizetype position(const QByteArray& text) { return below(quint32(text.size() + 1)); }
    // A position between two characters, so that what is inserted leaves the UTF-8 whole.
    qsizetype boundary(const QByteArray& text);
    // The positions just after each :name.
    static QList<qsizetype> nameEnds(const QByteArray& text);
    // Half the time a spot where the query scanner has work: just after a :name, at a quote,
    // a bracket or a comment; else any boundary.
    qsizetype spot(const QByteArray& text);

    void change(QByteArray& text);
    void changeLines(QByteArray& text, quint32 kind);

    QList<QByteArray> m_seeds;
    std::mt19937 m_random;
};
