#pragma once

#include "localdb/node_list.h"
#include "model/node_loading.h"

#include <QImage>
#include <QString>

// State of the main window's unit that other parts of the program read.
namespace vembra {

// The machine's data folder, with a trailing separator; empty until start-up locates it.
extern QString AppDataDir;
// The program's folder, with a trailing separator.
extern QString ExeDir;
// The file name of the open working database, shown in the caption.
extern QString WorkDBName;

// The loaded node has i-Vexel, resp. f-Vexel probes.
extern bool HasIVexel;
extern bool HasFVexel;
// The open working database's device table has the f-Vexel column.
extern bool HasFVexelColumn;

// The probe icons of the node list and the candidate grid, drawn transparently.
extern QImage IVexelIcon;
extern QImage FVexelIcon;

// The nodes of the open working database, in the node list's order.
extern TNodeList NodeList;
// The loaded node: NodeDevices, CurrentDevice, FiberNode and MarkerSize.
extern NodeModel Node;

// The application folder: AppDataDir + Norv<sep>VembraNavigator<sep>.
QString applicationFolderPath();

} // namespace vembra
