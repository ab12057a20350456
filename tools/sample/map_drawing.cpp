#include "tools/sample/map_drawing.h"

#include "tools/sample/emf_writer.h"

#include <zlib.h>

#include <cmath>
#include <map>
#include <stdexcept>

namespace vembra::sample {

namespace {

constexpr int kBlock = 96;  // street grid spacing in pixels
constexpr int kStreet = 14; // street width

const char* const kStreetNames[] = {
    "ул. Ленина",  "Harbour Rd", "пер. Школьный", "Park Row",    "ул. Гагарина",
    "Mill Lane",   "пр. Мира",   "Station St",    "ул. Садовая", "Church Walk",
    "ул. Полевая", "Bridge St",  "бул. Озёрный",  "Kings Way",   "ул. Северная",
};

QPoint pixel(const PlantDevice& d, int width, int height)
{
    return QPoint(int(std::lround(d.xpage * width)), int(std::lround(d.ypage * height)));
}

void drawStreets(EmfWriter& emf, int width, int height)
{
    const std::uint32_t brush = emf.createBrush(0, rgb(228, 226, 214));
    const std::uint32_t pen = emf.createPen(EmfWriter::kPenSolid, 1, rgb(190, 186, 170));
    emf.selectObject(brush);
    emf.selectObject(pen);
    for (int y = kStreet / 2; y < height; y += kBlock) {
        for (int x = kStreet / 2; x < width; x += kBlock) {
            const int w = std::min(kBlock - kStreet, width - x);
            const int h = std::min(kBlock - kStreet, height - y);
            if (w > 4 && h > 4)
                emf.polygon(
                    {QPoint(x, y), QPoint(x + w, y), QPoint(x + w, y + h), QPoint(x, y + h)});
        }
    }
    emf.selectStock(EmfWriter::kNullBrush);
    emf.selectStock(EmfWriter::kNullPen);
    emf.deleteObject(brush);
    emf.deleteObject(pen);

    const std::uint32_t font = emf.createFont(QStringLiteral("Arial"), 11, 400, 0, 204);
    emf.selectObject(font);
    emf.setTextColour(rgb(90, 90, 90));
    emf.setTextAlign(EmfWriter::kTextTopLeft);
    int name = 0;
    for (int y = kBlock; y < height - 20; y += 2 * kBlock) {
        emf.textOut(QPoint(kBlock / 2 + (name * 37) % kBlock, y - kStreet / 2 - 1),
                    QString::fromUtf8(kStreetNames[name % std::size(kStreetNames)]));
        ++name;
    }
    emf.deleteObject(font);
}

void drawCables(EmfWriter& emf, const std::vector<PlantDevice>& devices, int width, int height)
{
    std::map<std::int32_t, std::size_t> byId;
    for (std::size_t i = 0; i < devices.size(); ++i)
        byId.try_emplace(devices[i].id, i);
    for (const bool trunk : {false, true}) {
        const std::uint32_t pen = trunk ? emf.createPen(EmfWriter::kPenSolid, 4, rgb(230, 120, 20))
                                        : emf.createPen(EmfWriter::kPenSolid, 2, rgb(30, 80, 200));
        emf.selectObject(pen);
        for (const PlantDevice& d : devices) {
            const auto parent = byId.find(d.parent);
            if (parent == byId.end() || d.trunk != trunk)
                continue;
            const QPoint from = pixel(devices[parent->second], width, height);
            const QPoint to = pixel(d, width, height);
            // Cables follow the streets: along x first, then along y.
            emf.polyline({from, QPoint(to.x(), from.y()), to});
        }
        emf.selectStock(EmfWriter::kNullPen);
        emf.deleteObject(pen);
    }
}

void drawSymbol(EmfWriter& emf, DeviceKind kind, QPoint p)
{
    const int x = p.x();
    const int y = p.y();
    switch (kind) {
    case DeviceKind::FiberNode:
        emf.ellipse(QRect(QPoint(x - 8, y - 8), QPoint(x + 8, y + 8)));
        break;
    case DeviceKind::Amplifier:
        emf.polygon({QPoint(x - 7, y - 6), QPoint(x + 7, y), QPoint(x - 7, y + 6)});
        break;
    case DeviceKind::Coupler:
    case DeviceKind::Equaliser:
        emf.rectangle(QRect(QPoint(x - 4, y - 4), QPoint(x + 4, y + 4)));
        break;
    case DeviceKind::Splitter:
    case DeviceKind::PowerInserter:
        emf.polygon({QPoint(x, y - 5), QPoint(x + 5, y), QPoint(x, y + 5), QPoint(x - 5, y)});
        break;
    case DeviceKind::Tap:
        emf.ellipse(QRect(QPoint(x - 3, y - 3), QPoint(x + 3, y + 3)));
        break;
    case DeviceKind::Terminator:
        emf.rectangle(QRect(QPoint(x - 1, y - 5), QPoint(x + 1, y + 5)));
        break;
    case DeviceKind::Splice:
        emf.polyline({QPoint(x - 4, y - 4), QPoint(x + 4, y + 4)});
        emf.polyline({QPoint(x - 4, y + 4), QPoint(x + 4, y - 4)});
        break;
    }
}

std::uint32_t symbolColour(DeviceKind kind)
{
    switch (kind) {
    case DeviceKind::FiberNode:
        return rgb(40, 180, 60);
    case DeviceKind::Amplifier:
        return rgb(250, 200, 40);
    case DeviceKind::Tap:
        return rgb(255, 255, 255);
    case DeviceKind::Terminator:
        return rgb(60, 60, 60);
    default:
        return rgb(170, 200, 255);
    }
}

void drawDevices(EmfWriter& emf, const std::vector<PlantDevice>& devices, int width, int height)
{
    const std::uint32_t outline = emf.createPen(EmfWriter::kPenSolid, 1, rgb(20, 20, 60));
    emf.selectObject(outline);
    std::map<DeviceKind, std::uint32_t> brushes;
    for (const PlantDevice& d : devices) {
        auto brush = brushes.find(d.kind);
        if (brush == brushes.end())
            brush = brushes.emplace(d.kind, emf.createBrush(0, symbolColour(d.kind))).first;
        emf.selectObject(brush->second);
        drawSymbol(emf, d.kind, pixel(d, width, height));
    }
    const std::uint32_t font = emf.createFont(QStringLiteral("Arial"), 9, 700);
    emf.selectObject(font);
    emf.setTextColour(rgb(0, 0, 90));
    emf.setTextAlign(EmfWriter::kTextTopLeft);
    for (const PlantDevice& d : devices) {
        const QPoint p = pixel(d, width, height);
        emf.textOut(QPoint(p.x() + 6, p.y() + 4), d.code);
    }
    emf.selectStock(EmfWriter::kNullBrush);
    emf.selectStock(EmfWriter::kNullPen);
    for (const auto& [kind, handle] : brushes)
        emf.deleteObject(handle);
    emf.deleteObject(outline);
    emf.deleteObject(font);
}

} // namespace

QByteArray drawNodeMap(const std::vector<PlantDevice>& devices, int width, int height,
                       std::uint64_t)
{
    EmfWriter emf(width, height);
    emf.setBkMode(EmfWriter::kTransparent);
    drawStreets(emf, width, height);
    drawCables(emf, devices, width, height);
    drawDevices(emf, devices, width, height);
    return emf.finish();
}

QByteArray drawPin()
{
    EmfWriter emf(67, 72);
    emf.setBkMode(EmfWriter::kTransparent);
    // The needle from the lower-left corner up to the head.
    const std::uint32_t needlePen = emf.createPen(EmfWriter::kPenSolid, 3, rgb(70, 70, 70));
    emf.selectObject(needlePen);
    emf.polyline({QPoint(1, 71), QPoint(36, 30)});
    const std::uint32_t headPen = emf.createPen(EmfWriter::kPenSolid, 2, rgb(110, 0, 0));
    const std::uint32_t headBrush = emf.createBrush(0, rgb(220, 20, 30));
    emf.selectObject(headPen);
    emf.selectObject(headBrush);
    emf.ellipse(QRect(QPoint(28, 2), QPoint(64, 38)));
    const std::uint32_t shine = emf.createBrush(0, rgb(255, 170, 170));
    emf.selectObject(shine);
    emf.selectStock(EmfWriter::kNullPen);
    emf.ellipse(QRect(QPoint(38, 9), QPoint(48, 19)));
    emf.selectStock(EmfWriter::kNullBrush);
    for (const std::uint32_t h : {needlePen, headPen, headBrush, shine})
        emf.deleteObject(h);
    return emf.finish();
}

QByteArray zlibCompress(const QByteArray& bytes)
{
    uLongf size = compressBound(uLong(bytes.size()));
    QByteArray out(qsizetype(size), '\0');
    const int rc =
        compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(bytes.constData()), uLong(bytes.size()), 6);
    if (rc != Z_OK)
        throw std::runtime_error(std::string("zlib: ") + zError(rc));
    out.resize(qsizetype(size));
    return out;
}

} // namespace vembra::sample
