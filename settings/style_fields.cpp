#include "settings/style_fields.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace settings {

namespace {

constexpr int kTwips = 15;

// A field's number; text that overflows counts as 0 like text without digits.
double Number(const std::string& text) {
    return Val(text).value_or(0.0);
}

template <typename T>
T Clamp(double v) {
    if (!std::isfinite(v)) {
        return 0;
    }
    const double r = std::nearbyint(v);  // halves to even
    return static_cast<T>(std::clamp(r, static_cast<double>(std::numeric_limits<T>::min()),
                                     static_cast<double>(std::numeric_limits<T>::max())));
}

// A field in whole units ("Board (squares): ", "Frame width: ", "Size: ").
int16_t Whole(const std::string& text) {
    return Clamp<int16_t>(Number(text));
}

// A field in pixels stored as twips.
int16_t Twips16(const std::string& text) {
    return Clamp<int16_t>(Number(text) * kTwips);
}

int32_t Twips32(const std::string& text) {
    return Clamp<int32_t>(Number(text) * kTwips);
}

std::string WholeText(int v) {
    return std::to_string(v);
}

bool Contains(const std::string& text, const char* word) {
    return text.find(word) != std::string::npos;
}

}  // namespace

BitmapSize BitmapTwips(int widthPixels, int heightPixels) {
    return {widthPixels * kTwips, heightPixels * kTwips};
}

std::string PixelText(int32_t twips) {
    return std::to_string(static_cast<long long>(TwipsToPixels(twips)));
}

StyleFields LoadStyleFields(const Style& s) {
    StyleFields f;
    f.Combo5 = s.CurrentStyle;
    f.Text11 = s.PIECESFILE;
    f.Text8 = s.BORDERFILE;
    f.Text12 = s.PIECESLIST.empty() ? std::string(position::kDefaultPiecesList) : s.PIECESLIST;
    f.Text15 = s.ENGLISHNOTATION;
    f.Text4 = s.STARTPOS;
    f.Text17 = s.PYDICTIONARY;
    // A pitch of 0 stands for the square size (the renderer fills it in when
    // it first draws); it means no grid line, not a line as wide as a square.
    const int32_t vtab = s.SQRVTAB == 0 ? s.SQRHEIGHT : s.SQRVTAB;
    const int32_t htab = s.SQRHTAB == 0 ? s.SQRWIDTH : s.SQRHTAB;
    f.Text13 = PixelText(s.SQRHEIGHT - vtab);
    f.Text14 = PixelText(s.SQRWIDTH - htab);
    f.Text16 = PixelText(s.SQRHSPC);
    f.Text3 = PixelText(s.SQRVSPC);
    f.Check1 = s.COPYCOUNTER != 0;
    f.Text1 = WholeText(s.BORDERHEIGHT);
    f.Text2 = WholeText(s.BORDERWIDTH);
    f.Text5 = PixelText(s.YBASE);
    f.Text6 = PixelText(s.XBASE);
    f.Text7 = WholeText(s.FRAMEWIDTH);
    f.Picture1 = s.FRAMECOLOR;
    f.Picture2 = s.BACKCOLOR;
    f.Text9 = PixelText(s.WNDHEIGHT);
    f.Text10 = PixelText(s.WNDWIDTH);
    f.Check2 = s.SHOWGRID != 0;
    f.Combo2 = s.FONTNAME;
    f.Combo1 = WholeText(s.FONTSIZE);
    f.Picture4 = s.FONTCOLOR;
    f.Combo3 = PixelText(s.FONTYBASE);
    f.Combo4 = PixelText(s.FONTXBASE);
    f.Check3 = Contains(s.FONTSTYLE, "BOLD");
    f.Check4 = Contains(s.FONTSTYLE, "ITALIC");
    f.Check5 = Contains(s.FONTSTYLE, "UNDERLINE");
    f.Check6 = Contains(s.FONTSTYLE, "STRIKEOUT");
    f.Check7 = Contains(s.FONTSTYLE, "CAPS");
    // Words are matched as the renderer matches them; a text with none of
    // them ("Left Up" of the defaults) is drawn top left, and so is shown.
    for (int i = 0; i < 3; ++i) {
        if (Contains(s.FONTPOS, std::array{"UP", "MIDDLE", "DOWN"}[i])) {
            f.Option1 = i;
        }
        if (Contains(s.FONTPOS, std::array{"LEFT", "CENTER", "RIGHT"}[i])) {
            f.Option2 = i;
        }
    }
    return f;
}

