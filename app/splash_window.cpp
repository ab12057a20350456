#include "app/splash_window.h"

#include <QFrame>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace vembra {

Tfrm_Splash::Tfrm_Splash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frm_Splash"));
    panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    panel->setLineWidth(2);
    QPalette border = panel->palette();
    border.setColor(QPalette::WindowText, QColor(128, 0, 0)); // maroon
    panel->setPalette(border);

    picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setAlignment(Qt::AlignCenter);
    // Decoded through Qt's JPEG support.
    QImageReader reader(QStringLiteral(":/artwork/splash.jpg"), "jpeg");
    picture->setPixmap(QPixmap::fromImage(reader.read()));

    auto* inner = new QVBoxLayout(panel);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->addWidget(picture);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

} // namespace vembra
