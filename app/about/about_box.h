#pragma once

class QWidget;

namespace vembra {

// Opens the About box over its owner (the main window's "About..." item): created for this one
// showing, shown modally, then destroyed. An unreadable logo bitmap ends the showing with a
// message box carrying the error's text.
void openAboutBox(QWidget* owner);

} // namespace vembra
