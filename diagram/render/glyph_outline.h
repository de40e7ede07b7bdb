#pragma once
// Outlines a font style draws on its squares besides the men of the chess
// font: the inside of a glyph (what a man is filled with before its lines),
// the ground his lines shut in when drawn, the markers, and the light rim
// that keeps a dark shape readable on any ground.

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

/// The pixels of the ground that a man closes in: `inside` and `ink` are
/// his outlines placed in `square`, one unit a pixel, painted in that order. Where his edges pass
/// close to each other (a crown's points, a jaw's line ending on the neck)
/// the smoothing of their pixels shuts the ground between them off from the
/// rest of the square, and it would show through him as a speck. Gives
/// those pixels as squares, to be filled with the man's inside; none when
/// the square is larger than `largest` pixels, where no gap closes so.
QPainterPath SealedGround(const QPainterPath& inside, const QPainterPath& ink, const QRectF& square,
                          int largest);

/// The area of a marker of the given kind centred in `square`, in a size
/// fitted to its smaller side; empty for MarkerKind::kNone.
QPainterPath MarkerArea(MarkerKind marker, const QRectF& square);

/// A band of the given width centred on the edges of `area`: the stroke of
/// its outline.
QPainterPath EdgeBand(const QPainterPath& area, double width);

}  // namespace diagram
