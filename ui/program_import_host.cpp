#include "ui/program_import_host.h"

#include "app/dm/data_module.h"
#include "ui/main_unit.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QPointer>

namespace vembra {

ImportHost programImportHost(QWidget* owner)
{
    ImportHost host;
    host.dm = DM;
    host.appFolder = applicationFolderPath();
    host.exeDir = ExeDir;
    host.workDBName = &WorkDBName;
    host.hasIVexel = &HasIVexel;
    host.hasFVexel = &HasFVexel;
    QPointer<T_frmMain> window(qobject_cast<T_frmMain*>(owner));
    host.showIVexelGroup = [window](bool visible) {
        if (!window)
            return;
        window->grp_IVexel->setVisible(visible);
        // The panel makes room for the group, and the grid follows.
        window->layoutPanel();
        window->FitCandidateGrid();
    };
    host.error = [](QWidget* parent, const QString& text) { showError(parent, text); };
    host.confirm = [](QWidget* parent, const QString& text) {
        return askConfirmation(parent, text);
    };
    host.information = [](QWidget* parent, const QString& text) { showInformation(parent, text); };
    host.openFile = [](QWidget* parent, const QString& filter) {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter, nullptr,
                                            QFileDialog::ReadOnly);
    };
    return host;
}

} // namespace vembra
