// The map view in the window: the paint box's size and place, zooming, markers, centring.
#include "ui/main_window.h"

#include "model/map_overlay.h"
#include "ui/main_unit.h"
#include "ui/paint_box.h"

#include <QAction>
#include <QFrame>
#include <QPainter>

#include <cmath>

namespace vembra {

ClientArea T_frmMain::clientArea() const
{
    return ClientArea{ClientWidth(), ClientHeight(), Panel1->width()};
}

void T_frmMain::PlaceMap()
{
    vembra::PlaceMap(FView, clientArea());
    PB1->move(FView.paintBoxOrigin);
}

void T_frmMain::RescaleDevices()
{
    vembra::RescaleDevices(Node.NodeDevices, FView.FZoom, FCurrentIndex, Node.CurrentDevice);
    PlaceMap();
    PB1->update();
}

namespace {

void applyPictureSize(T_frmMain& w)
{
    if (w.FView.pictureSize.isEmpty())
        return;
    w.FMap.setWidth(w.FView.pictureSize.width());
    w.FMap.setHeight(w.FView.pictureSize.height());
    w.PB1->resize(w.FView.pictureSize);
}

} // namespace

void T_frmMain::ZoomIn(double step)
{
    if (!vembra::ZoomIn(FView, QSize(FMapWidth, FMapHeight), step))
        return;
    applyPictureSize(*this);
    RescaleDevices();
}

void T_frmMain::ZoomOut(double step)
{
    if (!vembra::ZoomOut(FView, QSize(FMapWidth, FMapHeight), step))
        return;
    applyPictureSize(*this);
    RescaleDevices();
}

void T_frmMain::GrowMarkers()
{
    if (vembra::GrowMarkers(Node.MarkerSize, Node.NodeDevices))
        RescaleDevices();
}

void T_frmMain::ShrinkMarkers()
{
    if (vembra::ShrinkMarkers(Node.MarkerSize, Node.NodeDevices))
        RescaleDevices();
}

void T_frmMain::CenterOnDevice(const QString& code)
{
    if (vembra::CenterOnDevice(FView, Node.NodeDevices, code))
        PlaceMap();
}

OverlayOptions T_frmMain::overlayOptions() const
{
    OverlayOptions o;
    o.showMarker = pmi_ShowMarker->isChecked();
    o.showLine = pmi_ShowLine->isChecked();
    o.darkLine = pmi_DarkLine->isChecked();
    o.transparent = pmi_Transparent->isChecked();
    o.showAllIVexel = FShowAllIVexel;
    o.showAllFVexel = FShowAllFVexel;
    return o;
}

void T_frmMain::PB1Paint(QPainter& painter)
{
    if (!FMapLoaded)
        return;
    FMap.draw(painter, QRectF(QPointF(0, 0), QSizeF(FMap.width(), FMap.height())));
    drawOverlay(painter, Node.NodeDevices, overlayOptions(),
                OverlayView{FCurrentIndex, FView.FFocusedIndex, FView.FZoom});
    if (FCurrentIndex >= 0 && std::size_t(FCurrentIndex) < Node.NodeDevices.size()) {
        const auto& m = Node.NodeDevices[std::size_t(FCurrentIndex)].MapData;
        const QPointF foot(std::nearbyint(m.ScreenX), std::nearbyint(m.ScreenY));
        FPinPicture.draw(painter, QRectF(foot - QPointF(0, FPinPicture.height()),
                                         QSizeF(FPinPicture.width(), FPinPicture.height())));
    }
}

} // namespace vembra
