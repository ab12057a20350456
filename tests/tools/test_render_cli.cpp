#include "tests/support/companion_run.h"

#include "tests/support/image_difference.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

using vembra::test::CompanionRun;

CompanionRun vembra(const QStringList& args)
{
    return vembra::test::runCompanion(args);
}

// Every fixture drawn by the command-line renderer stays within 3 % of its reference rendering.
TEST(RenderCommand, FixturesMatchTheirReferences)
{
    QTemporaryDir out;
    const struct {
        const char* file;
        double scale;
    } fixtures[] = {{"s01_lo_city.emf", 1.0},
                    {"s02_lo_city.wmf", 1.0},
                    {"s03_ink_city.emf", 1600.0 / 14220},
                    {"s04_ink_city.wmf", 1.0},
                    {"s05_libemf_node.emf", 1.0},
                    {"s06_lo_raster.emf", 1.0}};
    for (const auto& f : fixtures) {
        const QString name = s(f.file);
        const QString png = out.filePath(name + s(".png"));
        const CompanionRun run =
            vembra({s("render"), s(VEMBRA_TEST_FIXTURES "/metafiles/") + name, s("--scale"),
                    QString::number(f.scale, 'g', 17), s("-o"), png});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QImage reference(s(VEMBRA_TEST_FIXTURES "/metafiles/") +
                               name.section(QLatin1Char('.'), 0, 0) + s(".png"));
        QImage rendering(png);
        ASSERT_FALSE(rendering.isNull());
        // A scaled size may round one pixel away from the reference's.
        ASSERT_LE(std::abs(rendering.width() - reference.width()), 1);
        ASSERT_LE(std::abs(rendering.height() - reference.height()), 1);
        if (rendering.size() != reference.size())
            rendering =
                rendering.scaled(reference.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double difference = vembra::test::meanDifferencePercent(rendering, reference);
        std::printf("[ vembra render ] %s: mean difference %.2f %%\n", f.file, difference);
        EXPECT_LE(difference, 3.0) << f.file;
    }
}

TEST(RenderCommand, PinRendersAtTwiceItsSize)
{
    QTemporaryDir out;
    const CompanionRun pin = vembra({s("pin"), s("--out"), out.filePath(s("pin.emf"))});
    ASSERT_EQ(pin.exitCode, 0);
    const CompanionRun render = vembra({s("render"), out.filePath(s("pin.emf")), s("--scale"),
                                        s("2"), s("-o"), out.filePath(s("pin.png"))});
    ASSERT_EQ(render.exitCode, 0) << render.err.toStdString();
    EXPECT_EQ(QImage(out.filePath(s("pin.png"))).size(), QSize(134, 144));
}

TEST(RenderCommand, ErrorsAndUsageHaveTheirExitCodes)
{
    QTemporaryDir out;
    const struct {
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{s("render")}, 2, "required"},
        {{s("render"), s("a.emf"), s("--scale"), s("zero"), s("-o"), s("x.png")}, 2, "--scale"},
        {{s("render"), out.filePath(s("missing.emf")), s("-o"), out.filePath(s("x.png"))},
         1,
         "missing.emf"},
        {{s("render"), s(VEMBRA_TEST_FIXTURES "/metafiles/s01_lo_city.png"), s("-o"),
          out.filePath(s("x.png"))},
         1,
         "not an enhanced or placeable metafile"},
        {{s("render"), s(VEMBRA_TEST_FIXTURES "/metafiles/s01_lo_city.emf"), s("--blob"), s("-o"),
          out.filePath(s("x.png"))},
         1,
         "error"},
    };
    for (const auto& c : cases) {
        const CompanionRun run = vembra(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(s(" ")).toStdString();
        EXPECT_TRUE(run.err.contains(s(c.message))) << run.err.toStdString();
    }
    const CompanionRun help = vembra({s("render"), s("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(s("usage: vembra render")));
}

} // namespace
