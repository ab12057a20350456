#include "tests/support/window_fixture.h"

#include "tests/support/app_folder.h"
#include "ui/main_unit.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>

namespace vembra::test {

void WindowTest::SetUp()
{
    const QString folder = prepareApplicationFolder();
    if (withDemo) {
        ASSERT_TRUE(QFile::copy(QStringLiteral(VEMBRA_BIN_DIR "/demo.mdb"),
                                folder + QStringLiteral("demo.mdb")));
        QFile::setPermissions(folder + QStringLiteral("demo.mdb"),
                              QFile::ReadOwner | QFile::WriteOwner);
    }
    AppDataDir = folder.chopped(QStringLiteral("Norv/VembraNavigator/").size());
    dm = std::make_unique<TDM>();
    DM = dm.get();
    DM->DataModuleCreate(AppDataDir);
    saved = messageBoxes();
    messageBoxes().error = [this](QWidget*, const QString& text) { errors << text; };
    messageBoxes().information = [this](QWidget*, const QString& text) { infos << text; };
    if (openAtSetUp)
        open();
}

void WindowTest::TearDown()
{
    window.reset();
    messageBoxes() = saved;
    DM = nullptr;
    dm.reset();
    AppDataDir.clear();
    HasIVexel = false;
    Node = NodeModel{};
}

T_frmMain& WindowTest::open()
{
    store = std::make_unique<RegistrySettings>(settingsFile());
    window = std::make_unique<T_frmMain>(store.get());
    window->show();
    QApplication::processEvents();
    return *window;
}

void WindowTest::openDatabase(const QString& name)
{
    w().cb_WorkDB->setCurrentIndex(w().cb_WorkDB->findText(name));
    runReported(&w(), [this] { w().btn_WordDatabaseClick(); });
}

void WindowTest::chooseNode(const QString& name)
{
    const int item = w().box_NodeSelect->findText(name);
    ASSERT_GE(item, 0) << name.toStdString();
    w().box_NodeSelect->setCurrentIndex(item);
    runReported(&w(), [this] { w().box_NodeSelectChange(); });
    w().AL1Update(); // as the idle update does
}

} // namespace vembra::test
