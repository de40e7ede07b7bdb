#include "books/render/export_painter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include "diagram/fairy_exchange.h"
#include "diagram/render/captions.h"
#include "diagram/render/export.h"

namespace books::render {

DiagramPainter::DiagramPainter(settings::Style& style, settings::ProgramSettings& settings,
                               std::vector<std::string> names, double scale)
    : m_style(style), m_switcher(style, settings, std::move(names)), m_scale(scale > 0 ? scale : 1) {
    m_renderer.setBitmapScale(m_scale);
    Prepare();
}

void DiagramPainter::Prepare() {
    // The style is fresh from the settings file here (or the export's
    // copy): its lengths are scaled once, before the board fills in the
    // picture size.
    if (m_scale != 1) {
        if (const auto reason = diagram::ScaleStyle(m_style, m_scale)) {
            m_error = "style " + m_style.CurrentStyle + ": " + *reason;
        }
    }
    // Exported diagrams show the board as the book gives it, never turned.
    m_renderer.DrawBoard(m_style, 0);
    position::ResetVet(m_vet, m_style.Shape());
}

books::StyleHook DiagramPainter::SwitchStyles() {
    return [this](const std::vector<std::string>& styles) {
        if (m_switcher.Apply(styles)) {
            Prepare();
        }
        return m_style.Shape();
    };
}

bool DiagramPainter::Encode(const std::string& fen, ImageFormat format, QByteArray& bytes) {
    if (!m_error.empty()) {
        return false;
    }
    m_renderer.Build(m_vet, fen, m_style, 0);
    if (format == ImageFormat::kSvg || format == ImageFormat::kPdf) {
        bytes = diagram::EncodeDiagram(m_renderer, m_style, m_vet, 0, format);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, diagram::FormatName(format));
        if (format == ImageFormat::kPng) {
            // Diagrams are small and flat: light compression is nearly as
            // small and several times faster than the default. Qt's scale
            // runs from 0 to 100, and below 11 it stores the pixels as they
            // are: 11 is the lightest that compresses.
            writer.setCompression(11);
        }
        writer.write(diagram::DiagramImage(m_renderer, m_style, m_vet, 0));
    }
    if (bytes.isEmpty()) {
        m_error = std::string("the diagram could not be drawn as ") + diagram::FormatName(format);
        return false;
    }
    return true;
}

bool DiagramPainter::Encode(const std::string& fen, ImageFormat format, const position::ProblemRecord& record,
                            QByteArray& bytes) {
    if (record.Empty() || !m_error.empty()) {
        return Encode(fen, format, bytes);
    }
    m_renderer.Build(m_vet, fen, m_style, 0);
    const diagram::CaptionText captions =
        diagram::CaptionsOf(record, position::CountMen(m_vet, diagram::FairyStyleOf(m_style)));
    if (format == ImageFormat::kPng) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, diagram::FormatName(format));
        writer.setCompression(11);  // as for the diagrams without captions
        // The captions' bands add many rows of few colours: with a palette
        // the file is smaller and written several times faster.
        writer.write(diagram::PalettedImage(diagram::CaptionedImage(
            diagram::DiagramImage(m_renderer, m_style, m_vet, 0), captions, m_style)));
    } else {
        bytes = diagram::EncodeCaptioned(m_renderer, m_style, m_vet, 0, format, captions);
    }
    if (bytes.isEmpty()) {
        m_error = std::string("the diagram could not be drawn as ") + diagram::FormatName(format);
        return false;
    }
    return true;
}

position::MenCount DiagramPainter::Count() const {
    return position::CountMen(m_vet, diagram::FairyStyleOf(m_style));
}

QRectF DiagramPainter::Place(const std::string& fen, const QRectF& target) {
    m_renderer.Build(m_vet, fen, m_style, 0);
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
    m_renderer.PaintDiagram(painter, m_style, m_vet, 0);
    painter.restore();
    return place;
}

}  // namespace books::render
