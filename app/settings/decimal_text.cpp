#include "app/settings/decimal_text.h"

#include <QLocale>

#include <cmath>

namespace vembra {

QChar localeDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

QString LocalizeDecimal(const QString& text)
{
    const QChar separator = localeDecimalSeparator();
    if (text.contains(separator))
        return text;
    QString result = text;
    qsizetype at = result.indexOf(QLatin1Char(','));
    if (at >= 0)
        result[at] = separator;
    at = result.indexOf(QLatin1Char('.'));
    if (at >= 0)
        result[at] = separator;
    return result;
}

namespace {

QString formatFixed(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(QLatin1Char('-')) && text.count(QLatin1Char('0')) == text.size() - 2)
        text.remove(0, 1); // no "-0.00"
    text.replace(QLatin1Char('.'), localeDecimalSeparator());
    return text;
}

} // namespace

QString formatFixed2(double value)
{
    return formatFixed(value, 2);
}

QString formatFixed5(double value)
{
    return formatFixed(value, 5);
}

double textToFloat(const QString& text)
{
    const QString trimmed = text.trimmed();
    const QChar separator = localeDecimalSeparator();
    // Digits, one optional sign, at most one locale separator, an optional exponent: nothing else,
    // and no group separators.
    QString plain = trimmed;
    bool ok = !plain.isEmpty() &&
              !plain.contains(separator == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.'));
    if (ok) {
        plain.replace(separator, QLatin1Char('.'));
        const double value = plain.toDouble(&ok);
        if (ok && std::isfinite(value))
            return value;
    }
    throw ConversionError(
        QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString());
}

bool CleanNumberText(QString& text)
{
    const QChar separator = localeDecimalSeparator();
    QString clean;
    bool removed = false;
    bool separatorSeen = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('.') || c == separator) {
            if (separatorSeen) {
                removed = true;
                continue;
            }
            if (clean.isEmpty())
                clean += QLatin1Char('0');
            clean += separator;
            separatorSeen = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            clean += c;
        } else {
            removed = true;
        }
    }
    text = clean;
    return removed;
}

EntryText validateEntryText(const QString& typed, double min, double max)
{
    EntryText result;
    QString text = typed;
    result.changed = CleanNumberText(text);
    if (text.isEmpty())
        text = formatFixed2(min);
    double value = textToFloat(text);
    if (value < min) {
        value = min;
        result.changed = true;
    }
    if (value > max) {
        value = max;
        result.changed = true;
    }
    result.text = formatFixed2(value);
    return result;
}

} // namespace vembra
