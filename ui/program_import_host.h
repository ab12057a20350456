#pragma once

#include "import/import_host.h"

class QWidget;

namespace vembra {

// What the import dialog gets of the running program: the data module, the folders, the main
// window's state it sets, the message boxes in use and the desktop's file dialog.
ImportHost programImportHost(QWidget* owner);

} // namespace vembra
