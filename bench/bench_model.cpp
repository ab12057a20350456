// Loading a node's devices (with their query) and searching its candidates, for generated nodes
// of 5 000 and 100 000 devices: both should grow linearly.
#include "app/dm/data_module.h"
#include "model/candidate_search.h"
#include "model/node_loading.h"
#include "tools/sample/sample_database.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using namespace vembra;

// One working database per node size, written once per run.
struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<TDM> dm;
};

Fixture& fixtureFor(int devices)
{
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    auto& f = fixtures[devices];
    if (!f) {
        f = std::make_unique<Fixture>();
        const QString path = f->dir.filePath(QStringLiteral("bench.mdb"));
        sample::writeSampleDatabase(QStringLiteral(VEMBRA_BIN_DIR "/srcres.dat"), path,
                                    sample::sizedNodes(1, devices, 11));
        f->dm = std::make_unique<TDM>();
        f->dm->DataModuleCreate(f->dir.path() + QDir::separator());
        f->dm->pointLocalComponentsAt(path);
    }
    return *f;
}

void BM_LoadNodeDevices(benchmark::State& state)
{
    Fixture& f = fixtureFor(int(state.range(0)));
    NodeModel model;
    for (auto _ : state) {
        LoadNodeDevices(model, f.dm->AQ1, 1, MapGeometry{1600, 1200, 0.005}, true);
        benchmark::DoNotOptimize(model.NodeDevices.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadNodeDevices)->Arg(5000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_SearchCandidates(benchmark::State& state)
{
    Fixture& f = fixtureFor(int(state.range(0)));
    NodeModel model;
    LoadNodeDevices(model, f.dm->AQ1, 1, MapGeometry{1600, 1200, 0.005}, true);
    // From the fiber node, a window that takes in a good share of the plant.
    const CandidateWindow window = candidateWindow(model.NodeDevices[0].Delay, 1.0, 0.4);
    for (auto _ : state) {
        auto found = SearchCandidates(model.NodeDevices, 0, window);
        benchmark::DoNotOptimize(found.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SearchCandidates)->Arg(5000)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
