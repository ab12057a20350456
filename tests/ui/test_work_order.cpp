#include "app/dm/data_module.h"
#include "platform/settings/registry_settings.h"
#include "print/wait_message.h"
#include "print/work_order.h"
#include "tests/support/app_folder.h"
#include "tests/support/locale_guard.h"
#include "tests/support/window_fixture.h"
#include "ui/main_unit.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/paint_box.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// The printed page of a node of the demo database, as PDF, text and picture.
class WorkOrderTest : public test::WindowTest {
protected:
    void SetUp() override
    {
        test::WindowTest::SetUp();
        openDatabase(s("demo.mdb"));
        w().pdfFileChooser = [this] { return pdf(); };
    }
    QString pdf() const { return out.filePath(s("order.pdf")); }
    void choose(const char* node, const char* delay, const char* tolerance)
    {
        w().box_NodeSelect->setCurrentIndex(w().box_NodeSelect->findText(s(node)));
        w().box_NodeSelectChange();
        w().ed_Measured->setText(s(delay));
        w().ed_Delta->setText(s(tolerance));
        w().SearchCandidates();
    }
    QString pdfText()
    {
        QProcess tool;
        tool.start(s("pdftotext"), {s("-layout"), pdf(), s("-")});
        EXPECT_TRUE(tool.waitForFinished(30000));
        return QString::fromUtf8(tool.readAllStandardOutput());
    }
    QImage pdfPicture(int dpi)
    {
        QProcess tool;
        tool.start(s("pdftoppm"), {s("-r"), QString::number(dpi), s("-png"), s("-singlefile"),
                                   pdf(), out.filePath(s("page"))});
        EXPECT_TRUE(tool.waitForFinished(60000));
        return QImage(out.filePath(s("page.png")));
    }

    QTemporaryDir out;
};

TEST_F(WorkOrderTest, TableHoldsTheNodeTheDelaysAndTheCandidates)
{
    choose("Узел Северный-3", "2.50", "0.25");
    const std::vector<std::int32_t> listed = listedCandidates(Node.NodeDevices);
    ASSERT_GT(listed.size(), 0u);
    w().SaveWorkOrderPdf();
    ASSERT_TRUE(errors.isEmpty()) << errors.join(s("\n")).toStdString();
    EXPECT_EQ(frm_WaitMsg, nullptr);
    const QString text = pdfText();
    for (const QString& expected :
         {s("Work order"), s("Current Node: Узел Северный-3"), s("Date: "),
          s("Connection point: FN1"), s("Measured time delay: 2.50 µs"), s("Tolerance: ± 0.25 µs"),
          s("Device ID"), s("Delay (µs)"), s("Date Assigned"), s("Tech #"),
          s("List of CPD candidates: %1").arg(listed.size())})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n"
                                             << text.toStdString();
    const QString cpd =
        s("CPD delay: ") + QString::number(Node.FiberNode.Delay + 2.5, 'f', 2) + s(" µs");
    EXPECT_TRUE(text.contains(cpd)) << cpd.toStdString();
    for (std::size_t n = 0; n < listed.size() && n < 10; ++n) {
        const auto& d = Node.NodeDevices[std::size_t(listed[n])];
        EXPECT_TRUE(text.contains(d.Code + s(" "))) << d.Code.toStdString();
        EXPECT_TRUE(text.contains(QString::number(d.Delay, 'f', 5)));
    }
    if (listed.size() > 10) {
        const auto& eleventh = Node.NodeDevices[std::size_t(listed[10])];
        EXPECT_FALSE(text.contains(QString::number(eleventh.Delay, 'f', 5)));
    }
}

TEST_F(WorkOrderTest, ProbeDeviceThatIsACandidateIsNeitherListedNorCounted)
{
    choose("Узел Северный-3", "2.50", "0.25");
    std::vector<std::int32_t> listed = listedCandidates(Node.NodeDevices);
    ASSERT_GE(listed.size(), 2u);
    Node.NodeDevices[std::size_t(listed[0])].Mark = 3;
    const QString hidden = Node.NodeDevices[std::size_t(listed[0])].Code;
    w().SaveWorkOrderPdf();
    const QString text = pdfText();
    EXPECT_TRUE(text.contains(s("List of CPD candidates: %1").arg(listed.size() - 1)));
    EXPECT_FALSE(text.contains(hidden + s(" ")));
}

