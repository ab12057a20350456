#include "tests/support/image_difference.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace vembra::test {

namespace {

// A 1-pixel Gaussian blur (binomial 1-2-1 kernel in both directions) of an RGB32 image.
std::vector<float> blurred(const QImage& image)
{
    const int w = image.width();
    const int h = image.height();
    std::vector<float> src(std::size_t(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            float* p = &src[(std::size_t(y) * w + x) * 3];
            p[0] = float(qRed(row[x]));
            p[1] = float(qGreen(row[x]));
            p[2] = float(qBlue(row[x]));
        }
    }
    std::vector<float> tmp(src.size());
    const auto at = [&](const std::vector<float>& v, int x, int y, int c) {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return v[(std::size_t(y) * w + x) * 3 + c];
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                tmp[(std::size_t(y) * w + x) * 3 + c] =
                    (at(src, x - 1, y, c) + 2 * at(src, x, y, c) + at(src, x + 1, y, c)) / 4;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                src[(std::size_t(y) * w + x) * 3 + c] =
                    (at(tmp, x, y - 1, c) + 2 * at(tmp, x, y, c) + at(tmp, x, y + 1, c)) / 4;
    return src;
}

// Flattens an image on white as opaque RGB.
QImage onWhite(const QImage& image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

} // namespace

double meanDifferencePercent(const QImage& a, const QImage& b)
{
    const std::vector<float> pa = blurred(onWhite(a));
    const std::vector<float> pb = blurred(onWhite(b));
    double sum = 0;
    for (std::size_t i = 0; i < pa.size(); ++i)
        sum += std::abs(pa[i] - pb[i]);
    return 100.0 * sum / (double(pa.size()) * 255.0);
}

} // namespace vembra::test
