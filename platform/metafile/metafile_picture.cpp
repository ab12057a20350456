#include "platform/metafile/metafile_picture.h"

#include "platform/metafile/byte_reader.h"
#include "platform/metafile/display_list.h"
#include "platform/metafile/metafile_format.h"
#include "platform/metafile/record_readers.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <cmath>
#include <new>
#include <stdexcept>

namespace vembra::metafile {

namespace {

constexpr std::uint32_t emfSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t placeableKey = 0x9AC6CDD7;
constexpr std::size_t placeableHeaderSize = 22;
constexpr std::size_t wmfHeaderSize = 18;

double screenDpi()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const double dpi = screen->logicalDotsPerInch();
            if (dpi > 0 && std::isfinite(dpi))
                return dpi;
        }
    }
    return 96.0;
}

BlobInfo inspectEmf(const ByteReader& r)
{
    BlobInfo info;
    const std::uint32_t nBytes = r.u32At(48);
    if (nBytes < 88 || nBytes > r.size())
        return info;
    const std::int64_t left = r.i32At(24), top = r.i32At(28);
    const std::int64_t right = r.i32At(32), bottom = r.i32At(36);
    const std::int64_t devPxW = r.i32At(72), devPxH = r.i32At(76);
    const std::int64_t devMmW = r.i32At(80), devMmH = r.i32At(84);
    if (devPxW <= 0 || devPxH <= 0 || devMmW <= 0 || devMmH <= 0)
        return info;
    const std::int64_t width = roundedQuotient((right - left) * devPxW, devMmW * 100);
    const std::int64_t height = roundedQuotient((bottom - top) * devPxH, devMmH * 100);
    if (width <= 0 || height <= 0 || width > 1'000'000 || height > 1'000'000)
        return info;
    info.format = BlobFormat::Emf;
    info.length = nBytes;
    info.size = QSize(int(width), int(height));
    info.pixelsPerMmX = double(devPxW) / double(devMmW);
    info.pixelsPerMmY = double(devPxH) / double(devMmH);
    info.deviceRect =
        QRectF(QPointF(left * info.pixelsPerMmX / 100, top * info.pixelsPerMmY / 100),
               QPointF(right * info.pixelsPerMmX / 100, bottom * info.pixelsPerMmY / 100));
    return info;
}

BlobInfo inspectPlaceable(const ByteReader& r, double dpi)
{
    BlobInfo info;
    if (r.size() < placeableHeaderSize + wmfHeaderSize || r.u32At(0) != placeableKey)
        return info;
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 10; ++i)
        checksum ^= r.u16At(2 * i);
    if (checksum != r.u16At(20))
        return info;
    const auto s16 = [&r](std::size_t at) { return std::int64_t(std::int16_t(r.u16At(at))); };
    const std::int64_t left = s16(6), top = s16(8), right = s16(10), bottom = s16(12);
    const std::int64_t unitsPerInch = r.u16At(14);
    if (unitsPerInch == 0 || !(dpi > 0) || !std::isfinite(dpi))
        return info;
    const double width = std::nearbyint(double(right - left) * dpi / double(unitsPerInch));
    const double height = std::nearbyint(double(bottom - top) * dpi / double(unitsPerInch));
    if (width <= 0 || height <= 0)
        return info;
    info.format = BlobFormat::PlaceableWmf;
    info.length = r.size();
    info.size = QSize(int(width), int(height));
    info.deviceRect =
        QRectF(QPointF(double(left), double(top)), QPointF(double(right), double(bottom)));
    info.pixelsPerMmX = info.pixelsPerMmY = double(unitsPerInch) / 25.4;
    return info;
}

} // namespace

std::int64_t roundedQuotient(std::int64_t numerator, std::int64_t denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    std::int64_t q = numerator / denominator;
    std::int64_t rem = numerator % denominator;
    if (rem < 0) { // floor division
        q -= 1;
        rem += denominator;
    }
    const std::int64_t twice = 2 * rem;
    if (twice > denominator || (twice == denominator && (q % 2 != 0)))
        ++q;
    return q;
}

BlobInfo inspectBlob(std::span<const std::uint8_t> bytes, double dpi)
{
    const ByteReader r(bytes);
    if (bytes.size() > 100 && r.u32At(0) == 1 && r.u32At(40) == emfSignature)
        return inspectEmf(r); // an EMF header: either a valid EMF or not a map at all
    return inspectPlaceable(r, dpi);
}

Picture::Picture() = default;
Picture::~Picture() = default;
Picture::Picture(Picture&&) noexcept = default;
Picture& Picture::operator=(Picture&&) noexcept = default;

bool Picture::loadFromData(std::span<const std::uint8_t> bytes)
{
    clear();
    try {
        const BlobInfo info = inspectBlob(bytes, screenDpi());
        if (info.format == BlobFormat::None)
            return false;
        auto list = std::make_unique<DisplayList>();
        DeviceInfo device;
        device.pictureRect = info.deviceRect;
        device.pixelsPerMmX = info.pixelsPerMmX;
        device.pixelsPerMmY = info.pixelsPerMmY;
        if (info.format == BlobFormat::Emf) {
            readEmfRecords(bytes.first(info.length), *list, device);
        } else {
            device.wmf = true;
            readWmfRecords(bytes.subspan(placeableHeaderSize), *list, device);
        }
        list->finish(info.deviceRect);
        m_list = std::move(list);
        m_deviceRect = info.deviceRect;
        m_naturalSize = m_displaySize = info.size;
        return true;
    } catch (const std::bad_alloc&) {
        clear();
        return false;
    }
}

bool Picture::loadFromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(
            QStringLiteral("Cannot open file %1: %2").arg(path, file.errorString()).toStdString());
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(
            QStringLiteral("Cannot read file %1: %2").arg(path, file.errorString()).toStdString());
    return loadFromData(std::span(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                  std::size_t(data.size())));
}

void Picture::clear()
{
    m_list.reset();
    m_deviceRect = QRectF();
    m_naturalSize = m_displaySize = QSize(0, 0);
}

bool Picture::isEmpty() const
{
    return !m_list;
}

QSize Picture::naturalSize() const
{
    return m_naturalSize;
}

int Picture::width() const
{
    return m_displaySize.width();
}

int Picture::height() const
{
    return m_displaySize.height();
}

void Picture::setWidth(int width)
{
    m_displaySize.setWidth(std::max(0, width));
}

void Picture::setHeight(int height)
{
    m_displaySize.setHeight(std::max(0, height));
}

void Picture::draw(QPainter& painter, const QRectF& target) const
{
    if (!m_list || m_deviceRect.width() == 0 || m_deviceRect.height() == 0 || target.isEmpty())
        return;
    const QTransform deviceToTarget =
        QTransform::fromTranslate(-m_deviceRect.left(), -m_deviceRect.top()) *
        QTransform::fromScale(target.width() / m_deviceRect.width(),
                              target.height() / m_deviceRect.height()) *
        QTransform::fromTranslate(target.left(), target.top());
    m_list->replay(painter, deviceToTarget);
}

QString Picture::dump() const
{
    return m_list ? m_list->dump() : QString();
}

} // namespace vembra::metafile
