// Real map drawings from three producers rendered and compared with their reference renderings.
#include "platform/metafile/metafile_picture.h"
#include "tests/support/image_difference.h"

#include <QFile>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <vector>

namespace {

using vembra::test::meanDifferencePercent;

struct Fixture {
    const char* name;
    QSize sizeRule;  // pixels by the size rules
    QSize reference; // the reference PNG
};

const QString fixtureDir = QStringLiteral(VEMBRA_TEST_FIXTURES "/metafiles/");

// Mean absolute difference is allowed up to this percentage of full scale.
constexpr double maxDifferencePercent = 3.0;

void PrintTo(const Fixture& fixture, std::ostream* out)
{
    *out << fixture.name;
}

class MetafileFixtures : public ::testing::TestWithParam<Fixture> {};

TEST_P(MetafileFixtures, RendersCloseToTheReference)
{
    const Fixture& fixture = GetParam();
    vembra::metafile::Picture picture;
    ASSERT_TRUE(picture.loadFromFile(fixtureDir + QLatin1String(fixture.name)));
    EXPECT_EQ(picture.naturalSize(), fixture.sizeRule);
    EXPECT_EQ(picture.width(), fixture.sizeRule.width());
    EXPECT_EQ(picture.height(), fixture.sizeRule.height());

    const QString stem = QString::fromLatin1(fixture.name).section(QLatin1Char('.'), 0, 0);
    const QImage reference(fixtureDir + stem + QStringLiteral(".png"));
    ASSERT_FALSE(reference.isNull());
    ASSERT_EQ(reference.size(), fixture.reference);

    // Larger pictures are compared scaled uniformly down to the reference's size.
    QImage rendering(reference.size(), QImage::Format_ARGB32_Premultiplied);
    rendering.fill(Qt::white);
    {
        QPainter painter(&rendering);
        picture.draw(painter, QRectF(QPointF(0, 0), QSizeF(reference.size())));
    }
    if (const QByteArray out = qgetenv("VEMBRA_METAFILE_RENDER_DIR"); !out.isEmpty())
        rendering.save(QString::fromLocal8Bit(out) + QLatin1Char('/') + stem +
                       QStringLiteral(".png"));

    const double difference = meanDifferencePercent(rendering, reference);
    std::printf("[ metafile ] %s: mean difference %.2f %%\n", fixture.name, difference);
    RecordProperty("mean_difference_percent", QString::number(difference, 'f', 2).toStdString());
    EXPECT_LE(difference, maxDifferencePercent);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MetafileFixtures,
    ::testing::Values(Fixture{"s01_lo_city.emf", {1123, 794}, {1123, 794}},
                      Fixture{"s02_lo_city.wmf", {908, 681}, {908, 681}},
                      Fixture{"s03_ink_city.emf", {14220, 9496}, {1600, 1068}},
                      Fixture{"s04_ink_city.wmf", {756, 567}, {756, 567}},
                      Fixture{"s05_libemf_node.emf", {896, 640}, {896, 640}},
                      Fixture{"s06_lo_raster.emf", {756, 529}, {756, 529}}),
    [](const auto& param) {
        return QString::fromLatin1(param.param.name).section(QLatin1Char('.'), 0, 0).toStdString();
    });

TEST(MetafileFixtureComparison, BlankRenderingIsFarFromAMap)
{
    // The measure itself must notice a missing drawing, or the fixture checks prove nothing.
    const QImage reference(fixtureDir + QStringLiteral("s05_libemf_node.png"));
    ASSERT_FALSE(reference.isNull());
    QImage blank(reference.size(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    EXPECT_GT(meanDifferencePercent(blank, reference), maxDifferencePercent);
}

} // namespace
