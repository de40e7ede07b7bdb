#include "diagram/render/glyph_outline.h"

#include <QImage>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <vector>

namespace diagram {

namespace {

// Paths are merged at this many times their size: the merge turns curves
// into straight pieces, fine enough then to stay within a line's width.
constexpr double kMergeScale = 8;

// A pixel a man covers up to kOpenCover (of 255) lets the ground through:
// smoothing mixes in too little of him to tell. One he covers up to
// kShutCover, closed in, still shows as a speck of the ground, and is filled.
constexpr int kOpenCover = 30;
constexpr int kShutCover = 64;

// The path cut into its closed outlines, curves kept.
std::vector<QPainterPath> Subpaths(const QPainterPath& path) {
    std::vector<QPainterPath> out;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.type == QPainterPath::MoveToElement || out.empty()) {
            out.emplace_back();
            out.back().moveTo(e.x, e.y);
            continue;
        }
        if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            out.back().cubicTo(QPointF(e.x, e.y), QPointF(c2.x, c2.y), QPointF(end.x, end.y));
            i += 2;
            continue;
        }
        out.back().lineTo(e.x, e.y);
    }
    return out;
}

double SignedArea(const QPolygonF& polygon) {
    double area = 0;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i];
        const QPointF b = polygon[(i + 1) % polygon.size()];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area / 2;
}

// True when outline `inner` lies within outline `outer`. Outlines of a glyph
// do not cross, but they may touch: most of the points decide.
bool Within(const QPolygonF& inner, const QPolygonF& outer) {
    if (inner.isEmpty() || !outer.boundingRect().contains(inner.boundingRect())) {
        return false;
    }
    const qsizetype step = std::max<qsizetype>(1, inner.size() / 9);
    int in = 0;
    int all = 0;
    for (qsizetype i = 0; i < inner.size(); i += step) {
        in += outer.containsPoint(inner[i], Qt::OddEvenFill) ? 1 : 0;
        ++all;
    }
    return 2 * in > all;
}

// The outlines no other outline holds, all turning the same way, so that
// filled by the winding rule they cover their union.
QPainterPath Outermost(const QPainterPath& path) {
    const std::vector<QPainterPath> subpaths = Subpaths(path);
    std::vector<QPolygonF> polygons;
    polygons.reserve(subpaths.size());
    for (const QPainterPath& sub : subpaths) {
        const QList<QPolygonF> flat = sub.toSubpathPolygons();
        polygons.push_back(flat.isEmpty() ? QPolygonF() : flat.front());
    }
    QPainterPath outer;
    outer.setFillRule(Qt::WindingFill);
    for (size_t i = 0; i < subpaths.size(); ++i) {
        bool held = false;
        for (size_t j = 0; j < subpaths.size() && !held; ++j) {
            held = j != i && Within(polygons[i], polygons[j]);
        }
        if (held || std::abs(SignedArea(polygons[i])) == 0) {
            continue;
        }
        outer.addPath(SignedArea(polygons[i]) < 0 ? subpaths[i].toReversed() : subpaths[i]);
    }
    return outer;
}

// True when some two outlines of the path have boxes that meet.
bool OutlinesMeet(const QPainterPath& path) {
    const QList<QPolygonF> polygons = path.toSubpathPolygons();
    for (qsizetype i = 0; i < polygons.size(); ++i) {
        for (qsizetype j = i + 1; j < polygons.size(); ++j) {
            if (polygons[i].boundingRect().intersects(polygons[j].boundingRect())) {
                return true;
            }
        }
    }
    return false;
}

// Overlapping parts merged into one outline each, at a fine resolution.
QPainterPath Merged(const QPainterPath& path) {
    const QPainterPath merged = QTransform::fromScale(kMergeScale, kMergeScale).map(path).simplified();
    return QTransform::fromScale(1 / kMergeScale, 1 / kMergeScale).map(merged);
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

// A bar of the given length and width through the centre, turned clockwise
// from the vertical by `angle` degrees.
QPainterPath Bar(QPointF centre, double length, double width, double angle) {
    QPainterPath bar;
    bar.addRect(QRectF(-width / 2, -length / 2, width, length));
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(angle);
    return t.map(bar);
}

}  // namespace

