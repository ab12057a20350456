#include "print/work_order.h"

#include "platform/metafile/metafile_picture.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace vembra {

namespace {

constexpr int kTopBand = 160;
constexpr int kTable = 1080;
constexpr int kCover = 1100;
constexpr int kRow = 90;
constexpr int kMargin = 20;
constexpr double kMaxImageDpi = 300.0;

int rounded(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

QFont arial(int points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

QString decimals2(double v)
{
    QString text = QString::number(v, 'f', 2);
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

QString decimals5(double v)
{
    QString text = QString::number(v, 'f', 5);
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// The screen geometry of every device carried onto paper: positions through the one transform of
// the map, sizes scaled alike. Rings get ScreenRadius × k, as the printed twins do.
NodeDeviceList devicesOnPaper(const NodeDeviceList& devices, const QTransform& toPaper,
                              double scale)
{
    NodeDeviceList paper = devices;
    for (auto& d : paper) {
        auto& m = d.MapData;
        const QPointF at = toPaper.map(QPointF(m.ScreenX, m.ScreenY));
        m.ScreenX = float(at.x());
        m.ScreenY = float(at.y());
        m.Radius = rounded(m.ScreenRadius * scale);
        m.ScreenRadius = m.Radius;
        m.ScreenSize = rounded(m.ScreenSize * scale);
    }
    return paper;
}

// The map area with its overlay, in the frame: picture, rings and marks, routes and pin all
// through one transform from paint-box pixels.
QImage mapImage(const WorkOrderInput& in, const QRect& frame, double k, double imageScale)
{
    const QSize size(std::max(1, rounded(frame.width() * imageScale)),
                     std::max(1, rounded(frame.height() * imageScale)));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // paint-box point -> printer pixels -> image pixels
    QTransform toPaper;
    toPaper.scale(imageScale, imageScale);
    toPaper.translate(-frame.left(), -frame.top());
    toPaper.scale(k, k);
    toPaper.translate(in.paintBoxOrigin.x(), in.paintBoxOrigin.y());
    const double scale = k * imageScale;

    if (in.map && !in.map->isEmpty()) {
        const QRectF target = toPaper.mapRect(QRectF(QPointF(0, 0), QSizeF(in.pictureSize)));
        in.map->draw(p, target);
    } else if (!in.mapLoaded) {
        p.setFont(arial(20, true));
        p.setPen(Qt::black);
        p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Map is not defined."));
    }
    if (in.devices && in.mapLoaded) {
        const NodeDeviceList paper = devicesOnPaper(*in.devices, toPaper, scale);
        OverlayOptions o = in.options;
        o.outline = Qt::black;
        o.darkLine = true;
        o.routesToRoot = true;
        o.ringWidth = std::max(1, rounded(4 * imageScale));
        OverlayView v = in.view;
        v.zoom = 1.0;
        drawOverlay(p, paper, o, v);
        if (in.pin && in.hasCurrentDevice && !in.pin->isEmpty()) {
            const QSizeF pin = QSizeF(printedPinSize(k)) * imageScale;
            const QPointF foot = toPaper.map(in.currentDevice);
            in.pin->draw(p, QRectF(QPointF(foot.x(), foot.y() - pin.height()), pin));
        }
    }
    return image;
}

void textInRow(QPainter& p, int x, int rowTop, const QString& text)
{
    const QFontMetrics metrics(p.font(), p.device());
    const int top = rowTop + (kRow - metrics.height()) / 2;
    p.drawText(QPoint(x, top + metrics.ascent()), text);
}

} // namespace

std::vector<std::int32_t> listedCandidates(const NodeDeviceList& devices)
{
    std::vector<std::int32_t> listed;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].Mark == 1)
            listed.push_back(std::int32_t(i));
    }
    return listed;
}

double workOrderScale(int printableWidth, int windowOuterWidth)
{
    return windowOuterWidth > 0 ? double(printableWidth) / windowOuterWidth : 1.0;
}

QSize printedPinSize(double k)
{
    return QSize(rounded(0.8 * k * 67), rounded(0.8 * k * 72));
}

void DrawWorkOrderPage(QPainter& p, const QRect& area, const WorkOrderInput& in)
{
    const int L = area.left();
    const int T = area.top();
    const int R = area.left() + area.width();
    const int B = area.top() + area.height();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing, false);

    // White side margins and top band; the title; the white cover under the frame.
    p.setPen(Qt::white);
    p.setBrush(Qt::white);
    p.drawRect(QRect(QPoint(L, T), QPoint(L + kMargin, B)));
    p.drawRect(QRect(QPoint(R - kMargin, T), QPoint(R, B)));
    p.drawRect(QRect(QPoint(L, T), QPoint(R, T + kTopBand)));
    p.setFont(arial(14, true));
    p.setPen(Qt::black);
    const QFontMetrics title(p.font(), p.device());
    const QString work = QStringLiteral("Work order");
    p.drawText(QPoint(L + (R - L - title.horizontalAdvance(work)) / 2, T + title.ascent()), work);
    p.setPen(Qt::white);
    p.drawRect(QRect(QPoint(L, B - kCover), QPoint(R, B)));

