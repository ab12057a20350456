#include "tools/cli_render.h"

#include "platform/metafile/metafile_picture.h"
#include "platform/zlib/zlib_inflate.h"

#include <QFile>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace vembra {

namespace {

struct Usage : std::invalid_argument {
    using std::invalid_argument::invalid_argument;
};

constexpr const char* kRenderUsage =
    "usage: vembra render FILE [--blob] [--scale S] -o OUT.png\n"
    "  FILE      an enhanced metafile or a placeable Windows metafile\n"
    "  --blob    FILE is a stored map: a zlib stream of such a metafile\n"
    "  --scale S the picture's size (by the metafile's size rules) times S; 1 when omitted\n";

} // namespace

int runRenderCommand(const QStringList& args)
{
    try {
        QString input;
        QString output;
        bool blob = false;
        double scale = 1.0;
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (a == QLatin1String("--help")) {
                std::fputs(kRenderUsage, stdout);
                return 0;
            }
            if (a == QLatin1String("--blob")) {
                blob = true;
            } else if (a == QLatin1String("--scale") || a == QLatin1String("-o")) {
                if (i + 1 >= args.size())
                    throw Usage(a.toStdString() + " needs a value");
                const QString value = args[++i];
                if (a == QLatin1String("-o")) {
                    output = value;
                } else {
                    bool ok = false;
                    scale = value.toDouble(&ok);
                    if (!ok || !(scale > 0) || scale > 100)
                        throw Usage("--scale takes a number above 0 and at most 100");
                }
            } else if (a.startsWith(QLatin1Char('-')) || !input.isEmpty()) {
                throw Usage("unexpected argument: " + a.toStdString());
            } else {
                input = a;
            }
        }
        if (input.isEmpty() || output.isEmpty())
            throw Usage("FILE and -o OUT.png are required");

        QFile file(input);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error(input.toStdString() + ": " + file.errorString().toStdString());
        const QByteArray bytes = file.readAll();
        std::vector<std::uint8_t> data(bytes.begin(), bytes.end());
        if (blob)
            data = zlib::inflateStream(data);
        metafile::Picture picture;
        if (!picture.loadFromData(data))
            throw std::runtime_error(input.toStdString() +
                                     ": not an enhanced or placeable metafile");
        const QSize size(int(std::lround(picture.naturalSize().width() * scale)),
                         int(std::lround(picture.naturalSize().height() * scale)));
        if (size.isEmpty() || qint64(size.width()) * size.height() > 400'000'000)
            throw std::runtime_error("the picture would measure " + std::to_string(size.width()) +
                                     " x " + std::to_string(size.height()) + " pixels");
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            picture.draw(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        if (!image.save(output, "PNG"))
            throw std::runtime_error("cannot write " + output.toStdString());
        std::printf("%s: %d x %d\n", output.toLocal8Bit().constData(), size.width(), size.height());
        return 0;
    } catch (const Usage& e) {
        std::fprintf(stderr, "vembra render: %s\n%s", e.what(), kRenderUsage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vembra render: %s\n", e.what());
        return 1;
    }
}

} // namespace vembra
