#pragma once

#include "model/node_records.h"

#include <QColor>
#include <QPolygon>

class QPainter;

namespace vembra {

// The view options of the map's popup menu and the probe boxes that the overlay follows.
struct OverlayOptions {
    bool showMarker = true;
    bool showLine = true;
    bool darkLine = false;
    bool transparent = false;
    bool showAllIVexel = false;
    bool showAllFVexel = false;
    // On paper: black outlines, and routes that run on up to the root.
    QColor outline = QColor(0, 0, 128);
    bool routesToRoot = false;
    // Line width of the probe rings, in pixels of the device drawn on.
    int ringWidth = 4;
};

// What the overlay needs of the view: the current and the focused device, the scale.
struct OverlayView {
    std::int32_t currentIndex = -1;
    std::int32_t focusedIndex = -1;
    double zoom = 1;
};

// Colours of the overlay.
namespace overlay_colours {
inline const QColor kNavy(0, 0, 128);
inline const QColor kRed(255, 0, 0);
inline const QColor kFuchsia(255, 0, 255);
inline const QColor kLime(0, 255, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kYellow(255, 255, 0);
} // namespace overlay_colours

// The five corners of a candidate's flag standing on the device (transparent style moves the
// lower half of the staff one pixel right).
QPolygon candidateFlag(const TMapDeviceData& m, bool transparent);
// The triangle standing on its apex at a device below the chosen probe.
QPolygon probeTriangle(const TMapDeviceData& m);
// The bounding box of a probe ring: a disc of Radius x scale around the device.
QRect probeRing(const TMapDeviceData& m, double zoom);
// The route from a candidate through its ancestors up to the current device (or the root).
QPolygon candidateRoute(const NodeDeviceList& devices, std::int32_t index,
                        std::int32_t currentIndex);

// Draws one device's share of the overlay in paint-box coordinates. Raster operations (not-xor
// rings, merge-not markers) need a raster paint device.
void DrawCandidateMarker(QPainter& p, const NodeDeviceList& devices, std::int32_t index,
                         const OverlayOptions& o, const OverlayView& v);
void DrawIVexelRing(QPainter& p, const NodeDeviceList& devices, std::int32_t index,
                    const OverlayOptions& o, const OverlayView& v);
void DrawFVexelRing(QPainter& p, const NodeDeviceList& devices, std::int32_t index,
                    const OverlayOptions& o, const OverlayView& v);
void DrawProbeTriangles(QPainter& p, const NodeDeviceList& devices, std::int32_t index,
                        const OverlayOptions& o);

// Every device's rings and marks in index order (the pin is drawn by the caller).
void drawOverlay(QPainter& p, const NodeDeviceList& devices, const OverlayOptions& o,
                 const OverlayView& v);

} // namespace vembra
