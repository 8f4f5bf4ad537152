#include "helpers/TextConversions.h"

#include "helpers/ConversionError.h"

#include <QColor>
#include <QRegularExpression>

QString NormalizeDecimalText(const QString& text)
{
    if (text.isEmpty() || text == u"0")
        return QStringLiteral("0,00");
    QString out;
    for (const QChar c : text) {
        if (c == u'.')
            out += u',';
        else if (c == u'+' || c == u',' || c == u'-' || (c >= u'0' && c <= u'9'))
            out += c;
    }
    return out;
}

int TextToInteger(const QString& text)
{
    if (text.isEmpty() || text == u"0")
        return 0;
    QString kept;
    for (const QChar c : text)
        if (c == u'+' || c == u'-' || (c >= u'0' && c <= u'9'))
            kept += c;
    if (kept.isEmpty())
        kept = QStringLiteral("0");
    bool ok = false;
    const int value = kept.toInt(&ok);
    return ok ? value : 0;
}

QDateTime TextToDateTime(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(
        "^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const auto m = form.match(text);
    if (m.hasMatch()) {
        int year = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            year += year < 50 ? 2000 : 1900;
        const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
        const QTime time = m.captured(4).isEmpty()
                               ? QTime(0, 0)
                               : QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (date.isValid() && time.isValid())
            return QDateTime(date, time);
    }
    throw ConversionError(QStringLiteral("„%1“ není platné datum a čas.").arg(text));
}

QString YesNoText(bool value)
{
    return value ? QStringLiteral("ano") : QStringLiteral("ne");
}

QString RemoveChar(const QString& text, QChar character)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (c != character)
            out += c;
    return out;
}

QString trimControlCharacters(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString ProgramVersionText()
{
    return QStringLiteral(VESTIBOR_VERSION);
}

QColor colorFromValue(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int valueFromColor(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QString searchKey(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            key += c;
    return key.toCaseFolded();
}
