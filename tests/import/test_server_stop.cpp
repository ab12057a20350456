// A server that stops in the middle of a transfer: whole nodes only, and a dialog that goes on.
#include "import/import_dialog.h"
#include "tests/import/import_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/types.h>

using namespace vembra;
using namespace vembra::test;

namespace {

qint64 serverPid()
{
    QFile file(QStringLiteral(VEMBRA_FIREBIRD_STATE) + QStringLiteral("/firebird.pid"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return QString::fromLatin1(file.readAll()).trimmed().toLongLong();
}

bool startServer()
{
    QProcess script;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VEMBRA_BUILD_DIR"),
               QFileInfo(QStringLiteral(VEMBRA_FIREBIRD_STATE)).absolutePath());
    env.insert(QStringLiteral("VEMBRA_FIREBIRD_PORT"), QStringLiteral(VEMBRA_FIREBIRD_PORT));
    script.setProcessEnvironment(env);
    script.start(QStringLiteral("bash"), {QStringLiteral(VEMBRA_FIREBIRD_SCRIPT)});
    return script.waitForFinished(120000) && script.exitCode() == 0;
}

class ServerStop : public ImportTest {
protected:
    void TearDown() override
    {
        ImportTest::TearDown();
        EXPECT_TRUE(startServer()) << "the test server could not be started again";
    }
};

TEST_F(ServerStop, LeavesWholeNodesAndAUsableDialog)
{
    requireServer();
    const qint64 pid = serverPid();
    ASSERT_GT(pid, 0) << "the server was not started by scripts/firebird.sh";
    const auto nodes = smallNodes({5, 30000, 4});
    const QString path = writeServedSource(
        {}, nodes, uniqueFileName(QStringLiteral("stop"), QStringLiteral(".fdb")));

    Tfrm_Export dialog(host());
    dialog.show();
    dialog.Edit1->setText(firebirdServer());
    dialog.Edit2->setText(path);
    // The server's platform is Linux: the typed path is rewritten unless asked for as a name
    // the rewrite keeps; the source is opened directly by its connection string instead.
    SourceState state;
    ConnectSource(dm, firebirdServer() + QLatin1Char(':') + path, state);
    ASSERT_TRUE(state.listed);
    dialog.SrcList->addItems(state.nodes);
    dialog.ed_DBFileName->setText(QStringLiteral("stopped"));
    dialog.SrcList->setCurrentRow(0);
    dialog.btn_LeftToRightAllClick();
    ASSERT_EQ(dialog.DstList->count(), 3);
    // vembraid lists the nodes in reverse: the small one, then the large one.
    ASSERT_EQ(dialog.DstList->item(1)->text(), nodes[1].fullName);

    bool killed = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!killed && dialog.Label5->text() == nodes[1].fullName &&
            dialog.Progress1->value() > 100) {
            killed = ::kill(pid_t(pid), SIGKILL) == 0;
        }
    });
    watch.start(0);
    dialog.btn_StartExportClick();
    watch.stop();

    ASSERT_TRUE(killed) << "the transfer ended before the server could be stopped";
    while (::kill(pid_t(pid), 0) == 0)
        QThread::msleep(10); // until the stopped server is gone
    ASSERT_EQ(errors.size(), 1) << "the client's error is shown";
    EXPECT_TRUE(informations.isEmpty());
    EXPECT_NE(dialog.result(), kModalOk);
    const auto local = readLocalNodes(appFolder + QStringLiteral("stopped.mdb"));
    ASSERT_EQ(local.size(), 1u) << "only the node finished before the stop";
    EXPECT_EQ(local[0].id, nodes[2].id);
    EXPECT_EQ(local[0].devices.size(), 4u);

    EXPECT_TRUE(dialog.btn_StartExport->isEnabled());
    EXPECT_TRUE(dialog.SpeedButton2->isEnabled() && dialog.SpeedButton2->isVisible());
    ASSERT_TRUE(startServer());
    requireServer();

    // The same dialog chooses the source again and completes.
    errors.clear();
    dialog.Edit1->setText(QStringLiteral("localhost"));
    fileToPick = QString(); // cancelled: the path field names the file on this machine
    dialog.SpeedButton2Click();
    ASSERT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(dialog.SrcList->count(), 3);
    dialog.ed_DBFileName->setText(QStringLiteral("stopped"));
    dialog.box_ClearDestination->setChecked(false);
    dialog.SrcList->item(2)->setSelected(true);
    dialog.btn_LeftToRightClick();
    answers = {true}; // reuse the existing destination
    dialog.btn_StartExportClick();
    EXPECT_TRUE(errors.isEmpty()) << errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(dialog.result(), kModalOk);
    const auto after = readLocalNodes(appFolder + QStringLiteral("stopped.mdb"));
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].devices.size(), 5u);
}

} // namespace
