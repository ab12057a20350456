// The delay and tolerance entry: the scroll bars and the tolerance derived from the delay.
#include "ui/main_window.h"

#include "app/settings/decimal_text.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>

#include <cmath>

namespace vembra {

namespace {
constexpr const char* kTag = "Tag";
const QColor kDerivedToleranceColour(200, 255, 200);

void setFieldColour(QLineEdit* edit, const QColor& colour)
{
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, colour);
    edit->setPalette(palette);
}

} // namespace

void T_frmMain::writeGuarded(QLineEdit* edit, const QString& text)
{
    edit->setProperty(kTag, 1);
    edit->setText(text);
    edit->setProperty(kTag, 0);
}

bool T_frmMain::isGuarded(const QLineEdit* edit)
{
    return edit->property(kTag).toInt() >= 1;
}

void T_frmMain::DeriveTolerance(double delay)
{
    if (!(delay > 0))
        return;
    ToleranceAuto = true;
    setFieldColour(ed_Delta, kDerivedToleranceColour);
    const double tolerance = delay / 100.0 + 0.05;
    ed_Delta->setText(formatFixed2(tolerance));
    sb_Tolerance->setValue(static_cast<int>(std::nearbyint(tolerance * 100.0)));
}

QString T_frmMain::ValidateEntry(QLineEdit* edit, double min, double max)
{
    const EntryText entry = validateEntryText(edit->text(), min, max);
    if (entry.changed)
        writeGuarded(edit, entry.text);
    return entry.text;
}

void T_frmMain::ed_MeasuredChange()
{
    if (isGuarded(ed_Measured))
        return;
    FMeasuredDelay = textToFloat(ValidateEntry(ed_Measured, FValueMin, FDelayMax));
}

void T_frmMain::ed_DeltaChange()
{
    if (isGuarded(ed_Delta))
        return;
    FTolerance = textToFloat(ValidateEntry(ed_Delta, FValueMin, FToleranceMax));
}

void T_frmMain::ed_MeasuredExit()
{
    const QString text = ValidateEntry(ed_Measured, FValueMin, FDelayMax);
    FMeasuredDelay = textToFloat(text);
    ed_Measured->setText(text);
    DeriveTolerance(FMeasuredDelay);
}

void T_frmMain::ed_DeltaExit()
{
    const QString text = ValidateEntry(ed_Delta, FValueMin, FToleranceMax);
    FTolerance = textToFloat(text);
    ed_Delta->setText(text);
}

bool T_frmMain::entryKeyPress(QLineEdit* edit, const QKeyEvent* e)
{
    // Keys without a character (arrows, Delete, Home, ...) and shortcuts pass unfiltered.
    if (e->text().isEmpty() || e->modifiers().testFlag(Qt::ControlModifier))
        return false;
    const QChar separator = localeDecimalSeparator();
    QChar c = e->text().front();
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (edit == ed_Measured) {
            DeriveTolerance(FMeasuredDelay);
            if (ed_Delta->isEnabled() && ed_Delta->isVisible())
                ed_Delta->setFocus();
        } else if (ed_Measured->isEnabled() && ed_Measured->isVisible()) {
            ed_Measured->setFocus();
        }
        return true;
    }
    if (e->key() == Qt::Key_Backspace)
        return false;
    if (c == QLatin1Char(',') || c == QLatin1Char('.'))
        c = separator;
    if (c == separator) {
        if (!edit->text().contains(separator))
            edit->insert(QString(separator));
        return true;
    }
    // Digits go on to the field; every other key is dropped.
    return !(c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

namespace {

// Counting in whole hundredths keeps the steps on two-decimal values.
double stepped(double value, double step, int direction)
{
    return std::nearbyint(value * 100.0 + direction * step * 100.0) / 100.0;
}

} // namespace

void T_frmMain::DelayUpTick()
{
    if (FMeasuredDelay < FDelayMax) {
        FMeasuredDelay = std::min(FDelayMax, stepped(FMeasuredDelay, FStep, 1));
        writeGuarded(ed_Measured, formatFixed2(FMeasuredDelay));
        DeriveTolerance(FMeasuredDelay);
    }
}

void T_frmMain::DelayDownTick()
{
    if (FMeasuredDelay > FValueMin) {
        FMeasuredDelay = std::max(FValueMin, stepped(FMeasuredDelay, FStep, -1));
        writeGuarded(ed_Measured, formatFixed2(FMeasuredDelay));
        DeriveTolerance(FMeasuredDelay);
    }
}

void T_frmMain::ToleranceUpTick()
{
    if (FTolerance < FToleranceMax) {
        FTolerance = std::min(FToleranceMax, stepped(FTolerance, FStep, 1));
        writeGuarded(ed_Delta, formatFixed2(FTolerance));
        setFieldColour(ed_Delta, palette().color(QPalette::Base));
    }
}

void T_frmMain::ToleranceDownTick()
{
    if (FTolerance > FValueMin) {
        FTolerance = std::max(FValueMin, stepped(FTolerance, FStep, -1));
        writeGuarded(ed_Delta, formatFixed2(FTolerance));
        setFieldColour(ed_Delta, palette().color(QPalette::Base));
    }
}

void T_frmMain::startRepeat(void (T_frmMain::*tick)())
{
    // One repeat at a time: a new press replaces the running one.
    m_repeatTick = tick;
    (this->*tick)();
    FRepeatTimer->start();
}

void T_frmMain::btn_DelayUpMouseUp()
{
    FRepeatTimer->stop();
}

void T_frmMain::sb_DelayChange()
{
    FMeasuredDelay = sb_Delay->value() / 100.0;
    ed_Measured->setText(formatFixed2(FMeasuredDelay));
    DeriveTolerance(FMeasuredDelay);
}

void T_frmMain::sb_ToleranceChange()
{
    FTolerance = sb_Tolerance->value() / 100.0;
    ed_Delta->setText(formatFixed2(FTolerance));
    if (sb_Tolerance->hasFocus())
        ToleranceAuto = false;
    if (!ToleranceAuto)
        setFieldColour(ed_Delta, palette().color(QPalette::Base));
}

} // namespace vembra
