#include "tests/support/app_folder.h"

#include "platform/folders/app_folders.h"
#include "tests/support/work_files.h"

#include <QDir>
#include <QFile>

namespace vembra::test {

QString applicationFolder()
{
    return folders::applicationFolder(folders::genericDataFolder());
}

QString prepareApplicationFolder()
{
    const QString folder = applicationFolder();
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    copyTemplate(folder + QStringLiteral("_data.mdb"));
    QFile::copy(QStringLiteral(VEMBRA_TEST_FIXTURES "/pin.emf"),
                folder + QStringLiteral("_data.pdb"));
    return folder;
}

} // namespace vembra::test
