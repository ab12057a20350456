#include "tests/import/import_fixture.h"

#include "platform/firebird/firebird_service.h"
#include "platform/sqlite/sqlite_database.h"
#include "platform/sqlite/sqlite_statement.h"
#include "tests/support/work_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <atomic>

namespace vembra::test {

QString firebirdServer()
{
    return QStringLiteral("127.0.0.1/") + QStringLiteral(VEMBRA_FIREBIRD_PORT);
}

QString serverDataFolder()
{
    return QStringLiteral(VEMBRA_FIREBIRD_STATE) + QStringLiteral("/data/");
}

firebird::Login systemLogin()
{
    TDM dm;
    dm.DataModuleCreate(QStringLiteral("/nonexistent/"));
    firebird::Login login;
    login.password = dm.systemPassword().toStdString();
    return login;
}

QString uniqueFileName(const QString& stem, const QString& suffix)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("%1-%2-%3%4")
        .arg(stem)
        .arg(QCoreApplication::applicationPid())
        .arg(++counter)
        .arg(suffix);
}

void requireServer()
{
    try {
        firebird::queryServerVersion(firebirdServer().toStdString(), "SYSDBA",
                                     systemLogin().password);
    } catch (const std::exception& e) {
        FAIL() << "The test Firebird server does not answer on " << firebirdServer().toStdString()
               << "; start it with scripts/firebird.sh (" << e.what() << ")";
    }
}

std::vector<sample::SystemNode> smallNodes(const std::vector<int>& devices)
{
    std::vector<sample::SampleNode> plants;
    const QStringList names = {QStringLiteral("Узел Северный-3"), QStringLiteral("Riverside FN-7"),
                               QStringLiteral("Микрорайон Южный, узел 12 (новый корпус)"),
                               QStringLiteral("Harbour West"), QStringLiteral("Ёлкино-Ъ")};
    for (std::size_t i = 0; i < devices.size(); ++i) {
        sample::SampleNode n;
        n.name = names[qsizetype(i % std::size_t(names.size()))];
        if (i >= std::size_t(names.size()))
            n.name += QStringLiteral(" %1").arg(i);
        n.id = int(i) + 1;
        n.connectNo = 17 + int(i) * 5;
        n.plant.seed = 7 + i;
        n.plant.devices = std::max(devices[i], 1);
        n.plant.firstId = n.id * 100000 + 1;
        n.plant.mapWidth = 400;
        n.plant.mapHeight = 300;
        n.idSize = 0.004 + 0.001 * double(i);
        plants.push_back(n);
    }
    auto nodes = sample::systemNodes(plants);
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i] == 0)
            nodes[i].devices.clear();
    }
    return nodes;
}

QString writeServedSource(const sample::SystemSchema& schema,
                          const std::vector<sample::SystemNode>& nodes, const QString& fileName)
{
    const QString path =
        serverDataFolder() + (fileName.isEmpty()
                                  ? uniqueFileName(QStringLiteral("src"), QStringLiteral(".norv"))
                                  : fileName);
    QFile::remove(path);
    sample::writeSystemDatabase((firebirdServer() + QLatin1Char(':') + path).toStdString(),
                                systemLogin(), schema, nodes);
    return path;
}

QString writeFileSource(const QString& folder, const sample::SystemSchema& schema,
                        const std::vector<sample::SystemNode>& nodes, const QString& fileName)
{
    const QString path =
        folder + QLatin1Char('/') +
        (fileName.isEmpty() ? uniqueFileName(QStringLiteral("src"), QStringLiteral(".norv"))
                            : fileName);
    sample::writeSystemDatabase(path.toStdString(), systemLogin(), schema, nodes);
    return path;
}

std::vector<LocalNode> readLocalNodes(const QString& workingDatabase)
{
    sqlite::Database db(workingDatabase.toStdString(), sqlite::Database::Mode::ReadOnly);
    std::vector<LocalNode> nodes;
    sqlite::Statement n =
        db.prepare("select id, node, connectno, map, idsize from tbl_node order by id");
    while (n.step()) {
        LocalNode node;
        node.id = n.intAt(0);
        node.name = QString::fromStdString(n.textAt(1));
        node.connectNo = n.intAt(2);
        const auto map = n.blobAt(3);
        node.map = QByteArray(reinterpret_cast<const char*>(map.data()), qsizetype(map.size()));
        node.idSize = n.doubleAt(4);
        node.idSizeNull = n.isNull(4);
        sqlite::Statement d =
            db.prepare("select id, node_id, code, parent, delay, xpage, ypage, vexel_id, fvexelid "
                       "from tbl_deviceinfo where node_id = :nid order by id");
        d.bind(":nid", node.id);
        while (d.step())
            node.devices.push_back({d.intAt(0), d.intAt(1), QString::fromStdString(d.textAt(2)),
                                    d.intAt(3), d.doubleAt(4), d.doubleAt(5), d.doubleAt(6),
                                    d.intAt(7), d.intAt(8)});
        nodes.push_back(std::move(node));
    }
    return nodes;
}

void ImportTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    appData = dir.path() + QLatin1Char('/');
    dm.DataModuleCreate(appData);
    appFolder = appData + QStringLiteral("Norv/VembraNavigator/");
    exeDir = QStringLiteral(VEMBRA_BIN_DIR) + QLatin1Char('/');
    copyTemplate(appFolder + QStringLiteral("_data.mdb"));
    dm.pointLocalComponentsAt(appFolder + QStringLiteral("_data.mdb"));
    workDBName = QStringLiteral("_data.mdb");
}

void ImportTest::TearDown()
{
    dm.FDB.close();
    dm.SDB.close();
    dm.releaseLocalFiles();
}

ImportHost ImportTest::host()
{
    ImportHost h;
    h.dm = &dm;
    h.appFolder = appFolder;
    h.exeDir = exeDir;
    h.workDBName = &workDBName;
    h.hasIVexel = &hasIVexel;
    h.hasFVexel = &hasFVexel;
    h.showIVexelGroup = [this](bool visible) { iVexelGroupShown = visible ? 1 : 0; };
    h.error = [this](QWidget*, const QString& text) { errors << text; };
    h.confirm = [this](QWidget*, const QString& text) {
        questions << text;
        const std::size_t i = std::size_t(questions.size()) - 1;
        return i < answers.size() ? bool(answers[i]) : true;
    };
    h.information = [this](QWidget*, const QString& text) { informations << text; };
    h.openFile = [this](QWidget*, const QString&) { return fileToPick; };
    return h;
}

} // namespace vembra::test