    // The frame around the map.
    QPen thick(Qt::black, 5);
    p.setPen(thick);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(L, T + kTopBand), QPoint(R, B - kTable)));

    // The table: twelve rows of 90 pixels, a left block and four list columns.
    const int Tt = B - kTable;
    const int colW = (R - L) / 6;
    const int x0 = L + 2 * colW;
    p.drawLine(L, B, R, B);
    for (int y = Tt + kRow; y < Tt + kTable; y += kRow)
        p.drawLine(x0, y, R, y);
    p.drawLine(L, Tt, L, B);
    p.drawLine(x0, Tt, x0, B);
    for (int c = 1; c <= 3; ++c)
        p.drawLine(x0 + c * colW, Tt + kRow, x0 + c * colW, B);
    p.drawLine(R, Tt, R, B);

    p.setFont(arial(9, true));
    const QLocale locale;
    const QString micro = QStringLiteral(" µs");
    const QString left[] = {
        QStringLiteral("Current Node: ") + in.nodeName,
        QStringLiteral("Date: ") + locale.toString(in.printedAt.date(), QLocale::ShortFormat) +
            QLatin1Char(' ') + locale.toString(in.printedAt.time(), QLocale::LongFormat),
        QStringLiteral("Connection point: ") + in.fiberNode.Code,
        QStringLiteral("Connection point time delay: ") + decimals2(in.fiberNode.Delay) + micro,
        QStringLiteral("Measured time delay: ") + decimals2(in.measuredDelay) + micro,
        QStringLiteral("CPD delay: ") + decimals2(in.fiberNode.Delay + in.measuredDelay) + micro,
        QStringLiteral("Tolerance: ± ") + decimals2(in.tolerance) + micro,
    };
    for (int row = 0; row < 7; ++row)
        textInRow(p, L + kMargin, Tt + kRow * row, left[row]);

    const QString titles[] = {QStringLiteral("Device ID"), QStringLiteral("Delay (µs)"),
                              QStringLiteral("Date Assigned"), QStringLiteral("Tech #")};
    const QFontMetrics bold(p.font(), p.device());
    for (int c = 0; c < 4; ++c)
        textInRow(p, x0 + kMargin + c * colW + (colW - bold.horizontalAdvance(titles[c])) / 2,
                  Tt + kRow, titles[c]);

    p.setFont(arial(9, false));
    const std::vector<std::int32_t> listed =
        in.devices ? listedCandidates(*in.devices) : std::vector<std::int32_t>();
    for (std::size_t n = 0; n < listed.size() && n < 10; ++n) {
        const auto& d = (*in.devices)[std::size_t(listed[n])];
        const int rowTop = Tt + kRow * int(2 + n);
        textInRow(p, x0 + kMargin, rowTop, d.Code);
        textInRow(p, x0 + colW + kMargin, rowTop, decimals5(d.Delay));
    }
    textInRow(p, x0 + kMargin, Tt,
              listed.empty() ? QStringLiteral("List of CPD candidates")
                             : QStringLiteral("List of CPD candidates: %1").arg(listed.size()));

    // The logo at the bottom left, when its file is there; a missing file only drops it.
    if (!in.logoPath.isEmpty() && QFileInfo::exists(in.logoPath)) {
        QImageReader reader(in.logoPath);
        const QImage logo = reader.read();
        if (logo.isNull())
            throw std::runtime_error("The logo " + in.logoPath.toStdString() +
                                     " cannot be read: " + reader.errorString().toStdString());
        const int h = rounded(double(logo.height()) * 2 * colW / logo.width());
        p.drawImage(QRect(QPoint(L + kMargin, B - kMargin - h),
                          QPoint(L + 2 * colW - kMargin, B - kMargin)),
                    logo);
    }
    p.restore();
}

void printWorkOrder(QPagedPaintDevice& page, const WorkOrderInput& in)
{
    QPainter p;
    if (!p.begin(&page))
        throw std::runtime_error("The printer cannot start the document.");
    const int resolution = page.logicalDpiX();
    const QRect printable =
        page.pageLayout()
            .paintRectPixels(resolution)
            .translated(-page.pageLayout().paintRectPixels(resolution).topLeft());
    const double k = workOrderScale(printable.width(), in.windowOuterWidth);
    const QRect frame(QPoint(printable.left(), printable.top() + kTopBand),
                      QPoint(printable.right(), printable.bottom() - kTable));
    const double imageScale = std::min(1.0, kMaxImageDpi / std::max(1, resolution));
    if (frame.height() > 0)
        p.drawImage(frame, mapImage(in, frame, k, imageScale));
    DrawWorkOrderPage(p, printable, in);
    if (!p.end())
        throw std::runtime_error("The printer cannot finish the document.");
}

} // namespace vembra
