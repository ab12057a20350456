#include "app/dm/data_module.h"
#include "app/startup.h"
#include "platform/settings/registry_settings.h"
#include "platform/sqlite/sqlite_database.h"
#include "tests/support/app_folder.h"
#include "tests/support/locale_guard.h"
#include "tests/support/window_fixture.h"
#include "tests/support/work_files.h"
#include "ui/main_unit.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QSysInfo>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

// A main window on its own settings file and data module, with message boxes captured; each
// test opens it when its folder and settings are ready.
class MainWindowTest : public test::WindowTest {
protected:
    void SetUp() override
    {
        withDemo = false;
        openAtSetUp = false;
        test::WindowTest::SetUp();
    }
    void writeSetting(const char* section, const char* name, const char* value)
    {
        RegistrySettings file(settingsFile());
        file.writeString(s(section), s(name), s(value));
        file.flush();
    }
};

TEST_F(MainWindowTest, RightPanelHoldsEveryControlWithItsCaption)
{
    T_frmMain& w = open();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(s("\n")).toStdString();
    EXPECT_EQ(w.windowTitle(), s("The Vembra navigator"));
    EXPECT_EQ(w.ClientWidth(), 1007);
    EXPECT_EQ(w.ClientHeight(), 710);
    const char* names[] = {"PB1",
                           "Panel1",
                           "Panel3",
                           "cb_WorkDB",
                           "btn_WordDatabase",
                           "grp_DeviceNode",
                           "Label1",
                           "box_NodeSelect",
                           "Label5",
                           "st_VembraID",
                           "Label2",
                           "box_DevSelect",
                           "Label4",
                           "box_CurrDevice",
                           "DelayOfDevice",
                           "grp_Pretender",
                           "Label3",
                           "ed_Measured",
                           "btn_DelayUp",
                           "btn_DelayDown",
                           "sb_Delay",
                           "Label8",
                           "ed_Delta",
                           "btn_ToleranceUp",
                           "btn_ToleranceDown",
                           "sb_Tolerance",
                           "btnGetCPDDevices",
                           "sg_Pretender",
                           "st_Total",
                           "Panel2",
                           "grp_IVexel",
                           "Label6",
                           "cb_IVexelList",
                           "cb_ShowAllIVexel",
                           "st_IVexelText",
                           "grp_FVexel",
                           "Label7",
                           "cb_FVexelList",
                           "cb_ShowAllFVexel",
                           "st_FVexelText",
                           "Panel5",
                           "btn_ExportData",
                           "btn_SetBGColor",
                           "btn_Print",
                           "btn_Settings"};
    for (const char* name : names)
        EXPECT_NE(w.findChild<QWidget*>(s(name)), nullptr) << name;

    const struct {
        QWidget* widget;
        QRect geometry;
    } places[] = {
        {w.Panel1, QRect(793, 0, 214, 710)},         {w.Panel3, QRect(5, 5, 204, 33)},
        {w.cb_WorkDB, QRect(6, 6, 148, 21)},         {w.grp_DeviceNode, QRect(5, 38, 204, 151)},
        {w.box_NodeSelect, QRect(6, 30, 132, 22)},   {w.st_VembraID, QRect(138, 30, 60, 22)},
        {w.box_DevSelect, QRect(6, 68, 192, 21)},    {w.DelayOfDevice, QRect(6, 127, 192, 18)},
        {w.ed_Measured, QRect(6, 31, 78, 21)},       {w.sb_Delay, QRect(7, 52, 77, 10)},
        {w.ed_Delta, QRect(102, 31, 80, 21)},        {w.sb_Tolerance, QRect(103, 52, 79, 10)},
        {w.btnGetCPDDevices, QRect(6, 68, 191, 28)}, {w.btn_Print, QRect(102, 1, 51, 34)},
    };
    for (const auto& p : places)
        EXPECT_EQ(p.widget->geometry(), p.geometry) << p.widget->objectName().toStdString();

    EXPECT_EQ(w.Label1->text(), s("1. Select NODE"));
    EXPECT_EQ(w.Label3->text(), s("4. Delay (µs):"));
    EXPECT_EQ(w.Label8->text(), s("Tolerance (± µs):"));
    EXPECT_EQ(w.grp_DeviceNode->title(), s(" Node and connection point "));
    EXPECT_EQ(w.grp_Pretender->title(), s(" Enter measured delay "));
    EXPECT_EQ(w.btnGetCPDDevices->text(), s("5. Get CPD candidates"));
    EXPECT_EQ(w.btnGetCPDDevices->toolTip(), s("Search CPD candidates"));
    EXPECT_EQ(w.btn_ExportData->toolTip(), s("Export data into database"));
    EXPECT_EQ(w.btn_SetBGColor->toolTip(), s("Map background color"));
    EXPECT_EQ(w.box_DevSelect->count(), 10);
    EXPECT_EQ(w.box_DevSelect->itemText(9), s("SHOW ALL DEVICES"));
    EXPECT_EQ(w.ed_Measured->maxLength(), 5);
    EXPECT_EQ(w.ed_Delta->maxLength(), 4);
    EXPECT_EQ(w.sb_Delay->maximum(), 5000);
    EXPECT_EQ(w.sb_Tolerance->maximum(), 40);
    EXPECT_EQ(w.sg_Pretender->item(0, 0)->text(), s("Device ID"));
    EXPECT_EQ(w.sg_Pretender->item(0, 1)->text(), s("Delay (µs)"));
    // The entry group is 480 high without probe groups: a grid of 361 pixels, 21 rows.
    EXPECT_EQ(w.sg_Pretender->rowCount(), 21);

    // Both probe groups hidden: the tool buttons stand directly under the entry group.
    EXPECT_TRUE(w.grp_IVexel->isHidden());
    EXPECT_TRUE(w.grp_FVexel->isHidden());
    EXPECT_EQ(w.Panel2->geometry(), QRect(5, 669, 204, 36));
    EXPECT_EQ(w.grp_Pretender->geometry(), QRect(5, 189, 204, 480));
    EXPECT_EQ(w.st_Total->geometry(), QRect(2, 461, 200, 17));

    const QList<QAction*> options = w.PM->actions();
    ASSERT_EQ(options.size(), 6);
    EXPECT_EQ(options[4]->isSeparator(), true);
    EXPECT_EQ(options[5]->text(), s("Invert mouse"));
    EXPECT_EQ(w.act_NodeSelect->shortcut(), QKeySequence(s("Ctrl+O")));
}

