// vembra: the navigator's command-line companion.
//   vembra init-folder   prepares the application folder: the default working database is
//                        copied from the template when it is missing; nothing is overwritten.
#include "localdb/schema_template.h"
#include "platform/folders/app_folders.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>

namespace {

constexpr const char* kUsage =
    "usage: vembra COMMAND\n"
    "commands:\n"
    "  init-folder   prepare the application folder (copies missing files, overwrites nothing)\n"
    "  --help        show this text\n";

int initFolder()
{
    using namespace vembra;
    const QString dataFolder = folders::genericDataFolder();
    if (dataFolder.isEmpty()) {
        std::fprintf(stderr, "vembra: this system names no data folder\n");
        return 1;
    }
    const QString appFolder = folders::applicationFolder(dataFolder);
    if (!QDir().mkpath(appFolder)) {
        std::fprintf(stderr, "vembra: cannot create %s\n", appFolder.toLocal8Bit().constData());
        return 1;
    }
    const QString templatePath = folders::programFolder() + QStringLiteral("srcres.dat");
    const QString target = appFolder + QStringLiteral("_data.mdb");
    if (installDefaultDatabase(templatePath, target))
        std::printf("created %s\n", target.toLocal8Bit().constData());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help")) {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    try {
        if (args.first() == QLatin1String("init-folder") && args.size() == 1)
            return initFolder();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vembra: %s\n", e.what());
        return 1;
    }
    std::fputs(kUsage, stderr);
    return 2;
}
