#include "ui/window_colours.h"

#include "app/settings/map_colour.h"

#include <QApplication>

namespace vembra {

namespace {

QColor systemColour(int index)
{
    return colourFromStored(static_cast<std::int32_t>(0xFF000000u | unsigned(index)),
                            QApplication::palette());
}

} // namespace

QColor scrollBarColour()
{
    return systemColour(0);
}

QColor activeBorderColour()
{
    return systemColour(10);
}

QColor buttonFaceColour()
{
    return systemColour(15);
}

QColor windowColour()
{
    return systemColour(5);
}

} // namespace vembra
