// The About box: its pages, its labels from the version data, its logo, and the hidden keys.
#include "app/about/about_files.h"
#include "app/about/about_form.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace vembra {
namespace {

using namespace std::chrono_literals;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

class AboutBox : public ::testing::Test {
protected:
    AboutBox()
    {
        sources.programFolder = folder.path();
        sources.versionResource = [this] { return version; };
        sources.showCredits = [this] { ++creditsShown; };
        sources.clock = [this] { return now; };
        version = builtInVersionResource();
    }

    QString inFolder(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    // A key press as the box sees it: delivered to the control that has the focus.
    void press(Tfrm_About& box, int qtKey, Qt::KeyboardModifiers modifiers)
    {
        now += 1s;
        QWidget* target = box.focusWidget() ? box.focusWidget() : &box;
        QKeyEvent event(QEvent::KeyPress, qtKey, modifiers);
        QApplication::sendEvent(target, &event);
    }

    // The whole hidden sequence, modifier keys held down through the letters.
    void typeSequence(Tfrm_About& box)
    {
        const Qt::KeyboardModifiers held = Qt::ControlModifier | Qt::ShiftModifier;
        press(box, Qt::Key_Shift, Qt::ShiftModifier);
        press(box, Qt::Key_Control, held);
        for (const TCommandKey& step : BuildKeySequence())
            press(box, step.Code, step.CheckShift ? held : Qt::NoModifier);
    }

    QTemporaryDir folder;
    AboutSources sources;
    VersionResource version;
    std::chrono::steady_clock::time_point now{std::chrono::hours(5)};
    int creditsShown = 0;
};

TEST_F(AboutBox, DesignedWindow)
{
    Tfrm_About box(nullptr, sources);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("The Vembra Navigator"));
    EXPECT_EQ(box.size(), QSize(457, 398));
    EXPECT_EQ(box.windowType(), Qt::Tool);
    EXPECT_EQ(box.btnOK->text(), QStringLiteral("OK"));
    EXPECT_EQ(box.btnOK->geometry(), QRect(185, 8, 76, 25));
    EXPECT_EQ(box.bottomPanel->geometry(), QRect(0, 398 - 41, 457, 41));
    EXPECT_EQ(box.PCnt->tabText(0), QStringLiteral("About"));
    EXPECT_EQ(box.Comments->size(), QSize(371, 37));
    EXPECT_TRUE(box.Comments->wordWrap());
    EXPECT_EQ(box.Product->font().pixelSize(), 21);
    EXPECT_TRUE(box.Product->font().bold());
    EXPECT_EQ(box.Product->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(box.Version->palette().color(QPalette::WindowText), QColor(0, 128, 0));
}

TEST_F(AboutBox, LicensePageOnlyWhenTheLicenceFileHasLines)
{
    const struct {
        const char* what;
        const char* content; // nullptr: no file
        int pages;
    } cases[] = {
        {"no file", nullptr, 1},
        {"empty file", "", 1},
        {"one empty line", "\n", 2},
        {"text", "Line one\r\nLine two\n", 2},
    };
    for (const auto& c : cases) {
        QFile::remove(inFolder(kLicenseFileName));
        if (c.content)
            writeFile(inFolder(kLicenseFileName), QByteArray(c.content));
        Tfrm_About box(nullptr, sources);
        EXPECT_EQ(box.PCnt->count(), c.pages) << c.what;
        EXPECT_EQ(box.TSLicense != nullptr, c.pages == 2) << c.what;
        if (c.pages == 2) {
            EXPECT_EQ(box.PCnt->tabText(1), QStringLiteral("License")) << c.what;
            EXPECT_TRUE(box.TSLicense->isEnabled()) << c.what;
        }
    }
}

TEST_F(AboutBox, LicenceTextFillsTheMemo)
{
    writeFile(inFolder(kLicenseFileName), "Licence notice\nSecond line\n");
    Tfrm_About box(nullptr, sources);
    ASSERT_NE(box.Memo1, nullptr);
    EXPECT_EQ(box.Memo1->toPlainText(), QStringLiteral("Licence notice\nSecond line"));
    EXPECT_TRUE(box.Memo1->isReadOnly());
}

TEST(SplitLines, TheLineBreakAfterTheLastLineStartsNoLine)
{
    EXPECT_EQ(splitLines(QString()), QStringList());
    EXPECT_EQ(splitLines(QStringLiteral("\n")), QStringList({QString()}));
    EXPECT_EQ(splitLines(QStringLiteral("a")), QStringList({QStringLiteral("a")}));
    EXPECT_EQ(splitLines(QStringLiteral("a\r\nb\rc\n")),
              QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(splitLines(QStringLiteral("a\n\n")), QStringList({QStringLiteral("a"), QString()}));
}

TEST_F(AboutBox, FormShowFillsTheLabelsFromTheVersionData)
{
    Tfrm_About box(nullptr, sources);
    box.PCnt->setCurrentIndex(box.PCnt->count() - 1);
    box.FormShow();
    EXPECT_EQ(box.Version->text(), buildText(version));
    EXPECT_EQ(box.Product->text(), GetVersionString(version, QStringLiteral("ProductName")));
    EXPECT_EQ(box.Company->text(), GetVersionString(version, QStringLiteral("CompanyName")));
    EXPECT_EQ(box.Copyright->text(), GetVersionString(version, QStringLiteral("LegalCopyright")));
    EXPECT_EQ(box.Comments->text(), GetVersionString(version, QStringLiteral("Comments")));
    EXPECT_FALSE(box.Product->text().isEmpty());
    EXPECT_EQ(box.PCnt->currentIndex(), 0);
}

TEST_F(AboutBox, MissingVersionValueLeavesItsLabelEmpty)
{
    version.strings.remove(
        stringValuePath(version.translations.front(), QStringLiteral("Comments")));
    Tfrm_About box(nullptr, sources);
    box.Comments->setText(QStringLiteral("stale"));
    box.FormShow();
    EXPECT_TRUE(box.Comments->text().isEmpty());
    EXPECT_FALSE(box.Company->text().isEmpty());
}

TEST_F(AboutBox, DefaultLogoStaysWithoutTheBitmapFile)
{
    const QImage defaultLogo(QString::fromLatin1(kDefaultLogoResource));
    ASSERT_FALSE(defaultLogo.isNull()) << "the JPEG logo must decode";
    Tfrm_About box(nullptr, sources);
    box.FormShow();
    EXPECT_EQ(box.Image1->pixmap().size(), defaultLogo.size());
    EXPECT_EQ(box.Image1->geometry().center(), box.logoPanel->rect().center());
}

TEST_F(AboutBox, BitmapBesideTheProgramReplacesTheLogo)
{
    QImage bitmap(120, 60, QImage::Format_RGB32);
    bitmap.fill(QColor(200, 10, 10));
    ASSERT_TRUE(bitmap.save(inFolder(kLogoBitmapFileName), "BMP"));
    Tfrm_About box(nullptr, sources);
    box.FormShow();
    EXPECT_EQ(box.Image1->size(), QSize(120, 60));
    EXPECT_EQ(box.Image1->pixmap().toImage().pixelColor(5, 5), QColor(200, 10, 10));
}

TEST_F(AboutBox, UnreadableBitmapIsAnError)
{
    writeFile(inFolder(kLogoBitmapFileName), "not a bitmap");
    Tfrm_About box(nullptr, sources);
    EXPECT_THROW(box.FormShow(), std::runtime_error);
}

TEST_F(AboutBox, UnreadableBitmapEndsTheShowingWithItsError)
{
    writeFile(inFolder(kLogoBitmapFileName), "not a bitmap");
    Tfrm_About box(nullptr, sources);
    // A safety net only: without the error the box would wait for the user.
    QTimer::singleShot(10000, &box, [&box] { box.done(42); });
    EXPECT_EQ(box.exec(), QDialog::Rejected);
    EXPECT_TRUE(box.showError().contains(QString::fromLatin1(kLogoBitmapFileName)));
}

TEST_F(AboutBox, EightRightKeysOpenTheCreditsList)
{
    Tfrm_About box(nullptr, sources);
    box.show();
    box.btnOK->setFocus();
    ASSERT_EQ(box.focusWidget(), box.btnOK);
    typeSequence(box);
    EXPECT_EQ(creditsShown, 1);
    EXPECT_EQ(box.keySequence().MatchedKeys(), 0);
}

TEST_F(AboutBox, KeysReachTheBoxWithoutAFocusedControl)
{
    Tfrm_About box(nullptr, sources);
    ASSERT_EQ(box.focusWidget(), nullptr);
    typeSequence(box);
    EXPECT_EQ(creditsShown, 1);
}

TEST_F(AboutBox, WrongKeyResetsTheCount)
{
    Tfrm_About box(nullptr, sources);
    const Qt::KeyboardModifiers held = Qt::ControlModifier | Qt::ShiftModifier;
    const TCommand sequence = BuildKeySequence();
    press(box, sequence[0].Code, held);
    press(box, sequence[1].Code, held);
    EXPECT_EQ(box.keySequence().MatchedKeys(), 2);
    press(box, Qt::Key_Z, held);
    EXPECT_EQ(box.keySequence().MatchedKeys(), 0);
    EXPECT_EQ(creditsShown, 0);
}

TEST_F(AboutBox, PauseOfMoreThanSixSecondsRestartsTheCount)
{
    Tfrm_About box(nullptr, sources);
    const Qt::KeyboardModifiers held = Qt::ControlModifier | Qt::ShiftModifier;
    const TCommand sequence = BuildKeySequence();
    for (int i = 0; i < 4; ++i)
        press(box, sequence[i].Code, held);
    EXPECT_EQ(box.keySequence().MatchedKeys(), 4);
    now += 6s; // press() adds one more second
    for (int i = 4; i < 8; ++i)
        press(box, sequence[i].Code, Qt::NoModifier);
    EXPECT_EQ(creditsShown, 0);
}

} // namespace
} // namespace vembra
