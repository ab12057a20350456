#include "app/dm/data_module.h"
#include "model/candidate_search.h"
#include "platform/settings/registry_settings.h"
#include "platform/sqlite/sqlite_database.h"
#include "tests/support/app_folder.h"
#include "tests/support/locale_guard.h"
#include "tests/support/window_fixture.h"
#include "tests/support/work_files.h"
#include "ui/main_unit.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/paint_box.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// A main window with the demo database in its application folder.
using NodeFlowTest = test::WindowTest;

TEST_F(NodeFlowTest, OpeningADatabaseListsItsNodesInConnectionOrder)
{
    openDatabase(s("demo.mdb"));
    ASSERT_TRUE(errors.isEmpty()) << errors.join(s("\n")).toStdString();
    EXPECT_EQ(w().windowTitle(), s("The Vembra navigator - demo.mdb"));
    EXPECT_EQ(WorkDBName, s("demo.mdb"));
    EXPECT_EQ(w().Label1->text(), s("1. Select NODE [7]"));
    EXPECT_EQ(w().box_NodeSelect->currentIndex(), -1);
    ASSERT_EQ(NodeList.size(), 7u);
    for (std::size_t i = 1; i < NodeList.size(); ++i)
        EXPECT_LE(NodeList[i - 1].ConnectNo, NodeList[i].ConnectNo);
    EXPECT_TRUE(HasFVexelColumn);
}

TEST_F(NodeFlowTest, OpenButtonWithNothingChosenDoesNothing)
{
    const QString before = DM->localDataSource();
    w().cb_WorkDB->setCurrentIndex(-1);
    w().btn_WordDatabaseClick();
    EXPECT_EQ(DM->localDataSource(), before);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(NodeFlowTest, FileDeletedAfterListingGivesTheExactMessage)
{
    QFile::copy(test::applicationFolder() + s("demo.mdb"),
                test::applicationFolder() + s("gone.mdb"));
    w().ListWorkDatabases(test::applicationFolder());
    w().cb_WorkDB->setCurrentIndex(w().cb_WorkDB->findText(s("gone.mdb")));
    QFile::remove(test::applicationFolder() + s("gone.mdb"));
    w().btn_WordDatabaseClick();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.first(),
              s("File\n\r") + QDir::toNativeSeparators(test::applicationFolder() + s("gone.mdb")) +
                  s("\n\rnot found."));
}

