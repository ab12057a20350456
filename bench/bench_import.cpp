// Importing one node of 100 000 devices from a system database into a working database, beside
// the raw read of the same rows from the source and the raw insert of the same rows into SQLite.
// The source is a file opened directly and, when scripts/firebird.sh runs, the same file on the
// test server (VEMBRA_FIREBIRD_SERVER, default 127.0.0.1/3053, its data folder in
// VEMBRA_FIREBIRD_DATA).
#include "app/dm/data_module.h"
#include "import/import_dialog.h"
#include "import/node_transfer.h"
#include "import/source_connection.h"
#include "localdb/local_statements.h"
#include "platform/firebird/firebird_statement.h"
#include "platform/sqlite/sqlite_database.h"
#include "platform/sqlite/sqlite_statement.h"
#include "tools/sample/system_database.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace vembra;

constexpr int kDevices = 100000;
const QString kNode = QStringLiteral("Node 1");

QString serverName()
{
    const QByteArray s = qgetenv("VEMBRA_FIREBIRD_SERVER");
    return s.isEmpty() ? QStringLiteral("127.0.0.1/3053") : QString::fromLocal8Bit(s);
}

QString serverData()
{
    const QByteArray d = qgetenv("VEMBRA_FIREBIRD_DATA");
    return d.isEmpty() ? QStringLiteral(VEMBRA_BIN_DIR "/../firebird/data")
                       : QString::fromLocal8Bit(d);
}

firebird::Login login()
{
    TDM dm;
    dm.DataModuleCreate(QStringLiteral("/nonexistent/"));
    firebird::Login l;
    l.password = dm.systemPassword().toStdString();
    return l;
}

// The source written once per run: a file, and a copy of it that the server reaches.
struct Source {
    QTemporaryDir dir;
    QString file;
    QString served; // empty when no server folder is writable
    std::vector<sample::SystemNode> nodes;

    Source()
    {
        nodes = sample::systemNodes(sample::sizedNodes(1, kDevices, 5));
        file = dir.filePath(QStringLiteral("bench.norv"));
        sample::writeSystemDatabase(file.toStdString(), login(), {}, nodes);
        const QString copy = serverData() + QStringLiteral("/bench-import.fdb");
        QFile::remove(copy);
        if (QFile::copy(file, copy)) {
            QFile::setPermissions(copy, QFileDevice::Permissions(0x6666));
            served = serverName() + QLatin1Char(':') + QFileInfo(copy).absoluteFilePath();
        }
    }
};

Source& source()
{
    static Source s;
    return s;
}

QString sourceName(bool served)
{
    return served ? source().served : source().file;
}

// A data module on a fresh working database in its own folder.
struct Destination {
    QTemporaryDir dir;
    TDM dm;
    QString path;

