#include "books/render/export_painter.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

namespace books::render {

bool CanWrite(ImageFormat format) {
    return format == ImageFormat::kBmp || format == ImageFormat::kPng;
}

DiagramPainter::DiagramPainter(settings::Style& style, settings::ProgramSettings& settings,
                               std::vector<std::string> names)
    : m_style(style), m_switcher(style, settings, std::move(names)) {
    Prepare();
}

void DiagramPainter::Prepare() {
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

void DiagramPainter::Encode(const std::string& fen, ImageFormat format, QByteArray& bytes) {
    m_renderer.Build(m_vet, fen, m_style, 0);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format == ImageFormat::kBmp ? "bmp" : "png");
    if (format == ImageFormat::kPng) {
        // Diagrams are small and flat: light compression is nearly as small
        // and several times faster than the default.
        writer.setCompression(1);
    }
    writer.write(m_renderer.picture());
}

void DiagramPainter::Paint(const std::string& fen, QPainter& painter, const QRectF& target) {
    m_renderer.Build(m_vet, fen, m_style, 0);
    const QImage& picture = m_renderer.picture();
    if (picture.isNull() || target.isEmpty()) {
        return;
    }
    const double scale = std::min(target.width() / picture.width(), target.height() / picture.height());
    const QSizeF size(picture.width() * scale, picture.height() * scale);
    const QRectF at(target.x() + (target.width() - size.width()) / 2, target.y(), size.width(),
                    size.height());
    painter.drawImage(at, picture);
}

}  // namespace books::render
