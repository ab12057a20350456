#pragma once

#include "model/node_records.h"

#include <QPoint>
#include <QSize>

namespace vembra {

// The map view's geometry: the scale, the view centre, the picture's display size and the place
// of the paint box in the window's client area. The window applies it; tests use it alone.
struct MapView {
    double FZoom = 0;
    double FViewCenterX = 0;
    double FViewCenterY = 0;
    std::int32_t FFocusedIndex = 0;
    QSize pictureSize;     // display size of the picture (and of the paint box)
    QPoint paintBoxOrigin; // paint box position in client pixels
};

// What the view is placed in: the client area and the right-hand panel's width.
struct ClientArea {
    int width = 0;
    int height = 0;
    int panelWidth = 0;
};

// Upper limit of the scale (exclusive).
inline constexpr double kMaxZoom = 1000.0;

// The display size for a scale; the previous size when either side would round to 0.
QSize ApplyZoom(const QSize& mapSize, double zoom, const QSize& previous);
// Moves the paint box so that the view centre sits in the middle of the map area.
void PlaceMap(MapView& view, const ClientArea& client);
// Screen fields of every device for the scale; keeps the current device's screen position.
void RescaleDevices(NodeDeviceList& devices, double zoom, std::int32_t currentIndex,
                    TConnectionPoint& currentDevice);
// Steps the scale; false (nothing changed) when the step would leave (0, 1000).
bool ZoomIn(MapView& view, const QSize& mapSize, double step);
bool ZoomOut(MapView& view, const QSize& mapSize, double step);
// Steps the marker size by 1 within its limits and gives every device the new radius.
bool GrowMarkers(double& markerSize, NodeDeviceList& devices);
bool ShrinkMarkers(double& markerSize, NodeDeviceList& devices);
// Centres the view on the first device with that code; false when no device has it.
bool CenterOnDevice(MapView& view, const NodeDeviceList& devices, const QString& code);
// The view centre after the paint box was dragged to its origin.
void centreFromPaintBox(MapView& view, const ClientArea& client);

} // namespace vembra
