#include "model/map_view.h"

#include <cmath>

namespace vembra {

namespace {

int roundHalfEven(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

void setRadius(double markerSize, NodeDeviceList& devices)
{
    const std::int32_t radius = roundHalfEven(markerSize);
    for (auto& d : devices) {
        d.MapData.Radius = radius;
        d.MapData.Size = 2 * radius;
    }
}

} // namespace

QSize ApplyZoom(const QSize& mapSize, double zoom, const QSize& previous)
{
    const int a = roundHalfEven(mapSize.height() * zoom);
    const int b = roundHalfEven(mapSize.width() * zoom);
    if (a == 0 || b == 0)
        return previous;
    const double rh = double(mapSize.height()) / a;
    const double rw = double(mapSize.width()) / b;
    const double r = rh > rw ? rh : rw;
    return QSize(static_cast<int>(mapSize.width() / r), static_cast<int>(mapSize.height() / r));
}

void PlaceMap(MapView& view, const ClientArea& client)
{
    view.paintBoxOrigin.setX((client.width - client.panelWidth) / 2 -
                             roundHalfEven(view.pictureSize.width() * view.FViewCenterX));
    view.paintBoxOrigin.setY(client.height / 2 -
                             roundHalfEven(view.pictureSize.height() * view.FViewCenterY));
}

void RescaleDevices(NodeDeviceList& devices, double zoom, std::int32_t currentIndex,
                    TConnectionPoint& currentDevice)
{
    for (std::size_t i = 0; i < devices.size(); ++i) {
        auto& m = devices[i].MapData;
        m.ScreenRadius = roundHalfEven(m.Radius * zoom);
        m.ScreenSize = roundHalfEven(m.Size * zoom);
        m.ScreenX = static_cast<float>(m.X * zoom);
        m.ScreenY = static_cast<float>(m.Y * zoom);
        if (static_cast<std::int32_t>(i) == currentIndex) {
            currentDevice.X = m.ScreenX;
            currentDevice.Y = m.ScreenY;
        }
        for (std::size_t j = 0; j < m.ScreenPath.size() && j < m.Path.size(); ++j)
            m.ScreenPath[j] = {roundHalfEven(m.Path[j].X * zoom),
                               roundHalfEven(m.Path[j].Y * zoom)};
    }
}

bool ZoomIn(MapView& view, const QSize& mapSize, double step)
{
    const double z = view.FZoom + step;
    if (z >= kMaxZoom)
        return false;
    view.FZoom = z;
    view.pictureSize = ApplyZoom(mapSize, z, view.pictureSize);
    return true;
}

bool ZoomOut(MapView& view, const QSize& mapSize, double step)
{
    const double z = view.FZoom - step;
    if (z <= 0)
        return false;
    view.FZoom = z;
    view.pictureSize = ApplyZoom(mapSize, z, view.pictureSize);
    return true;
}

bool GrowMarkers(double& markerSize, NodeDeviceList& devices)
{
    if (markerSize >= 10)
        return false;
    markerSize += 1;
    setRadius(markerSize, devices);
    return true;
}

bool ShrinkMarkers(double& markerSize, NodeDeviceList& devices)
{
    if (markerSize <= 2)
        return false;
    markerSize -= 1;
    setRadius(markerSize, devices);
    return true;
}

bool CenterOnDevice(MapView& view, const NodeDeviceList& devices, const QString& code)
{
    for (std::size_t i = 0; i < devices.size(); ++i) {
        if (devices[i].Code == code) {
            view.FFocusedIndex = static_cast<std::int32_t>(i);
            view.FViewCenterX = devices[i].XPage;
            view.FViewCenterY = devices[i].YPage;
            return true;
        }
    }
    return false;
}

void centreFromPaintBox(MapView& view, const ClientArea& client)
{
    if (view.pictureSize.width() > 0)
        view.FViewCenterX =
            double((client.width - client.panelWidth) / 2 - view.paintBoxOrigin.x()) /
            view.pictureSize.width();
    if (view.pictureSize.height() > 0)
        view.FViewCenterY =
            double(client.height / 2 - view.paintBoxOrigin.y()) / view.pictureSize.height();
}

} // namespace vembra
