#pragma once
// Outlines a font style draws on its squares besides the men of the chess
// font: the inside of a glyph (what a man is filled with before its lines),
// the markers, and the light rim that keeps a dark shape readable on any
// ground.

#include <QPainterPath>
#include <QRectF>
#include <vector>

#include "diagram/piece_glyphs.h"

namespace diagram {

/// The region a glyph's outer outlines enclose: the glyph with its holes,
/// and any gap its outer outlines close between them, filled. A man's body
/// is filled with this before its lines are drawn, so that nothing of the
/// square shows through it.
QPainterPath Inside(const QPainterPath& glyph);

/// A hollow of an outline that all but closes it: the area behind its
/// mouth, turning as the outlines of Inside do, and the mouth's width.
struct Hollow {
    QPainterPath area;
    double mouth = 0;
};

/// The hollows of the outlines of `inside` (as Inside gives it) whose mouth
/// is narrower than `gap`. Drawn small enough, such a mouth closes, and the
/// hollow reads as part of the man (a jaw's line ending on the neck, a
/// crown's point touching the next one's ball): it is filled with him then.
std::vector<Hollow> Hollows(const QPainterPath& inside, double gap);

/// The area of a marker of the given kind centred in `square`, in a size
/// fitted to its smaller side; empty for MarkerKind::kNone.
QPainterPath MarkerArea(MarkerKind marker, const QRectF& square);

/// A band of the given width centred on the edges of `area`: the stroke of
/// its outline.
QPainterPath EdgeBand(const QPainterPath& area, double width);

}  // namespace diagram
