#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <random>

// The generator's source of chance: one seeded engine, so that the same seed gives the same
// database again.
class Random
{
public:
    explicit Random(quint64 seed) : m_engine(seed) {}

    // A whole number from lo to hi, both included.
    int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_engine); }
    // True with the given probability (0..1).
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine) < p; }

    template <typename T> const T& pick(const QList<T>& list)
    {
        return list[between(0, int(list.size()) - 1)];
    }

    // An index drawn by the weights.
    int weighted(const QList<int>& weights)
    {
        return std::discrete_distribution<int>(weights.begin(), weights.end())(m_engine);
    }

    // A string of random decimal digits.
    QString digits(int count)
    {
        QString s;
        s.reserve(count);
        for (int i = 0; i < count; ++i)
            s += QChar(u'0' + between(0, 9));
        return s;
    }

private:
    std::mt19937_64 m_engine;
};
