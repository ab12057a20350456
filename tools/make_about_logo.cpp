// Draws the logo of the About box (435 x 150, the inside of its lowered panel).
//   make_about_logo OUTPUT_FILE
// The format follows the file's suffix: resources/about_logo.jpg is the default picture built
// into the program (kept in the repository; run this again only to change it), and the build
// writes the lossless Rsgar.bmp beside the program, which the About box prefers.
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

constexpr int kWidth = 435;
constexpr int kHeight = 150;

// A cable route across the picture: a trunk with taps, and rings where a probe listens.
void drawPlant(QPainter& p)
{
    QPainterPath trunk(QPointF(18, 118));
    trunk.cubicTo(QPointF(90, 96), QPointF(150, 134), QPointF(230, 112));
    trunk.cubicTo(QPointF(300, 94), QPointF(360, 120), QPointF(420, 104));
    p.setPen(QPen(QColor(255, 170, 50), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trunk);

    p.setPen(QPen(QColor(130, 205, 255), 1.5));
    p.setBrush(QColor(130, 205, 255));
    for (int i = 1; i < 10; ++i) {
        const qreal t = i / 10.0;
        const QPointF at = trunk.pointAtPercent(t);
        const QPointF tap = at + QPointF(6, (i % 2 == 0) ? -16 : 16);
        p.drawLine(at, tap);
        p.drawEllipse(tap, 2.5, 2.5);
    }

    const QPointF probe = trunk.pointAtPercent(0.62);
    p.setBrush(Qt::NoBrush);
    for (int r = 1; r <= 3; ++r) {
        p.setPen(QPen(QColor(90, 255, 140, 220 - 60 * r), 1.5));
        p.drawEllipse(probe, 7.0 * r, 7.0 * r);
    }
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(90, 255, 140));
    p.drawEllipse(probe, 4.5, 4.5);
}

QImage logo()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, kWidth, kHeight);
    back.setColorAt(0, QColor(10, 30, 78));
    back.setColorAt(1, QColor(8, 70, 96));
    p.fillRect(image.rect(), back);
    QRadialGradient glow(QPointF(330, 40), 160);
    glow.setColorAt(0, QColor(80, 160, 220, 90));
    glow.setColorAt(1, QColor(80, 160, 220, 0));
    p.fillRect(image.rect(), glow);

    drawPlant(p);

    QFont title(QStringLiteral("Liberation Sans"));
    title.setPixelSize(34);
    title.setBold(true);
    title.setItalic(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 12, kWidth, 44), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Vembra Navigator"));
    QFont subtitle(QStringLiteral("Liberation Sans"));
    subtitle.setPixelSize(13);
    p.setFont(subtitle);
    p.setPen(QColor(185, 215, 255));
    p.drawText(QRectF(0, 56, kWidth, 20), Qt::AlignHCenter | Qt::AlignVCenter,
               QStringLiteral("Locating common path distortion in HFC networks"));
    p.setPen(QColor(150, 175, 215));
    p.drawText(QRectF(0, kHeight - 22, kWidth - 10, 18), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Norv"));
    p.end();
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    // The build runs this without a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_about_logo OUTPUT_FILE (.jpg or .bmp)\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool jpeg = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
    if (!jpeg && suffix != QLatin1String("bmp")) {
        std::fprintf(stderr, "make_about_logo: the file must end in .jpg or .bmp\n");
        return 2;
    }
    if (!logo().save(path, jpeg ? "JPEG" : "BMP", jpeg ? 90 : -1)) {
        std::fprintf(stderr, "make_about_logo: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
