#pragma once
// Paints the diagram picture from the style and the board vector.

#include <QFont>
#include <QImage>
#include <QString>

#include "diagram/geometry.h"
#include "position/vet.h"
#include "settings/style.h"

namespace diagram {

/// Converts a style colour (0x00BBGGRR) to a Qt colour.
QColor ToQColor(int32_t bgr);

/// Loads a BMP or GIF picture; a null image when it cannot be read.
QImage LoadBitmap(const QString& path);

/// The diagram picture that persists between paints, with the pieces bitmap
/// it cuts squares from. Everything Save Image, Copy Image and Print take
/// comes from picture().
class Renderer {
  public:
    Renderer();

    /// Prepares the picture: background colour and bitmap, pieces bitmap,
    /// size, frame and lettering. Draws no squares; follow it with a reset of
    /// the painted plane and a board update. Returns true for a square board.
    bool DrawBoard(settings::Style& style, int reversed);

    /// Paints cell `code` of the pieces bitmap on square s1 - 1.
    void PutPeca(const settings::Style& style, int reversed, int code, int s1);

    /// Reads FEN text into the board vector and repaints the changed squares.
    position::ParseResult Build(position::Vet& vet, std::string_view text, const settings::Style& style,
                                int reversed);

    /// DrawBoard, reset of the painted plane, Build: the full redraw.
    position::ParseResult Redraw(position::Vet& vet, std::string_view text, settings::Style& style,
                                 int reversed);

    /// The persistent picture.
    const QImage& picture() const { return m_picture; }
    /// The persistent picture to draw on (the graphic overlay's lasting
    /// strokes); the next repaint of a square paints over its part.
    QImage& canvas() { return m_picture; }
    /// The pieces bitmap in use (the built-in one until a style loads another).
    const QImage& pieces() const { return m_pecas; }
    /// Replaces the pieces bitmap.
    void setPieces(const QImage& pieces) { m_pecas = pieces.convertToFormat(QImage::Format_RGB32); }

    /// The lettering font a style asks for, at screen resolution.
    static QFont LetteringQFont(const settings::Style& style);

  private:
    void DrawLettering(const settings::Style& style, int reversed);

    QImage m_picture;
    QImage m_pecas;
};

}  // namespace diagram
