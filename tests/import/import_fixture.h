#pragma once

#include "app/dm/data_module.h"
#include "import/import_host.h"
#include "platform/firebird/firebird_attachment.h"
#include "tools/sample/system_database.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Texts in test messages as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace vembra::test {

// The test server: "127.0.0.1/<port>".
QString firebirdServer();
// The folder the server's user can reach, for databases served to the tests (trailing '/').
QString serverDataFolder();
// SYSDBA with the program's system password.
firebird::Login systemLogin();
// A file name not used before in this run: <stem>-<pid>-<n><suffix>.
QString uniqueFileName(const QString& stem, const QString& suffix);
// Fails the test with a hint when the test server does not answer.
void requireServer();

// A small source: nodes of the given sizes (ids 1..n), Cyrillic and Latin names.
std::vector<sample::SystemNode> smallNodes(const std::vector<int>& devices);

// Writes a system database served by the test server; returns its path on the server.
QString writeServedSource(const sample::SystemSchema& schema,
                          const std::vector<sample::SystemNode>& nodes,
                          const QString& fileName = {});
// Writes a system database file opened directly (embedded) in folder; returns its path.
QString writeFileSource(const QString& folder, const sample::SystemSchema& schema,
                        const std::vector<sample::SystemNode>& nodes, const QString& fileName = {});

// One local node row and its device rows as the working database holds them.
struct LocalNode {
    int id = 0;
    QString name;
    int connectNo = 0;
    QByteArray map;
    double idSize = 0;
    bool idSizeNull = false;
    struct Device {
        int id, nodeId;
        QString code;
        int parent;
        double delay, xpage, ypage;
        int vexelId, fVexelId;
    };
    std::vector<Device> devices; // in id order
};
std::vector<LocalNode> readLocalNodes(const QString& workingDatabase);

// A data module on its own application folder, pointed at a fresh working database, with a
// host whose boxes answer from the test's scripts.
class ImportTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The working database the local components point at.
    QString workingDatabase() const { return dm.localDataSource(); }
    ImportHost host();

    QTemporaryDir dir;
    QString appData;
    QString appFolder;
    QString exeDir;
    TDM dm;
    QString workDBName;
    bool hasIVexel = true;
    bool hasFVexel = false;
    int iVexelGroupShown = -1; // -1: not set
    QStringList errors;
    QStringList questions;
    QStringList informations;
    std::vector<bool> answers; // answers to the questions in turn; Yes when they run out
    QString fileToPick;        // what the file dialog returns
};

} // namespace vembra::test
