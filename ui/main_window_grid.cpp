// The candidate grid: its drawing, the fitted last column and the click on a candidate.
#include "ui/main_window.h"

#include "model/candidate_search.h"
#include "ui/candidate_grid_delegate.h"
#include "ui/main_unit.h"
#include "ui/paint_box.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>

namespace vembra {

// The window watches every event of the program (see eventFilter), the grid's clicks included.
void T_frmMain::setUpCandidateGrid()
{
    auto* delegate = new CandidateGridDelegate(sg_Pretender);
    delegate->iVexelIcon = &IVexelIcon;
    delegate->fVexelIcon = &FVexelIcon;
    delegate->probeIconFor = [this](const QString& code) {
        if (!FFVexelPicked && CandidateUnderIVexel(Node.NodeDevices, HasIVexel, code))
            return 1;
        if (FFVexelPicked && CandidateUnderFVexel(Node.NodeDevices, HasFVexel, code))
            return 2;
        return 0;
    };
    sg_Pretender->setItemDelegate(delegate);
}

void T_frmMain::fitLastColumn()
{
    int width = sg_Pretender->width() - sg_Pretender->columnWidth(0) - 2;
    const int visibleRows =
        sg_Pretender->height() / sg_Pretender->verticalHeader()->defaultSectionSize() - 1;
    if (visibleRows < sg_Pretender->rowCount() - 1)
        width -= QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    sg_Pretender->setColumnWidth(1, std::max(0, width));
}

void T_frmMain::sg_PretenderMouseUp(const QMouseEvent* e)
{
    const QModelIndex cell = sg_Pretender->indexAt(e->position().toPoint());
    if (!cell.isValid() || cell.row() <= 0)
        return;
    const QTableWidgetItem* item = sg_Pretender->item(cell.row(), 0);
    if (!item || item->text().isEmpty())
        return;
    FCenterOnCandidate = true;
    CenterOnDevice(item->text());
    PB1->update();
    if (ed_Measured->isEnabled() && ed_Measured->isVisible())
        ed_Measured->setFocus();
}

} // namespace vembra
