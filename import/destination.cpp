#include "import/destination.h"

#include "app/dm/data_module.h"
#include "localdb/local_statements.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <stdexcept>

namespace vembra {

namespace {

// The hourglass while the components are pointed elsewhere, in a program with a screen.
class BusyCursor {
public:
    BusyCursor()
    {
        m_shown = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        if (m_shown)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyCursor()
    {
        if (m_shown)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_shown = false;
};

} // namespace

QString destinationPath(const QString& appFolder, const QString& dbName)
{
    return appFolder + dbName + QStringLiteral(".mdb");
}

QString destinationExistsQuestion(const QString& path)
{
    return QStringLiteral("File\n\r") + path + QStringLiteral("\n\rexists.\n\n\r") +
           QStringLiteral("change the available file on new?");
}

DestinationOutcome PrepareDestination(TDM& dm, const QString& dbName, const QString& appFolder,
                                      const QString& exeDir,
                                      const std::function<bool(const QString&)>& askReuse)
{
    if (dbName.isEmpty())
        return DestinationOutcome::Unchanged;
    const QString path = destinationPath(appFolder, dbName);
    if (QFileInfo::exists(path)) {
        if (!askReuse(destinationExistsQuestion(path)))
            return DestinationOutcome::Unchanged;
    } else {
        const QString templatePath = exeDir + QStringLiteral("srcres.dat");
        QFile source(templatePath);
        if (!source.copy(path))
            throw std::runtime_error("Cannot create the working database " +
                                     QDir::toNativeSeparators(path).toStdString() +
                                     " from the template " +
                                     QDir::toNativeSeparators(templatePath).toStdString() + ": " +
                                     source.errorString().toStdString());
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::ReadOther);
    }
    BusyCursor busy;
    dm.pointLocalComponentsAt(path);
    return DestinationOutcome::Pointed;
}

void clearDestination(TDM& dm)
{
    dm.Cmd1.setCommandText(QString::fromLatin1(statements::kDeleteAllNodes));
    dm.Cmd1.execute();
}

} // namespace vembra
