#include "settings/style_fields.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace settings {

namespace {

constexpr int kTwips = kTwipsPerPixel;

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

using F = StyleFields;
using S = Style;
using K = ControlKind;
using C = Conversion;
constexpr auto kMain = FieldPanel::kMain;
constexpr auto kLettering = FieldPanel::kLettering;
constexpr unsigned kEnter = kEnterPreviews;
constexpr unsigned kChoose = kChoosePreviews;
constexpr unsigned kResets = kEditResetsSize;

// clang-format off
const StyleFieldRow kTable[] = {
    {"Combo5",   K::kList,       "Style: ",            "CurrentStyle",    C::kText,       kMain, 0,  0, &F::styleName, nullptr, nullptr, nullptr, &S::CurrentStyle},
    {"Text11",   K::kText,       "Pieces file: ",      "PIECESFILE",      C::kText,       kMain, 1,  0, &F::piecesFile, nullptr, nullptr, nullptr, &S::PIECESFILE},
    {"Combo6",   K::kList,       "Pieces font: ",      "PIECESFONT",      C::kText,       kMain, 2,  kEnter | kChoose, &F::piecesFont, nullptr, nullptr, nullptr, &S::PIECESFONT},
    {"Text20",   K::kNumber,     "Square size: ",      "SQRWIDTH",        C::kDerived,    kMain, 2,  kEnter | kResets, &F::squareWidth},
    {"Text19",   K::kNumber,     "Square size: ",      "SQRHEIGHT",       C::kDerived,    kMain, 2,  kEnter | kResets, &F::squareHeight},
    {"Picture5", K::kColor,      "Square colors: ",    "LIGHTCOLOR",      C::kColor,      kMain, 3,  0, nullptr, nullptr, &F::lightSquareColor, nullptr, nullptr, nullptr, &S::LIGHTCOLOR},
    {"Picture6", K::kColor,      "Square colors: ",    "DARKCOLOR",       C::kColor,      kMain, 3,  0, nullptr, nullptr, &F::darkSquareColor, nullptr, nullptr, nullptr, &S::DARKCOLOR},
    {"Check8",   K::kCheck,      "Hatch dark squares", "DARKHATCH",       C::kFlag,       kMain, 3,  kChoose, nullptr, &F::hatchDarkSquares, nullptr, nullptr, nullptr, &S::DARKHATCH},
    {"Text18",   K::kText,       "Pieces glyphs: ",    "PIECESGLYPHS",    C::kText,       kMain, 4,  kEnter, &F::piecesGlyphs, nullptr, nullptr, nullptr, &S::PIECESGLYPHS},
    {"Text8",    K::kText,       "Border File: ",      "BORDERFILE",      C::kText,       kMain, 5,  0, &F::borderFile, nullptr, nullptr, nullptr, &S::BORDERFILE},
    {"Text12",   K::kText,       "Pieces list: ",      "PIECESLIST",      C::kPiecesList, kMain, 6,  kResets, &F::piecesList, nullptr, nullptr, nullptr, &S::PIECESLIST},
    {"Text15",   K::kText,       "English notation: ", "ENGLISHNOTATION", C::kText,       kMain, 7,  0, &F::englishNotation, nullptr, nullptr, nullptr, &S::ENGLISHNOTATION},
    {"Text4",    K::kText,       "Start position: ",   "STARTPOS",        C::kText,       kMain, 8,  0, &F::startPosition, nullptr, nullptr, nullptr, &S::STARTPOS},
    {"Text17",   K::kText,       "Popeye Dictionary:", "PYDICTIONARY",    C::kText,       kMain, 9,  0, &F::popeyeDictionary, nullptr, nullptr, nullptr, &S::PYDICTIONARY},
    {"Text14",   K::kNumber,     "SqrBorder width: ",  "",                C::kDerived,    kMain, 10, kEnter | kResets, &F::horizontalGridLine},
    {"Text13",   K::kNumber,     "SqrBorder width: ",  "",                C::kDerived,    kMain, 10, kEnter | kResets, &F::verticalGridLine},
    {"Text16",   K::kNumber,     "Sqr. space: ",       "SQRHSPC",         C::kPixels16,   kMain, 10, kEnter | kResets, &F::horizontalSquareGap, nullptr, nullptr, nullptr, nullptr, &S::SQRHSPC},
    {"Text3",    K::kNumber,     "Sqr. space: ",       "SQRVSPC",         C::kPixels16,   kMain, 10, kEnter | kResets, &F::verticalSquareGap, nullptr, nullptr, nullptr, nullptr, &S::SQRVSPC},
    {"Text2",    K::kNumber,     "Board (squares): ",  "BORDERWIDTH",     C::kWhole,      kMain, 11, kEnter | kResets, &F::boardColumns, nullptr, nullptr, nullptr, nullptr, &S::BORDERWIDTH},
    {"Text1",    K::kNumber,     "Board (squares): ",  "BORDERHEIGHT",    C::kWhole,      kMain, 11, kEnter | kResets, &F::boardRows, nullptr, nullptr, nullptr, nullptr, &S::BORDERHEIGHT},
    {"Text6",    K::kNumber,     "Board offset: ",     "XBASE",           C::kPixels16,   kMain, 11, kEnter | kResets, &F::boardOffsetLeft, nullptr, nullptr, nullptr, nullptr, &S::XBASE},
    {"Text5",    K::kNumber,     "Board offset: ",     "YBASE",           C::kPixels16,   kMain, 11, kEnter | kResets, &F::boardOffsetTop, nullptr, nullptr, nullptr, nullptr, &S::YBASE},
    {"Text7",    K::kNumber,     "Frame width: ",      "FRAMEWIDTH",      C::kWhole,      kMain, 12, kEnter | kResets, &F::frameWidth, nullptr, nullptr, nullptr, nullptr, &S::FRAMEWIDTH},
    {"Picture1", K::kColor,      "Frame color: ",      "FRAMECOLOR",      C::kColor,      kMain, 12, 0, nullptr, nullptr, &F::frameColor, nullptr, nullptr, nullptr, &S::FRAMECOLOR},
    {"Picture2", K::kColor,      "Back color: ",       "BACKCOLOR",       C::kColor,      kMain, 12, 0, nullptr, nullptr, &F::backColor, nullptr, nullptr, nullptr, &S::BACKCOLOR},
    {"Text10",   K::kNumber,     "Picture: ",          "WNDWIDTH",        C::kPixels32,   kMain, 13, kEnter, &F::pictureWidth, nullptr, nullptr, nullptr, nullptr, nullptr, &S::WNDWIDTH},
    {"Text9",    K::kNumber,     "Picture: ",          "WNDHEIGHT",       C::kPixels32,   kMain, 13, kEnter, &F::pictureHeight, nullptr, nullptr, nullptr, nullptr, nullptr, &S::WNDHEIGHT},
    {"Check1",   K::kCheck,      "Copy counter",       "COPYCOUNTER",     C::kFlag,       kMain, 14, 0, nullptr, &F::copyCounter, nullptr, nullptr, nullptr, &S::COPYCOUNTER},
    {"Check2",   K::kCheck,      "Show grid",          "SHOWGRID",        C::kFlag,       kMain, 14, 0, nullptr, &F::showGrid, nullptr, nullptr, nullptr, &S::SHOWGRID},
    {"Combo2",   K::kList,       "",                   "FONTNAME",        C::kText,       kLettering, 0, kChoose, &F::letteringFont, nullptr, nullptr, nullptr, &S::FONTNAME},
    {"Combo1",   K::kNumberList, "Size: ",             "FONTSIZE",        C::kWhole,      kLettering, 1, kEnter | kChoose, &F::letteringSize, nullptr, nullptr, nullptr, nullptr, &S::FONTSIZE},
    {"Picture4", K::kColor,      "Co&lor",             "FONTCOLOR",       C::kColor,      kLettering, 1, 0, nullptr, nullptr, &F::letteringColor, nullptr, nullptr, nullptr, &S::FONTCOLOR},
    {"Combo4",   K::kNumberList, "Grid offset: ",      "FONTXBASE",       C::kPixels16,   kLettering, 2, kEnter | kChoose, &F::gridOffsetLeft, nullptr, nullptr, nullptr, nullptr, &S::FONTXBASE},
    {"Combo3",   K::kNumberList, "Grid offset: ",      "FONTYBASE",       C::kPixels16,   kLettering, 2, kEnter | kChoose, &F::gridOffsetTop, nullptr, nullptr, nullptr, nullptr, &S::FONTYBASE},
    {"Check3",   K::kCheck,      "&Bold",              "FONTSTYLE",       C::kDerived,    kLettering, 3, kChoose, nullptr, &F::bold},
    {"Check4",   K::kCheck,      "&Italic",            "FONTSTYLE",       C::kDerived,    kLettering, 3, kChoose, nullptr, &F::italic},
    {"Check5",   K::kCheck,      "&Underline",         "FONTSTYLE",       C::kDerived,    kLettering, 3, kChoose, nullptr, &F::underline},
    {"Check6",   K::kCheck,      "S&trikeout",         "FONTSTYLE",       C::kDerived,    kLettering, 3, kChoose, nullptr, &F::strikeout},
    {"Check7",   K::kCheck,      "CA&PS",              "FONTSTYLE",       C::kDerived,    kLettering, 3, kChoose, nullptr, &F::capitalFileLetters},
    {"Option1",  K::kChoice,     "Vert. align",        "FONTPOS",         C::kDerived,    kLettering, 4, kChoose, nullptr, nullptr, nullptr, &F::verticalAlignment},
    {"Option2",  K::kChoice,     "Horiz. align",       "FONTPOS",         C::kDerived,    kLettering, 4, kChoose, nullptr, nullptr, nullptr, &F::horizontalAlignment},
};
// clang-format on

// A table field's value in the style record, as its field shows it.
void LoadRow(const StyleFieldRow& row, const Style& s, StyleFields& f) {
    switch (row.conversion) {
        case Conversion::kText:
            f.*row.text = s.*row.styleText;
            break;
        case Conversion::kPiecesList:
            f.*row.text =
                (s.*row.styleText).empty() ? std::string(position::kDefaultPiecesList) : s.*row.styleText;
            break;
        case Conversion::kWhole:
            f.*row.text = WholeText(s.*row.style16);
            break;
        case Conversion::kPixels16:
            f.*row.text = PixelText(s.*row.style16);
            break;
        case Conversion::kPixels32:
            f.*row.text = PixelText(s.*row.style32);
            break;
        case Conversion::kFlag:
            f.*row.check = s.*row.style16 != 0;
            break;
        case Conversion::kColor:
            f.*row.color = s.*row.style32;
            break;
        case Conversion::kDerived:
            break;
    }
}

// Where the board lies along one axis, in twips: from its first square's
// edge to its last square's far edge.
struct Span {
    int start = 0;
    int end = 0;
    bool operator==(const Span&) const = default;
};

Span Across(const Style& s) {
    const int pitch = (s.SQRHTAB == 0 ? s.SQRWIDTH : s.SQRHTAB) + s.SQRHSPC;
    return {s.XBASE, s.XBASE + s.BORDERWIDTH * pitch - s.SQRHSPC};
}

Span Down(const Style& s) {
    const int pitch = (s.SQRVTAB == 0 ? s.SQRHEIGHT : s.SQRVTAB) + s.SQRVSPC;
    return {s.YBASE, s.YBASE + s.BORDERHEIGHT * pitch - s.SQRVSPC};
}

// A lettering offset beside the board moves with the board's nearer edge;
// one over the board stays where it was put.
int16_t FollowEdge(int16_t at, Span before, Span after) {
    if (at >= before.end) {
        return Clamp<int16_t>(static_cast<double>(at) + after.end - before.end);
    }
    if (at < before.start) {
        return Clamp<int16_t>(std::max(0.0, static_cast<double>(at) + after.start - before.start));
    }
    return at;
}

// Compared as the fields show it: the words of FONTPOS come back in another
// order than a settings file may hold them.
bool LetteringChanged(const Style& before, const StyleFields& f) {
    const StyleFields was = LoadStyleFields(before);
    return f.showGrid != was.showGrid || f.letteringFont != was.letteringFont ||
           f.letteringSize != was.letteringSize || f.gridOffsetTop != was.gridOffsetTop ||
           f.gridOffsetLeft != was.gridOffsetLeft || f.bold != was.bold || f.italic != was.italic ||
           f.underline != was.underline || f.strikeout != was.strikeout ||
           f.capitalFileLetters != was.capitalFileLetters || f.verticalAlignment != was.verticalAlignment ||
           f.horizontalAlignment != was.horizontalAlignment;
}

// A font style's picture and lettering after its board changed (see
// ApplyStyleFields); `before` is the style the fields were loaded from.
void FollowBoard(const Style& before, const StyleFields& f, Style& s) {
    const Span across = Across(before);
    const Span down = Down(before);
    if (f.gridOffsetLeft == PixelText(before.FONTXBASE)) {
        s.FONTXBASE = FollowEdge(before.FONTXBASE, across, Across(s));
    }
    if (f.gridOffsetTop == PixelText(before.FONTYBASE)) {
        s.FONTYBASE = FollowEdge(before.FONTYBASE, down, Down(s));
    }
    const bool changed = Across(s) != across || Down(s) != down || LetteringChanged(before, f);
    if (changed && f.pictureWidth == PixelText(before.WNDWIDTH) &&
        f.pictureHeight == PixelText(before.WNDHEIGHT)) {
        s.WNDWIDTH = 0;
        s.WNDHEIGHT = 0;
    }
}

void ApplyRow(const StyleFieldRow& row, const StyleFields& f, Style& s) {
    switch (row.conversion) {
        case Conversion::kText:
        case Conversion::kPiecesList:
            s.*row.styleText = f.*row.text;
            break;
        case Conversion::kWhole:
            s.*row.style16 = Whole(f.*row.text);
            break;
        case Conversion::kPixels16:
            s.*row.style16 = Twips16(f.*row.text);
            break;
        case Conversion::kPixels32:
            s.*row.style32 = Twips32(f.*row.text);
            break;
        case Conversion::kFlag:
            s.*row.style16 = f.*row.check ? 1 : 0;
            break;
        case Conversion::kColor:
            s.*row.style32 = f.*row.color;
            break;
        case Conversion::kDerived:
            break;
    }
}

}  // namespace

