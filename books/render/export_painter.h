#pragma once
// The diagrams of an export, drawn one position after another with the
// shared renderer in the style in force, switched by the games' Style tags.

#include <QByteArray>
#include <QRectF>
#include <string>
#include <vector>

#include "books/book_export.h"
#include "books/render/diagram_export.h"
#include "diagram/render/renderer.h"
#include "position/problem_record.h"
#include "position/vet.h"
#include "settings/style.h"

class QPainter;

namespace books::render {

/// Draws the positions of an export. Only the squares that changed since the
/// last position are painted again, as in the window.
class DiagramPainter {
  public:
    /// The style and settings are the export's own copies; names are the
    /// settings file's block names. Every style drawn, the first and those
    /// of Style tags, has its lengths multiplied by scale.
    DiagramPainter(settings::Style& style, settings::ProgramSettings& settings,
                   std::vector<std::string> names, double scale = 1);

    /// The hook ReadGameDiagrams calls with a game's Style tags: switches the
    /// style and prepares the picture again when it changed.
    books::StyleHook SwitchStyles();

    /// Draws the position (a FEN box text) and encodes it in the format into
    /// bytes: the picture for BMP and PNG, the drawing for SVG and PDF.
    /// False (see error()) when it cannot be drawn.
    bool Encode(const std::string& fen, ImageFormat format, QByteArray& bytes);
    /// Encode with the captions of record around the diagram (none for an
    /// empty record).
    bool Encode(const std::string& fen, ImageFormat format, const position::ProblemRecord& record,
                QByteArray& bytes);

    /// Draws the position into target on painter, as large as fits, centred
    /// across and at the top, keeping its proportions. Squares and men of
    /// font styles go as shapes, lettering as text, so that a PDF page
    /// holds a drawing rather than a picture. Returns where it went.
    QRectF Paint(const std::string& fen, QPainter& painter, const QRectF& target);
    /// Where Paint would put the position in target (and the position is
    /// then the one Count counts).
    QRectF Place(const std::string& fen, const QRectF& target);
    /// The men of the position painted or placed last.
    position::MenCount Count() const;

    /// Why the last Encode failed, or why a style could not be scaled.
    const std::string& error() const { return m_error; }

  private:
    void Prepare();

    settings::Style& m_style;
    StyleSwitcher m_switcher;
    diagram::Renderer m_renderer;
    position::Vet m_vet;
    double m_scale = 1;
    std::string m_error;
};

}  // namespace books::render
