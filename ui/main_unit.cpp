#include "ui/main_unit.h"

#include "platform/folders/app_folders.h"

namespace vembra {

QString AppDataDir;
QString ExeDir;
QString WorkDBName;
bool HasIVexel = false;
bool HasFVexel = false;
bool HasFVexelColumn = false;
QPixmap IVexelIcon;
QPixmap FVexelIcon;

QString applicationFolderPath()
{
    return folders::applicationFolder(AppDataDir);
}

} // namespace vembra
