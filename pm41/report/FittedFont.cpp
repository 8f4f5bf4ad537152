#include "report/FittedFont.h"

namespace pm41 {

FittedFont::FittedFont(const QFont& font, QPaintDevice* device) : m_font(font), m_metrics(font, device)
{
    m_latin.fill(-1);
}

qreal FittedFont::width(const QString& text) const
{
    qreal sum = 0;
    for (const QChar c : text) {
        if (c.unicode() < m_latin.size()) {
            qreal& advance = m_latin[c.unicode()];
            if (advance < 0)
                advance = m_metrics.horizontalAdvance(c);
            sum += advance;
            continue;
        }
        auto it = m_advances.constFind(c.unicode());
        if (it == m_advances.constEnd())
            it = m_advances.insert(c.unicode(), m_metrics.horizontalAdvance(c));
        sum += *it;
    }
    return sum;
}

QString FittedFont::fit(const QString& text, qreal space) const
{
    if (width(text) <= space)
        return text;
    const QString ellipsis(QChar(0x2026));
    const qreal room = space - width(ellipsis);
    qreal used = 0;
    qsizetype keep = 0;
    for (; keep < text.size(); ++keep) {
        used += width(QString(text[keep]));
        if (used > room)
            break;
    }
    return text.left(keep).trimmed() + ellipsis;
}

} // namespace pm41
