// The import dialog driven through its handlers, as a user would use it.
#include "import/import_dialog.h"
#include "platform/settings/registry_settings.h"
#include "platform/sqlite/sqlite_database.h"
#include "tests/import/import_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace vembra;
using namespace vembra::test;

namespace {

QStringList items(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

class ImportDialog : public ImportTest {
protected:
    void SetUp() override
    {
        ImportTest::SetUp();
        RegistrySettings settings;
        settings.remove(QStringLiteral("Export"), QStringLiteral("HistoryIP"));
        settings.remove(QStringLiteral("Export"), QStringLiteral("History"));
        settings.flush();
        dialog = std::make_unique<Tfrm_Export>(host());
    }
    void TearDown() override
    {
        dialog.reset();
        ImportTest::TearDown();
    }
    // Shows the dialog without a modal loop (FormShow runs).
    void show()
    {
        dialog->show();
        QApplication::processEvents();
    }
    void fillSource(const QStringList& names)
    {
        dialog->SrcList->addItems(names);
        dialog->UpdateMoveButtons();
    }
    // A source file with a companion settings database, chosen through the file dialog.
    QString chooseFileSource(const std::vector<sample::SystemNode>& nodes)
    {
        const QString source = writeFileSource(dir.path(), {}, nodes, QStringLiteral("city.norv"));
        sample::writeSettingsDatabase(
            (dir.path() + QStringLiteral("/citySettings.norv")).toStdString(), systemLogin(),
            {{0, sample::serverSettingsBlob(false, true)}});
        fileToPick = source;
        dialog->Edit1->setText(QString());
        dialog->SpeedButton2Click();
        return source;
    }

    std::unique_ptr<Tfrm_Export> dialog;
};

TEST_F(ImportDialog, CloseReturnsOkAndTheCloseBoxCancel)
{
    QTimer::singleShot(0, dialog.get(), [this] { dialog->SpeedButton1->click(); });
    EXPECT_EQ(dialog->exec(), kModalOk);
    QTimer::singleShot(0, dialog.get(), [this] { dialog->close(); });
    EXPECT_EQ(dialog->exec(), kModalCancel);
    QTimer::singleShot(0, dialog.get(), [this] {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &esc);
        dialog->SpeedButton1->click();
    });
    EXPECT_EQ(dialog->exec(), kModalOk) << "Esc does not close the dialog";
}

TEST_F(ImportDialog, ControlsCarryTheirCaptionsAndStartDisabled)
{
    show();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Export from database"));
    EXPECT_EQ(dialog->objectName(), QStringLiteral("frm_Export"));
    EXPECT_EQ(dialog->size(), QSize(557, 265));
    EXPECT_EQ(dialog->GroupBox1->title(), QStringLiteral(" Source database "));
    EXPECT_EQ(dialog->GroupBox2->title(), QStringLiteral(" Export settings "));
    EXPECT_EQ(dialog->SpeedButton1->text(), QStringLiteral("Close"));
    EXPECT_EQ(dialog->btn_StartExport->text(), QStringLiteral("Start export"));
    EXPECT_EQ(dialog->Edit1->toolTip(), QStringLiteral("IP address of remote server"));
    EXPECT_EQ(dialog->SrcList->toolTip(), QStringLiteral("Full node list"));
    EXPECT_EQ(dialog->DstList->toolTip(), QStringLiteral("Node to export"));
    EXPECT_EQ(dialog->box_ClearDestination->text(), QStringLiteral("Clear local database"));
    for (const QWidget* w : {static_cast<QWidget*>(dialog->btn_LeftToRight),
                             static_cast<QWidget*>(dialog->btn_LeftToRightAll),
                             static_cast<QWidget*>(dialog->btn_RightToLeft),
                             static_cast<QWidget*>(dialog->btn_RightToLeftAll),
                             static_cast<QWidget*>(dialog->btn_StartExport)})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(dialog->findChild<QListWidget*>(QStringLiteral("SrcList")), dialog->SrcList);
}

TEST_F(ImportDialog, HistoryHasItsDefaultsAndIsSavedOnClose)
{
    show();
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("c:\\database\\"));
    EXPECT_EQ(dialog->ed_DBFileName->text(), QString()) << "a path ending in a separator";
    dialog->Edit1->setText(QStringLiteral("10.1.2.3"));
    dialog->Edit2->setText(QStringLiteral("/srv/data/base.norv"));
    EXPECT_EQ(dialog->ed_DBFileName->text(), QStringLiteral("base"));
    dialog->SpeedButton1Click();
    show();
    EXPECT_EQ(dialog->Edit1->text(), QStringLiteral("10.1.2.3"));
    EXPECT_EQ(dialog->Edit2->text(), QStringLiteral("/srv/data/base.norv"));
    EXPECT_EQ(dialog->ed_DBFileName->text(), QStringLiteral("base"));
    dialog->Edit1->clear();
    dialog->reject();
    const RegistrySettings settings;
    EXPECT_EQ(settings.readString(QStringLiteral("Export"), QStringLiteral("HistoryIP")),
              QStringLiteral("10.1.2.3"))
        << "an empty field keeps the stored value";
}

