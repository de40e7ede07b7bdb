// The diagram as SVG text, written directly: what PaintDiagram paints, in
// the same places, with each square's content (a cell of the pieces bitmap,
// or a drawn square and its man) made once per style and placed by a
// translation. Books of thousands of diagrams are written at the speed of
// copying text.

#include <QBuffer>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "diagram/image_formats.h"
#include "diagram/render/renderer.h"

namespace diagram {

namespace {

constexpr int kDotsPerMeter = 3780;  // 96 dpi: the picture's pixel

double Px(double twips) {
    return twips / kTwipsPerPixel;
}

// A length with at most two decimals, as short as it goes.
void Number(QByteArray& out, double v) {
    const double rounded = std::round(v * 100) / 100;
    if (rounded == std::floor(rounded) && std::abs(rounded) < 1e9) {
        out += QByteArray::number(static_cast<long long>(rounded));
    } else {
        out += QByteArray::number(rounded, 'f', 2);
        while (out.endsWith('0')) {
            out.chop(1);
        }
    }
}

void Attribute(QByteArray& out, const char* name, double v) {
    out += ' ';
    out += name;
    out += "=\"";
    Number(out, v);
    out += '"';
}

QByteArray Colour(const QColor& c) {
    return c.name(QColor::HexRgb).toLatin1();
}

// Text as XML character data or an attribute value.
QByteArray Escaped(const QString& text) {
    QByteArray out;
    for (const char c : text.toUtf8()) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

void Rect(QByteArray& out, const QRectF& r, const QColor& fill) {
    out += "<rect";
    Attribute(out, "x", r.x());
    Attribute(out, "y", r.y());
    Attribute(out, "width", r.width());
    Attribute(out, "height", r.height());
    out += " fill=\"" + Colour(fill) + "\"/>\n";
}

void LineElement(QByteArray& out, QPointF from, QPointF to, const QColor& colour, double width,
                 const char* cap, bool crisp = false) {
    out += "<line";
    Attribute(out, "x1", from.x());
    Attribute(out, "y1", from.y());
    Attribute(out, "x2", to.x());
    Attribute(out, "y2", to.y());
    out += " stroke=\"" + Colour(colour) + "\"";
    Attribute(out, "stroke-width", width);
    out += " stroke-linecap=\"";
    out += cap;
    out += '"';
    if (crisp) {
        out += " shape-rendering=\"crispEdges\"";
    }
    out += "/>\n";
}

void Path(QByteArray& out, const QPainterPath& path, const QColor& fill) {
    if (path.isEmpty()) {
        return;
    }
    out += "<path fill=\"" + Colour(fill) + "\" fill-rule=\"";
    out += path.fillRule() == Qt::OddEvenFill ? "evenodd" : "nonzero";
    out += "\" d=\"";
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
            case QPainterPath::MoveToElement:
                out += 'M';
                break;
            case QPainterPath::LineToElement:
                out += 'L';
                break;
            case QPainterPath::CurveToElement:
                out += 'C';
                break;
            case QPainterPath::CurveToDataElement:
                out += ' ';
                break;
        }
        Number(out, e.x);
        out += ' ';
        Number(out, e.y);
    }
    out += "\"/>\n";
}

// An image as an <image> element holding it as PNG data.
void Image(QByteArray& out, const QImage& image, double x, double y) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image);
    out += "<image";
    Attribute(out, "x", x);
    Attribute(out, "y", y);
    Attribute(out, "width", image.width());
    Attribute(out, "height", image.height());
    out += " preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64,";
    out += png.toBase64();
    out += "\"/>\n";
}

}  // namespace

void Renderer::SvgSquare(QByteArray& out, const settings::Style& style, int code,
                         const CellCopy& copy) const {
    const double width = std::lround(Px(copy.width));
    const double height = std::lround(Px(copy.height));
    const QRectF square(0, 0, width, height);
    if (!m_font) {
        const QRect source(static_cast<int>(std::lround(Px(copy.source.x))),
                           static_cast<int>(std::lround(Px(copy.source.y))), static_cast<int>(width),
                           static_cast<int>(height));
        const QRect available = source.intersected(Cells().rect());
        if (!available.isEmpty()) {
            Image(out, Cells().copy(available), available.x() - source.x(), available.y() - source.y());
        }
        return;
    }
    const int n = static_cast<int>(style.PIECESLIST.size());
    const int p = code % (n + 1);
    const bool dark = code / (n + 1) == 1;
    const FontMen::Square drawn = m_men.SquareShapes(square, p, dark);
    Rect(out, square, drawn.ground);
    if (!drawn.hatching.empty()) {
        // Kept inside the square, as the painter keeps it (the head defines the clip).
        out += "<g clip-path=\"url(#square)\">\n";
        for (const Segment& s : drawn.hatching) {
            LineElement(out, QPointF(s.x1, s.y1), QPointF(s.x2, s.y2), drawn.hatchColour, drawn.hatchWidth,
                        "butt", true);
        }
        out += "</g>\n";
    }
    for (const FontMen::Fill& fill : drawn.fills) {
        Path(out, fill.path, fill.colour);
    }
}

