// Where an import writes: a new copy of the template, an existing file after the question, or
// the working database that is open.
#include "import/destination.h"
#include "tests/import/import_fixture.h"
#include "tests/support/work_files.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vembra;
using namespace vembra::test;

namespace {

using Destination = ImportTest;

TEST_F(Destination, ANewNameIsCopiedFromTheTemplateAndConnected)
{
    const auto ask = [this](const QString& q) {
        questions << q;
        return true;
    };
    EXPECT_EQ(PrepareDestination(dm, QStringLiteral("city"), appFolder, exeDir, ask),
              DestinationOutcome::Pointed);
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(dm.localDataSource(), appFolder + QStringLiteral("city.mdb"));
    EXPECT_EQ(readAll(appFolder + QStringLiteral("city.mdb")), readAll(templatePath()));
    EXPECT_TRUE(dm.T1.isOpen());
    EXPECT_TRUE(dm.T2.isOpen());
}

TEST_F(Destination, AnEmptyNameLeavesTheOpenDatabase)
{
    const QString before = dm.localDataSource();
    EXPECT_EQ(
        PrepareDestination(dm, QString(), appFolder, exeDir, [](const QString&) { return true; }),
        DestinationOutcome::Unchanged);
    EXPECT_EQ(dm.localDataSource(), before);
}

TEST_F(Destination, AnExistingFileIsReusedOnYesAndLeftOnNo)
{
    const QString path = appFolder + QStringLiteral("net1.mdb");
    copyTemplate(path);
    const QByteArray marker = readAll(path);
    const QString before = dm.localDataSource();
    for (const bool yes : {false, true}) {
        questions.clear();
        const auto outcome = PrepareDestination(dm, QStringLiteral("net1"), appFolder, exeDir,
                                                [&](const QString& q) {
                                                    questions << q;
                                                    return yes;
                                                });
        ASSERT_EQ(questions.size(), 1);
        EXPECT_EQ(questions[0], destinationExistsQuestion(path));
        EXPECT_EQ(outcome, yes ? DestinationOutcome::Pointed : DestinationOutcome::Unchanged);
        EXPECT_EQ(dm.localDataSource(), yes ? path : before);
    }
    EXPECT_EQ(readAll(path), marker) << "an existing file is not replaced by the template";
}

TEST_F(Destination, AMissingTemplateIsReportedAtTheCopy)
{
    try {
        PrepareDestination(dm, QStringLiteral("city"), appFolder, dir.path() + "/nowhere/",
                           [](const QString&) { return true; });
        FAIL() << "a destination was prepared without a template";
    } catch (const std::runtime_error& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("srcres.dat"), std::string::npos) << text;
        EXPECT_NE(text.find("city.mdb"), std::string::npos) << text;
    }
    EXPECT_FALSE(QFile::exists(appFolder + QStringLiteral("city.mdb")));
    EXPECT_EQ(dm.localDataSource(), appFolder + QStringLiteral("_data.mdb"))
        << "the components stay on the open database";
}

} // namespace