void ApplyStyleFields(const StyleFields& f, BitmapSize pieces, Style& s) {
    s.BORDERHEIGHT = Whole(f.Text1);
    s.BORDERWIDTH = Whole(f.Text2);
    s.YBASE = Twips16(f.Text5);
    s.XBASE = Twips16(f.Text6);
    s.FRAMEWIDTH = Whole(f.Text7);
    s.FRAMECOLOR = f.Picture1;
    s.BACKCOLOR = f.Picture2;
    s.BORDERFILE = f.Text8;
    s.PIECESFILE = f.Text11;
    s.CurrentStyle = f.Combo5;
    s.PIECESLIST = f.Text12;
    s.WNDHEIGHT = Twips32(f.Text9);
    s.WNDWIDTH = Twips32(f.Text10);
    s.ENGLISHNOTATION = f.Text15;
    s.STARTPOS = f.Text4;
    s.PYDICTIONARY = f.Text17;

    s.COPYCOUNTER = f.Check1 ? 1 : 0;
    s.SHOWGRID = f.Check2 ? 1 : 0;
    s.FONTYBASE = Twips16(f.Combo3);
    s.FONTXBASE = Twips16(f.Combo4);
    s.SQRVSPC = Twips16(f.Text3);
    s.SQRHSPC = Twips16(f.Text16);

    // The pieces bitmap holds two rows and n + 1 columns of squares with the
    // grid lines between them; the square is what is left of a cell.
    const double bv = Twips16(f.Text13);
    const double bh = Twips16(f.Text14);
    const double n = static_cast<double>(s.PIECESLIST.size());
    s.SQRHEIGHT = Clamp<int16_t>(kTwips * TwipsToPixels((bv + pieces.height) / 2));
    s.SQRVTAB = Clamp<int16_t>(s.SQRHEIGHT - bv);
    s.SQRWIDTH = Clamp<int16_t>(kTwips * TwipsToPixels((n * bh + pieces.width) / (n + 1)));
    s.SQRHTAB = Clamp<int16_t>(s.SQRWIDTH - bh);

    const int frame = std::clamp(s.FRAMEWIDTH * kTwips, 0, static_cast<int>(INT16_MAX));
    s.YBASE = static_cast<int16_t>(std::max<int>(s.YBASE, frame));
    s.XBASE = static_cast<int16_t>(std::max<int>(s.XBASE, frame));

    std::string style;
    const std::pair<bool, const char*> words[] = {{f.Check3, "BOLD "},
                                                  {f.Check4, "ITALIC "},
                                                  {f.Check5, "UNDERLINE "},
                                                  {f.Check6, "STRIKEOUT "},
                                                  {f.Check7, "CAPS "}};
    for (const auto& [on, word] : words) {
        if (on) {
            style += word;
        }
    }
    if (!style.empty()) {
        style.pop_back();
    }
    s.FONTSTYLE = style;

    s.FONTSIZE = Whole(f.Combo1);
    s.FONTCOLOR = f.Picture4;
    s.FONTNAME = f.Combo2;

    static constexpr const char* kVertical[] = {"UP ", "MIDDLE ", "DOWN "};
    static constexpr const char* kHorizontal[] = {"LEFT ", "CENTER ", "RIGHT "};
    std::string pos =
        std::string(kVertical[std::clamp(f.Option1, 0, 2)]) + kHorizontal[std::clamp(f.Option2, 0, 2)];
    pos.pop_back();
    s.FONTPOS = pos;
}

void CenterInBorder(BitmapSize border, Style& s) {
    const auto offset = [](double free) { return Clamp<int16_t>(std::max(0.0, std::nearbyint(free / 2))); };
    const double htab = s.SQRHTAB == 0 ? s.SQRWIDTH : s.SQRHTAB;
    const double vtab = s.SQRVTAB == 0 ? s.SQRHEIGHT : s.SQRVTAB;
    s.XBASE = offset(border.width - s.BORDERWIDTH * htab);
    s.YBASE = offset(border.height - s.BORDERHEIGHT * vtab);
}

void RestoreDefaults(Style& style, ProgramSettings& program) {
    ResetStyle(style, program);
    style.SQRVTAB = style.SQRHEIGHT;
    style.SQRHTAB = style.SQRWIDTH;
}

bool IsSavableStyleName(const std::string& name) {
    return !name.empty() && Upper(name) != "CUSTOM";
}

std::string ReplaceQuestion(const std::string& name) {
    return "This file already contains a style called " + name +
           ".\r\nWhould you like to replace the existing style?";
}

}  // namespace settings