TEST_F(NodeFlowTest, AFileThatIsNoWorkingDatabaseKeepsThePreviousOneOpen)
{
    openDatabase(s("demo.mdb"));
    test::writeAll(test::applicationFolder() + s("junk.mdb"), QByteArray(3000, 'j'));
    w().ListWorkDatabases(test::applicationFolder());
    openDatabase(s("junk.mdb"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains(s("not a database"))) << errors.first().toStdString();
    // The components and the list on screen still belong to the demo database.
    EXPECT_TRUE(DM->localDataSource().endsWith(s("demo.mdb")));
    EXPECT_EQ(w().box_NodeSelect->count(), 7);
    EXPECT_EQ(w().windowTitle(), s("The Vembra navigator - demo.mdb"));
    chooseNode(s("Riverside FN-7"));
    EXPECT_TRUE(w().FMapLoaded);
}

TEST_F(NodeFlowTest, ChoosingANodeLoadsItsMapListsAndFiberNode)
{
    openDatabase(s("demo.mdb"));
    chooseNode(s("Узел Северный-3"));
    ASSERT_TRUE(errors.isEmpty()) << errors.join(s("\n")).toStdString();
    EXPECT_TRUE(w().FMapLoaded);
    EXPECT_EQ(w().FMapWidth, 1600);
    EXPECT_EQ(w().FMapHeight, 1200);
    // Diagonal 2000, idsize 0.005: marker 12.5, radius 12, starting scale 2.0.
    EXPECT_DOUBLE_EQ(Node.MarkerSize, 12.5);
    EXPECT_EQ(Node.NodeDevices.front().MapData.Radius, 12);
    EXPECT_DOUBLE_EQ(w().FView.FZoom, 2.0);
    EXPECT_EQ(w().PB1->size(), QSize(3200, 2400));
    EXPECT_EQ(w().st_VembraID->text(), s("103"));
    EXPECT_EQ(w().box_DevSelect->currentIndex(), 0);
    ASSERT_GT(w().box_CurrDevice->count(), 0);
    EXPECT_EQ(w().box_CurrDevice->currentText(), s("FN1"));
    ASSERT_GE(w().FCurrentIndex, 0);
    EXPECT_EQ(Node.NodeDevices[std::size_t(w().FCurrentIndex)].Code, s("FN1"));
    EXPECT_TRUE(w().DelayOfDevice->text().startsWith(s("Device delay: ")));
    EXPECT_TRUE(w().DelayOfDevice->text().endsWith(s(" µs")));
    EXPECT_EQ(w().grp_IVexel->isHidden(), w().cb_IVexelList->count() == 0);
    // The view is centred on the fiber node.
    const auto& fn = Node.NodeDevices[std::size_t(w().FCurrentIndex)];
    const QPoint fnOnClient =
        w().PB1->pos() + QPoint(int(fn.MapData.ScreenX), int(fn.MapData.ScreenY));
    EXPECT_NEAR(fnOnClient.x(), (w().ClientWidth() - 214) / 2, 1);
    EXPECT_NEAR(fnOnClient.y(), w().ClientHeight() / 2, 1);
}

TEST_F(NodeFlowTest, SearchFillsTheGridInDeviceOrder)
{
    openDatabase(s("demo.mdb"));
    chooseNode(s("Узел Заречный-1"));
    w().ed_Measured->setText(s("2.00"));
    w().ed_Delta->setText(s("0.30"));
    runReported(&w(), [this] { w().SearchCandidates(); });
    ASSERT_TRUE(errors.isEmpty()) << errors.join(s("\n")).toStdString();
    std::vector<std::int32_t> expected;
    for (std::size_t i = 0; i < Node.NodeDevices.size(); ++i) {
        if (Node.NodeDevices[i].Candidate)
            expected.push_back(std::int32_t(i));
    }
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(w().st_Total->text(), s("Total device: %1").arg(expected.size()));
    EXPECT_GE(w().sg_Pretender->rowCount(), int(expected.size()) + 1);
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const auto& d = Node.NodeDevices[std::size_t(expected[k])];
        EXPECT_EQ(w().sg_Pretender->item(int(k) + 1, 0)->text(), d.Code);
        EXPECT_EQ(w().sg_Pretender->item(int(k) + 1, 1)->text(), QString::number(d.Delay, 'f', 5));
    }
    // A click on a candidate centres the map on it and makes it the focused device.
    const QRect cell = w().sg_Pretender->visualRect(w().sg_Pretender->model()->index(1, 0));
    QTest::mouseClick(w().sg_Pretender->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(w().FCenterOnCandidate);
    EXPECT_EQ(w().FView.FFocusedIndex, expected.front());
}

TEST_F(NodeFlowTest, EmptyToleranceBecomes005)
{
    openDatabase(s("demo.mdb"));
    chooseNode(s("Riverside FN-7"));
    w().ed_Measured->setText(s("1.00"));
    w().ed_Delta->clear();
    w().SearchCandidates();
    EXPECT_EQ(w().ed_Delta->text(), s("0.05"));
    EXPECT_TRUE(w().st_Total->text().startsWith(s("Total device: ")));
    // The field cleans what it is given: a second separator goes, the text is rewritten.
    w().ed_Measured->setText(s("1.."));
    EXPECT_EQ(w().ed_Measured->text(), s("1.00"));
}

TEST_F(NodeFlowTest, NodeWithoutAMapFillsItsListsAndShowsNothing)
{
    openDatabase(s("demo.mdb"));
    chooseNode(s("Old Town (map lost)"));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_FALSE(w().FMapLoaded);
    EXPECT_GT(w().box_CurrDevice->count(), 0);
    EXPECT_EQ(w().FCurrentIndex, -1);
    w().ed_Measured->setText(s("1.00"));
    w().SearchCandidates();
    ASSERT_EQ(errors.size(), 1); // no current device: nothing to search from
    EXPECT_TRUE(w().st_Total->text().isEmpty());
}

TEST_F(NodeFlowTest, BrokenMapShowsZlibsTextAndClearsThePreviousNode)
{
    openDatabase(s("demo.mdb"));
    chooseNode(s("Riverside FN-7"));
    ASSERT_GT(w().box_CurrDevice->count(), 0);
    chooseNode(s("Broken map"));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.first(), s("data error"));
    EXPECT_EQ(w().box_CurrDevice->count(), 0);
    EXPECT_TRUE(Node.NodeDevices.empty());
    EXPECT_FALSE(w().FMapLoaded);
}