QPainterPath SealedGround(const QPainterPath& inside, const QPainterPath& ink, const QRectF& square,
                          int largest) {
    const QRect pixels = square.toAlignedRect();
    const int w = pixels.width();
    const int h = pixels.height();
    if (w < 1 || h < 1 || w > largest || h > largest || inside.isEmpty()) {
        return {};
    }
    QImage mask(w, h, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-pixels.x(), -pixels.y());
        // Both, as they are painted: where the smoothed edges of the two
        // overlap, together they cover more than either.
        painter.fillPath(inside, Qt::black);
        painter.fillPath(ink, Qt::black);
    }
    // The ground reached from the square's edge over pixels the man covers
    // too little to hide it.
    const auto open = [&](int x, int y) { return mask.constScanLine(y)[x] <= kOpenCover; };
    std::vector<char> reached(static_cast<size_t>(w * h), 0);
    std::vector<int> todo;
    const auto visit = [&](int x, int y) {
        const size_t k = static_cast<size_t>(y * w + x);
        if (reached[k] == 0 && open(x, y)) {
            reached[k] = 1;
            todo.push_back(static_cast<int>(k));
        }
    };
    for (int x = 0; x < w; ++x) {
        visit(x, 0);
        visit(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        visit(0, y);
        visit(w - 1, y);
    }
    while (!todo.empty()) {
        const int k = todo.back();
        todo.pop_back();
        const int x = k % w;
        const int y = k / w;
        if (x > 0) {
            visit(x - 1, y);
        }
        if (x < w - 1) {
            visit(x + 1, y);
        }
        if (y > 0) {
            visit(x, y - 1);
        }
        if (y < h - 1) {
            visit(x, y + 1);
        }
    }
    // The pixels left that show the ground are shut in: rows of them as
    // rectangles. A pixel next to the ground reached is the man's own edge.
    const auto shut = [&](int x, int y) {
        if (reached[static_cast<size_t>(y * w + x)] != 0 || mask.constScanLine(y)[x] > kShutCover) {
            return false;
        }
        const auto out = [&](int u, int v) {
            return u >= 0 && v >= 0 && u < w && v < h && reached[static_cast<size_t>(v * w + u)] != 0;
        };
        return !out(x - 1, y) && !out(x + 1, y) && !out(x, y - 1) && !out(x, y + 1);
    };
    QPainterPath sealed;
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            if (!shut(x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < w && shut(x, y)) {
                ++x;
            }
            sealed.addRect(QRectF(pixels.x() + start, pixels.y() + y, x - start, 1));
        }
    }
    return sealed;
}

QPainterPath Inside(const QPainterPath& glyph) {
    QPainterPath outer = Outermost(glyph);
    if (OutlinesMeet(outer)) {
        // Outer outlines that overlap may close a gap between them; merged,
        // the gap is a hole of one outline, and is dropped with the others.
        outer = Outermost(Merged(outer));
    }
    return outer;
}

QPainterPath MarkerArea(MarkerKind marker, const QRectF& square) {
    const double side = std::min(square.width(), square.height());
    const QPointF c = square.center();
    const double band = 0.09 * side;
    QPainterPath area;
    area.setFillRule(Qt::OddEvenFill);
    switch (marker) {
        case MarkerKind::kNone:
            return {};
        case MarkerKind::kCircle: {
            const double r = 0.32 * side;
            area.addEllipse(c, r, r);
            area.addEllipse(c, r - band, r - band);
            return area;
        }
        case MarkerKind::kDisc: {
            const double r = 0.28 * side;
            area.addEllipse(c, r, r);
            return area;
        }
        case MarkerKind::kSquare: {
            const double h = 0.28 * side;
            area.addRect(QRectF(c.x() - h, c.y() - h, 2 * h, 2 * h));
            const double i = h - band;
            area.addRect(QRectF(c.x() - i, c.y() - i, 2 * i, 2 * i));
            return area;
        }
        case MarkerKind::kTriangle: {
            // Equilateral, pointing up, its centre on the square's; the
            // inner edges a band inside the outer ones.
            const auto triangle = [&](double r) {
                const double half = r * std::sqrt(3.0) / 2;
                return Polygon({QPointF(c.x(), c.y() - r), QPointF(c.x() + half, c.y() + r / 2),
                                QPointF(c.x() - half, c.y() + r / 2)});
            };
            const double r = 0.38 * side;
            area.addPath(triangle(r));
            area.addPath(triangle(r - 2 * band));
            return area;
        }
        case MarkerKind::kCross:
            area = Bar(c, 0.72 * side, band * 1.2, 45).united(Bar(c, 0.72 * side, band * 1.2, -45));
            return area;
        case MarkerKind::kAsterisk:
            area = Bar(c, 0.7 * side, band * 1.1, 0)
                       .united(Bar(c, 0.7 * side, band * 1.1, 60))
                       .united(Bar(c, 0.7 * side, band * 1.1, -60));
            return area;
    }
    return {};
}

QPainterPath EdgeBand(const QPainterPath& area, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setJoinStyle(Qt::MiterJoin);
    stroker.setCapStyle(Qt::FlatCap);
    return stroker.createStroke(area);
}

}  // namespace diagram