TEST_F(MainWindowTest, StartsWithDatabasesListedAndNothingChosen)
{
    test::prepareApplicationFolder();
    QFile::copy(test::applicationFolder() + s("_data.mdb"),
                test::applicationFolder() + s("net1.mdb"));
    T_frmMain& w = open();
    QStringList listed;
    for (int i = 0; i < w.cb_WorkDB->count(); ++i)
        listed << w.cb_WorkDB->itemText(i);
    listed.sort();
    EXPECT_EQ(listed, QStringList({s("_data.mdb"), s("net1.mdb")}));
    EXPECT_EQ(w.cb_WorkDB->currentIndex(), -1);
    EXPECT_EQ(w.box_NodeSelect->count(), 0);
    EXPECT_TRUE(DM->T1.isOpen());
    EXPECT_TRUE(DM->T2.isOpen());
    EXPECT_EQ(DM->localDataSource(), TDM::defaultDatabasePath(AppDataDir));
    EXPECT_FALSE(QFile::exists(test::applicationFolder() + s("data~.mdb")));
    w.AL1Update();
    EXPECT_FALSE(w.grp_Pretender->isEnabled());
    EXPECT_FALSE(w.btn_Print->isEnabled());
    EXPECT_DOUBLE_EQ(w.FStep, 0.01);
    EXPECT_DOUBLE_EQ(w.FDelayMax, 50.0);
    EXPECT_DOUBLE_EQ(w.FToleranceMax, 0.4);
    EXPECT_EQ(w.FPinPicture.width(), 67);
    EXPECT_EQ(w.FPinPicture.height(), 72);
}

