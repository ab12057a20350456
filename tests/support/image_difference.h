#pragma once

#include <QImage>

namespace vembra::test {

// Mean absolute difference of two renderings of the same size, in percent of full scale, after
// flattening both on white and blurring them by one pixel (a 1-2-1 kernel each way).
double meanDifferencePercent(const QImage& a, const QImage& b);

} // namespace vembra::test
