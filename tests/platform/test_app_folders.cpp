#include "platform/folders/app_folders.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vembra::folders;

namespace {

TEST(AppFolders, FoldersEndInOneSeparator)
{
    const QString sep = QDir::separator();
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a/b")), QDir::toNativeSeparators("/a/b/"));
    EXPECT_EQ(withTrailingSeparator(QStringLiteral("/a/b//")), QDir::toNativeSeparators("/a/b/"));
    EXPECT_EQ(withTrailingSeparator(QString()), QString());
    EXPECT_TRUE(programFolder().endsWith(sep));
    EXPECT_TRUE(genericDataFolder().endsWith(sep));
}

TEST(AppFolders, ApplicationFolderLiesBelowTheDataFolder)
{
    const QString data = genericDataFolder();
    // The test main points the data home at a temporary folder.
    EXPECT_EQ(data, withTrailingSeparator(qEnvironmentVariable("XDG_DATA_HOME")));
    EXPECT_EQ(applicationFolder(data), data + QStringLiteral("Norv") + QDir::separator() +
                                           QStringLiteral("VembraNavigator") + QDir::separator());
}

} // namespace
