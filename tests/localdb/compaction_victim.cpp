// Compacts the working database in the folder again and again until it is killed.
//   compaction_victim FOLDER
#include "localdb/compaction.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[1]) + QDir::separator();
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        try {
            vembra::compactWorkingDatabase(folder + QStringLiteral("_data.mdb"),
                                           folder + QStringLiteral("data~.mdb"));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
}
