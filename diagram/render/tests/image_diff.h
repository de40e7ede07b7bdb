#pragma once
// Comparing two drawn pictures where smoothed edges may differ a little.

#include <QColor>
#include <QImage>
#include <cstdlib>

namespace testsupport {

/// Share of pixels (0 to 1) whose colours differ by more than a little; 1
/// for pictures of different sizes.
inline double Differing(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return 1;
    }
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            count += std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) +
                         std::abs(p.blue() - q.blue()) >
                     96;
        }
    }
    return static_cast<double>(count) / (a.width() * a.height());
}

}  // namespace testsupport
