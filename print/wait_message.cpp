#include "print/wait_message.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace vembra {

Tfrm_WaitMsg* frm_WaitMsg = nullptr;

namespace {
constexpr int kMinPanelWidth = 330;
constexpr int kMinPanelHeight = 50;
constexpr int kTextBorder = 8;
} // namespace

QSize waitPanelSize(const QSize& textSize)
{
    return {std::max(kMinPanelWidth, textSize.width() + 36),
            std::max(kMinPanelHeight, textSize.height() + 26)};
}

Tfrm_WaitMsg::Tfrm_WaitMsg(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frm_WaitMsg"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(457, 113);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette outer = Panel1->palette();
    outer.setColor(QPalette::Window, outer.color(QPalette::Dark)); // button shadow
    Panel1->setPalette(outer);
    Panel1->setMinimumSize(kMinPanelWidth, kMinPanelHeight);

    pnText = new QLabel(Panel1);
    pnText->setObjectName(QStringLiteral("pnText"));
    pnText->setAlignment(Qt::AlignCenter);
    pnText->setAutoFillBackground(true);
    pnText->setMargin(0);
    QPalette inner = pnText->palette();
    inner.setColor(QPalette::Window, QColor(200, 200, 255));
    inner.setColor(QPalette::WindowText, inner.color(QPalette::Active, QPalette::WindowText));
    pnText->setPalette(inner);

    Bevel1 = new QFrame(pnText);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Tfrm_WaitMsg::LayoutMessage()
{
    pnText->setText(FMessage);
    const QFontMetrics metrics(font());
    const QSize textSize(metrics.horizontalAdvance(FMessage), metrics.height());
    const QSize panel = waitPanelSize(textSize);
    Panel1->setGeometry(0, 0, panel.width(), panel.height());
    const int frame = Panel1->frameWidth();
    pnText->setGeometry(frame, frame, panel.width() - 2 * frame, panel.height() - 2 * frame);
    Bevel1->setGeometry(kTextBorder, kTextBorder, pnText->width() - 2 * kTextBorder,
                        pnText->height() - 2 * kTextBorder);
    // The window fits itself around the panel.
    setFixedSize(panel);
}

void Tfrm_WaitMsg::showEvent(QShowEvent* event)
{
    LayoutMessage();
    if (centred) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->geometry();
            move(area.center() - QPoint(width() / 2, height() / 2));
        }
    }
    QWidget::showEvent(event);
}

void ShowWaitMessage(bool centred, const QString& text)
{
    if (frm_WaitMsg) {
        UpdateWaitMessage(text);
        return;
    }
    frm_WaitMsg = new Tfrm_WaitMsg();
    frm_WaitMsg->FMessage = text;
    frm_WaitMsg->move(100, 50);
    frm_WaitMsg->centred = centred;
    frm_WaitMsg->show();
    // The caller does not return to the event loop before its work is done: paint now.
    frm_WaitMsg->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void UpdateWaitMessage(const QString& text)
{
    if (!frm_WaitMsg)
        return;
    frm_WaitMsg->FMessage = text;
    // The panel keeps its size; only the shown text changes.
    frm_WaitMsg->pnText->setText(text);
    frm_WaitMsg->update();
}

void HideWaitMessage()
{
    if (!frm_WaitMsg)
        return;
    Tfrm_WaitMsg* window = frm_WaitMsg;
    frm_WaitMsg = nullptr;
    window->close();
    delete window;
}

} // namespace vembra
