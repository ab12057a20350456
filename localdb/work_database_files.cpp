#include "localdb/work_database_files.h"

#include <QDirIterator>
#include <QFileInfo>

namespace vembra {

QStringList workDatabaseFiles(const QString& folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && name.mid(dot) == QLatin1String(".mdb"))
            names << name;
    }
    return names;
}

} // namespace vembra
