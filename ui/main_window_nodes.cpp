// The node list, the node choice, forgetting the loaded node, and opening a working database.
#include "ui/main_window.h"

#include "app/dm/data_module.h"
#include "localdb/table_fields.h"
#include "model/map_loading.h"
#include "platform/zlib/zlib_inflate.h"
#include "ui/main_unit.h"
#include "ui/message_boxes.h"
#include "ui/paint_box.h"
#include "ui/wait_cursor.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace vembra {

void T_frmMain::RefreshNodeList()
{
    box_NodeSelect->clear();
    box_CurrDevice->clear();
    cb_IVexelList->clear();
    cb_FVexelList->clear();
    NodeList.clear();
    readNodeList(DM->AQ1, DM->aQ2, HasFVexelColumn, [this](const TNodeListEntry& entry) {
        NodeList.push_back(entry);
        HasIVexel = entry.IVexelProbes;
        HasFVexel = HasFVexelColumn && entry.FVexelProbes;
        box_NodeSelect->addItem(entry.FullName);
    });
    box_NodeSelect->setCurrentIndex(-1);
    Label1->setText(nodeListLabel(box_NodeSelect->count()));
    Label1->adjustSize();
}

void T_frmMain::ClearNodeView()
{
    ClearCandidateGrid();
    ClearProbeTexts();
    DelayOfDevice->clear();
    clearNodeDevices(Node);
    FMapLoaded = false;
    FCurrentIndex = -1;
}

void T_frmMain::box_NodeSelectChange()
{
    WaitCursor cursor;
    FMapLoaded = false;
    FCenterOnCandidate = false;
    ClearCandidateGrid();
    ClearProbeTexts();
    FNodeId = NodeIdByName(NodeList, box_NodeSelect->currentText());
    // A new node has no current device until one is chosen for it.
    FCurrentIndex = -1;

    NodeMapResult map;
    try {
        map = LoadNodeMap(DM->AQ1, FNodeId, FMap);
    } catch (...) {
        // The previous node's model and lists do not stay on screen under the new choice.
        ClearNodeView();
        box_CurrDevice->clear();
        cb_IVexelList->clear();
        cb_FVexelList->clear();
        grp_IVexel->hide();
        grp_FVexel->hide();
        layoutPanel();
        FitCandidateGrid();
        st_VembraID->clear();
        PB1->update();
        throw;
    }
    FIdSize = map.idSize;
    FMapLoaded = map.mapLoaded;
    FMapNotDefined = !FMapLoaded;
    FMapWidth = FMapLoaded ? FMap.naturalSize().width() : 0;
    FMapHeight = FMapLoaded ? FMap.naturalSize().height() : 0;

    LoadNodeDevices(Node, DM->AQ1, FNodeId, MapGeometry{FMapWidth, FMapHeight, FIdSize},
                    HasFVexelColumn);
    HasIVexel = FillIVexelList() > 0;
    grp_IVexel->setVisible(HasIVexel);
    HasFVexel = FillFVexelList() > 0;
    grp_FVexel->setVisible(HasFVexel);
    layoutPanel();
    FitCandidateGrid();
    st_VembraID->setText(ConnectNoOfNode(NodeList, FNodeId));
    box_DevSelect->setCurrentIndex(0);
    FillDeviceList(QStringLiteral("FN"));
    if (box_CurrDevice->count() > 0)
        box_CurrDevice->setCurrentIndex(0);

    FView.FZoom = 0;
    // A node whose map did not load has no size to scale: its lists fill, the view stays empty.
    if (FMapLoaded && FMapWidth > 0 && FMapHeight > 0 && FIdSize > 0) {
        FStartZoom = 20.0 / (std::hypot(double(FMapWidth), double(FMapHeight)) * FIdSize);
        ZoomIn(FStartZoom);
    } else {
        FStartZoom = 0;
        RescaleDevices();
    }
    SelectCurrentDevice(box_CurrDevice->currentIndex() >= 0 ? box_CurrDevice->currentText()
                                                            : QString());
    if (ed_Measured->isEnabled() && ed_Measured->isVisible())
        ed_Measured->setFocus();
    PB1->update();
}

void T_frmMain::btn_WordDatabaseClick()
{
    if (cb_WorkDB->currentIndex() < 0)
        return;
    const QString name = cb_WorkDB->currentText();
    const QString path = applicationFolderPath() + name;
    if (!QFileInfo::exists(path)) {
        showError(this, QStringLiteral("File\n\r") + QDir::toNativeSeparators(path) +
                            QStringLiteral("\n\rnot found."));
        return;
    }
    WaitCursor cursor;
    const QString previous = DM->localDataSource();
    try {
        DM->pointLocalComponentsAt(path);
    } catch (...) {
        // The window keeps showing the database the components point at: the previous one.
        try {
            DM->pointLocalComponentsAt(previous);
        } catch (...) {
        }
        throw;
    }
    ClearNodeView();
    PB1->update();
    HasFVexelColumn = TableHasField(DM->T2, QString::fromLatin1(kFVexelColumn));
    RefreshNodeList();
    WorkDBName = name;
    setWindowTitle(QStringLiteral("The Vembra navigator - ") + name);
}

} // namespace vembra