TEST_F(ImportDialog, ClearLocalDatabaseIsTickedAtEveryShowing)
{
    for (int i = 0; i < 2; ++i) {
        show();
        EXPECT_TRUE(dialog->box_ClearDestination->isChecked());
        dialog->box_ClearDestination->setChecked(false);
        dialog->SpeedButton1Click();
    }
}

TEST_F(ImportDialog, MovingTheSecondAndFourthOfFiveReversesThem)
{
    show();
    fillSource({"n1", "n2", "n3", "n4", "n5"});
    EXPECT_TRUE(dialog->btn_LeftToRight->isEnabled());
    dialog->SrcList->item(1)->setSelected(true);
    dialog->SrcList->item(3)->setSelected(true);
    dialog->btn_LeftToRight->click();
    EXPECT_EQ(items(dialog->DstList), QStringList({"n4", "n2"}));
    EXPECT_EQ(items(dialog->SrcList), QStringList({"n1", "n3", "n5"}));
    EXPECT_TRUE(dialog->SrcList->item(1)->isSelected());
    EXPECT_EQ(Tfrm_Export::FirstSelectedIndex(dialog->SrcList), 1);
    EXPECT_TRUE(dialog->btn_StartExport->isEnabled());
    EXPECT_TRUE(dialog->btn_RightToLeft->isEnabled());
}

TEST_F(ImportDialog, MovingWithNothingSelectedSelectsTheFirst)
{
    show();
    fillSource({"n1", "n2"});
    dialog->btn_LeftToRightClick();
    EXPECT_EQ(dialog->DstList->count(), 0);
    EXPECT_EQ(Tfrm_Export::FirstSelectedIndex(dialog->SrcList), 0);
    EXPECT_FALSE(dialog->btn_StartExport->isEnabled());
}

TEST_F(ImportDialog, MovingTheLastItemOutDisablesItsButtons)
{
    show();
    fillSource({"only"});
    dialog->SrcList->item(0)->setSelected(true);
    dialog->btn_LeftToRightClick();
    EXPECT_EQ(dialog->SrcList->count(), 0);
    EXPECT_FALSE(dialog->btn_LeftToRight->isEnabled());
    EXPECT_FALSE(dialog->btn_LeftToRightAll->isEnabled());
    dialog->DstList->item(0)->setSelected(true);
    dialog->btn_RightToLeftClick();
    EXPECT_EQ(items(dialog->SrcList), QStringList({"only"}));
    EXPECT_FALSE(dialog->btn_RightToLeft->isEnabled());
    EXPECT_FALSE(dialog->btn_StartExport->isEnabled());
}

TEST_F(ImportDialog, AllMovesNeedACurrentItemAndAppendInOrder)
{
    show();
    fillSource({"a", "b", "c"});
    dialog->btn_LeftToRightAllClick();
    EXPECT_EQ(dialog->DstList->count(), 0) << "no current item: nothing moves";
    dialog->SrcList->setCurrentRow(2);
    dialog->btn_LeftToRightAllClick();
    EXPECT_EQ(items(dialog->DstList), QStringList({"a", "b", "c"}));
    dialog->SrcList->addItem(QStringLiteral("z"));
    dialog->btn_RightToLeftAllClick();
    EXPECT_EQ(items(dialog->SrcList), QStringList({"z", "a", "b", "c"}));
    EXPECT_EQ(dialog->DstList->count(), 0);
    EXPECT_FALSE(dialog->btn_StartExport->isEnabled());
}

