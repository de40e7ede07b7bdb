#include "books/render/export_painter.h"

#include <QPainter>

#include "diagram/fairy_exchange.h"
#include "diagram/render/render.h"

namespace books::render {

DiagramPainter::DiagramPainter(settings::Style& style, settings::ProgramSettings& settings,
                               std::vector<std::string> names, double scale)
    : m_style(style), m_switcher(style, settings, std::move(names)), m_scale(scale > 0 ? scale : 1) {
    m_renderer.setBitmapScale(m_scale);
    Prepare();
}

void DiagramPainter::Prepare() {
    // The style is fresh from the settings file here (or the export's
    // copy): its lengths are scaled once, before the drawing computes the
    // picture size from them.
    if (m_scale != 1) {
        if (const auto reason = diagram::ScaleStyle(m_style, m_scale)) {
            m_error = "style " + m_style.CurrentStyle + ": " + *reason;
        }
    }
    // Exported diagrams show the board as the book gives it, never turned.
    m_renderer.DrawBoard(m_style, 0);
    position::ResetVet(m_vet, m_renderer.style().Shape());
}

books::StyleHook DiagramPainter::SwitchStyles() {
    return [this](const std::vector<std::string>& styles) {
        if (m_switcher.Apply(styles)) {
            Prepare();
        }
        return m_renderer.style().Shape();
    };
}

bool DiagramPainter::Encode(const std::string& fen, ImageFormat format, QByteArray& bytes) {
    return Encode(fen, format, position::ProblemRecord{}, bytes);
}

bool DiagramPainter::Encode(const std::string& fen, ImageFormat format, const position::ProblemRecord& record,
                            QByteArray& bytes) {
    if (!m_error.empty()) {
        return false;
    }
    m_renderer.Build(m_vet, fen, m_renderer.style(), 0);
    diagram::RenderOptions options;
    options.format = format;
    // Diagrams are small and flat: light compression is nearly as small and
    // several times faster than the default. Qt's scale runs from 0 to 100,
    // and below 11 it stores the pixels as they are: 11 is the lightest that
    // compresses.
    options.pngCompression = 11;
    if (!record.Empty()) {
        options.captions = diagram::CaptionsOf(record, Count());
    }
    diagram::RenderResult drawn = diagram::EncodeDrawn(m_renderer, m_vet, options);
    if (!drawn.ok()) {
        m_error = drawn.error;
        return false;
    }
    bytes = std::move(drawn.bytes);
    return true;
}

position::MenCount DiagramPainter::Count() const {
    return position::CountMen(m_vet, diagram::FairyStyleOf(m_renderer.style()));
}

QRectF DiagramPainter::Place(const std::string& fen, const QRectF& target) {
    m_renderer.Build(m_vet, fen, m_renderer.style(), 0);
    const QSize size = m_renderer.logicalSize();
    if (size.isEmpty() || target.isEmpty()) {
        return {};
    }
    const double scale = std::min(target.width() / size.width(), target.height() / size.height());
    const QPointF at(target.x() + (target.width() - size.width() * scale) / 2, target.y());
    return QRectF(at, QSizeF(size.width() * scale, size.height() * scale));
}

QRectF DiagramPainter::Paint(const std::string& fen, QPainter& painter, const QRectF& target) {
    const QRectF place = Place(fen, target);
    if (place.isEmpty()) {
        return {};
    }
    const QSize size = m_renderer.logicalSize();
    painter.save();
    painter.translate(place.topLeft());
    const double scale = place.width() / size.width();
    painter.scale(scale, scale);
    m_renderer.PaintDiagram(painter, m_renderer.style(), m_vet, 0);
    painter.restore();
    return place;
}

}  // namespace books::render
