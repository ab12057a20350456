#include "tools/cli_import.h"

#include "app/dm/data_module.h"
#include "import/batch_import.h"
#include "platform/folders/app_folders.h"
#include "tools/sample/system_database.h"

#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

namespace {

constexpr const char* kImportUsage =
    "usage: vembra import --source SOURCE (--node NAME ... | --all) [--dest NAME] [--clear]\n"
    "  SOURCE   a system database: host:path on a Firebird server, or a .norv/.cpd file\n"
    "  --node   a node to copy (repeat for more); --all copies every node of the source\n"
    "  --dest   the working database NAME.mdb in the application folder (default: the\n"
    "           source's file name without .norv); an existing one is reused\n"
    "  --clear  delete every node of the destination first\n"
    "exit codes: 0 done, 1 failed or a node not in the source, 2 usage\n";

constexpr const char* kSampleUsage =
    "usage: vembra sample-system --out FILE.norv [--demo | --nodes N --devices D] [--seed S]\n"
    "                            [--no-optional]\n";

void line(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

namespace vembra {

int runImportCommand(const QStringList& args)
{
    try {
        const BatchImportOptions options = parseImportArguments(args);
        const QString dataFolder = folders::genericDataFolder();
        if (dataFolder.isEmpty())
            throw std::runtime_error("this system names no data folder");
        const QString appFolder = folders::applicationFolder(dataFolder);
        QDir().mkpath(appFolder);
        TDM dm;
        dm.DataModuleCreate(dataFolder);
        QElapsedTimer timer;
        timer.start();
        const BatchImportResult r =
            runBatchImport(dm, options, appFolder, folders::programFolder(), line);
        line(QStringLiteral("wrote %1 nodes into %2 in %3 s%4")
                 .arg(r.written)
                 .arg(QDir::toNativeSeparators(r.destination))
                 .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 2)
                 .arg(r.missing.isEmpty() ? QString()
                                          : QStringLiteral("; not in the source: ") +
                                                r.missing.join(QStringLiteral(", "))));
        return r.missing.isEmpty() ? 0 : 1;
    } catch (const ImportUsageError& e) {
        std::fprintf(stderr, "vembra: %s\n%s", e.what(), kImportUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vembra: %s\n", e.what());
        return 1;
    }
}

int runSampleSystemCommand(const QStringList& args)
{
    using namespace sample;
    QString out;
    bool demo = false;
    bool optional = true;
    long long nodes = 1;
    long long devices = 500;
    long long seed = 1;
    try {
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            const auto number = [&](long long low, long long high) {
                bool ok = false;
                const long long v = i + 1 < args.size() ? args[++i].toLongLong(&ok) : 0;
                if (!ok || v < low || v > high)
                    throw std::invalid_argument(a.toStdString() + " takes a whole number from " +
                                                std::to_string(low) + " to " +
                                                std::to_string(high));
                return v;
            };
            if (a == QLatin1String("--out") && i + 1 < args.size())
                out = args[++i];
            else if (a == QLatin1String("--demo"))
                demo = true;
            else if (a == QLatin1String("--no-optional"))
                optional = false;
            else if (a == QLatin1String("--nodes"))
                nodes = number(1, 1000);
            else if (a == QLatin1String("--devices"))
                devices = number(1, 1000000);
            else if (a == QLatin1String("--seed"))
                seed = number(0, 1ll << 40);
            else
                throw std::invalid_argument("unexpected argument: " + a.toStdString());
        }
        if (out.isEmpty())
            throw std::invalid_argument("--out is required");
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "vembra: %s\n%s", e.what(), kSampleUsage);
        return 2;
    }
    try {
        QElapsedTimer timer;
        timer.start();
        if (demo) {
            writeDemoSystemDatabases(out, std::uint64_t(seed));
        } else {
            const SystemSchema schema =
                optional ? SystemSchema{} : SystemSchema{false, false, false, false};
            writeSystemDatabase(
                QDir::toNativeSeparators(out).toStdString(), firebird::Login{}, schema,
                systemNodes(sizedNodes(int(nodes), int(devices), std::uint64_t(seed))));
        }
        line(QStringLiteral("wrote %1 in %2 s")
                 .arg(QDir::toNativeSeparators(out))
                 .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 2));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vembra: %s\n", e.what());
        return 1;
    }
}

} // namespace vembra
