// Parse and paint costs of map pictures: the largest fixture and a generated map of 50 000
// primitives, painted whole at scales 1 and 2 and through a 1000 x 700 window at scale 12.
#include "platform/metafile/display_list.h"
#include "platform/metafile/gdi_player.h"
#include "platform/metafile/metafile_format.h"
#include "platform/metafile/metafile_picture.h"
#include "platform/metafile/record_readers.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Builds an enhanced metafile record by record.
class EmfBuilder {
public:
    EmfBuilder(std::int32_t frameW, std::int32_t frameH, std::int32_t pxW, std::int32_t pxH,
               std::int32_t mmW, std::int32_t mmH)
    {
        const std::initializer_list<std::int64_t> header = {
            0, 0, 0, 0,   0,   0,   frameW, frameH, 0x464D4520, 0x10000, 0,          0,         16,
            0, 0, 0, pxW, pxH, mmW, mmH,    0,      0,          0,       mmW * 1000, mmH * 1000};
        record(1, header);
    }
    void record(std::uint32_t type, std::initializer_list<std::int64_t> params)
    {
        u32(type);
        u32(static_cast<std::uint32_t>(8 + 4 * params.size()));
        for (const std::int64_t p : params)
            u32(static_cast<std::uint32_t>(p));
    }
    void wideText(std::int32_t x, std::int32_t y, const std::u16string& text)
    {
        const std::uint32_t chars = static_cast<std::uint32_t>(text.size());
        const std::uint32_t textBytes = (chars * 2 + 3) / 4 * 4;
        u32(84);
        u32(76 + textBytes);
        for (int i = 0; i < 4; ++i)
            u32(0);
        u32(1);
        u32(0);
        u32(0);
        u32(static_cast<std::uint32_t>(x));
        u32(static_cast<std::uint32_t>(y));
        u32(chars);
        u32(76);
        u32(0);
        for (int i = 0; i < 4; ++i)
            u32(0);
        u32(0);
        for (const char16_t c : text) {
            m_bytes.push_back(static_cast<std::uint8_t>(c));
            m_bytes.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        while (m_bytes.size() % 4 != 0)
            m_bytes.push_back(0);
    }
    Bytes finish()
    {
        record(14, {0, 16, 20});
        const std::uint32_t size = static_cast<std::uint32_t>(m_bytes.size());
        for (int i = 0; i < 4; ++i)
            m_bytes[48 + i] = static_cast<std::uint8_t>(size >> (8 * i));
        return m_bytes;
    }

private:
    void u32(std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    Bytes m_bytes;
};

// A synthetic node map: a 250 x 200 grid of cells with 50 000 shapes and labels in all.
Bytes generatedMap()
{
    EmfBuilder emf(40000, 28000, 1512, 1058, 400, 280); // about 1512 x 1058 px
    emf.record(17, {8});                                // MM_ANISOTROPIC
    emf.record(9, {40000, 28000});                      // window in 0.01 mm
    emf.record(11, {1512, 1058});                       // viewport in pixels
    emf.record(18, {1});                                // transparent text
    emf.record(82, {1, -120, 0, 0, 0, 400, 0, 0, 0x41, 0x72, 0x69, 0x61, 0x6C});
    emf.record(37, {1});
    std::uint32_t state = 7;
    const auto next = [&state] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    int made = 0;
    for (int row = 0; row < 200 && made < 50000; ++row) {
        for (int col = 0; col < 250 && made < 50000; ++col) {
            const std::int64_t x = col * 160;
            const std::int64_t y = row * 140;
            const std::int64_t color = next() & 0xFFFFFF;
            emf.record(38, {2, 0, static_cast<std::int64_t>(next() % 3) * 10, 0, color});
            emf.record(39, {3, 0, next() & 0xFFFFFF, 0});
            emf.record(37, {2});
            emf.record(37, {3});
            switch (made % 5) {
            case 0:
                emf.record(43, {x, y, x + 120, y + 100});
                break;
            case 1:
                emf.record(42, {x, y, x + 100, y + 100});
                break;
            case 2:
                emf.record(4, {x, y, x + 150, y + 130, 4, x, y, x + 50, y + 120, x + 100, y + 10,
                               x + 150, y + 130});
                break;
            case 3:
                emf.record(27, {x, y});
                emf.record(54, {x + 150, y + 120});
                break;
            default:
                emf.wideText(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y + 100),
                             u"TP" + std::u16string(1, char16_t(u'0' + made % 10)));
                break;
            }
            emf.record(40, {2});
            emf.record(40, {3});
            ++made;
        }
    }
    return emf.finish();
}

Bytes fixture(const char* name)
{
    QFile file(QStringLiteral(VEMBRA_TEST_FIXTURES "/metafiles/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    return Bytes(data.begin(), data.end());
}

const Bytes& source(int which)
{
    static const Bytes largest = fixture("s01_lo_city.emf"); // the largest fixture
    static const Bytes generated = generatedMap();
    return which == 0 ? largest : generated;
}

const char* sourceName(int which)
{
    return which == 0 ? "s01_lo_city" : "generated_50k";
}

void parse(benchmark::State& state)
{
    const Bytes& bytes = source(static_cast<int>(state.range(0)));
    if (bytes.empty()) {
        state.SkipWithError("fixture missing");
        return;
    }
    for (auto _ : state) {
        vembra::metafile::Picture picture;
        benchmark::DoNotOptimize(picture.loadFromData(bytes));
    }
    // The display list's memory, measured once on the list the loader builds.
    const auto info = vembra::metafile::inspectBlob(bytes);
    vembra::metafile::DisplayList list;
    vembra::metafile::DeviceInfo device;
    device.pictureRect = info.deviceRect;
    device.pixelsPerMmX = info.pixelsPerMmX;
    device.pixelsPerMmY = info.pixelsPerMmY;
    vembra::metafile::readEmfRecords(std::span(bytes).first(info.length), list, device);
    list.finish(info.deviceRect);
    state.counters["items"] = static_cast<double>(list.size());
    state.counters["list_bytes"] = static_cast<double>(list.memoryBytes());
    state.SetLabel(sourceName(static_cast<int>(state.range(0))));
}

void paint(benchmark::State& state)
{
    const int which = static_cast<int>(state.range(0));
    const int scale = static_cast<int>(state.range(1));
    vembra::metafile::Picture picture;
    if (!picture.loadFromData(source(which))) {
        state.SkipWithError("no picture");
        return;
    }
    const QSizeF scaled = QSizeF(picture.naturalSize()) * scale;
    // Scale 12 shows only a 1000 x 700 window in the middle of the scaled picture.
    const bool windowed = scale >= 12;
    const QSize canvas = windowed ? QSize(1000, 700) : scaled.toSize();
    QImage image(canvas, QImage::Format_ARGB32_Premultiplied);
    const QPointF offset =
        windowed ? QPointF((scaled.width() - 1000) / 2, (scaled.height() - 700) / 2) : QPointF();
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        if (windowed)
            painter.setClipRect(QRect(0, 0, 1000, 700));
        painter.translate(-offset);
        picture.draw(painter, QRectF(QPointF(0, 0), scaled));
    }
    state.SetLabel(
        QStringLiteral("%1 x%2").arg(QLatin1String(sourceName(which))).arg(scale).toStdString());
}

BENCHMARK(parse)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(paint)->ArgsProduct({{0, 1}, {1, 2, 12}})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts and text layout need it
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