std::span<const StyleFieldRow> StyleFieldTable() {
    return kTable;
}

const StyleFieldRow* FindStyleField(std::string_view control) {
    for (const StyleFieldRow& row : kTable) {
        if (control == row.control) {
            return &row;
        }
    }
    return nullptr;
}

BitmapSize BitmapTwips(int widthPixels, int heightPixels) {
    return {widthPixels * kTwips, heightPixels * kTwips};
}

std::string PixelText(int32_t twips) {
    return std::to_string(static_cast<long long>(TwipsToPixels(twips)));
}

StyleFields LoadStyleFields(const Style& s) {
    StyleFields f;
    for (const StyleFieldRow& row : kTable) {
        LoadRow(row, s, f);
    }
    // A pitch of 0 stands for the square size (the renderer fills it in when
    // it first draws); it means no grid line, not a line as wide as a square.
    const int32_t vtab = s.SQRVTAB == 0 ? s.SQRHEIGHT : s.SQRVTAB;
    const int32_t htab = s.SQRHTAB == 0 ? s.SQRWIDTH : s.SQRHTAB;
    f.verticalGridLine = PixelText(s.SQRHEIGHT - vtab);
    f.horizontalGridLine = PixelText(s.SQRWIDTH - htab);
    f.squareHeight = PixelText(s.SQRHEIGHT);
    f.squareWidth = PixelText(s.SQRWIDTH);
    f.bold = Contains(s.FONTSTYLE, "BOLD");
    f.italic = Contains(s.FONTSTYLE, "ITALIC");
    f.underline = Contains(s.FONTSTYLE, "UNDERLINE");
    f.strikeout = Contains(s.FONTSTYLE, "STRIKEOUT");
    f.capitalFileLetters = Contains(s.FONTSTYLE, "CAPS");
    // Words are matched as the renderer matches them; a text with none of
    // them ("Left Up" of the defaults) is drawn top left, and so is shown.
    for (int i = 0; i < 3; ++i) {
        if (Contains(s.FONTPOS, std::array{"UP", "MIDDLE", "DOWN"}[i])) {
            f.verticalAlignment = i;
        }
        if (Contains(s.FONTPOS, std::array{"LEFT", "CENTER", "RIGHT"}[i])) {
            f.horizontalAlignment = i;
        }
    }
    return f;
}