TEST_F(ImportDialog, ALocalFileIsImportedIntoANewWorkingDatabase)
{
    show();
    const auto nodes = smallNodes({12, 5, 9});
    const QString source = chooseFileSource(nodes);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dialog->Edit2->text(), source);
    EXPECT_EQ(dialog->FSourceName, source);
    EXPECT_EQ(dialog->ed_DBFileName->text(), QStringLiteral("city"));
    EXPECT_EQ(dialog->Status1->text(), QStringLiteral("Database connected OK"));
    EXPECT_EQ(dialog->Status2->text(), QStringLiteral("DataSet open OK"));
    EXPECT_EQ(items(dialog->SrcList).size(), 3);
    EXPECT_FALSE(hasIVexel);
    EXPECT_TRUE(hasFVexel);
    EXPECT_EQ(iVexelGroupShown, 0);

    dialog->SrcList->setCurrentRow(0);
    dialog->btn_LeftToRightAllClick();
    dialog->btn_StartExportClick();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(informations, QStringList({QStringLiteral("Export data from database complete.")}));
    EXPECT_EQ(dialog->result(), kModalOk);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(workDBName, QStringLiteral("city.mdb"));
    EXPECT_EQ(dm.localDataSource(), appFolder + QStringLiteral("city.mdb"));
    EXPECT_FALSE(dm.T1.isOpen()) << "the tables are closed after the transfer";
    const auto local = readLocalNodes(appFolder + QStringLiteral("city.mdb"));
    ASSERT_EQ(local.size(), 3u);
    EXPECT_EQ(local[0].name, nodes[0].fullName);
    EXPECT_EQ(local[0].devices.size(), 12u);
    EXPECT_TRUE(dialog->GroupBox1->isEnabled());
    EXPECT_TRUE(dialog->Panel1->isEnabled());
    // The last node of the list was nodes[0] (vembraid runs against the ids).
    EXPECT_EQ(dialog->Label5->text(), nodes[0].fullName);
    EXPECT_EQ(dialog->Progress1->maximum(), 12);
    EXPECT_EQ(dialog->Progress1->value(), 12);
}

TEST_F(ImportDialog, AnEmptyNameWritesIntoTheOpenDatabaseAfterClearingIt)
{
    {
        sqlite::Database db((appFolder + QStringLiteral("_data.mdb")).toStdString());
        db.exec("insert into tbl_node (id, node, connectno) values (999, 'old', 1);"
                "insert into tbl_deviceinfo (id, node_id, code) values (1, 999, 'TP1')");
    }
    show();
    const auto nodes = smallNodes({4, 4});
    chooseFileSource(nodes);
    dialog->ed_DBFileName->clear();
    dialog->SrcList->item(1)->setSelected(true);
    const QString picked = dialog->SrcList->item(1)->text();
    dialog->btn_LeftToRightClick();
    dialog->btn_StartExportClick();
    EXPECT_EQ(workDBName, QStringLiteral("_data.mdb"));
    const auto local = readLocalNodes(appFolder + QStringLiteral("_data.mdb"));
    ASSERT_EQ(local.size(), 1u);
    EXPECT_EQ(local[0].name, picked);
    EXPECT_EQ(picked, nodes[0].fullName) << "vembraid lists the nodes against their ids";
}

struct EscCase {
    const char* name;
    bool yes;
};

void PrintTo(const EscCase& c, std::ostream* os)
{
    *os << c.name;
}

class ImportDialogEsc : public ImportDialog, public ::testing::WithParamInterface<EscCase> {};

