// The scripted import behind "vembra import".
#include "import/batch_import.h"
#include "import/source_connection.h"
#include "tests/import/import_fixture.h"

#include <gtest/gtest.h>

using namespace vembra;
using namespace vembra::test;

namespace {

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

TEST(BatchImportArguments, AreReadOrRefusedWithAReason)
{
    const struct {
        const char* args;
        const char* error; // empty: accepted
    } cases[] = {
        {"--source a.norv --all", ""},
        {"--source h:/x.norv --node n1 --node n2 --dest city --clear", ""},
        {"--all", "--source is required"},
        {"--source a.norv", "either --all or"},
        {"--source a.norv --all --node n1", "either --all or"},
        {"--source a.norv --all --dest", "--dest needs a value"},
        {"--source a.norv --all extra", "unexpected argument: extra"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        if (*c.error == '\0') {
            EXPECT_NO_THROW(parseImportArguments(words(c.args)));
            continue;
        }
        try {
            parseImportArguments(words(c.args));
            ADD_FAILURE() << "accepted";
        } catch (const ImportUsageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
        }
    }
    const auto o = parseImportArguments(words("--source s --node a --node b --dest d --clear"));
    EXPECT_EQ(o.nodes, QStringList({"a", "b"}));
    EXPECT_EQ(o.dest, QStringLiteral("d"));
    EXPECT_TRUE(o.clear);
    EXPECT_FALSE(o.all);
}

using BatchImport = ImportTest;

TEST_F(BatchImport, RefreshesAWorkingDatabaseNodeByNode)
{
    const auto nodes = smallNodes({20, 3, 7});
    const QString source =
        writeFileSource(dir.path(), {true, true, true, false}, nodes, QStringLiteral("net.cpd"));
    QStringList lines;
    BatchImportOptions all;
    all.source = source;
    all.all = true;
    all.clear = true;
    const auto first =
        runBatchImport(dm, all, appFolder, exeDir, [&](const QString& l) { lines << l; });
    EXPECT_EQ(first.destination, appFolder + QStringLiteral("net.cpd.mdb"));
    EXPECT_EQ(first.written, 3);
    EXPECT_TRUE(first.missing.isEmpty());
    EXPECT_EQ(lines.first(),
              QStringLiteral("[1/3] ") + nodes[2].fullName + QStringLiteral(": 7 devices"));
    EXPECT_FALSE(dm.T1.isOpen());
    ASSERT_EQ(readLocalNodes(first.destination).size(), 3u);

    BatchImportOptions some;
    some.source = source;
    some.nodes = {nodes[1].fullName, QStringLiteral("No such node")};
    const auto second = runBatchImport(dm, some, appFolder, exeDir, {});
    EXPECT_EQ(second.written, 1);
    EXPECT_EQ(second.missing, QStringList({QStringLiteral("No such node")}));
    const auto local = readLocalNodes(first.destination);
    ASSERT_EQ(local.size(), 3u) << "the others stay without --clear";
    EXPECT_EQ(local[1].devices.size(), 3u);
    EXPECT_EQ(local[0].devices.size(), 20u);
}

} // namespace

namespace {

TEST_F(BatchImport, TheDemoSystemDatabaseImportsWhole)
{
    const QString demo = dir.path() + QStringLiteral("/demo.norv");
    sample::writeDemoSystemDatabases(demo, 1);
    ASSERT_TRUE(QFileInfo::exists(dir.path() + QStringLiteral("/demoSettings.norv")));
    EXPECT_THROW(sample::writeDemoSystemDatabases(demo, 1), std::runtime_error)
        << "an existing demo is never overwritten";

    BatchImportOptions all;
    all.source = demo;
    all.all = true;
    const auto result = runBatchImport(dm, all, appFolder, exeDir, {});
    EXPECT_EQ(result.destination, appFolder + QStringLiteral("demo.mdb"));
    const auto demoNodes = sample::demoNodes(1);
    ASSERT_EQ(result.written, int(demoNodes.size()));
    const auto local = readLocalNodes(result.destination);
    ASSERT_EQ(local.size(), demoNodes.size());
    for (std::size_t i = 0; i < local.size(); ++i) {
        const auto& d = demoNodes[i];
        SCOPED_TRACE(d.name.toStdString());
        EXPECT_EQ(local[i].id, d.id);
        EXPECT_EQ(local[i].name, d.name.left(30));
        EXPECT_EQ(local[i].connectNo, d.connectNo);
        EXPECT_DOUBLE_EQ(local[i].idSize, d.idSize.value_or(0.0));
        EXPECT_EQ(int(local[i].devices.size()), d.plant.devices);
        EXPECT_EQ(local[i].map.isEmpty(), d.map == sample::MapState::Empty);
    }
    const auto flags = ReadSourceSettings(dm);
    ASSERT_TRUE(flags);
    EXPECT_TRUE(flags->iVexel);
    EXPECT_TRUE(flags->fVexel);
}

} // namespace