void ApplyStyleFields(const StyleFields& f, BitmapSize pieces, Style& s, PictureFit fit) {
    const Style before = s;
    for (const StyleFieldRow& row : kTable) {
        ApplyRow(row, f, s);
    }
    // "Pi " is the style Pi: a name with blanks around it would be saved
    // beside it and could not be deleted.
    s.CurrentStyle = std::string(Trim(s.CurrentStyle));
    // A font name with a blank after it names no font; blanks alone are no font style.
    s.PIECESFONT = std::string(Trim(s.PIECESFONT));

    // The pieces bitmap holds two rows and n + 1 columns of squares with the
    // grid lines between them; the square is what is left of a cell.
    // A font style draws its squares at any size, so it keeps the one typed.
    const double bv = Twips16(f.verticalGridLine);
    const double bh = Twips16(f.horizontalGridLine);
    if (s.IsFontStyle()) {
        const auto side = [](const std::string& text) {
            return static_cast<int16_t>(kTwips *
                                        std::clamp<int>(Whole(text), kFontSquareMin, kFontSquareMax));
        };
        s.SQRHEIGHT = side(f.squareHeight);
        s.SQRWIDTH = side(f.squareWidth);
    } else {
        const double n = static_cast<double>(s.PIECESLIST.size());
        s.SQRHEIGHT = Clamp<int16_t>(kTwips * TwipsToPixels((bv + pieces.height) / 2));
        s.SQRWIDTH = Clamp<int16_t>(kTwips * TwipsToPixels((n * bh + pieces.width) / (n + 1)));
    }
    s.SQRVTAB = Clamp<int16_t>(s.SQRHEIGHT - bv);
    s.SQRHTAB = Clamp<int16_t>(s.SQRWIDTH - bh);

    const int frame = std::clamp(s.FRAMEWIDTH * kTwips, 0, static_cast<int>(INT16_MAX));
    s.YBASE = static_cast<int16_t>(std::max<int>(s.YBASE, frame));
    s.XBASE = static_cast<int16_t>(std::max<int>(s.XBASE, frame));

    std::string style;
    const std::pair<bool, const char*> words[] = {{f.bold, "BOLD "},
                                                  {f.italic, "ITALIC "},
                                                  {f.underline, "UNDERLINE "},
                                                  {f.strikeout, "STRIKEOUT "},
                                                  {f.capitalFileLetters, "CAPS "}};
    for (const auto& [on, word] : words) {
        if (on) {
            style += word;
        }
    }
    if (!style.empty()) {
        style.pop_back();
    }
    s.FONTSTYLE = style;

    static constexpr const char* kVertical[] = {"UP ", "MIDDLE ", "DOWN "};
    static constexpr const char* kHorizontal[] = {"LEFT ", "CENTER ", "RIGHT "};
    std::string pos = std::string(kVertical[std::clamp(f.verticalAlignment, 0, 2)]) +
                      kHorizontal[std::clamp(f.horizontalAlignment, 0, 2)];
    pos.pop_back();
    s.FONTPOS = pos;

    if (fit == PictureFit::kFollowBoard && s.IsFontStyle()) {
        FollowBoard(before, f, s);
    }
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
