// Feeds arbitrary bytes through the way a stored map takes: inflate (when the bytes look like a
// zlib stream), load as a metafile picture, paint at full size and zoomed into a clip, dump.
#include "platform/metafile/metafile_picture.h"
#include "platform/zlib/zlib_inflate.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Fonts need a GUI application; it lives for the whole run.
    static auto* app = new QGuiApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    std::vector<std::uint8_t> bytes;
    if (size >= 2 && data[0] == 0x78) {
        try {
            bytes = vembra::zlib::inflateStream(input);
        } catch (const vembra::zlib::Error&) {
            return 0;
        }
    } else {
        bytes.assign(data, data + size);
    }
    vembra::metafile::Picture picture;
    if (!picture.loadFromData(bytes))
        return 0;
    QImage image(96, 72, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        picture.draw(painter, QRectF(0, 0, 96, 72));
    }
    {
        QPainter painter(&image);
        painter.setClipRect(QRect(10, 10, 40, 30));
        picture.draw(painter, QRectF(-400, -300, 1200, 900));
    }
    (void)picture.dump();
    return 0;
}
