#include "model/map_overlay.h"
#include "model/node_tree.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

TMapDeviceData at(float x, float y, int radius = 12)
{
    TMapDeviceData m;
    m.ScreenX = x;
    m.ScreenY = y;
    m.Radius = radius;
    m.Size = 2 * radius;
    m.ScreenRadius = radius;
    m.ScreenSize = 2 * radius;
    return m;
}

TEST(MapOverlay, FlagCornersAreRoundedOneByOne)
{
    const TMapDeviceData m = at(100.4f, 200.6f);
    EXPECT_EQ(candidateFlag(m, false),
              QPolygon({QPoint(100, 201), QPoint(100, 177), QPoint(112, 183), QPoint(100, 189),
                        QPoint(100, 201)}));
    EXPECT_EQ(candidateFlag(m, true),
              QPolygon({QPoint(100, 201), QPoint(100, 177), QPoint(112, 183), QPoint(101, 189),
                        QPoint(101, 201)}));
}

TEST(MapOverlay, RingRadiusIsTheUnroundedScaledRadius)
{
    // Radius 12 at scale 2.55: 30.6, not the rounded screen radius 31.
    const QRect ring = probeRing(at(100.0f, 100.0f), 2.55);
    EXPECT_EQ(ring.left(), 69); // 100 - 30.6 = 69.4
    EXPECT_EQ(ring.top(), 69);
    EXPECT_EQ(ring.right() + 1, 131); // 130.6 rounds to 131
}

TEST(MapOverlay, TriangleStandsOnItsApex)
{
    EXPECT_EQ(probeTriangle(at(50.0f, 60.0f, 10)),
              QPolygon({QPoint(50, 60), QPoint(45, 50), QPoint(55, 50), QPoint(50, 60)}));
}

NodeDeviceList chain()
{
    // 1 <- 2 <- 3 <- 4, each ten pixels further right.
    NodeDeviceList d(4);
    for (int i = 0; i < 4; ++i) {
        d[std::size_t(i)].Id = i + 1;
        d[std::size_t(i)].Parent = i;
        d[std::size_t(i)].MapData = at(10.0f * float(i + 1), 20.0f);
    }
    DeriveNodeTree(d);
    return d;
}

TEST(MapOverlay, RouteRunsUpToTheCurrentDeviceOrTheRoot)
{
    const NodeDeviceList d = chain();
    EXPECT_EQ(candidateRoute(d, 3, 1), QPolygon({QPoint(40, 20), QPoint(30, 20), QPoint(20, 20)}));
    EXPECT_EQ(candidateRoute(d, 3, -1).size(), 4);
    EXPECT_EQ(candidateRoute(d, 0, 0).size(), 1);
}

QImage canvas()
{
    QImage image(80, 80, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 40));
    return image;
}

TEST(MapOverlay, RingDrawnTwiceRestoresThePicture)
{
    NodeDeviceList d = chain();
    d[1].Selected = true;
    QImage image = canvas();
    const QImage before = image;
    {
        QPainter p(&image);
        DrawIVexelRing(p, d, 1, OverlayOptions{}, OverlayView{-1, -1, 1.0});
    }
    EXPECT_NE(image, before);
    // Not-xor: inside the disc the lime brush gives NOT(lime XOR background).
    const QRgb inside = image.pixel(20, 20);
    EXPECT_EQ(qRed(inside), 255 - (0 ^ 200));
    EXPECT_EQ(qGreen(inside), 255 - (255 ^ 120));
    {
        QPainter p(&image);
        DrawIVexelRing(p, d, 1, OverlayOptions{}, OverlayView{-1, -1, 1.0});
    }
    EXPECT_EQ(image, before);
    // Not selected and not "Show all ID": no ring.
    d[1].Selected = false;
    {
        QPainter p(&image);
        DrawIVexelRing(p, d, 1, OverlayOptions{}, OverlayView{-1, -1, 1.0});
    }
    EXPECT_EQ(image, before);
}

TEST(MapOverlay, FlagFillFollowsFocusAndTransparentStyle)
{
    NodeDeviceList d = chain();
    const auto flagPixel = [&](const OverlayOptions& o, std::int32_t focused) {
        QImage image = canvas();
        QPainter p(&image);
        DrawCandidateMarker(p, d, 3, o, OverlayView{1, focused, 1.0});
        p.end();
        return image.pixel(42, 2); // inside the pennant of the flag standing at (40, 20)
    };
    OverlayOptions o;
    EXPECT_EQ(flagPixel(o, -1), QColor(255, 0, 0).rgb());
    EXPECT_EQ(flagPixel(o, 3), QColor(255, 0, 255).rgb());
    o.transparent = true; // merge-not: red OR NOT background
    EXPECT_EQ(flagPixel(o, -1), QColor(255, 255 - 120, 255 - 40).rgb());
    o.showMarker = false;
    o.showLine = false;
    EXPECT_EQ(flagPixel(o, -1), canvas().pixel(42, 2));
}

TEST(MapOverlay, TrianglesMarkEveryDescendantButNotTheProbeDevice)
{
    NodeDeviceList d = chain();
    QImage image(80, 80, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    DrawProbeTriangles(p, d, 1, OverlayOptions{});
    p.end();
    const QRgb yellow = QColor(255, 255, 0).rgb();
    EXPECT_EQ(image.pixel(30, 12), yellow); // above device 3 at (30, 20)
    EXPECT_EQ(image.pixel(40, 12), yellow); // above device 4
    EXPECT_NE(image.pixel(20, 12), yellow); // the probe's own device has none
}

} // namespace
