#include "tools/cli_work_order.h"

#include "app/dm/data_module.h"
#include "localdb/schema_template.h"
#include "localdb/table_fields.h"
#include "platform/folders/app_folders.h"
#include "platform/settings/registry_settings.h"
#include "ui/main_unit.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <stdexcept>

namespace vembra {

namespace {

struct Usage : std::invalid_argument {
    using std::invalid_argument::invalid_argument;
};

QString numberText(const QString& text, const char* what)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        throw std::runtime_error(std::string(what) + " is no number: " + text.toStdString());
    return QString::number(value, 'f', 2).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

} // namespace

int runWorkOrderCommand(const QStringList& args)
{
    try {
        std::map<QString, QString> o;
        if (args.size() % 2 != 0)
            throw Usage("options come in pairs: --name value");
        for (qsizetype i = 0; i + 1 < args.size(); i += 2)
            o[args[i]] = args[i + 1];
        for (const char* name : {"--db", "--node", "--device", "--delay", "-o"}) {
            if (!o.count(QString::fromLatin1(name)))
                throw Usage(std::string(name) + " is required");
        }
        const QString db = QFileInfo(o[QStringLiteral("--db")]).absoluteFilePath();
        if (!QFileInfo(db).isFile())
            throw std::runtime_error("no such file: " + db.toStdString());
        const QString delay = numberText(o[QStringLiteral("--delay")], "the delay");
        const QString tolerance =
            o.count(QStringLiteral("--tolerance"))
                ? numberText(o[QStringLiteral("--tolerance")], "the tolerance")
                : QString();

        // The window starts on a folder of its own, so the user's files and settings stay as
        // they are.
        QTemporaryDir home;
        AppDataDir = home.path() + QDir::separator();
        const QString folder = folders::applicationFolder(AppDataDir);
        installDefaultDatabase(folders::programFolder() + QStringLiteral("srcres.dat"),
                               folder + QStringLiteral("_data.mdb"));
        QFile::copy(folders::programFolder() + QStringLiteral("_data.pdb"),
                    folder + QStringLiteral("_data.pdb"));
        QStringList problems;
        messageBoxes().error = [&](QWidget*, const QString& text) { problems << text; };
        TDM dm;
        DM = &dm;
        dm.DataModuleCreate(AppDataDir);
        RegistrySettings settings(home.filePath(QStringLiteral("settings.conf")));
        T_frmMain window(&settings);
        window.show();
        QApplication::processEvents();

        dm.pointLocalComponentsAt(db);
        HasFVexelColumn = TableHasField(dm.T2, QString::fromLatin1(kFVexelColumn));
        window.RefreshNodeList();
        const int node = window.box_NodeSelect->findText(o[QStringLiteral("--node")]);
        if (node < 0)
            throw std::runtime_error("no node named " + o[QStringLiteral("--node")].toStdString());
        window.box_NodeSelect->setCurrentIndex(node);
        window.box_NodeSelectChange();
        window.box_DevSelect->setCurrentIndex(window.box_DevSelect->count() - 1); // every device
        window.box_DevSelectChange();
        const int device = window.box_CurrDevice->findText(o[QStringLiteral("--device")]);
        if (device < 0)
            throw std::runtime_error("no device " + o[QStringLiteral("--device")].toStdString());
        window.box_CurrDevice->setCurrentIndex(device);
        window.box_CurrDeviceChange();
        window.ed_Measured->setText(delay);
        window.ed_MeasuredExit();
        if (!tolerance.isEmpty())
            window.ed_Delta->setText(tolerance);
        window.SearchCandidates();
        window.pdfFileChooser = [&] {
            return QFileInfo(o[QStringLiteral("-o")]).absoluteFilePath();
        };
        window.SaveWorkOrderPdf();
        if (!problems.isEmpty())
            throw std::runtime_error(problems.join(QStringLiteral("; ")).toStdString());
        DM = nullptr;
        return 0;
    } catch (const Usage& e) {
        std::fprintf(stderr, "vembra work-order: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        DM = nullptr;
        std::fprintf(stderr, "vembra work-order: %s\n", e.what());
        return 1;
    }
}

} // namespace vembra
