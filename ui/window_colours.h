#pragma once

#include <QColor>

namespace vembra {

// The desktop colours the window's design names, from the application's palette.
QColor scrollBarColour();
QColor activeBorderColour();
QColor buttonFaceColour();
QColor windowColour();
// Medium gray, the map background at design.
inline QColor mediumGray()
{
    return QColor(160, 160, 164);
}
inline QColor navy()
{
    return QColor(0, 0, 128);
}

} // namespace vembra
