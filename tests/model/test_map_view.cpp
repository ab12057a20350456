#include "model/map_view.h"

#include <gtest/gtest.h>

using namespace vembra;

namespace {

TEST(MapView, ZoomStepsFollowTheAdditiveRulesAndLimits)
{
    const QSize map(1600, 1200);
    MapView view;
    ASSERT_TRUE(ZoomIn(view, map, 2.0));
    EXPECT_EQ(view.pictureSize, QSize(3200, 2400));
    ASSERT_TRUE(ZoomIn(view, map, 10));
    EXPECT_EQ(view.FZoom, 12.0);
    EXPECT_EQ(view.pictureSize, QSize(19200, 14400));
    ASSERT_TRUE(ZoomOut(view, map, 10));
    EXPECT_EQ(view.pictureSize, QSize(3200, 2400));
    EXPECT_FALSE(ZoomOut(view, map, 10)); // 2 - 10 <= 0
    EXPECT_EQ(view.FZoom, 2.0);
    ASSERT_TRUE(ZoomIn(view, map, 1));
    EXPECT_EQ(view.FZoom, 3.0);
    ASSERT_TRUE(ZoomOut(view, map, 1));
    ASSERT_TRUE(ZoomOut(view, map, 1));
    EXPECT_EQ(view.FZoom, 1.0);
    EXPECT_FALSE(ZoomOut(view, map, 1));

    view.FZoom = 995;
    EXPECT_FALSE(ZoomIn(view, map, 10));
    EXPECT_TRUE(ZoomIn(view, map, 1));
    EXPECT_EQ(view.FZoom, 996.0);
}

TEST(MapView, TinyScaleKeepsThePreviousPictureSize)
{
    EXPECT_EQ(ApplyZoom(QSize(1600, 1200), 0.0001, QSize(320, 240)), QSize(320, 240));
    // Both sides divide by the larger ratio: 3 x 0.5 rounds to 2 (ties to even), ratio 2.
    EXPECT_EQ(ApplyZoom(QSize(1000, 3), 0.5, QSize(7, 7)), QSize(500, 1));
}

TEST(MapView, PlaceMapCentresTheViewInTheMapArea)
{
    MapView view;
    view.pictureSize = QSize(3200, 2400);
    view.FViewCenterX = 0.5;
    view.FViewCenterY = 0.5;
    PlaceMap(view, ClientArea{1007, 710, 214});
    EXPECT_EQ(view.paintBoxOrigin, QPoint(-1204, -845));
    // A drag moves the box; the centre follows so a later zoom keeps the dragged-to point.
    view.paintBoxOrigin += QPoint(40, -25);
    centreFromPaintBox(view, ClientArea{1007, 710, 214});
    PlaceMap(view, ClientArea{1007, 710, 214});
    EXPECT_EQ(view.paintBoxOrigin, QPoint(-1164, -870));
}

TEST(MapView, MarkerStepsStopAtTheirLimits)
{
    NodeDeviceList devices(2);
    double marker = 12.5;
    EXPECT_FALSE(GrowMarkers(marker, devices));
    ASSERT_TRUE(ShrinkMarkers(marker, devices));
    EXPECT_EQ(devices[0].MapData.Radius, 12); // 11.5
    ASSERT_TRUE(ShrinkMarkers(marker, devices));
    EXPECT_EQ(devices[1].MapData.Radius, 10); // 10.5
    ASSERT_TRUE(ShrinkMarkers(marker, devices));
    EXPECT_EQ(devices[0].MapData.Radius, 10); // 9.5
    EXPECT_EQ(devices[0].MapData.Size, 20);
    ASSERT_TRUE(GrowMarkers(marker, devices));
    EXPECT_DOUBLE_EQ(marker, 10.5);
    EXPECT_FALSE(GrowMarkers(marker, devices));
}

TEST(MapView, RescaleRoundsTheScreenSizesAndFollowsTheCurrentDevice)
{
    NodeDeviceList devices(2);
    devices[1].MapData.X = 100.2f;
    devices[1].MapData.Y = 50.0f;
    devices[1].MapData.Radius = 12;
    devices[1].MapData.Size = 24;
    TConnectionPoint current;
    RescaleDevices(devices, 2.55, 1, current);
    EXPECT_EQ(devices[1].MapData.ScreenRadius, 31); // 30.6
    EXPECT_EQ(devices[1].MapData.ScreenSize, 61);   // 61.2
    EXPECT_FLOAT_EQ(current.X, float(100.2f * 2.55));
    EXPECT_FLOAT_EQ(current.Y, 127.5f);
}

TEST(MapView, CentreOnTheLowerIndexOfASharedCode)
{
    NodeDeviceList devices(3);
    devices[1].Code = QStringLiteral("TP7");
    devices[1].XPage = 0.25;
    devices[2].Code = QStringLiteral("TP7");
    devices[2].XPage = 0.75;
    MapView view;
    ASSERT_TRUE(CenterOnDevice(view, devices, QStringLiteral("TP7")));
    EXPECT_EQ(view.FFocusedIndex, 1);
    EXPECT_EQ(view.FViewCenterX, 0.25);
    EXPECT_FALSE(CenterOnDevice(view, devices, QStringLiteral("tp7")));
    EXPECT_EQ(view.FFocusedIndex, 1);
}

} // namespace