TEST_F(NodeFlowTest, KeysAndWheelZoomAndResizeMarkers)
{
    openDatabase(s("demo.mdb"));
    chooseNode(s("Узел Северный-3"));
    QWidget* target = w().client();
    QTest::keyClick(target, Qt::Key_Q);
    EXPECT_DOUBLE_EQ(w().FView.FZoom, 12.0);
    QTest::keyClick(target, Qt::Key_A);
    EXPECT_DOUBLE_EQ(w().FView.FZoom, 2.0);
    QTest::keyClick(target, Qt::Key_A);
    EXPECT_DOUBLE_EQ(w().FView.FZoom, 2.0);
    QTest::keyClick(target, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(w().FView.FZoom, 2.0);
    QTest::keyClick(target, Qt::Key_Q, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(w().FView.FZoom, 12.0);
    QTest::keyClick(target, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(w().FView.FZoom, 2.0);
    // Ctrl + keypad minus shrinks the markers; the main keyboard's minus does not.
    QTest::keyClick(target, Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(Node.MarkerSize, 11.5);
    QTest::keyClick(target, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Node.MarkerSize, 11.5);

    QWheelEvent towards(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
                        Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &towards);
    EXPECT_DOUBLE_EQ(w().FView.FZoom, 3.0);
    w().pmi_InvertMouse->setChecked(true);
    QApplication::sendEvent(target, &towards);
    EXPECT_DOUBLE_EQ(w().FView.FZoom, 2.0);
}

TEST_F(NodeFlowTest, HotKeyListHasItsExactLineBreaks)
{
    EXPECT_EQ(T_frmMain::hotKeyText(),
              s("Program hot keys list:\n\n\rDigital + (Q) - set map zoom plus\n\r"
                "Digital - (A) - set map zoom minus\n\n\rCtrl + increment visual map element "
                "size\n\rCtrl - decrement visual map element size\n\n\rCtrl + P - print "
                "current graph position\n\r"));
}

TEST_F(NodeFlowTest, DelayEntryDerivesTheToleranceAndClamps)
{
    // The entry group is enabled once a node and a device type are chosen.
    EXPECT_FALSE(w().grp_Pretender->isEnabled());
    openDatabase(s("demo.mdb"));
    chooseNode(s("Riverside FN-7"));
    w().AL1Update();
    ASSERT_TRUE(w().grp_Pretender->isEnabled());
    w().ed_Measured->setFocus();
    w().ed_Measured->clear();
    QTest::keyClicks(w().ed_Measured, s("20"));
    EXPECT_DOUBLE_EQ(w().FMeasuredDelay, 20.0);
    w().ed_MeasuredExit();
    EXPECT_EQ(w().ed_Measured->text(), s("20.00"));
    EXPECT_EQ(w().ed_Delta->text(), s("0.25"));
    EXPECT_EQ(w().sb_Tolerance->value(), 25);
    EXPECT_EQ(w().ed_Delta->palette().color(QPalette::Base), QColor(200, 255, 200));

    w().ed_Measured->clear();
    QTest::keyClicks(w().ed_Measured, s("75"));
    EXPECT_EQ(w().ed_Measured->text(), s("50.00"));
    EXPECT_DOUBLE_EQ(w().FMeasuredDelay, 50.0);

    w().ed_Measured->clear();
    QTest::keyClicks(w().ed_Measured, s("1,2,x5"));
    EXPECT_EQ(w().ed_Measured->text(), s("1.25"));

    w().ed_Delta->clear();
    QTest::keyClicks(w().ed_Delta, s(".5"));
    EXPECT_EQ(w().ed_Delta->text(), s("0.40"));

    // A delay of 40 derives 0.40, not 0.45; the arrow steps stop at their limits.
    w().DeriveTolerance(40);
    EXPECT_EQ(w().ed_Delta->text(), s("0.40"));
    w().FMeasuredDelay = 49.99;
    w().DelayUpTick();
    w().DelayUpTick();
    EXPECT_EQ(w().ed_Measured->text(), s("50.00"));
    w().ToleranceUpTick(); // at its limit already: nothing changes
    EXPECT_EQ(w().ed_Delta->palette().color(QPalette::Base), QColor(200, 255, 200));
    w().ToleranceDownTick();
    EXPECT_EQ(w().ed_Delta->text(), s("0.39"));
    EXPECT_NE(w().ed_Delta->palette().color(QPalette::Base), QColor(200, 255, 200));
}

} // namespace

namespace {

TEST_F(NodeFlowTest, ExportQuestionAndDialogResultDecideWhatChanges)
{
    int dialogs = 0;
    bool answer = false;
    messageBoxes().confirm = [&](QWidget*, const QString& text) {
        EXPECT_EQ(text, s("Export data from database?"));
        return answer;
    };
    int result = 2;
    w().importDialogRunner = [&](QWidget*) {
        ++dialogs;
        // The import points the components at its destination and names it.
        DM->pointLocalComponentsAt(test::applicationFolder() + s("demo.mdb"));
        WorkDBName = s("demo.mdb");
        return result;
    };
    w().btn_ExportDataClick();
    EXPECT_EQ(dialogs, 0); // "No" opens no dialog

    answer = true;
    w().btn_ExportDataClick(); // the dialog closed without OK: nothing changes
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(w().box_NodeSelect->count(), 0);
    EXPECT_EQ(w().windowTitle(), s("The Vembra navigator"));

    result = 1;
    w().btn_ExportDataClick();
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(w().box_NodeSelect->count(), 7);
    EXPECT_EQ(w().windowTitle(), s("The Vembra navigator - demo.mdb"));
    EXPECT_EQ(w().cb_WorkDB->currentText(), s("demo.mdb"));
}

TEST_F(NodeFlowTest, BackgroundColourDialogCancelKeepsTheColour)
{
    const QColor before = w().client()->palette().color(QPalette::Window);
    w().colourChooser = [] { return std::optional<QColor>(); };
    w().ChooseMapBackground();
    EXPECT_EQ(w().client()->palette().color(QPalette::Window), before);
    w().colourChooser = [] { return std::optional<QColor>(QColor(0, 0, 255)); };
    w().ChooseMapBackground();
    EXPECT_EQ(w().client()->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(w().FMapBGColor, 0x00FF0000);
}

TEST_F(NodeFlowTest, DatabaseWithoutTheFVexelColumnReadsNoFVexelIds)
{
    const QString path = test::applicationFolder() + s("old.mdb");
    QFile::copy(test::applicationFolder() + s("demo.mdb"), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    {
        sqlite::Database db(path.toStdString());
        db.exec("alter table tbl_deviceinfo drop column FVexelID");
    }
    w().ListWorkDatabases(test::applicationFolder());
    openDatabase(s("old.mdb"));
    ASSERT_TRUE(errors.isEmpty()) << errors.join(s("\n")).toStdString();
    EXPECT_FALSE(HasFVexelColumn);
    for (const auto& entry : NodeList)
        EXPECT_FALSE(entry.FVexelProbes);
    chooseNode(s("Узел Заречный-1"));
    for (const auto& d : Node.NodeDevices)
        EXPECT_EQ(d.FVexelId, 0);
    EXPECT_TRUE(w().grp_FVexel->isHidden());
}

} // namespace

namespace {

TEST_F(NodeFlowTest, DraggingMovesTheMapAndAResizeCentresItAgain)
{
    openDatabase(s("demo.mdb"));
    chooseNode(s("Узел Северный-3"));
    const QPoint before = w().PB1->pos();
    QTest::mousePress(w().PB1, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(140, 75), QPointF(140, 75), QPointF(), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w().PB1, &move);
    QTest::mouseRelease(w().PB1, Qt::LeftButton, {}, QPoint(140, 75));
    EXPECT_EQ(w().PB1->pos(), before + QPoint(40, -25));
    EXPECT_EQ(w().FDragging, 0);
    // A zoom keeps the dragged-to point in the middle of the map area.
    const QPointF centre((w().ClientWidth() - 214) / 2, w().ClientHeight() / 2);
    const QPointF onPicture = (centre - QPointF(w().PB1->pos())) / w().FView.FZoom;
    w().ZoomIn(1);
    const QPointF after = QPointF(w().PB1->pos()) + onPicture * w().FView.FZoom;
    EXPECT_NEAR(after.x(), centre.x(), 2.0);
    EXPECT_NEAR(after.y(), centre.y(), 2.0);
    // A resize puts the current device back in the middle.
    w().resize(w().width() + 20, w().height());
    QApplication::processEvents();
    const auto& fn = Node.NodeDevices[std::size_t(w().FCurrentIndex)].MapData;
    EXPECT_NEAR(w().PB1->x() + fn.ScreenX, (w().ClientWidth() - 214) / 2, 1.0);
}

TEST_F(NodeFlowTest, AfterAGridClickAResizeCentresOnTheCandidate)
{
    openDatabase(s("demo.mdb"));
    chooseNode(s("Узел Заречный-1"));
    w().ed_Measured->setText(s("2.00"));
    w().ed_Delta->setText(s("0.30"));
    w().SearchCandidates();
    ASSERT_NE(w().sg_Pretender->item(2, 0), nullptr);
    const QRect cell = w().sg_Pretender->visualRect(w().sg_Pretender->model()->index(2, 0));
    QTest::mouseClick(w().sg_Pretender->viewport(), Qt::LeftButton, {}, cell.center());
    const QString code = w().sg_Pretender->item(2, 0)->text();
    w().PB1->move(w().PB1->pos() + QPoint(300, 200)); // as if dragged away
    w().resize(w().width(), w().height() + 30);
    QApplication::processEvents();
    std::size_t index = 0;
    while (Node.NodeDevices[index].Code != code)
        ++index;
    const auto& m = Node.NodeDevices[index].MapData;
    EXPECT_NEAR(w().PB1->x() + m.ScreenX, (w().ClientWidth() - 214) / 2, 1.0);
    EXPECT_NEAR(w().PB1->y() + m.ScreenY, w().ClientHeight() / 2, 1.0);
}

} // namespace
