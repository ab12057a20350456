#include "platform/folders/app_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace vembra::folders {

QString withTrailingSeparator(const QString& path)
{
    if (path.isEmpty())
        return {};
    QString native = QDir::toNativeSeparators(path);
    while (native.size() > 1 && native.endsWith(QDir::separator()))
        native.chop(1);
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

QString genericDataFolder()
{
    return withTrailingSeparator(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString programFolder()
{
    return withTrailingSeparator(QCoreApplication::applicationDirPath());
}

QString applicationFolder(const QString& dataFolder)
{
    return dataFolder + QStringLiteral("Norv") + QDir::separator() +
           QStringLiteral("VembraNavigator") + QDir::separator();
}

} // namespace vembra::folders
