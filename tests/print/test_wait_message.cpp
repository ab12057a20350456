#include "print/wait_message.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>

#include <gtest/gtest.h>

using namespace vembra;

namespace {

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

TEST(WaitPanelSize, GrowsWithTheTextAboveItsMinimum)
{
    struct Case {
        QSize text;
        QSize panel;
    };
    const Case cases[] = {
        {QSize(293, 23), QSize(330, 50)}, {QSize(0, 0), QSize(330, 50)},
        {QSize(294, 24), QSize(330, 50)}, {QSize(295, 25), QSize(331, 51)},
        {QSize(400, 13), QSize(436, 50)}, {QSize(100, 40), QSize(330, 66)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(waitPanelSize(c.text), c.panel) << c.text.width() << " x " << c.text.height();
}

class WaitWindowTest : public ::testing::Test {
protected:
    void TearDown() override { HideWaitMessage(); }
};

TEST_F(WaitWindowTest, ShortTextGetsTheMinimumPanel)
{
    ShowWaitMessage(false, s("Please, wait..."));
    ASSERT_NE(frm_WaitMsg, nullptr);
    EXPECT_TRUE(frm_WaitMsg->isVisible());
    EXPECT_EQ(frm_WaitMsg->Panel1->size(), QSize(330, 50));
    EXPECT_EQ(frm_WaitMsg->size(), QSize(330, 50));
    EXPECT_EQ(frm_WaitMsg->pnText->text(), s("Please, wait..."));
    EXPECT_EQ(frm_WaitMsg->pos(), QPoint(100, 50));
    EXPECT_EQ(frm_WaitMsg->pnText->palette().color(QPalette::Window), QColor(200, 200, 255));
}

TEST_F(WaitWindowTest, LongTextWidensThePanelByItsMargins)
{
    // A text whose width in the window's font is well above the minimum.
    const QString text = s("Printing current view Work Order. Please, wait... ").repeated(3);
    ShowWaitMessage(true, text);
    ASSERT_NE(frm_WaitMsg, nullptr);
    const QFontMetrics metrics(frm_WaitMsg->font());
    ASSERT_GT(metrics.horizontalAdvance(text), 330);
    EXPECT_EQ(frm_WaitMsg->Panel1->width(), metrics.horizontalAdvance(text) + 36);
}

TEST_F(WaitWindowTest, SecondShowKeepsOneWindowWithTheFirstSize)
{
    ShowWaitMessage(true, s("x").repeated(120));
    Tfrm_WaitMsg* first = frm_WaitMsg;
    const QSize size = first->size();
    ShowWaitMessage(true, s("short"));
    EXPECT_EQ(frm_WaitMsg, first);
    EXPECT_EQ(frm_WaitMsg->FMessage, s("short"));
    EXPECT_EQ(frm_WaitMsg->size(), size);
    QApplication::processEvents();
    EXPECT_EQ(frm_WaitMsg->pnText->text(), s("short"));
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows += qobject_cast<Tfrm_WaitMsg*>(w) != nullptr;
    EXPECT_EQ(windows, 1);
}

TEST_F(WaitWindowTest, HideAndUpdateWithoutAWindowDoNothing)
{
    HideWaitMessage();
    UpdateWaitMessage(s("nobody"));
    EXPECT_EQ(frm_WaitMsg, nullptr);
    ShowWaitMessage(false, s("one"));
    HideWaitMessage();
    EXPECT_EQ(frm_WaitMsg, nullptr);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty() ||
                std::none_of(QApplication::topLevelWidgets().begin(),
                             QApplication::topLevelWidgets().end(),
                             [](QWidget* w) { return qobject_cast<Tfrm_WaitMsg*>(w); }));
}

} // namespace
