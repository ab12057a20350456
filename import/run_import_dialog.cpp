#include "import/import_dialog.h"

#include <QPointer>

namespace vembra {

int runImportDialog(QWidget* owner, const ImportHost& host)
{
    // One dialog for the life of its owner, shown again for every import.
    static QPointer<Tfrm_Export> dialog;
    if (!dialog)
        dialog = new Tfrm_Export(host, owner);
    return dialog->exec();
}

} // namespace vembra
