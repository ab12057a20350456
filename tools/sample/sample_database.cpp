#include "tools/sample/sample_database.h"

#include "localdb/local_statements.h"
#include "platform/sqlite/sqlite_database.h"
#include "platform/sqlite/sqlite_statement.h"
#include "tools/sample/map_drawing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <stdexcept>

namespace vembra::sample {

namespace {

PlantOptions plant(std::uint64_t seed, int devices, std::int32_t nodeId, bool iVexel, bool fVexel)
{
    PlantOptions o;
    o.seed = seed;
    o.devices = devices;
    o.firstId = nodeId * 1000000 + 1;
    o.iVexelProbes = iVexel;
    o.fVexelProbes = fVexel;
    // Larger plants get a larger plan, so that their devices stay apart.
    const double scale = std::clamp(std::sqrt(devices / 1500.0), 1.0, 8.0);
    o.mapWidth = int(std::lround(1600 * scale));
    o.mapHeight = int(std::lround(1200 * scale));
    return o;
}

QByteArray storedMap(const SampleNode& node, const std::vector<PlantDevice>& devices)
{
    switch (node.map) {
    case MapState::Empty:
        return {};
    case MapState::NotZlib: {
        QByteArray bytes;
        for (int i = 0; i < 64; ++i)
            bytes.append(char((i * 73 + 41) & 0xFF));
        return bytes;
    }
    case MapState::Drawing:
        break;
    }
    return zlibCompress(
        drawNodeMap(devices, node.plant.mapWidth, node.plant.mapHeight, node.plant.seed));
}

} // namespace

std::vector<SampleNode> demoNodes(std::uint64_t seed)
{
    std::vector<SampleNode> nodes;
    const auto node = [&](const char* name, std::int32_t id, std::int32_t connectNo, int devices,
                          bool iVexel, bool fVexel) -> SampleNode& {
        SampleNode n;
        n.name = QString::fromUtf8(name);
        n.id = id;
        n.connectNo = connectNo;
        n.plant = plant(seed * 1000 + std::uint64_t(id), devices, id, iVexel, fVexel);
        nodes.push_back(n);
        return nodes.back();
    };
    node("Узел Северный-3", 1, 103, 1200, true, true).plant.irregularCodes = true;
    node("Riverside FN-7", 2, 107, 800, true, false).idSize = 0.004;
    node("Узел Заречный-1", 3, 101, 3000, true, true).plant.duplicateCode = true;
    node("Harbour West", 4, 107, 200, false, false).idSize = 1.5;
    node("Микрорайон Южный, узел 12 (новый корпус)", 5, 112, 600, false, true).idSize =
        std::nullopt;
    node("Old Town (map lost)", 6, 120, 300, true, false).map = MapState::Empty;
    node("Broken map", 7, 121, 250, false, true).map = MapState::NotZlib;
    return nodes;
}

std::vector<SampleNode> sizedNodes(int count, int devicesPerNode, std::uint64_t seed)
{
    std::vector<SampleNode> nodes;
    for (int i = 1; i <= count; ++i) {
        SampleNode n;
        n.name = QStringLiteral("Node %1").arg(i);
        n.id = i;
        n.connectNo = 100 + i;
        n.plant = plant(seed * 1000 + std::uint64_t(i), devicesPerNode, i, true, true);
        nodes.push_back(n);
    }
    return nodes;
}

void writeSampleDatabase(const QString& templatePath, const QString& out,
                         const std::vector<SampleNode>& nodes)
{
    if (QFileInfo::exists(out))
        throw std::runtime_error("File exists: " + QDir::toNativeSeparators(out).toStdString());
    const QString partial = out + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(templatePath, partial))
        throw std::runtime_error("Cannot copy the template " +
                                 QDir::toNativeSeparators(templatePath).toStdString());
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                       QFile::ReadOther);
    try {
        sqlite::Database db(QDir::toNativeSeparators(partial).toStdString());
        sqlite::Transaction tx(db);
        sqlite::Statement insertNode = db.prepare(statements::kInsertNode);
        sqlite::Statement insertDevice = db.prepare(statements::kInsertDevice);
        for (const SampleNode& node : nodes) {
            const std::vector<PlantDevice> devices = generatePlant(node.plant);
            const QByteArray map = storedMap(node, devices);
            insertNode.reset();
            insertNode.bind(":ni", node.id);
            insertNode.bind(":nn", node.name.toStdString());
            insertNode.bind(":cn", node.connectNo);
            insertNode.bindBlob(":map",
                                std::span(reinterpret_cast<const std::uint8_t*>(map.constData()),
                                          std::size_t(map.size())));
            if (node.idSize)
                insertNode.bind(":is", *node.idSize);
            else
                insertNode.bindNull(":is");
            insertNode.execute();
            for (const PlantDevice& d : devices) {
                insertDevice.reset();
                insertDevice.bind(":di", d.id);
                insertDevice.bind(":ni", node.id);
                insertDevice.bind(":dc", d.code.toStdString());
                insertDevice.bind(":pd", d.parent);
                insertDevice.bind(":wd", d.delay);
                insertDevice.bind(":xp", d.xpage);
                insertDevice.bind(":yp", d.ypage);
                insertDevice.bind(":pi", d.iVexel);
                insertDevice.bind(":fs", d.fVexel);
                insertDevice.execute();
            }
        }
        tx.commit();
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, out)) {
        QFile::remove(partial);
        throw std::runtime_error("Cannot create " + QDir::toNativeSeparators(out).toStdString());
    }
}

} // namespace vembra::sample
