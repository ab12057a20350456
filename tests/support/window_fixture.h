#pragma once

#include "app/dm/data_module.h"
#include "platform/settings/registry_settings.h"
#include "tests/support/locale_guard.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace vembra::test {

// A shown main window on a fresh application folder (default database and pin, and the demo
// database when asked), its own data module and settings file, and error boxes collected in
// `errors` instead of shown. The locale uses a full stop.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds and shows the window (SetUp does unless the test opens it itself).
    T_frmMain& open();
    // Picks a working database of the application folder and presses the open button.
    void openDatabase(const QString& name);
    // Chooses a node as the user does, then brings the action list up to date.
    void chooseNode(const QString& name);
    T_frmMain& w() { return *window; }
    QString settingsFile() const { return settingsDir.filePath(QStringLiteral("settings.conf")); }

    // Whether SetUp copies the demo database and opens the window.
    bool withDemo = true;
    bool openAtSetUp = true;

    LocaleGuard locale{LocaleGuard::fullStop()};
    QTemporaryDir settingsDir;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<RegistrySettings> store;
    std::unique_ptr<T_frmMain> window;
    MessageBoxes saved;
    QStringList errors;
    QStringList infos;
};

} // namespace vembra::test
