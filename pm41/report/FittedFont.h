#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

#include <array>

class QPaintDevice;

namespace pm41 {

// A font with its metrics on the device and a cache of character advances: the width of a
// cell's text is summed from the cache, so the thousands of cells of a long report are
// measured without laying each one out.
class FittedFont
{
public:
    FittedFont(const QFont& font, QPaintDevice* device);

    const QFont& font() const { return m_font; }
    qreal ascent() const { return m_metrics.ascent(); }
    qreal height() const { return m_metrics.height(); }
    qreal width(const QString& text) const;
    // The text, shortened with "…" when it is wider than the space.
    QString fit(const QString& text, qreal space) const;

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    // Latin letters with the Czech ones sit below U+0180; the rest go to the hash.
    mutable std::array<qreal, 0x180> m_latin;
    mutable QHash<char16_t, qreal> m_advances;
};

} // namespace pm41