TEST_F(WorkOrderTest, NoCandidatesGivesTheBareListTitleAndNoLogoStillPrints)
{
    QFile::rename(ExeDir + s("Rsvmb.bmp"), ExeDir + s("Rsvmb.bmp.away"));
    choose("Harbour West", "49.00", "0.01");
    w().SaveWorkOrderPdf();
    QFile::rename(ExeDir + s("Rsvmb.bmp.away"), ExeDir + s("Rsvmb.bmp"));
    ASSERT_TRUE(errors.isEmpty()) << errors.join(s("\n")).toStdString();
    const QString text = pdfText();
    EXPECT_TRUE(text.contains(s("List of CPD candidates"))) << text.toStdString();
    EXPECT_FALSE(text.contains(s("List of CPD candidates:")));
}

TEST_F(WorkOrderTest, FlagOfACandidateStandsOnItsDeviceOnPaper)
{
    choose("Узел Северный-3", "2.50", "0.25");
    w().pmi_ShowLine->setChecked(false);
    const std::vector<std::int32_t> listed = listedCandidates(Node.NodeDevices);
    ASSERT_FALSE(listed.empty());
    // Centre the view on the first candidate so its flag is surely on the page.
    w().CenterOnDevice(Node.NodeDevices[std::size_t(listed[0])].Code);
    w().SaveWorkOrderPdf();
    const int dpi = 100;
    const QImage page = pdfPicture(dpi);
    ASSERT_FALSE(page.isNull());
    // Where the device lands on paper: paint-box pixels x k, from the printable area's corner.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(300);
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Inch);
    const double printable = paint.width() * dpi;
    const double k = printable / w().frameGeometry().width();
    const auto& m = Node.NodeDevices[std::size_t(listed[0])].MapData;
    const QPointF device =
        (QPointF(w().PB1->pos()) + QPointF(m.ScreenX, m.ScreenY)) * k + paint.topLeft() * dpi;
    // The flag's pennant fills the upper half of the staff, right of it: red (or fuchsia).
    const double staff = m.ScreenSize * k;
    int flagged = 0;
    for (int dy = int(staff * 0.6); dy < int(staff * 0.9); ++dy) {
        for (int dx = 1; dx < int(staff / 6); ++dx) {
            const QColor c = page.pixelColor(int(device.x()) + dx, int(device.y()) - dy);
            flagged += c.red() > 200 && c.green() < 80;
        }
    }
    EXPECT_GT(flagged, 5) << "no flag at " << device.x() << ", " << device.y();
}

TEST_F(WorkOrderTest, WaitWindowIsGoneAfterAFailingPrint)
{
    choose("Riverside FN-7", "1.00", "0.10");
    w().pdfFileChooser = [] { return s("/nonexistent-folder/order.pdf"); };
    runReported(&w(), [this] { w().SaveWorkOrderPdf(); });
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(frm_WaitMsg, nullptr);
}

TEST(WorkOrderScale, PrinterPixelsPerScreenPixel)
{
    const double k = workOrderScale(4800, 1015);
    EXPECT_NEAR(k, 4.73, 0.01);
    EXPECT_EQ(printedPinSize(k), QSize(253, 272));
}

} // namespace

namespace {

TEST_F(WorkOrderTest, FrameAndTableLinesStandWhereThePageLayoutPutsThem)
{
    choose("Riverside FN-7", "1.00", "0.10");
    w().SaveWorkOrderPdf();
    // At the work order's own 300 pixels per inch a page pixel is a printer pixel.
    const QImage page = pdfPicture(300);
    ASSERT_FALSE(page.isNull());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(300);
    const QRect area = printer.pageLayout().paintRectPixels(300);
    const int L = area.left();
    const int R = area.left() + area.width();
    const int B = area.top() + area.height();
    const int Tt = B - 1080;
    const int colW = (R - L) / 6;
    const int x0 = L + 2 * colW;
    const auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 100; };
    // Row lines of the list every 90 pixels, the frame's bottom edge at the table's top.
    for (int n = 0; n <= 12; ++n) {
        const int y = Tt + 90 * n;
        EXPECT_TRUE(dark(x0 + colW / 2, y) || dark(x0 + colW / 2, y - 1) ||
                    dark(x0 + colW / 2, y + 1))
            << "row line " << n;
    }
    // Vertical lines: the left edge, the block's edge and the list columns.
    for (const int x : {L, x0, x0 + colW, x0 + 2 * colW, x0 + 3 * colW})
        EXPECT_TRUE(dark(x, Tt + 135) || dark(x + 1, Tt + 135) || dark(x - 1, Tt + 135)) << x;
    // The frame's left edge runs down from the top band.
    EXPECT_TRUE(dark(L, area.top() + 400) || dark(L + 1, area.top() + 400));
    // Between two row lines inside an empty column it is white.
    EXPECT_FALSE(dark(x0 + 2 * colW + colW / 2, Tt + 90 * 6 + 45));
}

} // namespace
