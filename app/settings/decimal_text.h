#pragma once

#include <QString>

#include <stdexcept>

namespace vembra {

// A text that is no number, with the message the user sees.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The decimal separator of the user's locale.
QChar localeDecimalSeparator();

// The number text with the locale's decimal separator: unchanged when it already holds it;
// otherwise the first comma, and then the first full stop, become the separator.
QString LocalizeDecimal(const QString& text);

// The number with two decimals and the locale's separator ("%0.2f").
QString formatFixed2(double value);
// The number with five decimals and the locale's separator ("%0.5f").
QString formatFixed5(double value);

// Reads a number written with the locale's separator; surrounding blanks are allowed. Throws
// ConversionError "'<text>' is not a valid floating point value" otherwise.
double textToFloat(const QString& text);

// Cleans a typed number in place: commas and full stops become the locale's separator (one put
// first gets a "0" before it), the first separator stays, later ones and every character that is
// no digit go. True when a character was removed.
bool CleanNumberText(QString& text);

// A typed number cleaned and clamped into [min, max], with two decimals; changed tells whether
// the field must show the new text (something was removed or clamped).
struct EntryText {
    QString text;
    bool changed = false;
};
EntryText validateEntryText(const QString& typed, double min, double max);

} // namespace vembra
