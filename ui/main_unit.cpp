#include "ui/main_unit.h"

#include "platform/folders/app_folders.h"

namespace vembra {

QString AppDataDir;
QString ExeDir;
QString WorkDBName;
bool HasIVexel = false;
bool HasFVexel = false;
bool HasFVexelColumn = false;
QImage IVexelIcon;
QImage FVexelIcon;
TNodeList NodeList;
NodeModel Node;

QString applicationFolderPath()
{
    return folders::applicationFolder(AppDataDir);
}

} // namespace vembra
