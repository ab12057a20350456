// The transfer of nodes from a source into a working database, compared row by row.
#include "import/destination.h"
#include "import/node_transfer.h"
#include "import/source_connection.h"
#include "localdb/local_statements.h"
#include "tests/import/import_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vembra;
using namespace vembra::test;

namespace {

// Counts what the transfer reports and breaks off (or fails) after a number of devices.
class ScriptedObserver : public TransferObserver {
public:
    void nodeStarted(int index, const QString& name) override
    {
        started << QStringLiteral("%1:%2").arg(index).arg(name);
    }
    void deviceCountKnown(int count) override { counts.push_back(count); }
    bool deviceWritten() override
    {
        ++written;
        if (failAfter >= 0 && written >= failAfter)
            throw std::runtime_error("the source went away");
        return breakAfter < 0 || written < breakAfter;
    }

    QStringList started;
    std::vector<int> counts;
    int written = 0;
    int breakAfter = -1;
    int failAfter = -1;
};

class NodeTransfer : public ImportTest {
protected:
    // Opens the source and transfers the names; returns the outcomes.
    std::vector<NodeOutcome> transfer(const QString& source, const QStringList& names,
                                      ScriptedObserver& observer)
    {
        if (dm.FDB.dbName() != source || !dm.FDB.connected()) {
            SourceState state;
            ConnectSource(dm, source, state);
            hasJumperDistance = state.HasJumperDistance;
        }
        const TransferColumns columns = probeTransferColumns(dm, hasJumperDistance);
        std::vector<NodeOutcome> outcomes;
        for (int i = 0; i < names.size(); ++i) {
            outcomes.push_back(transferNode(dm, i, names[i], columns, observer));
            if (outcomes.back() == NodeOutcome::Broken)
                break;
        }
        return outcomes;
    }
    std::vector<NodeOutcome> transfer(const QString& source, const QStringList& names)
    {
        ScriptedObserver observer;
        return transfer(source, names, observer);
    }

    bool hasJumperDistance = false;
};

void expectSameNode(const sample::SystemNode& source, const LocalNode& local,
                    const sample::SystemSchema& schema)
{
    SCOPED_TRACE(source.fullName.toStdString());
    EXPECT_EQ(local.id, source.id);
    EXPECT_EQ(local.name, source.fullName.left(30));
    EXPECT_EQ(local.connectNo, ParseConnectNo(source.connectStr));
    EXPECT_EQ(local.map, source.map);
    if (!schema.jumperDistance)
        EXPECT_DOUBLE_EQ(local.idSize, 0.005);
    else
        EXPECT_DOUBLE_EQ(local.idSize, source.jumperDistance.value_or(0.0));
    ASSERT_EQ(local.devices.size(), source.devices.size());
    auto devices = source.devices;
    std::sort(devices.begin(), devices.end(),
              [](const auto& a, const auto& b) { return a.id < b.id; });
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const auto& s = devices[i];
        const auto& l = local.devices[i];
        EXPECT_EQ(l.id, s.id);
        EXPECT_EQ(l.nodeId, source.id);
        EXPECT_EQ(l.code, s.code);
        EXPECT_EQ(l.parent, s.parent);
        EXPECT_EQ(l.delay, s.delay) << "delays are copied unchanged";
        EXPECT_EQ(l.xpage, s.xpage);
        EXPECT_EQ(l.ypage, s.ypage);
        EXPECT_EQ(l.vexelId, schema.pimId ? std::int16_t(s.pimId.value_or(0)) : 0);
        EXPECT_EQ(l.fVexelId, schema.fVexelId ? s.fVexelId.value_or(0) : 0);
    }
}

struct SchemaCase {
    const char* name;
    bool served;
    sample::SystemSchema schema;
};

void PrintTo(const SchemaCase& c, std::ostream* os)
{
    *os << c.name;
}

class NodeTransferVariants : public NodeTransfer,
                             public ::testing::WithParamInterface<SchemaCase> {};

TEST_P(NodeTransferVariants, EveryNodeArrivesRowByRow)
{
    const SchemaCase& c = GetParam();
    auto nodes = smallNodes({40, 1, 25, 0, 60});
    nodes[2].jumperDistance.reset();   // NULL: idsize 0
    nodes[1].devices[0].pimId = 40000; // low 16 bits: -25536
    nodes[0].devices[3].pimId = 70000; // low 16 bits: 4464
    nodes[0].devices[4].fVexelId = 123456;
    nodes[4].fullName = QStringLiteral("Посёлок Заречный — узел 14, магистраль «Север» № 2");
    QString source;
    if (c.served) {
        requireServer();
        source = firebirdServer() + QLatin1Char(':') + writeServedSource(c.schema, nodes);
    } else {
        source = writeFileSource(dir.path(), c.schema, nodes);
    }
    QStringList names;
    for (const auto& n : nodes)
        names << n.fullName;
    ScriptedObserver observer;
    const auto outcomes = transfer(source, names, observer);
    EXPECT_EQ(outcomes, std::vector<NodeOutcome>(nodes.size(), NodeOutcome::Written));
    EXPECT_EQ(observer.counts, (std::vector<int>{40, 1, 25, 0, 60}));
    EXPECT_EQ(observer.written, 126) << "no device row is reported for the node without any";
    EXPECT_EQ(observer.started.first(), QStringLiteral("0:") + nodes[0].fullName);

    const auto local = readLocalNodes(workingDatabase());
    ASSERT_EQ(local.size(), nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i)
        expectSameNode(nodes[i], local[i], c.schema);
    if (c.schema.pimId) {
        EXPECT_EQ(local[1].devices[0].vexelId, -25536);
        const auto& d = nodes[0].devices[3];
        const auto it = std::find_if(local[0].devices.begin(), local[0].devices.end(),
                                     [&](const auto& l) { return l.id == d.id; });
        ASSERT_NE(it, local[0].devices.end());
        EXPECT_EQ(it->vexelId, 4464);
    }
    EXPECT_EQ(local[4].name.size(), 30);
}

