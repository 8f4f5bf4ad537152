#pragma once

#include <QDateTime>
#include <QString>

// Text and number conversions of the program.

// A decimal number as text with a comma: keeps signs, digits and commas, turns "." into
// ","; "0" and an empty text give "0,00". No numeric conversion takes place.
QString NormalizeDecimalText(const QString& text);

// Keeps signs and digits and reads a signed 32-bit integer; never fails (0 instead).
int TextToInteger(const QString& text);

// day.month.year, optionally followed by hh:nn[:ss]; throws ConversionError.
QDateTime TextToDateTime(const QString& text);

// "ano" or "ne".
QString YesNoText(bool value);

QString RemoveChar(const QString& text, QChar character);

// The text without the characters with a code from 0 to 32 (spaces, tabs, line breaks and
// other control characters) at both ends.
QString trimControlCharacters(const QString& text);

// The text for matching without regard to letter case or accents: "Čech" and "cech" give
// the same key.
QString searchKey(const QString& text);

// The program's version: the major and minor numbers joined by a point.
QString ProgramVersionText();

// A colour value as the settings file holds it: red in the lowest byte.
class QColor;
QColor colorFromValue(int value);
int valueFromColor(const QColor& color);
