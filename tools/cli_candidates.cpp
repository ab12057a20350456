#include "tools/cli_candidates.h"

#include "app/dm/data_module.h"
#include "localdb/node_list.h"
#include "localdb/table_fields.h"
#include "model/candidate_search.h"
#include "model/device_lookup.h"
#include "model/map_loading.h"
#include "model/node_loading.h"
#include "platform/folders/app_folders.h"
#include "platform/metafile/metafile_picture.h"

#include <QFileInfo>

#include <cstdio>
#include <map>
#include <stdexcept>

namespace vembra {

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

double number(const QString& text, const char* what)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        throw Failure(std::string(what) + " is no number: " + text.toStdString());
    return value;
}

void print(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

} // namespace

int runCandidatesCommand(const QStringList& args)
{
    std::map<QString, QString> options;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2)
        options[args[i]] = args[i + 1];
    const auto required = [&](const char* name) {
        const auto it = options.find(QString::fromLatin1(name));
        if (it == options.end())
            throw std::invalid_argument(std::string(name) + " is required");
        return it->second;
    };
    try {
        if (args.size() % 2 != 0)
            throw std::invalid_argument("options come in pairs: --name value");
        const QString db = required("--db");
        const QString nodeName = required("--node");
        const QString code = required("--device");
        const double measured = number(required("--delay"), "the delay");
        const auto tolerance = options.count(QStringLiteral("--tolerance"))
                                   ? number(options[QStringLiteral("--tolerance")], "the tolerance")
                                   : 0.05;
        if (!QFileInfo(db).isFile())
            throw Failure("no such file: " + db.toStdString());

        TDM dm;
        dm.DataModuleCreate(folders::genericDataFolder());
        dm.pointLocalComponentsAt(QFileInfo(db).absoluteFilePath());
        const bool hasFVexelColumn = TableHasField(dm.T2, QString::fromLatin1(kFVexelColumn));
        TNodeList list;
        readNodeList(dm.AQ1, dm.aQ2, hasFVexelColumn,
                     [&](const TNodeListEntry& e) { list.push_back(e); });
        const std::int32_t nodeId = NodeIdByName(list, nodeName);
        if (nodeId == 0)
            throw Failure("no node named " + nodeName.toStdString());

        metafile::Picture map;
        const NodeMapResult loaded = LoadNodeMap(dm.AQ1, nodeId, map);
        const QSize size = loaded.mapLoaded ? map.naturalSize() : QSize();
        NodeModel model;
        LoadNodeDevices(model, dm.AQ1, nodeId,
                        MapGeometry{size.width(), size.height(), loaded.idSize}, hasFVexelColumn);
        const std::int32_t current = currentDeviceWithCode(model.NodeDevices, code);
        if (current < 0)
            throw Failure("no device " + code.toStdString() + " in node " + nodeName.toStdString());

        const double currentDelay = model.NodeDevices[std::size_t(current)].Delay;
        const std::vector<std::int32_t> found = SearchCandidates(
            model.NodeDevices, current, candidateWindow(currentDelay, measured, tolerance));
        for (const std::int32_t i : found) {
            const auto& d = model.NodeDevices[std::size_t(i)];
            print(d.Code + QLatin1Char('\t') + QString::number(d.Delay, 'f', 5));
        }
        print(QStringLiteral("Total device: %1").arg(found.size()));
        return 0;
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "vembra candidates: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vembra candidates: %s\n", e.what());
        return 1;
    }
}

} // namespace vembra
