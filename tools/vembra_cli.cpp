// vembra: the navigator's command-line companion.
#include "localdb/schema_template.h"
#include "platform/folders/app_folders.h"
#include "tools/cli_candidates.h"
#include "tools/cli_import.h"
#include "tools/cli_render.h"
#include "tools/cli_work_order.h"
#include "tools/sample/map_drawing.h"
#include "tools/sample/sample_database.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <exception>
#include <functional>
#include <map>

namespace {

constexpr const char* kUsage =
    "usage: vembra COMMAND [OPTIONS]\n"
    "commands:\n"
    "  init-folder            prepare the application folder: copies the default working\n"
    "                         database, the pin picture and the demo databases when missing;\n"
    "                         nothing is overwritten\n"
    "  sample --out FILE [--demo | --nodes N --devices D] [--seed S]\n"
    "                         write a working database of generated nodes (the demo set,\n"
    "                         or N nodes of D devices each); the same seed gives the same file\n"
    "  pin --out FILE         write the pin picture (a metafile)\n"
    "  render FILE [--blob] [--scale S] -o OUT.png\n"
    "                         draw a metafile (or a stored map) into a PNG\n"
    "  work-order --db FILE --node NAME --device CODE --delay D [--tolerance T] -o OUT.pdf\n"
    "                         the work order of that view, as PDF\n"
    "  import --source SOURCE (--node NAME ... | --all) [--dest NAME] [--clear]\n"
    "                         copy nodes from a system database into a working database\n"
    "  sample-system --out FILE.norv [--demo | --nodes N --devices D] [--seed S]\n"
    "                         write a system database file and its settings database\n"
    "  candidates --db FILE --node NAME --device CODE --delay D [--tolerance T]\n"
    "                         the candidate search: one line per candidate (code, tab,\n"
    "                         delay), then the count\n"
    "  --help                 show this text\n"
    "exit codes: 0 done, 1 failed, 2 usage\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Options of the form --name value, and bare flags.
class Options {
public:
    Options(const QStringList& args, const QStringList& flags)
    {
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (!a.startsWith(QLatin1String("--")))
                throw UsageError("unexpected argument: " + a.toStdString());
            if (flags.contains(a)) {
                m_values[a] = QString();
                continue;
            }
            if (i + 1 >= args.size())
                throw UsageError(a.toStdString() + " needs a value");
            m_values[a] = args[++i];
        }
    }
    bool has(const char* name) const { return m_values.count(QLatin1String(name)) != 0; }
    QString text(const char* name) const
    {
        const auto it = m_values.find(QLatin1String(name));
        if (it == m_values.end())
            throw UsageError(std::string(name) + " is required");
        return it->second;
    }
    long long number(const char* name, long long fallback, long long low, long long high) const
    {
        if (!has(name))
            return fallback;
        bool ok = false;
        const long long v = text(name).toLongLong(&ok);
        if (!ok || v < low || v > high)
            throw UsageError(std::string(name) + " takes a whole number from " +
                             std::to_string(low) + " to " + std::to_string(high));
        return v;
    }

private:
    std::map<QString, QString> m_values;
};

QString programFile(const char* name)
{
    return vembra::folders::programFolder() + QString::fromLatin1(name);
}

void copyWhenMissing(const QString& from, const QString& to)
{
    if (QFileInfo::exists(to))
        return;
    if (vembra::installDefaultDatabase(from, to))
        std::printf("created %s\n", QDir::toNativeSeparators(to).toLocal8Bit().constData());
}

int initFolder(const Options&)
{
    using namespace vembra;
    const QString dataFolder = folders::genericDataFolder();
    if (dataFolder.isEmpty())
        throw std::runtime_error("this system names no data folder");
    const QString appFolder = folders::applicationFolder(dataFolder);
    if (!QDir().mkpath(appFolder))
        throw std::runtime_error("cannot create " + appFolder.toStdString());
    copyWhenMissing(programFile("srcres.dat"), appFolder + QStringLiteral("_data.mdb"));
    copyWhenMissing(programFile("_data.pdb"), appFolder + QStringLiteral("_data.pdb"));
    copyWhenMissing(programFile("demo.mdb"), appFolder + QStringLiteral("demo.mdb"));
    copyWhenMissing(programFile("demo.norv"), appFolder + QStringLiteral("demo.norv"));
    copyWhenMissing(programFile("demoSettings.norv"),
                    appFolder + QStringLiteral("demoSettings.norv"));
    return 0;
}

int sample(const Options& o)
{
    using namespace vembra::sample;
    const QString out = o.text("--out");
    const auto seed = std::uint64_t(o.number("--seed", 1, 0, 1ll << 40));
    std::vector<SampleNode> nodes;
    if (o.has("--demo")) {
        nodes = demoNodes(seed);
    } else {
        const int count = int(o.number("--nodes", 1, 1, 1000));
        const int devices = int(o.number("--devices", 500, 1, 1000000));
        nodes = sizedNodes(count, devices, seed);
    }
    QElapsedTimer timer;
    timer.start();
    writeSampleDatabase(programFile("srcres.dat"), out, nodes);
    std::size_t total = 0;
    for (const auto& n : nodes)
        total += std::size_t(n.plant.devices);
    std::printf("wrote %s: %zu nodes, %zu devices in %.2f s\n",
                QDir::toNativeSeparators(out).toLocal8Bit().constData(), nodes.size(), total,
                double(timer.elapsed()) / 1000.0);
    return 0;
}

int pin(const Options& o)
{
    const QString out = o.text("--out");
    QFile file(out);
    if (file.exists())
        throw std::runtime_error("File exists: " + out.toStdString());
    if (!file.open(QIODevice::WriteOnly) || file.write(vembra::sample::drawPin()) < 0)
        throw std::runtime_error(out.toStdString() + ": " + file.errorString().toStdString());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // Map pictures need fonts and the work order a window: a GUI application without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (args.first() == QLatin1String("--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const std::map<QString, std::pair<QStringList, std::function<int(const Options&)>>> commands = {
        {QStringLiteral("init-folder"), {{}, initFolder}},
        {QStringLiteral("sample"), {{QStringLiteral("--demo")}, sample}},
        {QStringLiteral("pin"), {{}, pin}},
    };
    if (args.first() == QLatin1String("import"))
        return vembra::runImportCommand(args.mid(1));
    if (args.first() == QLatin1String("sample-system"))
        return vembra::runSampleSystemCommand(args.mid(1));
    if (args.first() == QLatin1String("work-order"))
        return vembra::runWorkOrderCommand(args.mid(1));
    if (args.first() == QLatin1String("render"))
        return vembra::runRenderCommand(args.mid(1));
    if (args.first() == QLatin1String("candidates"))
        return vembra::runCandidatesCommand(args.mid(1));
    const auto command = commands.find(args.first());
    try {
        if (command == commands.end())
            throw UsageError("unknown command: " + args.first().toStdString());
        const Options options(args.mid(1), command->second.first);
        return command->second.second(options);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "vembra: %s\n%s", e.what(), kUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vembra: %s\n", e.what());
        return 1;
    }
}
