// The working databases: the list of the application folder and the compaction of the default.
#include "ui/main_window.h"

#include "app/dm/data_module.h"
#include "localdb/compaction.h"
#include "localdb/table_fields.h"
#include "localdb/work_database_files.h"
#include "ui/main_unit.h"
#include "ui/message_boxes.h"
#include "ui/paint_box.h"
#include "ui/wait_cursor.h"

#include <QComboBox>
#include <QDir>
#include <QLockFile>
#include <QThread>

#include <exception>

namespace vembra {

void T_frmMain::ListWorkDatabases(const QString& folder)
{
    cb_WorkDB->clear();
    if (!QDir::setCurrent(folder))
        return;
    cb_WorkDB->addItems(workDatabaseFiles(folder));
    cb_WorkDB->setCurrentIndex(-1);
}

bool T_frmMain::ownsDefaultDatabase()
{
    // The first running instance holds the lock for its whole life; another instance has the
    // default database open and must not have the file replaced under it.
    if (!m_defaultDatabaseLock) {
        // A lock left by an instance that ended without unlocking names a process that is gone:
        // it counts as stale and is taken over.
        m_defaultDatabaseLock =
            std::make_unique<QLockFile>(applicationFolderPath() + QStringLiteral("_data.mdb.lock"));
    }
    return m_defaultDatabaseLock->isLocked() || m_defaultDatabaseLock->tryLock(0);
}

void T_frmMain::CompactLocalDatabase(bool showResult)
{
    WaitCursor cursor;
    bool done = false;
    std::exception_ptr failure;
    try {
        DM->T1.close();
        DM->T2.close();
        // Every component lets go of the file before it is replaced.
        DM->releaseLocalFiles();
        const QString folder = applicationFolderPath();
        if (ownsDefaultDatabase()) {
            compactWorkingDatabase(folder + QStringLiteral("_data.mdb"),
                                   folder + QStringLiteral("data~.mdb"));
            done = true;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    QThread::msleep(200);
    // The tables open on whatever file they point at; when that fails too, its error is the
    // one reported.
    DM->T1.open();
    DM->T2.open();
    if (failure)
        std::rethrow_exception(failure);
    if (done && showResult)
        showInformation(this, QStringLiteral("Database compress operation succesfull."));
}

void T_frmMain::btn_ExportDataClick()
{
    if (!askConfirmation(this, QStringLiteral("Export data from database?")))
        return;
    if (!importDialogRunner || importDialogRunner(this) != 1)
        return;
    DM->T1.open();
    DM->T2.open();
    ClearNodeView();
    PB1->update();
    HasFVexelColumn = TableHasField(DM->T2, QString::fromLatin1(kFVexelColumn));
    RefreshNodeList();
    setWindowTitle(QStringLiteral("The Vembra navigator - ") + WorkDBName);
    ListWorkDatabases(applicationFolderPath());
    cb_WorkDB->setCurrentIndex(cb_WorkDB->findText(WorkDBName));
}

} // namespace vembra
