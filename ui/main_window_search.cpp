// The candidate search and the filling and emptying of the candidate grid.
#include "ui/main_window.h"

#include "app/settings/decimal_text.h"
#include "model/candidate_search.h"
#include "ui/main_unit.h"
#include "ui/message_boxes.h"
#include "ui/paint_box.h"
#include "ui/wait_cursor.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace vembra {

namespace {
constexpr int kGridRowHeight = 16;

void setCell(QTableWidget* grid, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = grid->item(row, column))
        item->setText(text);
    else
        grid->setItem(row, column, new QTableWidgetItem(text));
}

} // namespace

void T_frmMain::ClearCandidateGrid()
{
    for (int row = 1; row < sg_Pretender->rowCount(); ++row) {
        for (int column = 0; column < sg_Pretender->columnCount(); ++column)
            delete sg_Pretender->takeItem(row, column);
    }
    sg_Pretender->setRowCount(std::max(1, sg_Pretender->height() / kGridRowHeight - 1));
    sg_Pretender->clearSelection();
    fitLastColumn();
    st_Total->clear();
}

void T_frmMain::ClearCandidates()
{
    ClearCandidateGrid();
    ClearCandidateMarks(Node.NodeDevices);
}

void T_frmMain::btnGetCPDDevicesClick()
{
    SearchCandidates();
}

void T_frmMain::SearchCandidates()
{
    WaitCursor cursor;
    const QString measuredText = ed_Measured->text().trimmed();
    if (measuredText.isEmpty())
        return;
    // Without a current device chosen for this node there is no delay to start from.
    if (FCurrentIndex < 0 || std::size_t(FCurrentIndex) >= Node.NodeDevices.size()) {
        showError(this, QStringLiteral("Select the current device first (3. Select current "
                                       "device ID)."));
        return;
    }
    double tolerance = 0.05;
    if (ed_Delta->text().isEmpty())
        ed_Delta->setText(QStringLiteral("0") + localeDecimalSeparator() + QStringLiteral("05"));
    else
        tolerance = textToFloat(ed_Delta->text().trimmed());
    const double measured = textToFloat(measuredText);

    ClearCandidateGrid();
    st_Total->setText(QStringLiteral("Searching..."));
    const std::vector<std::int32_t> found = vembra::SearchCandidates(
        Node.NodeDevices, FCurrentIndex, candidateWindow(FCurrentDelay, measured, tolerance));
    int count = 0;
    for (const std::int32_t index : found) {
        ++count;
        if (count >= sg_Pretender->rowCount())
            sg_Pretender->setRowCount(count + 1);
        const auto& d = Node.NodeDevices[std::size_t(index)];
        setCell(sg_Pretender, count, 0, d.Code);
        setCell(sg_Pretender, count, 1, formatFixed5(d.Delay));
    }
    fitLastColumn();
    st_Total->setText(QStringLiteral("Total device: %1").arg(count));
    PB1->update();
}

} // namespace vembra
