#include "web/TextFolding.h"

#include <array>

namespace TextFolding {

namespace {

constexpr char16_t firstAccented = 0x00C0;
constexpr char16_t lastAccented = 0x017F;

// Each accented letter of the range with its plain letter (from its canonical decomposition),
// 0 for a character that keeps its form.
const std::array<char16_t, lastAccented - firstAccented + 1>& plainLetters()
{
    static const auto table = [] {
        std::array<char16_t, lastAccented - firstAccented + 1> t{};
        for (char16_t c = firstAccented; c <= lastAccented; ++c) {
            const QString decomposed = QString(QChar(c)).normalized(QString::NormalizationForm_D);
            const char16_t base = decomposed.isEmpty() ? 0 : decomposed.at(0).unicode();
            t[c - firstAccented] = decomposed.size() > 1 && base < 0x80 ? base : 0;
        }
        return t;
    }();
    return table;
}

} // namespace

QString fold(const QString& text)
{
    const auto& table = plainLetters();
    QString out(text.size(), Qt::Uninitialized);
    QChar* o = out.data();
    for (const QChar ch : text) {
        char16_t c = ch.unicode();
        if (c >= firstAccented && c <= lastAccented && table[c - firstAccented])
            c = table[c - firstAccented];
        *o++ = c < 0x80 ? QChar(c >= u'A' && c <= u'Z' ? c + 32 : c) : QChar(c).toLower();
    }
    return out;
}

} // namespace TextFolding