void Renderer::WriteSvg(QByteArray& out, const settings::Style& given, const position::Vet& vet,
                        int reversed) const {
    const settings::Style style = Resolved(given);
    const QSize size = logicalSize();
    if (m_svgHead.isEmpty() || m_svgHeadReversed != reversed) {
        m_svgHeadReversed = reversed;
        QByteArray& head = m_svgHead;
        head.clear();
        head += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg";
        Attribute(head, "width", size.width());
        Attribute(head, "height", size.height());
        head += " viewBox=\"0 0 " + QByteArray::number(size.width()) + ' ' +
                QByteArray::number(size.height()) +
                "\" version=\"1.1\" xmlns=\"http://www.w3.org/2000/svg\" "
                "xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n<title>Pandrel diagram</title>\n";
        if (m_font && style.DARKHATCH == 1) {
            // The outline of one square, which a hatched square's lines are cut to.
            head += "<defs><clipPath id=\"square\"><rect";
            Attribute(head, "width", std::lround(Px(style.SQRWIDTH)));
            Attribute(head, "height", std::lround(Px(style.SQRHEIGHT)));
            head += "/></clipPath></defs>\n";
        }
        Rect(head, QRectF(0, 0, size.width(), size.height()), ToQColor(style.BACKCOLOR));
        if (!m_border.isNull()) {
            Image(head, m_border, 0, 0);
        }
        const auto frame = FrameLines(style);
        for (const diagram::Line& line : frame) {
            LineElement(head, QPointF(Px(line.from.x), Px(line.from.y)),
                        QPointF(Px(line.to.x), Px(line.to.y)), ToQColor(style.FRAMECOLOR), style.FRAMEWIDTH,
                        "square");
        }
        if (style.SHOWGRID == 1) {
            // Placed as PaintLettering places it: measured on a screen.
            const QFont font = LetteringQFont(style);
            QImage screen(1, 1, QImage::Format_RGB32);
            screen.setDotsPerMeterX(kDotsPerMeter);
            screen.setDotsPerMeterY(kDotsPerMeter);
            const QFontMetricsF metrics(font, &screen);
            const auto measure = [&](const std::string& text) {
                const QString label = QString::fromStdString(text);
                return TextSize{metrics.horizontalAdvance(label) * kTwipsPerPixel,
                                metrics.height() * kTwipsPerPixel};
            };
            QByteArray look = " font-family=\"" + Escaped(font.family()) + "\"";
            look += " font-size=\"";
            Number(look, font.pointSizeF() * 96 / 72);
            look += "px\"";
            if (font.bold()) {
                look += " font-weight=\"bold\"";
            }
            if (font.italic()) {
                look += " font-style=\"italic\"";
            }
            if (font.underline() || font.strikeOut()) {
                look += QByteArray(" text-decoration=\"") + (font.underline() ? "underline" : "") +
                        (font.underline() && font.strikeOut() ? " " : "") +
                        (font.strikeOut() ? "line-through" : "") + "\"";
            }
            look += " fill=\"" + Colour(ToQColor(style.FONTCOLOR)) + "\" xml:space=\"preserve\"";
            for (const Label& label : LetteringLabels(style, reversed, measure)) {
                head += "<text";
                Attribute(head, "x", Px(label.at.x));
                Attribute(head, "y", Px(label.at.y) + metrics.ascent());
                head += look + '>' + Escaped(QString::fromLatin1(label.text.c_str())) + "</text>\n";
            }
        }
    }
    out += m_svgHead;

    ForEachShownCell(style, vet, [&](int code, int s1) {
        const CellCopy copy = PutPecaGeometry(style, reversed, code, s1);
        if (static_cast<size_t>(code) >= m_svgSquares.size()) {
            m_svgSquares.resize(static_cast<size_t>(code) + 1);
        }
        QByteArray& square = m_svgSquares[static_cast<size_t>(code)];
        if (square.isEmpty()) {
            SvgSquare(square, style, code, copy);
            if (square.isEmpty()) {
                square = " ";  // nothing to draw, and known to be so
            }
        }
        if (square == " ") {
            return;
        }
        out += "<g transform=\"translate(";
        Number(out, std::lround(Px(copy.target.x)));
        out += ' ';
        Number(out, std::lround(Px(copy.target.y)));
        out += ")\">\n";
        out += square;
        out += "</g>\n";
    });
    for (const OverlayStroke& stroke : m_strokes) {
        const QColor colour = ToQColor(stroke.color);
        const QPointF from(Px(stroke.fromX), Px(stroke.fromY));
        switch (stroke.kind) {
            case OverlayStroke::kLine:
                LineElement(out, from, QPointF(Px(stroke.toX), Px(stroke.toY)), colour, stroke.width,
                            "round");
                break;
            case OverlayStroke::kCircle:
                out += "<circle";
                Attribute(out, "cx", from.x());
                Attribute(out, "cy", from.y());
                Attribute(out, "r", Px(stroke.radius));
                out += " fill=\"none\" stroke=\"" + Colour(colour) + "\"";
                Attribute(out, "stroke-width", stroke.width);
                out += "/>\n";
                break;
            case OverlayStroke::kDot:
                out += "<circle";
                Attribute(out, "cx", from.x());
                Attribute(out, "cy", from.y());
                Attribute(out, "r", std::max(1, stroke.width) / 2.0);
                out += " fill=\"" + Colour(colour) + "\"/>\n";
                break;
        }
    }
    out += "</svg>\n";
}

}  // namespace diagram
