#include "tests/support/companion_run.h"

#include <QFile>
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

const QString kDemo = s(VEMBRA_BIN_DIR "/demo.mdb");

TEST(CandidatesCommand, PrintsOneLinePerCandidateThenTheCount)
{
    const CompanionRun run =
        vembra({s("candidates"), s("--db"), kDemo, s("--node"), s("Узел Северный-3"), s("--device"),
                s("FN1"), s("--delay"), s("2.5"), s("--tolerance"), s("0.25")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    const QString total = lines.takeLast();
    EXPECT_EQ(total, s("Total device: %1").arg(lines.size()));
    EXPECT_FALSE(lines.isEmpty());
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 2) << line.toStdString();
        bool ok = false;
        const double delay = fields[1].toDouble(&ok);
        EXPECT_TRUE(ok && fields[1].contains(QLatin1Char('.')) &&
                    fields[1].section('.', 1).size() == 5);
        Q_UNUSED(delay);
    }
}

TEST(CandidatesCommand, BadInputGivesAClearMessageAndExitCode1)
{
    const struct {
        QStringList extra;
        const char* message;
    } cases[] = {
        {{s("--node"), s("Nowhere"), s("--device"), s("FN1"), s("--delay"), s("1")}, "no node"},
        {{s("--node"), s("Riverside FN-7"), s("--device"), s("XX9"), s("--delay"), s("1")},
         "no device"},
        {{s("--node"), s("Riverside FN-7"), s("--device"), s("FN1"), s("--delay"), s("one")},
         "no number"},
    };
    for (const auto& c : cases) {
        const CompanionRun run = vembra(QStringList{s("candidates"), s("--db"), kDemo} + c.extra);
        EXPECT_EQ(run.exitCode, 1) << c.message;
        EXPECT_TRUE(run.err.contains(s(c.message))) << run.err.toStdString();
    }
}

TEST(WorkOrderCommand, WritesThePageOfTheChosenView)
{
    QTemporaryDir out;
    const QString pdf = out.filePath(s("order.pdf"));
    const CompanionRun run =
        vembra({s("work-order"), s("--db"), kDemo, s("--node"), s("Riverside FN-7"), s("--device"),
                s("FN1"), s("--delay"), s("2"), s("-o"), pdf});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QProcess text;
    text.start(s("pdftotext"), {pdf, s("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(page.contains(s("Current Node: Riverside FN-7"))) << page.toStdString();
    EXPECT_TRUE(page.contains(s("Measured time delay: 2.00 µs")));
    // The tolerance derived from the delay: 2 / 100 + 0.05.
    EXPECT_TRUE(page.contains(s("Tolerance: ± 0.07 µs"))) << page.toStdString();
    const CompanionRun missing =
        vembra({s("work-order"), s("--db"), kDemo, s("--node"), s("Nowhere"), s("--device"),
                s("FN1"), s("--delay"), s("1.5"), s("-o"), pdf});
    EXPECT_EQ(missing.exitCode, 1);
}

} // namespace
