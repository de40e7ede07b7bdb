#include "diagram/render/glyph_outline.h"

#include <QPainterPathStroker>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace diagram {

namespace {

// Paths are merged at this many times their size: the merge turns curves
// into straight pieces, fine enough then to stay within a line's width.
constexpr double kMergeScale = 8;

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

// Points along an outline no further apart than `step`.
QPolygonF Resampled(const QPolygonF& polygon, double step) {
    QPolygonF out;
    for (qsizetype i = 0; i < polygon.size(); ++i) {
        const QPointF a = polygon[i];
        const QPointF b = polygon[(i + 1) % polygon.size()];
        const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
        const int pieces = std::max(1, static_cast<int>(std::ceil(length / step)));
        for (int k = 0; k < pieces; ++k) {
            out << a + (b - a) * (static_cast<double>(k) / pieces);
        }
    }
    return out;
}

// Adds the hollows of an outline whose mouth is narrower than `gap`: for
// two points of the outline closer than that but far apart along it, the
// stretch of outline between them, closed by the short chord. A stretch
// that bulges out of the man rather than into it is inside it anyway.
void AddHollows(const QPolygonF& outline, double gap, std::vector<Hollow>& out) {
    const QPolygonF points = Resampled(outline, gap / 2);
    const qsizetype n = points.size();
    if (n < 8) {
        return;
    }
    std::vector<double> along(static_cast<size_t>(n) + 1, 0);
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF d = points[(i + 1) % n] - points[i];
        along[static_cast<size_t>(i) + 1] = along[static_cast<size_t>(i)] + std::hypot(d.x(), d.y());
    }
    const double perimeter = along.back();
    // Points by cell of a grid as fine as the gap: near points share a cell
    // or neighbour one.
    std::map<std::pair<long, long>, std::vector<qsizetype>> grid;
    const auto cellOf = [gap](QPointF p) {
        return std::make_pair(static_cast<long>(std::floor(p.x() / gap)),
                              static_cast<long>(std::floor(p.y() / gap)));
    };
    for (qsizetype i = 0; i < n; ++i) {
        grid[cellOf(points[i])].push_back(i);
    }
    // Such stretches, as (start, count of points), each running forward
    // from its start the short way round.
    struct Stretch {
        qsizetype start;
        qsizetype count;
        double mouth;
    };
    std::vector<Stretch> stretches;
    for (qsizetype i = 0; i < n; ++i) {
        const auto [cx, cy] = cellOf(points[i]);
        for (long dx = -1; dx <= 1; ++dx) {
            for (long dy = -1; dy <= 1; ++dy) {
                const auto cell = grid.find({cx + dx, cy + dy});
                if (cell == grid.end()) {
                    continue;
                }
                for (const qsizetype j : cell->second) {
                    const QPointF d = points[j] - points[i];
                    const double mouth = std::hypot(d.x(), d.y());
                    if (j <= i || mouth >= gap) {
                        continue;
                    }
                    const double forward = along[static_cast<size_t>(j)] - along[static_cast<size_t>(i)];
                    if (std::min(forward, perimeter - forward) < 6 * gap) {
                        continue;  // neighbours along the outline
                    }
                    if (forward <= perimeter / 2) {
                        stretches.push_back({i, j - i, mouth});
                    } else {
                        stretches.push_back({j, n - (j - i), mouth});
                    }
                }
            }
        }
    }
    // Each hollow once: the longest stretches first, and none that another
    // holds; a hollow's mouth is the narrowest chord across it.
    std::sort(stretches.begin(), stretches.end(),
              [](const Stretch& x, const Stretch& y) { return x.count > y.count; });
    std::vector<Stretch> kept;
    for (const Stretch& stretch : stretches) {
        Stretch* holder = nullptr;
        for (Stretch& k : kept) {
            if ((stretch.start - k.start + n) % n + stretch.count <= k.count) {
                holder = &k;
                break;
            }
        }
        if (holder != nullptr) {
            holder->mouth = std::min(holder->mouth, stretch.mouth);
        } else if (stretch.count <= n / 2 + 1) {
            kept.push_back(stretch);
        }
    }
    for (const Stretch& stretch : kept) {
        QPolygonF polygon;
        for (qsizetype k = 0; k <= stretch.count; ++k) {
            polygon << points[(stretch.start + k) % n];
        }
        if (SignedArea(polygon) < 0) {
            std::reverse(polygon.begin(), polygon.end());
        }
        Hollow hollow;
        hollow.area.addPolygon(polygon);
        hollow.area.closeSubpath();
        hollow.mouth = stretch.mouth;
        out.push_back(hollow);
    }
}

}  // namespace

std::vector<Hollow> Hollows(const QPainterPath& inside, double gap) {
    std::vector<Hollow> hollows;
    for (const QPolygonF& outline : inside.toSubpathPolygons()) {
        AddHollows(outline, gap, hollows);
    }
    return hollows;
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
