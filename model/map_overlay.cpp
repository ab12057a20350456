#include "model/map_overlay.h"

#include <QPainter>

#include <cmath>

namespace vembra {

namespace {

using namespace overlay_colours;

int r(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

QPoint at(const TMapDeviceData& m)
{
    return QPoint(r(m.ScreenX), r(m.ScreenY));
}

// Saves the painter in the constructor and restores it in the destructor.
class PainterStateGuard {
public:
    explicit PainterStateGuard(QPainter& p) : m_p(p) { m_p.save(); }
    ~PainterStateGuard() { m_p.restore(); }
    PainterStateGuard(const PainterStateGuard&) = delete;
    PainterStateGuard& operator=(const PainterStateGuard&) = delete;

private:
    QPainter& m_p;
};

void markerMode(QPainter& p, bool transparent)
{
    p.setCompositionMode(transparent ? QPainter::RasterOp_SourceOrNotDestination
                                     : QPainter::CompositionMode_SourceOver);
}

void drawRing(QPainter& p, const TMapDeviceData& m, double zoom, const QColor& pen,
              const QColor& brush, int width)
{
    PainterStateGuard guard(p);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.setPen(QPen(pen, width));
    p.setBrush(brush);
    p.drawEllipse(probeRing(m, zoom));
}

} // namespace

QPolygon candidateFlag(const TMapDeviceData& m, bool transparent)
{
    const double sx = m.ScreenX;
    const double sy = m.ScreenY;
    const int s = m.ScreenSize;
    const int half = s / 2;
    const int quarter = s / 4;
    const double lowX = transparent ? sx + 1 : sx;
    return QPolygon({QPoint(r(sx), r(sy)), QPoint(r(sx), r(sy - s)),
                     QPoint(r(sx + m.ScreenRadius), r(sy - s + quarter)),
                     QPoint(r(lowX), r(sy - half)), QPoint(r(lowX), r(sy))});
}

QPolygon probeTriangle(const TMapDeviceData& m)
{
    const double sx = m.ScreenX;
    const double sy = m.ScreenY;
    const double halfR = m.ScreenRadius / 2.0;
    const double halfS = m.ScreenSize / 2.0;
    return QPolygon({QPoint(r(sx), r(sy)), QPoint(r(sx - halfR), r(sy - halfS)),
                     QPoint(r(sx + halfR), r(sy - halfS)), QPoint(r(sx), r(sy))});
}

QRect probeRing(const TMapDeviceData& m, double zoom)
{
    const double radius = m.Radius * zoom;
    return QRect(QPoint(r(m.ScreenX - radius), r(m.ScreenY - radius)),
                 QPoint(r(m.ScreenX + radius), r(m.ScreenY + radius)) - QPoint(1, 1));
}

QPolygon candidateRoute(const NodeDeviceList& devices, std::int32_t index,
                        std::int32_t currentIndex)
{
    const auto& d = devices[std::size_t(index)];
    QPolygon route;
    route << at(d.MapData);
    for (const std::int32_t a : d.Ancestors) {
        route << at(devices[std::size_t(a)].MapData);
        if (a == currentIndex)
            break;
    }
    return route;
}

void DrawCandidateMarker(QPainter& p, const NodeDeviceList& devices, std::int32_t index,
                         const OverlayOptions& o, const OverlayView& v)
{
    if (!o.showMarker && !o.showLine)
        return;
    PainterStateGuard guard(p);
    p.setRenderHint(QPainter::Antialiasing, false);
    const auto& d = devices[std::size_t(index)];
    if (o.showLine) {
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setPen(QPen(o.darkLine ? Qt::black : Qt::white, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        const QPolygon route = candidateRoute(devices, index, o.routesToRoot ? -1 : v.currentIndex);
        if (route.size() > 1)
            p.drawPolyline(route);
    }
    if (o.showMarker) {
        markerMode(p, o.transparent);
        p.setPen(QPen(o.outline, 1, Qt::SolidLine));
        p.setBrush(index == v.focusedIndex ? kFuchsia : kRed);
        p.drawPolygon(candidateFlag(d.MapData, o.transparent));
    }
}

void DrawIVexelRing(QPainter& p, const NodeDeviceList& devices, std::int32_t index,
                    const OverlayOptions& o, const OverlayView& v)
{
    const auto& d = devices[std::size_t(index)];
    if (o.showAllIVexel || d.Selected)
        drawRing(p, d.MapData, v.zoom, kNavy, kLime, o.ringWidth);
}

void DrawFVexelRing(QPainter& p, const NodeDeviceList& devices, std::int32_t index,
                    const OverlayOptions& o, const OverlayView& v)
{
    const auto& d = devices[std::size_t(index)];
    if (o.showAllFVexel || d.Selected)
        drawRing(p, d.MapData, v.zoom, kRed, kBlue, o.ringWidth);
}

void DrawProbeTriangles(QPainter& p, const NodeDeviceList& devices, std::int32_t index,
                        const OverlayOptions& o)
{
    if (!o.showMarker)
        return;
    PainterStateGuard guard(p);
    p.setRenderHint(QPainter::Antialiasing, false);
    markerMode(p, o.transparent);
    p.setPen(QPen(o.outline, 1, Qt::SolidLine));
    p.setBrush(kYellow);
    for (const std::int32_t e : devices[std::size_t(index)].Descendants)
        p.drawPolygon(probeTriangle(devices[std::size_t(e)].MapData));
}

void drawOverlay(QPainter& p, const NodeDeviceList& devices, const OverlayOptions& o,
                 const OverlayView& v)
{
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const auto index = std::int32_t(i);
        const auto& d = devices[i];
        if (d.IVexelId > 0)
            DrawIVexelRing(p, devices, index, o, v);
        if (d.FVexelId > 0)
            DrawFVexelRing(p, devices, index, o, v);
        switch (d.Mark) {
        case 1:
            DrawCandidateMarker(p, devices, index, o, v);
            break;
        case 2:
            DrawProbeTriangles(p, devices, index, o);
            break;
        case 3:
            DrawProbeTriangles(p, devices, index, o);
            DrawCandidateMarker(p, devices, index, o, v);
            break;
        default:
            break;
        }
    }
}

} // namespace vembra
