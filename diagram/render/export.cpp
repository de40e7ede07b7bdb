#include "diagram/render/export.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/safe_files.h"

#include "diagram/render/captions.h"

namespace diagram {

namespace {

constexpr int kScreenDpi = 96;

bool Fail(QString* error, const QString& reason) {
    if (error != nullptr) {
        *error = reason;
    }
    return false;
}

}  // namespace

QImage DiagramImage(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                    int reversed) {
    const QImage& picture = renderer.picture();
    if (picture.devicePixelRatio() == 1) {
        return picture;
    }
    QImage image(renderer.logicalSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(picture.dotsPerMeterX());
    image.setDotsPerMeterY(picture.dotsPerMeterY());
    QPainter painter(&image);
    renderer.PaintDiagram(painter, style, vet, reversed);
    painter.end();
    return image;
}

QByteArray DiagramSvg(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                      int reversed) {
    QByteArray bytes;
    renderer.WriteSvg(bytes, style, vet, reversed);
    return bytes;
}

QByteArray EncodeDiagram(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                         int reversed, ImageFormat format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
        case ImageFormat::kBmp:
        case ImageFormat::kPng: {
            QImageWriter writer(&buffer, FormatName(format));
            if (!writer.write(DiagramImage(renderer, style, vet, reversed))) {
                return {};
            }
            break;
        }
        case ImageFormat::kSvg:
            return DiagramSvg(renderer, style, vet, reversed);
        case ImageFormat::kPdf: {
            const QSize size = renderer.logicalSize();
            QPdfWriter pdf(&buffer);
            pdf.setResolution(kScreenDpi);
            pdf.setCreator(QStringLiteral("Pandrel"));
            const QSizeF points(size.width() * 72.0 / kScreenDpi, size.height() * 72.0 / kScreenDpi);
            pdf.setPageLayout(
                QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                            QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            QPainter painter;
            if (!painter.begin(&pdf)) {
                return {};
            }
            renderer.PaintDiagram(painter, style, vet, reversed);
            if (!painter.end()) {
                return {};
            }
            break;
        }
    }
    buffer.close();
    return bytes;
}

bool WriteDiagram(const Renderer& renderer, const settings::Style& style, const position::Vet& vet,
                  int reversed, ImageFormat format, const QString& path, QString* error) {
    const QByteArray bytes = EncodeDiagram(renderer, style, vet, reversed, format);
    if (bytes.isEmpty()) {
        return Fail(error, QStringLiteral("the diagram could not be drawn as %1").arg(FormatName(format)));
    }
    // A file or link found at the name is replaced, never written through.
    if (!platform::WriteOutputFile(QFile::encodeName(path).toStdString(),
                                   std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))) {
        return Fail(error, QString::fromLocal8Bit(std::strerror(errno)));
    }
    return true;
}

bool RenderDiagramFile(const DiagramRequest& request, const QString& path, QString* error,
                       const CaptionText& captions) {
    settings::Style style = request.style;
    if (request.scale != 1) {
        if (const auto reason = ScaleStyle(style, request.scale)) {
            return Fail(error, QString::fromStdString(*reason));
        }
    }
    Renderer renderer;
    renderer.setBitmapScale(request.scale);
    // The board may be set back to 8 x 8 by the first drawing; the turned
    // view's code follows the board in force.
    const auto reversedCode = [&] {
        return request.reversed ? style.BORDERHEIGHT * style.BORDERWIDTH + 1 : 0;
    };
    renderer.DrawBoard(style, reversedCode());
    if (request.reversed) {
        renderer.DrawBoard(style, reversedCode());
    }
    position::Vet vet;
    position::ResetVet(vet, style.Shape());
    if (request.format == ImageFormat::kSvg || request.format == ImageFormat::kPdf) {
        // Drawings are painted afresh from the board vector: the picture's
        // squares would be painted for nothing.
        diagram::Build(vet, request.text, style, {});
    } else {
        renderer.Build(vet, request.text, style, reversedCode());
    }
    return WriteCaptioned(renderer, style, vet, reversedCode(), request.format, path, captions, error);
}

}  // namespace diagram