TEST_F(MainWindowTest, FailingStepIsReportedAndTheWindowStillOpens)
{
    QFile::remove(test::applicationFolder() + s("_data.pdb"));
    T_frmMain& w = open();
    ASSERT_EQ(errors.size(), 1) << errors.join(s("\n")).toStdString();
    EXPECT_TRUE(errors.first().contains(s("_data.pdb"))) << errors.first().toStdString();
    EXPECT_TRUE(w.isVisible());
    // The steps after the failing one still ran.
    EXPECT_DOUBLE_EQ(w.FToleranceMax, 0.4);
    EXPECT_GT(w.cb_WorkDB->count(), 0);
}

TEST_F(MainWindowTest, MissingDefaultDatabaseIsReportedAndTheWindowStillOpens)
{
    QFile::remove(test::applicationFolder() + s("_data.mdb"));
    T_frmMain& w = open();
    ASSERT_EQ(errors.size(), 1) << errors.join(s("\n")).toStdString();
    EXPECT_TRUE(errors.first().contains(s("_data.mdb"))) << errors.first().toStdString();
    EXPECT_FALSE(QFile::exists(test::applicationFolder() + s("_data.mdb")));
    EXPECT_TRUE(w.isVisible());
}

TEST_F(MainWindowTest, FirstRunShowsTheDefaults)
{
    T_frmMain& w = open();
    EXPECT_EQ(w.ed_Measured->text(), s("0.01"));
    EXPECT_EQ(w.ed_Delta->text(), s("0.01"));
    EXPECT_TRUE(w.pmi_ShowMarker->isChecked());
    EXPECT_TRUE(w.pmi_ShowLine->isChecked());
    EXPECT_FALSE(w.pmi_DarkLine->isChecked());
    EXPECT_FALSE(w.pmi_Transparent->isChecked());
    EXPECT_FALSE(w.pmi_InvertMouse->isChecked());
    EXPECT_EQ(w.client()->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Disabled, QPalette::Text));
}

TEST_F(MainWindowTest, SettingsOfOneRunComeBackInTheNext)
{
    writeSetting("Values", "Measured", "20.00");
    writeSetting("Values", "Tolerance", "0.30");
    writeSetting("Settings", "DarkLine", "2");
    writeSetting("Settings", "ShowMarker", "yes");
    writeSetting("Settings", "MapBGColor", "16711680");
    T_frmMain& w = open();
    EXPECT_EQ(w.ed_Measured->text(), s("20.00"));
    EXPECT_EQ(w.ed_Delta->text(), s("0.30"));
    EXPECT_EQ(w.sb_Delay->value(), 2000);
    EXPECT_EQ(w.sb_Tolerance->value(), 30);
    EXPECT_EQ(w.ed_Delta->palette().color(QPalette::Base), QColor(200, 255, 200));
    EXPECT_TRUE(w.pmi_DarkLine->isChecked());
    EXPECT_TRUE(w.pmi_ShowMarker->isChecked());
    EXPECT_EQ(w.client()->palette().color(QPalette::Window), QColor(0, 0, 255));

    w.pmi_InvertMouse->setChecked(true);
    w.sb_Delay->setValue(1000);
    w.close();
    RegistrySettings file(settingsFile());
    EXPECT_EQ(file.readString(s("Values"), s("Measured")), s("10.00"));
    EXPECT_EQ(file.readString(s("Values"), s("Tolerance")), s("0.15"));
    EXPECT_EQ(file.readString(s("Settings"), s("InvertMouse")), s("1"));
    EXPECT_EQ(file.readString(s("Settings"), s("MapBGColor")), s("16711680"));
}

TEST_F(MainWindowTest, SettingsOfAnotherTypeAreReported)
{
    {
        QSettings raw(settingsFile(), QSettings::IniFormat);
        raw.setValue(s("Values/Measured"), QRect(0, 0, 1, 1));
    }
    open();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.first(), s("Invalid data type for 'Measured'"));
}

