// Writes the template working database from the schema file: make_template SCHEMA.sql OUT.dat
#include "localdb/schema_template.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_template SCHEMA.sql OUT.dat\n");
        return 2;
    }
    const QString schemaPath = QString::fromLocal8Bit(argv[1]);
    const QString outPath = QString::fromLocal8Bit(argv[2]);
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_template: %s: %s\n", argv[1],
                     schema.errorString().toLocal8Bit().constData());
        return 1;
    }
    try {
        QFile::remove(outPath);
        vembra::createWorkingDatabase(outPath, QString::fromUtf8(schema.readAll()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_template: %s\n", e.what());
        return 1;
    }
    return 0;
}
