#pragma once

#include "model/map_overlay.h"
#include "model/node_records.h"

#include <QDateTime>
#include <QPoint>
#include <QSize>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace vembra {

namespace metafile {
class Picture;
}

// Everything the work order prints, read from the window at the time of printing.
struct WorkOrderInput {
    // The view: the picture at its display size, the paint box's place in the client area, the
    // map area's size and the window's outer width (one screen pixel becomes k printer pixels).
    const metafile::Picture* map = nullptr;
    bool mapLoaded = false;
    QSize pictureSize;
    QPoint paintBoxOrigin;
    QSize mapArea;
    int windowOuterWidth = 0;
    // The overlay as on screen.
    const NodeDeviceList* devices = nullptr;
    OverlayOptions options;
    OverlayView view;
    const metafile::Picture* pin = nullptr;
    QPointF currentDevice; // CurrentDevice.X, CurrentDevice.Y
    bool hasCurrentDevice = false;
    // The table.
    QString nodeName;
    TConnectionPoint fiberNode;
    double measuredDelay = 0;
    double tolerance = 0;
    QDateTime printedAt;
    // A bitmap for the bottom left of the table; empty or missing: no logo.
    QString logoPath;
};

// The candidates the table lists: devices whose Mark is exactly 1, in device order.
std::vector<std::int32_t> listedCandidates(const NodeDeviceList& devices);

// Printer pixels per screen pixel: the printable width over the window's outer width.
double workOrderScale(int printableWidth, int windowOuterWidth);

// The pin's printed size: 0.8 × k × 67 by 0.8 × k × 72, rounded.
QSize printedPinSize(double k);

// Draws the whole work order on a page: the map area with its overlay in the frame (as an image
// at the printer's resolution, at most 300 dpi, since PDF and PostScript know no raster
// operations), then the page furniture, the table and the logo as vector drawing.
void printWorkOrder(QPagedPaintDevice& page, const WorkOrderInput& input);

// The page furniture, texts, table, candidate list and logo in the printable area (L, T, R, B).
void DrawWorkOrderPage(QPainter& p, const QRect& printable, const WorkOrderInput& input);

} // namespace vembra
