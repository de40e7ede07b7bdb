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

#include "diagram/render/render.h"

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
    RenderOptions options;
    options.reversed = request.reversed;
    options.scale = request.scale;
    options.format = request.format;
    options.captions = captions;
    std::string reason;
    if (!WriteRendered(Render(request.text, request.style, options), QFile::encodeName(path).toStdString(),
                       &reason)) {
        return Fail(error, QString::fromStdString(reason));
    }
    return true;
}

}  // namespace diagram