TEST_P(ImportDialogEsc, EscAsksWhetherToBreakOff)
{
    show();
    const auto nodes = smallNodes({30, 8});
    chooseFileSource(nodes);
    dialog->SrcList->setCurrentRow(0);
    dialog->btn_LeftToRightAllClick();
    answers = {GetParam().yes};
    QCoreApplication::postEvent(dialog->DstList,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    dialog->btn_StartExportClick();
    ASSERT_EQ(questions,
              QStringList({QStringLiteral("Break performing the procedure of export into "
                                          "database?")}));
    const auto local = readLocalNodes(appFolder + QStringLiteral("city.mdb"));
    if (GetParam().yes) {
        EXPECT_TRUE(informations.isEmpty());
        EXPECT_NE(dialog->result(), kModalOk);
        EXPECT_EQ(items(dialog->DstList).size(), 2) << "the lists are left as they were";
        EXPECT_TRUE(local.empty()) << "the broken node is rolled back";
        EXPECT_TRUE(dialog->btn_StartExport->isEnabled());
        EXPECT_TRUE(dialog->GroupBox1->isEnabled());
    } else {
        EXPECT_EQ(informations.size(), 1);
        EXPECT_EQ(dialog->result(), kModalOk);
        ASSERT_EQ(local.size(), 2u);
        EXPECT_EQ(local[0].devices.size(), 30u);
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ImportDialogEsc,
                         ::testing::Values(EscCase{"Yes", true}, EscCase{"No", false}),
                         [](const auto& tp) { return std::string(tp.param.name); });

TEST_F(ImportDialog, AServerSourceIsImportedThroughTheRewrittenPath)
{
    requireServer();
    // The Linux rewrite names /Vembraimporttest/DEMO.NORV; that folder leads to the server's.
    const QString link = QStringLiteral("/Vembraimporttest");
    QFile::remove(link);
    ASSERT_TRUE(QFile::link(QDir(serverDataFolder()).absolutePath(), link))
        << "cannot create " << link.toStdString();
    struct RemoveOnExit {
        QString path;
        ~RemoveOnExit() { QFile::remove(path); }
    } removeLink{link};
    const auto nodes = smallNodes({6, 7});
    writeServedSource({}, nodes, QStringLiteral("DEMO.NORV"));
    show();
    dialog->Edit1->setText(firebirdServer());
    dialog->Edit2->setText(QStringLiteral("c:\\vembraimporttest\\demo.norv"));
    dialog->SpeedButton2Click();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dialog->ServerPlatform, kPlatformLinux);
    EXPECT_TRUE(dialog->Label6->text().startsWith(
        QStringLiteral("Remote server: Platform: Linux, version: ")));
    EXPECT_EQ(dialog->FSourceName,
              firebirdServer() + QStringLiteral(":/Vembraimporttest/DEMO.NORV"));
    EXPECT_EQ(items(dialog->SrcList).size(), 2);
    EXPECT_EQ(dialog->ed_DBFileName->text(), QStringLiteral("demo"));
    dialog->SrcList->setCurrentRow(0);
    dialog->btn_LeftToRightAllClick();
    dialog->btn_StartExportClick();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dialog->result(), kModalOk);
    const auto local = readLocalNodes(appFolder + QStringLiteral("demo.mdb"));
    ASSERT_EQ(local.size(), 2u);
    EXPECT_EQ(local[1].devices.size(), 6u + 1u) << "vembraid order lists the second node first";
}

TEST_F(ImportDialog, AnUnreachableServerEndsTheChainWithItsError)
{
    show();
    dialog->Edit1->setText(QStringLiteral("127.0.0.1/1"));
    dialog->SpeedButton2Click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(dialog->Label6->text().isEmpty());
    EXPECT_EQ(dialog->ServerPlatform, kPlatformNone);
    EXPECT_EQ(dialog->SrcList->count(), 0);
    EXPECT_TRUE(dialog->FSourceName.isEmpty());
}

TEST_F(ImportDialog, ACancelledFileDialogOpensThePathField)
{
    show();
    dialog->Edit1->setText(QStringLiteral("LocalHost"));
    fileToPick.clear();
    dialog->SpeedButton2Click();
    EXPECT_EQ(dialog->FSourceName, QStringLiteral("c:\\database\\"));
    ASSERT_EQ(errors.size(), 1) << "the client's error for the missing file";
    EXPECT_TRUE(dialog->Status1->text().isEmpty());
    EXPECT_EQ(dialog->SrcList->count(), 0);
}

} // namespace
