// Draws the program's own artwork: the splash picture (JPEG, 472 x 215) and the two probe icons.
//   make_artwork OUTPUT_FOLDER
// The results are kept in resources/; run this again only to change them.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include <cstdio>

namespace {

QImage splash()
{
    QImage image(472, 215, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 215);
    sky.setColorAt(0, QColor(18, 40, 86));
    sky.setColorAt(1, QColor(6, 16, 40));
    p.fillRect(image.rect(), sky);

    // A node's plant: a trunk with branches and taps, drawn from a fixed seed.
    QRandomGenerator random(1965);
    p.setPen(QPen(QColor(60, 90, 150), 1));
    for (int x = 0; x < 472; x += 24)
        p.drawLine(x, 0, x, 215);
    for (int y = 0; y < 215; y += 24)
        p.drawLine(0, y, 472, y);
    const QPointF fiber(40, 150);
    QPointF trunk = fiber;
    for (int i = 0; i < 6; ++i) {
        const QPointF next(trunk.x() + 60, 150 - 14 * i + random.bounded(10));
        p.setPen(QPen(QColor(255, 160, 40), 3));
        p.drawLine(trunk, next);
        for (int b = -1; b <= 1; b += 2) {
            QPointF tap = next;
            for (int t = 0; t < 3; ++t) {
                const QPointF nt(tap.x() + 8 + random.bounded(6), tap.y() + b * (12 + t * 2));
                p.setPen(QPen(QColor(120, 200, 255), 1.4));
                p.drawLine(tap, nt);
                p.setBrush(QColor(120, 200, 255));
                p.drawEllipse(nt, 2.5, 2.5);
                tap = nt;
            }
        }
        p.setBrush(QColor(255, 200, 80));
        p.setPen(QPen(QColor(120, 60, 0), 1));
        p.drawPolygon(
            QPolygonF({next + QPointF(-6, 5), next + QPointF(6, 0), next + QPointF(-6, -5)}));
        trunk = next;
    }
    p.setBrush(QColor(80, 255, 120));
    p.setPen(QPen(Qt::white, 1.5));
    p.drawEllipse(fiber, 7, 7);
    // The flag of a candidate.
    const QPointF flagFoot(292, 196);
    p.setPen(QPen(QColor(0, 0, 128), 1));
    p.setBrush(QColor(255, 40, 40));
    p.drawPolygon(QPolygonF({flagFoot, flagFoot + QPointF(0, -26), flagFoot + QPointF(13, -20),
                             flagFoot + QPointF(0, -13)}));

    QFont title(QStringLiteral("Liberation Sans"), 30, QFont::Bold);
    title.setItalic(true);
    p.setFont(title);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(0, 14, 472, 50), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Vembra Navigator"));
    QFont subtitle(QStringLiteral("Liberation Sans"), 11);
    p.setFont(subtitle);
    p.setPen(QColor(180, 210, 255));
    p.drawText(QRectF(0, 60, 472, 20), Qt::AlignHCenter,
               QStringLiteral("Common path distortion locating for HFC networks"));
    p.setPen(QColor(140, 160, 200));
    p.drawText(QRectF(0, 190, 462, 20), Qt::AlignRight, QStringLiteral("Norv"));
    p.end();
    return image;
}

QImage probeIcon(const QColor& fill, const QColor& ring, const QString& letter)
{
    QImage image(14, 14, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ring, 1.5));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1, 1, 12, 12));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 14, 14), Qt::AlignCenter, letter);
    p.end();
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_artwork OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    out.mkpath(QStringLiteral("bitmaps"));
    bool ok = splash().save(out.filePath(QStringLiteral("splash.jpg")), "JPEG", 90);
    ok = ok && probeIcon(QColor(0, 150, 0), QColor(0, 0, 128), QStringLiteral("i"))
                   .save(out.filePath(QStringLiteral("bitmaps/iVexel.png")));
    ok = ok && probeIcon(QColor(220, 0, 0), QColor(0, 0, 255), QStringLiteral("f"))
                   .save(out.filePath(QStringLiteral("bitmaps/fVexel.png")));
    if (!ok) {
        std::fprintf(stderr, "make_artwork: cannot write the pictures\n");
        return 1;
    }
    return 0;
}
