#include "diagram/geometry.h"

#include <cmath>
#include <cstdlib>

namespace diagram {

bool ApplyComputedGeometry(settings::Style& style) {
    if (style.SQRVTAB == 0) {
        style.SQRVTAB = style.SQRHEIGHT;
    }
    if (style.SQRHTAB == 0) {
        style.SQRHTAB = style.SQRWIDTH;
    }
    // The picture size is computed for the pitches just filled in, and
    // for the board in force.
    const settings::PictureSize size = settings::ComputedPictureSize(style);
    settings::ClampBoardSize(style);
    if (style.WNDHEIGHT == 0) {
        style.WNDHEIGHT = size.height;
    }
    if (style.WNDWIDTH == 0) {
        style.WNDWIDTH = size.width;
    }
    return style.BORDERHEIGHT == style.BORDERWIDTH;
}

settings::Style Resolved(const settings::Style& style) {
    settings::Style resolved = style;
    ApplyComputedGeometry(resolved);
    return resolved;
}

int16_t FollowBoardSize(int16_t reversed, const settings::Style& style) {
    return reversed == 0 ? int16_t{0} : static_cast<int16_t>(style.BORDERHEIGHT * style.BORDERWIDTH + 1);
}

int DisplayIndex(int s, int squares, int reversed) {
    return reversed == 0 ? s : squares - 1 - s;
}

Point SquareOrigin(const settings::Style& style, int d) {
    const int cols = std::max<int>(style.BORDERWIDTH, 1);
    return {static_cast<double>((d % cols) * (style.SQRHTAB + style.SQRHSPC) + style.XBASE),
            static_cast<double>((d / cols) * (style.SQRVTAB + style.SQRVSPC) + style.YBASE)};
}

CellCopy PutPecaGeometry(const settings::Style& style, int reversed, int code, int s1) {
    const int d = std::abs(reversed - s1) - 1;
    const int n = static_cast<int>(style.PIECESLIST.size());
    CellCopy copy;
    copy.target = SquareOrigin(style, std::max(d, 0));
    copy.source = {static_cast<double>((code % (n + 1)) * style.SQRHTAB),
                   static_cast<double>((code / (n + 1)) * style.SQRVTAB)};
    copy.width = style.SQRWIDTH;
    copy.height = style.SQRHEIGHT;
    return copy;
}

int PixToInd(const settings::Style& style, double x, double y) {
    const double hPitch = style.SQRHTAB + style.SQRHSPC;
    const double vPitch = style.SQRVTAB + style.SQRVSPC;
    if (hPitch <= 0 || vPitch <= 0) {
        return -1;
    }
    const double col = std::floor((x - style.XBASE + style.SQRHSPC / 2.0) / hPitch);
    const double row = std::floor((y - style.YBASE + style.SQRVSPC / 2.0) / vPitch);
    if (col >= 0 && col < style.BORDERWIDTH && row >= 0 && row < style.BORDERHEIGHT) {
        return static_cast<int>(row) * style.BORDERWIDTH + static_cast<int>(col);
    }
    return -1;
}

std::vector<Line> FrameLines(const settings::Style& style) {
    if (style.FRAMEWIDTH <= 0) {
        return {};
    }
    const double w = style.WNDWIDTH;
    const double h = style.WNDHEIGHT;
    if (style.IsFontStyle()) {
        // A closed frame whose outer edge is the picture's edge: the lines
        // run corner to corner half the width in, and their square ends
        // fill the corners, so nothing sticks out and no strip is left.
        const double in = style.FRAMEWIDTH * 15 / 2.0;
        const Point topLeft{in, in}, topRight{w - in, in}, bottomRight{w - in, h - in},
            bottomLeft{in, h - in};
        return {
            {topLeft, topRight}, {topRight, bottomRight}, {bottomRight, bottomLeft}, {bottomLeft, topLeft}};
    }
    const double half = std::floor(style.FRAMEWIDTH * 15 / 2.0);
    const double x = w - half - 66;
    const double y = h - half - 66;
    return {{{half, 0}, {half, h}}, {{0, half}, {w, half}}, {{x, h}, {x, 0}}, {{w, y}, {0, y}}};
}

namespace {

bool Has(const std::string& text, const char* word) {
    return text.find(word) != std::string::npos;
}

}  // namespace

LetteringFont LetteringFontOf(const settings::Style& style) {
    LetteringFont f;
    f.name = style.FONTNAME;
    f.size = style.FONTSIZE;
    f.caps = Has(style.FONTSTYLE, "CAPS");
    f.bold = Has(style.FONTSTYLE, "BOLD");
    f.italic = Has(style.FONTSTYLE, "ITALIC");
    f.underline = Has(style.FONTSTYLE, "UNDERLINE");
    f.strikeOut = Has(style.FONTSTYLE, "STRIKEOUT");
    return f;
}

std::vector<Label> LetteringLabels(const settings::Style& style, int reversed, const MeasureFn& measure) {
    std::vector<Label> labels;
    if (style.SHOWGRID != 1) {
        return labels;
    }
    int hp = 0;
    if (Has(style.FONTPOS, "CENTER"))
        hp = 1;
    if (Has(style.FONTPOS, "RIGHT"))
        hp = 2;
    int vp = 0;
    if (Has(style.FONTPOS, "MIDDLE"))
        vp = 1;
    if (Has(style.FONTPOS, "DOWN"))
        vp = 2;
    const int caps = Has(style.FONTSTYLE, "CAPS") ? 32 : 0;
    const int rows = style.BORDERHEIGHT;
    const int cols = style.BORDERWIDTH;
    const double vPitch = style.SQRVTAB + style.SQRVSPC;
    const double hPitch = style.SQRHTAB + style.SQRHSPC;

    for (int r = 0; r < rows; ++r) {
        Label label;
        label.text = std::to_string(rows - r);
        const int k = reversed == 0 ? r : rows - 1 - r;
        const double th = measure(label.text).height;
        double y = k * vPitch + style.YBASE;
        if (vp == 1) {
            y += (style.SQRVTAB - th) / 2;
        } else if (vp == 2) {
            y = (k + 1) * vPitch + style.YBASE - th - style.SQRVSPC;
        }
        label.at = {static_cast<double>(style.FONTXBASE), y};
        labels.push_back(std::move(label));
    }
    for (int c = 0; c < cols; ++c) {
        Label label;
        // Columns past "z" run on through the character table, as they always have.
        label.text = std::string(1, static_cast<char>(97 + c - caps));
        const int k = reversed == 0 ? c : cols - 1 - c;
        const double tw = measure(label.text).width;
        double x = k * hPitch + style.XBASE;
        if (hp == 1) {
            x += (style.SQRHTAB - tw) / 2;
        } else if (hp == 2) {
            x = (k + 1) * hPitch + style.XBASE - tw - style.SQRHSPC;
        }
        label.at = {x, static_cast<double>(style.FONTYBASE)};
        labels.push_back(std::move(label));
    }
    return labels;
}

WindowSize MainWindowSize(const settings::Style& style, bool bookPanelVisible) {
    WindowSize size;
    const int tall = style.WNDHEIGHT + 1350;
    size.height = bookPanelVisible && tall < 5580 ? 5580 : tall;
    const int wide = style.WNDWIDTH + 3300;
    size.width = wide > 6645 ? wide : 6645;
    return size;
}

void PaintSquare(position::Vet& vet, int s, const settings::Style& style, const PutPecaFn& putPeca) {
    const int squares = style.BORDERHEIGHT * style.BORDERWIDTH;
    if (s >= squares || vet(position::kPainted, s) == vet(position::kPosition, s)) {
        return;
    }
    const int n = static_cast<int>(style.PIECESLIST.size());
    const int v = vet(position::kPosition, s);
    const int code = v + (n + 1) * position::SqrColor(s, style.BORDERWIDTH);
    vet(position::kPainted, s) = static_cast<int16_t>(v);
    if (putPeca) {
        putPeca(code, s + 1);
    }
}

position::ParseResult Build(position::Vet& vet, std::string_view text, const settings::Style& style,
                            const PutPecaFn& putPeca) {
    return position::ParseFEN(vet, text, style.Shape(), [&](int s) { PaintSquare(vet, s, style, putPeca); });
}

}  // namespace diagram
