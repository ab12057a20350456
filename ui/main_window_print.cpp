// The work order: printing the current view, and saving the same page as PDF.
#include "ui/main_window.h"

#include "print/wait_message.h"
#include "print/work_order.h"
#include "ui/main_unit.h"
#include "ui/message_boxes.h"
#include "ui/paint_box.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QThread>

namespace vembra {

WorkOrderInput T_frmMain::workOrderInput() const
{
    WorkOrderInput in;
    in.map = &FMap;
    in.mapLoaded = FMapLoaded;
    in.pictureSize = QSize(FMap.width(), FMap.height());
    in.paintBoxOrigin = PB1->pos();
    in.mapArea = QSize(ClientWidth() - Panel1->width(), ClientHeight());
    in.windowOuterWidth = frameGeometry().width();
    in.devices = &Node.NodeDevices;
    in.options = overlayOptions();
    in.view = OverlayView{FCurrentIndex, FView.FFocusedIndex, FView.FZoom};
    in.pin = &FPinPicture;
    in.currentDevice = QPointF(Node.CurrentDevice.X, Node.CurrentDevice.Y);
    in.hasCurrentDevice =
        FCurrentIndex >= 0 && std::size_t(FCurrentIndex) < Node.NodeDevices.size();
    in.nodeName = box_NodeSelect->currentText();
    in.fiberNode = Node.FiberNode;
    in.measuredDelay = FMeasuredDelay;
    in.tolerance = FTolerance;
    in.printedAt = QDateTime::currentDateTime();
    in.logoPath = ExeDir + QStringLiteral("Rsvmb.bmp");
    return in;
}

void T_frmMain::act_PrintCurrentExecute()
{
    PrintCurrentView();
}

namespace {

// Closes the wait window on every way out.
struct WaitWindow {
    explicit WaitWindow(const QString& text) { ShowWaitMessage(true, text); }
    ~WaitWindow() { HideWaitMessage(); }
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;
};

// The page's pixel constants (rows of 90, a table of 1080) suit a page of 300 pixels per inch.
constexpr int kWorkOrderDpi = 300;

const QString kPrinting = QStringLiteral("Printing current view Work Order. Please, wait...");

} // namespace

void T_frmMain::PrintCurrentView()
{
    if (box_NodeSelect->currentIndex() < 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    const bool confirmed = printerChooser ? printerChooser(printer) : [&] {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    }();
    if (!confirmed)
        return;
    QThread::msleep(100);
    WaitWindow wait(kPrinting);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setResolution(kWorkOrderDpi);
    printWorkOrder(printer, workOrderInput());
}

void T_frmMain::SaveWorkOrderPdf()
{
    if (box_NodeSelect->currentIndex() < 0)
        return;
    const QString file =
        pdfFileChooser
            ? pdfFileChooser()
            : QFileDialog::getSaveFileName(this, QStringLiteral("Save work order as PDF"),
                                           QString(), QStringLiteral("PDF (*.pdf)"));
    if (file.isEmpty())
        return;
    WaitWindow wait(kPrinting);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setResolution(kWorkOrderDpi);
    printWorkOrder(printer, workOrderInput());
}

} // namespace vembra
