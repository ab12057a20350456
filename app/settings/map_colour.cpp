#include "app/settings/map_colour.h"

namespace vembra {

namespace {

struct SystemColourRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The nearest palette role of each system colour index (0 to 30).
SystemColourRole roleOfSystemColour(int index)
{
    using P = QPalette;
    switch (index) {
    case 0: // scroll bar
        return {P::Active, P::Midlight};
    case 1:  // desktop
    case 12: // application workspace
        return {P::Active, P::Dark};
    case 2:  // active caption
    case 13: // highlight
    case 27: // active caption gradient
    case 29: // menu highlight
        return {P::Active, P::Highlight};
    case 3:  // inactive caption
    case 28: // inactive caption gradient
        return {P::Inactive, P::Highlight};
    case 4:  // menu
    case 30: // menu bar
        return {P::Active, P::Window};
    case 5: // window
        return {P::Active, P::Base};
    case 6:  // window frame
    case 21: // 3-D dark shadow
        return {P::Active, P::Shadow};
    case 7: // menu text
        return {P::Active, P::WindowText};
    case 8: // window text
        return {P::Active, P::Text};
    case 9:  // caption text
    case 14: // highlight text
        return {P::Active, P::HighlightedText};
    case 10: // active border
    case 11: // inactive border
    case 22: // 3-D light
        return {P::Active, P::Midlight};
    case 15: // button face
        return {P::Active, P::Button};
    case 16: // button shadow
        return {P::Active, P::Dark};
    case 17: // disabled (gray) text
        return {P::Disabled, P::Text};
    case 18: // button text
        return {P::Active, P::ButtonText};
    case 19: // inactive caption text
        return {P::Inactive, P::HighlightedText};
    case 20: // button highlight
        return {P::Active, P::Light};
    case 23: // tooltip text
        return {P::Active, P::ToolTipText};
    case 24: // tooltip background
        return {P::Active, P::ToolTipBase};
    case 26: // hot-tracked item
        return {P::Active, P::Link};
    default:
        return {P::Active, P::Window};
    }
}

} // namespace

QColor colourFromStored(std::int32_t value, const QPalette& palette)
{
    const auto bits = static_cast<std::uint32_t>(value);
    const std::uint32_t top = bits >> 24;
    if (top == 0)
        return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
    if (top == 0xFF) {
        const SystemColourRole r = roleOfSystemColour(int(bits & 0xFF));
        return palette.color(r.group, r.role);
    }
    return QColor(Qt::black);
}

std::int32_t storedFromColour(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    const std::uint32_t bits = std::uint32_t(rgb.red()) | (std::uint32_t(rgb.green()) << 8) |
                               (std::uint32_t(rgb.blue()) << 16);
    return static_cast<std::int32_t>(bits);
}

} // namespace vembra
