#include "localdb/work_database_files.h"
#include "tests/support/work_files.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

TEST(WorkDatabaseFiles, ListsOnlyEntriesEndingInLowerCaseMdb)
{
    QTemporaryDir dir;
    for (const char* name : {"_data.mdb", "net1.mdb", "readme.txt", "NET2.MDB", "net3.mdb.bak",
                             ".hidden.mdb", "data~.mdb"})
        test::writeAll(dir.filePath(QString::fromLatin1(name)), "x");
    QDir(dir.path()).mkpath(QStringLiteral("sub"));
    test::writeAll(dir.filePath(QStringLiteral("sub/inner.mdb")), "x");
    QDir(dir.path()).mkpath(QStringLiteral("folder.mdb"));

    QStringList names = workDatabaseFiles(dir.path());
    names.sort();
    EXPECT_EQ(names, QStringList({QStringLiteral(".hidden.mdb"), QStringLiteral("_data.mdb"),
                                  QStringLiteral("data~.mdb"), QStringLiteral("folder.mdb"),
                                  QStringLiteral("net1.mdb")}));
}

TEST(WorkDatabaseFiles, MissingFolderListsNothing)
{
    QTemporaryDir dir;
    EXPECT_TRUE(workDatabaseFiles(dir.filePath(QStringLiteral("absent"))).isEmpty());
}

} // namespace