INSTANTIATE_TEST_SUITE_P(
    Schemas, NodeTransferVariants,
    ::testing::Values(SchemaCase{"ServedAllColumns", true, {true, true, true, true}},
                      SchemaCase{"ServedNoOptional", true, {false, false, false, false}},
                      SchemaCase{"FileAllColumns", false, {true, true, true, true}},
                      SchemaCase{"FileNoJumperNoPim", false, {true, false, false, true}},
                      SchemaCase{"FileNoFVexel", false, {false, true, true, false}}),
    [](const auto& tp) { return std::string(tp.param.name); });

TEST_F(NodeTransfer, ALongNameIsReplacedNotDuplicated)
{
    auto nodes = smallNodes({5});
    nodes[0].fullName = QStringLiteral("Очень длинное имя узла, больше тридцати знаков");
    const QString source = writeFileSource(dir.path(), {}, nodes);
    transfer(source, {nodes[0].fullName});
    transfer(source, {nodes[0].fullName});
    const auto local = readLocalNodes(workingDatabase());
    ASSERT_EQ(local.size(), 1u) << "failed before the fix: the second run added a duplicate";
    EXPECT_EQ(local[0].devices.size(), 5u);
}

TEST_F(NodeTransfer, ANodeListedTwiceIsWrittenOnce)
{
    const auto nodes = smallNodes({4});
    const QString source = writeFileSource(dir.path(), {}, nodes);
    EXPECT_EQ(transfer(source, {nodes[0].fullName, nodes[0].fullName}),
              std::vector<NodeOutcome>(2, NodeOutcome::Written));
    const auto local = readLocalNodes(workingDatabase());
    ASSERT_EQ(local.size(), 1u);
    EXPECT_EQ(local[0].devices.size(), 4u);
}

TEST_F(NodeTransfer, ANodeTheSourceLacksKeepsItsLocalCopy)
{
    auto nodes = smallNodes({3, 6});
    const QString first = writeFileSource(dir.path(), {}, nodes);
    transfer(first, {nodes[0].fullName, nodes[1].fullName});

    // A second source without the first node's map row and without the second node at all.
    auto later = nodes;
    later[0].hasMapRow = false;
    later.pop_back();
    const QString second = writeFileSource(dir.path(), {}, later);
    EXPECT_EQ(transfer(second, {nodes[0].fullName, nodes[1].fullName}),
              std::vector<NodeOutcome>(2, NodeOutcome::NotInSource));
    const auto local = readLocalNodes(workingDatabase());
    ASSERT_EQ(local.size(), 2u) << "failed before the fix: both local copies were deleted";
    EXPECT_EQ(local[0].devices.size(), 3u);
    EXPECT_EQ(local[1].devices.size(), 6u);
}

struct StopCase {
    const char* name;
    int breakAfter;
    int failAfter;
};

void PrintTo(const StopCase& c, std::ostream* os)
{
    *os << c.name;
}

class NodeTransferStops : public NodeTransfer, public ::testing::WithParamInterface<StopCase> {};

TEST_P(NodeTransferStops, LeaveEveryNodeWholeOldOrWholeNew)
{
    const StopCase& c = GetParam();
    auto nodes = smallNodes({10, 30, 10});
    const QString oldSource = writeFileSource(dir.path(), {}, nodes);
    transfer(oldSource, {nodes[1].fullName}); // the old copy of the second node

    auto changed = nodes;
    for (auto& n : changed) {
        n.connectStr = QStringLiteral("9|9");
        for (auto& d : n.devices)
            d.delay += 1.0;
    }
    const QString newSource = writeFileSource(dir.path(), {}, changed);
    ScriptedObserver observer;
    observer.breakAfter = c.breakAfter;
    observer.failAfter = c.failAfter;
    const QStringList names = {nodes[0].fullName, nodes[1].fullName, nodes[2].fullName};
    if (c.failAfter >= 0) {
        EXPECT_THROW(transfer(newSource, names, observer), std::runtime_error);
    } else {
        const auto outcomes = transfer(newSource, names, observer);
        EXPECT_EQ(outcomes[1], NodeOutcome::Broken);
    }
    const auto local = readLocalNodes(workingDatabase());
    ASSERT_EQ(local.size(), 2u) << "the third node is never reached";
    expectSameNode(changed[0], local[0], {});
    expectSameNode(nodes[1], local[1], {}); // wholly old: the replace was rolled back
}

INSTANTIATE_TEST_SUITE_P(Stops, NodeTransferStops,
                         ::testing::Values(StopCase{"Break", 25, -1}, StopCase{"Error", -1, 25}),
                         [](const auto& tp) { return std::string(tp.param.name); });

TEST_F(NodeTransfer, ClearingEmptiesTheDestinationWithItsDevices)
{
    const auto nodes = smallNodes({3, 3});
    const QString source = writeFileSource(dir.path(), {}, nodes);
    transfer(source, {nodes[0].fullName, nodes[1].fullName});
    clearDestination(dm);
    EXPECT_TRUE(readLocalNodes(workingDatabase()).empty());
    sqlite::Database db(workingDatabase().toStdString(), sqlite::Database::Mode::ReadOnly);
    auto count = db.prepare("select count(*) from tbl_deviceinfo");
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.intAt(0), 0);
}

} // namespace
