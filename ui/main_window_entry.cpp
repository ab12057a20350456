// The delay and tolerance entry: the scroll bars and the tolerance derived from the delay.
#include "ui/main_window.h"

#include "app/settings/decimal_text.h"

#include <QLineEdit>
#include <QScrollBar>

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
