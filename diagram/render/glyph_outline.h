#pragma once
// Outlines a font style draws on its squares besides the men of the chess
// font: the inside of a glyph (what a man is filled with before its lines),
// the markers, and the light rim that keeps a dark shape readable on any
// ground.

#include <QPainterPath>
#include <QRectF>

#include "diagram/piece_glyphs.h"

namespace diagram {

/// The region a glyph's outer outlines enclose: the glyph with its holes,
/// and any gap its outer outlines close between them, filled. A man's body
/// is filled with this before its lines are drawn, so that nothing of the
/// square shows through it.
QPainterPath Inside(const QPainterPath& glyph);

/// The area of a marker of the given kind centred in `square`, in a size
/// fitted to its smaller side; empty for MarkerKind::kNone.
QPainterPath MarkerArea(MarkerKind marker, const QRectF& square);

/// A band of the given width centred on the edges of `area`: the stroke of
/// its outline.
QPainterPath EdgeBand(const QPainterPath& area, double width);

}  // namespace diagram