TEST_F(MainWindowTest, EndOfSessionSavesNothing)
{
    T_frmMain& w = open();
    EXPECT_TRUE(w.HandleQueryEndSession());
    w.close();
    EXPECT_FALSE(RegistrySettings(settingsFile()).readString(s("Values"), s("Measured")));
}

TEST_F(MainWindowTest, ResizingKeepsThePanelRightAndGivesTheEntryGroupTheHeight)
{
    T_frmMain& w = open();
    const int nodeGroupHeight = w.grp_DeviceNode->height();
    const int pretender = w.grp_Pretender->height();
    w.resize(w.width() + 193, w.height() + 90);
    QApplication::processEvents();
    EXPECT_EQ(w.ClientWidth(), 1200);
    EXPECT_EQ(w.Panel1->geometry(), QRect(1200 - 214, 0, 214, 800));
    EXPECT_EQ(w.grp_DeviceNode->height(), nodeGroupHeight);
    EXPECT_EQ(w.grp_Pretender->height(), pretender + 90);
    EXPECT_EQ(w.Panel2->geometry().bottom(), 800 - 5 - 1);
    EXPECT_EQ(w.sg_Pretender->height(), w.grp_Pretender->height() - 68 - 28 - 17 - 6);
}

TEST_F(MainWindowTest, ProbeGroupsStackAboveTheToolButtons)
{
    T_frmMain& w = open();
    w.grp_IVexel->show();
    w.grp_FVexel->show();
    w.layoutPanel();
    EXPECT_EQ(w.Panel2->geometry(), QRect(5, 529, 204, 176));
    EXPECT_EQ(w.grp_IVexel->geometry(), QRect(0, 0, 204, 70));
    EXPECT_EQ(w.grp_FVexel->geometry(), QRect(0, 70, 204, 70));
    EXPECT_EQ(w.Panel5->geometry(), QRect(0, 140, 204, 36));
    EXPECT_EQ(w.grp_Pretender->geometry(), QRect(5, 189, 204, 340));
    w.FitCandidateGrid();
    EXPECT_EQ(w.sg_Pretender->height(), 221);
    EXPECT_EQ(w.sg_Pretender->rowCount(), 12);

    w.grp_IVexel->hide();
    w.layoutPanel();
    EXPECT_EQ(w.grp_FVexel->geometry(), QRect(0, 0, 204, 70));
    EXPECT_EQ(w.grp_Pretender->height(), 410);
}

TEST_F(MainWindowTest, AboutItemEndsTheWindowMenuAfterASeparator)
{
    T_frmMain& w = open();
    const QList<QAction*> items = w.windowMenu->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_TRUE(items[items.size() - 2]->isSeparator());
    EXPECT_EQ(items.last()->text(), s("About..."));
    int opened = 0;
    w.aboutBoxOpener = [&](QWidget* owner) {
        EXPECT_EQ(owner, &w);
        ++opened;
    };
    items.last()->trigger();
    w.HandleSysCommand(1024);
    EXPECT_EQ(opened, 1);
}

} // namespace

namespace {

TEST_F(MainWindowTest, AnotherRunningInstanceKeepsTheDefaultDatabaseInPlace)
{
    const QString path = test::applicationFolder() + s("_data.mdb");
    {
        sqlite::Database db(path.toStdString());
        db.exec("insert into tbl_node (id, node, connectno, map) values (1, 'N', 1, "
                "zeroblob(400000))");
        db.exec("delete from tbl_node");
    }
    const qint64 before = QFileInfo(path).size();
    // Another instance holds the default database: this one does not replace the file.
    QLockFile other(test::applicationFolder() + s("_data.mdb.lock"));
    ASSERT_TRUE(other.tryLock(0));
    open();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(s("\n")).toStdString();
    EXPECT_TRUE(DM->T1.isOpen());
    EXPECT_EQ(QFileInfo(path).size(), before);
    window.reset();
    other.unlock();
    // A lock left behind by an instance that is gone does not stop the compaction.
    test::writeAll(test::applicationFolder() + s("_data.mdb.lock"),
                   "2147480000\nvembra-navigator\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    open();
    EXPECT_LT(QFileInfo(path).size(), before);
}

} // namespace
