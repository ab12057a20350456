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

} // namespace vembra