    Destination()
    {
        dm.DataModuleCreate(dir.path() + QDir::separator());
        QDir().mkpath(dir.path() + QStringLiteral("/Norv/VembraNavigator"));
        path = dir.path() + QStringLiteral("/Norv/VembraNavigator/_data.mdb");
        QFile::copy(QStringLiteral(VEMBRA_BIN_DIR "/srcres.dat"), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        dm.pointLocalComponentsAt(path);
    }
};

class NullObserver : public TransferObserver {
public:
    void nodeStarted(int, const QString&) override {}
    void deviceCountKnown(int) override {}
    bool deviceWritten() override { return true; }
};

bool skipWithoutServer(benchmark::State& state, bool served)
{
    if (served && source().served.isEmpty()) {
        state.SkipWithError("no server data folder");
        return true;
    }
    return false;
}

// The device rows read from the source with the transfer's own select, every column.
void BM_RawRead(benchmark::State& state)
{
    const bool served = state.range(0) != 0;
    if (skipWithoutServer(state, served))
        return;
    try {
        firebird::Attachment db =
            firebird::Attachment::attach(sourceName(served).toStdString(), login());
        for (auto _ : state) {
            firebird::Transaction tx(db, firebird::Transaction::Access::ReadOnly);
            firebird::Statement q(db, tx);
            q.setSql("select d.id, d.nodeid, c.devicecode, d.parentdeviceid, d.workdelay, "
                     "d.xpage, d.ypage , d.pimid , d.fvexelid from tbl_deviceinfo d, "
                     "tbl_devicecode c where c.id = d.devicecode and d.nodeid = :nid");
            q.setParam("nid", std::int64_t(1));
            q.execute();
            long long rows = 0;
            double sum = 0;
            for (; !q.eof(); q.next()) {
                sum += q.asInt32(0) + q.asInt32(3) + q.asDouble(4) + q.asDouble(5) + q.asDouble(6) +
                       q.asInt16(7) + q.asInt32(8);
                benchmark::DoNotOptimize(q.asText(2));
                ++rows;
            }
            benchmark::DoNotOptimize(sum);
            q.unprepare();
            state.counters["rows"] = double(rows);
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// The same rows inserted into a working database: one statement, one transaction.
void BM_RawInsert(benchmark::State& state)
{
    const auto& devices = source().nodes.front().devices;
    for (auto _ : state) {
        state.PauseTiming();
        auto dest = std::make_unique<Destination>();
        dest->dm.releaseLocalFiles();
        sqlite::Database db(dest->path.toStdString());
        state.ResumeTiming();
        sqlite::Transaction tx(db);
        sqlite::Statement node = db.prepare(statements::kInsertNode);
        node.bind(":ni", 1);
        node.bind(":nn", "Node 1");
        node.bind(":cn", 1);
        node.bindNull(":map");
        node.bind(":is", 0.005);
        node.execute();
        sqlite::Statement insert = db.prepare(statements::kInsertDevice);
        for (const auto& d : devices) {
            insert.reset();
            insert.bind(":di", d.id);
            insert.bind(":ni", 1);
            insert.bind(":dc", d.code.toStdString());
            insert.bind(":pd", d.parent);
            insert.bind(":wd", d.delay);
            insert.bind(":xp", d.xpage);
            insert.bind(":yp", d.ypage);
            insert.bind(":pi", d.pimId.value_or(0));
            insert.bind(":fs", d.fVexelId.value_or(0));
            insert.execute();
        }
        tx.commit();
        state.PauseTiming();
        dest.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = double(devices.size());
}

// The transfer of the node as the command line runs it.
void BM_ImportNode(benchmark::State& state)
{
    const bool served = state.range(0) != 0;
    if (skipWithoutServer(state, served))
        return;
    try {
        for (auto _ : state) {
            state.PauseTiming();
            auto dest = std::make_unique<Destination>();
            SourceState s;
            ConnectSource(dest->dm, sourceName(served), s);
            state.ResumeTiming();
            const TransferColumns columns = probeTransferColumns(dest->dm, s.HasJumperDistance);
            NullObserver observer;
            if (transferNode(dest->dm, 0, kNode, columns, observer) != NodeOutcome::Written)
                state.SkipWithError("the node was not written");
            state.PauseTiming();
            dest->dm.FDB.close();
            dest.reset();
            state.ResumeTiming();
        }
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
    state.counters["rows"] = kDevices;
}

// The whole "Start export" of the dialog: destination, progress bar, Esc test, completion.
void BM_ImportDialog(benchmark::State& state)
{
    const bool served = state.range(0) != 0;
    if (skipWithoutServer(state, served))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        auto dest = std::make_unique<Destination>();
        ImportHost host;
        host.dm = &dest->dm;
        host.appFolder = dest->dir.path() + QStringLiteral("/Norv/VembraNavigator/");
        host.exeDir = QStringLiteral(VEMBRA_BIN_DIR "/");
        QString workDBName;
        host.workDBName = &workDBName;
        QStringList errors;
        host.error = [&](QWidget*, const QString& t) { errors << t; };
        host.confirm = [](QWidget*, const QString&) { return true; };
        host.information = [](QWidget*, const QString&) {};
        Tfrm_Export dialog(host);
        dialog.show();
        SourceState s;
        ConnectSource(dest->dm, sourceName(served), s);
        dialog.HasJumperDistance = s.HasJumperDistance;
        dialog.DstList->addItem(kNode);
        dialog.ed_DBFileName->setText(QStringLiteral("bench"));
        state.ResumeTiming();
        dialog.btn_StartExportClick();
        state.PauseTiming();
        if (!errors.isEmpty())
            state.SkipWithError(errors.first().toStdString().c_str());
        dest->dm.FDB.close();
        state.ResumeTiming();
    }
    state.counters["rows"] = kDevices;
}

BENCHMARK(BM_RawRead)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("served")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_RawInsert)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportNode)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("served")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_ImportDialog)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("served")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
