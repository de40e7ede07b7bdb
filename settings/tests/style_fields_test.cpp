#include <gtest/gtest.h>

#include <set>

#include "settings/style_fields.h"

using namespace settings;

namespace {

// The built-in pieces bitmap: 13 columns and 2 rows of 15-pixel squares.
const BitmapSize kBuiltIn = BitmapTwips(195, 30);

Style GridStyle() {
    Style s;
    s.CurrentStyle = "Alpha";
    s.PIECESFILE = "/art/alpha.bmp";
    s.BORDERFILE = "/art/frame.bmp";
    s.SQRWIDTH = s.SQRHEIGHT = 225;
    s.SQRHTAB = s.SQRVTAB = 225;
    s.SQRHSPC = 30;
    s.SQRVSPC = 45;
    s.XBASE = 300;
    s.YBASE = 150;
    s.BORDERWIDTH = 10;
    s.BORDERHEIGHT = 6;
    s.FRAMEWIDTH = 2;
    s.FRAMECOLOR = 0x0000FF;
    s.BACKCOLOR = 0xC0C0C0;
    s.COPYCOUNTER = 1;
    s.SHOWGRID = 1;
    s.FONTNAME = "Arial";
    s.FONTSIZE = 10;
    s.FONTCOLOR = 0x123456;
    s.FONTXBASE = 60;
    s.FONTYBASE = 75;
    s.FONTSTYLE = "BOLD UNDERLINE CAPS";
    s.FONTPOS = "DOWN CENTER";
    s.PYDICTIONARY = "extra";
    s.STARTPOS = "8/8/8/8/8/8/8/K6k";
    s.WNDWIDTH = 4500;
    s.WNDHEIGHT = 3000;
    return s;
}

TEST(StyleFields, LoadThenApplyKeepsTheStyle) {
    Style defaults;
    defaults.SQRHTAB = defaults.SQRVTAB = 225;
    defaults.FONTPOS = "UP LEFT";  // what the fields give back for "Left Up"
    for (const Style& original : {GridStyle(), defaults}) {
        Style applied = original;
        applied.FONTSTYLE = "x";
        applied.SQRWIDTH = 1;
        ApplyStyleFields(LoadStyleFields(original), kBuiltIn, applied);
        EXPECT_EQ(applied, original) << original.CurrentStyle;
    }
}

TEST(StyleFields, LoadShowsWordsOptionsAndGridLines) {
    struct Case {
        const char* fontPos;
        int vertical, horizontal;
    };
    for (const Case& c :
         {Case{"Left Up", 0, 0}, Case{"MIDDLE RIGHT", 1, 2}, Case{"", 0, 0}, Case{"middle right", 0, 0}}) {
        Style s;
        s.FONTPOS = c.fontPos;
        EXPECT_EQ(LoadStyleFields(s).verticalAlignment, c.vertical) << c.fontPos;
        EXPECT_EQ(LoadStyleFields(s).horizontalAlignment, c.horizontal) << c.fontPos;
    }

    // A pitch the renderer has not filled in yet is no grid line.
    Style fresh;
    EXPECT_EQ(LoadStyleFields(fresh).verticalGridLine, "0");
    EXPECT_EQ(LoadStyleFields(fresh).horizontalGridLine, "0");
    fresh.SQRHTAB = 195;
    EXPECT_EQ(LoadStyleFields(fresh).horizontalGridLine, "2");
    fresh.PIECESLIST.clear();
    EXPECT_EQ(LoadStyleFields(fresh).piecesList, "pPnNbBrRqQkK");
}

TEST(StyleFields, SquareSizesFollowThePiecesBitmap) {
    struct Case {
        const char* what;
        std::string list;
        BitmapSize pieces;
        const char *vLine, *hLine;
        int16_t width, htab, height, vtab;
    };
    const Case cases[] = {
        {"390 px for 13 columns", "pPnNbBrRqQkK", BitmapTwips(390, 60), "0", "0", 450, 450, 450, 450},
        {"grid lines", "pPnNbBrRqQkK", BitmapTwips(390, 60), "2", "1", 465, 450, 465, 435},
        {"six letters", "pPnNkK", BitmapTwips(140, 40), "0", "0", 300, 300, 300, 300},
        {"rounds down after a tenth", "pP", BitmapTwips(100, 41), "0", "0", 495, 495, 300, 300},
        {"no bitmap", "pP", BitmapTwips(0, 0), "0", "0", 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        StyleFields f = LoadStyleFields(Style{});
        f.piecesList = c.list;
        f.verticalGridLine = c.vLine;
        f.horizontalGridLine = c.hLine;
        Style s;
        ApplyStyleFields(f, c.pieces, s);
        EXPECT_EQ(s.SQRWIDTH, c.width) << c.what;
        EXPECT_EQ(s.SQRHTAB, c.htab) << c.what;
        EXPECT_EQ(s.SQRHEIGHT, c.height) << c.what;
        EXPECT_EQ(s.SQRVTAB, c.vtab) << c.what;
    }
}

// A font style has no pieces bitmap to measure: its squares keep the size
// typed, within the sizes it can be drawn at, whatever bitmap is loaded.
TEST(StyleFields, FontStylesKeepTheirSquareSize) {
    struct Case {
        const char* what;
        const char *font, *height, *width, *vLine;
        int16_t sqrHeight, sqrWidth, vtab;
    };
    const Case cases[] = {
        {"60 px", "FreeSerif", "60", "60", "0", 900, 900, 900},
        {"oblong, with a grid line", "FreeSerif", "40", "50", "2", 600, 750, 570},
        {"too large", "FreeSerif", "500", "301", "0", 4500, 4500, 4500},
        {"too small or no number", "FreeSerif", "3", "wide", "0", 120, 120, 120},
        {"blanks are no font: the bitmap rules", "  ", "60", "60", "0", 225, 225, 225},
    };
    for (const Case& c : cases) {
        StyleFields f = LoadStyleFields(Style{});
        f.piecesFont = c.font;
        f.squareHeight = c.height;
        f.squareWidth = c.width;
        f.verticalGridLine = c.vLine;
        Style s;
        ApplyStyleFields(f, kBuiltIn, s);
        EXPECT_EQ(s.SQRHEIGHT, c.sqrHeight) << c.what;
        EXPECT_EQ(s.SQRWIDTH, c.sqrWidth) << c.what;
        EXPECT_EQ(s.SQRVTAB, c.vtab) << c.what;
        EXPECT_EQ(s.SQRHTAB, c.sqrWidth) << c.what;
        EXPECT_EQ(s.IsFontStyle(), std::string(c.font) != "  ") << c.what;
    }

    // The font keys go through the fields and back unchanged.
    Style font = GridStyle();
    font.PIECESFILE.clear();
    font.PIECESFONT = "DejaVu Sans";
    font.SQRWIDTH = font.SQRHTAB = 720;
    font.SQRHEIGHT = font.SQRVTAB = 600;
    font.LIGHTCOLOR = 0xFFFFFF;
    font.DARKCOLOR = 0x102030;
    font.DARKHATCH = 1;
    font.PIECESGLYPHS = "g=q180 Z=N90";
    Style applied = font;
    applied.SQRWIDTH = 1;
    applied.DARKHATCH = 0;
    ApplyStyleFields(LoadStyleFields(font), kBuiltIn, applied);
    EXPECT_EQ(applied, font);
}

TEST(StyleFields, ApplyConvertsRaisesAndCuts) {
    struct Case {
        const char* what;
        void (*edit)(StyleFields&);
        bool (*check)(const Style&);
    };
    const Case cases[] = {
        {"offset below the frame width is raised",
         [](StyleFields& f) {
             f.frameWidth = "3";
             f.boardOffsetTop = "1";
             f.boardOffsetLeft = "5";
         },
         [](const Style& s) { return s.FRAMEWIDTH == 3 && s.YBASE == 45 && s.XBASE == 75; }},
        {"pixels are rounded to twips", [](StyleFields& f) { f.horizontalSquareGap = "2.5"; },
         [](const Style& s) { return s.SQRHSPC == 38; }},
        {"rows and columns",
         [](StyleFields& f) {
             f.boardRows = "6";
             f.boardColumns = "10";
         },
         [](const Style& s) { return s.BORDERHEIGHT == 6 && s.BORDERWIDTH == 10; }},
        {"numbers too large are cut to the field",
         [](StyleFields& f) {
             f.boardRows = "100000";
             f.boardOffsetTop = "5000";
             f.pictureWidth = "1e12";
         },
         [](const Style& s) {
             return s.BORDERHEIGHT == 32767 && s.YBASE == 32767 && s.WNDWIDTH == INT32_MAX;
         }},
        {"text without digits is 0", [](StyleFields& f) { f.letteringSize = "big"; },
         [](const Style& s) { return s.FONTSIZE == 0; }},
        {"font words in their order",
         [](StyleFields& f) {
             f.capitalFileLetters = f.italic = f.strikeout = true;
             f.verticalAlignment = 1;
             f.horizontalAlignment = 2;
         },
         [](const Style& s) {
             return s.FONTSTYLE == "ITALIC STRIKEOUT CAPS" && s.FONTPOS == "MIDDLE RIGHT";
         }},
        {"no words", [](StyleFields&) {},
         [](const Style& s) { return s.FONTSTYLE.empty() && s.FONTPOS == "UP LEFT"; }},
    };
    for (const Case& c : cases) {
        StyleFields f = LoadStyleFields(Style{});
        c.edit(f);
        Style s;
        ApplyStyleFields(f, kBuiltIn, s);
        EXPECT_TRUE(c.check(s)) << c.what;
    }
}

// A font style as the shipped ones are: 36-pixel squares, rank numbers left
// of the board, file letters just below it, the picture the renderer computed.
Style FontStyle() {
    Style s;
    s.CurrentStyle = "Classic";
    s.PIECESFONT = "FreeSerif";
    s.SQRWIDTH = s.SQRHEIGHT = s.SQRHTAB = s.SQRVTAB = 36 * 15;
    s.XBASE = 22 * 15;
    s.YBASE = 14 * 15;
    s.SHOWGRID = 1;
    s.FONTPOS = "CENTER MIDDLE";
    s.FONTXBASE = 7 * 15;
    s.FONTYBASE = 303 * 15;
    const PictureSize computed = ComputedPictureSize(s);
    s.WNDWIDTH = computed.width;
    s.WNDHEIGHT = computed.height;
    return s;
}

TEST(StyleFields, FontStylePictureAndLetteringFollowTheBoard) {
    struct Case {
        const char* what;
        void (*edit)(StyleFields&);
        PictureFit fit;
        bool font;
        int rankX;      // FONTXBASE, pixels
        int fileY;      // FONTYBASE, pixels
        bool computed;  // the picture size is left to the renderer (0)
    };
    const Case cases[] = {
        {"larger squares", [](StyleFields& f) { f.squareWidth = f.squareHeight = "48"; },
         PictureFit::kFollowBoard, true, 7, 399, true},
        {"larger squares, picture locked", [](StyleFields& f) { f.squareWidth = f.squareHeight = "48"; },
         PictureFit::kKept, true, 7, 303, false},
        {"board further right", [](StyleFields& f) { f.boardOffsetLeft = "30"; }, PictureFit::kFollowBoard,
         true, 15, 303, true},
        {"ten rows", [](StyleFields& f) { f.boardRows = "10"; }, PictureFit::kFollowBoard, true, 7, 375,
         true},
        {"gaps between the rows", [](StyleFields& f) { f.verticalSquareGap = "2"; }, PictureFit::kFollowBoard,
         true, 7, 317, true},
        {"lettering size alone", [](StyleFields& f) { f.letteringSize = "12"; }, PictureFit::kFollowBoard,
         true, 7, 303, true},
        {"grid offset typed beside the squares stays",
         [](StyleFields& f) {
             f.squareWidth = f.squareHeight = "48";
             f.gridOffsetTop = "420";
         },
         PictureFit::kFollowBoard, true, 7, 420, true},
        {"nothing changed: the picture stays", [](StyleFields&) {}, PictureFit::kFollowBoard, true, 7, 303,
         false},
        {"bitmap style: as the fields say", [](StyleFields& f) { f.boardRows = "10"; },
         PictureFit::kFollowBoard, false, 7, 303, false},
    };
    for (const Case& c : cases) {
        Style s = FontStyle();
        if (!c.font) {
            s.PIECESFONT.clear();
        }
        const Style before = s;
        StyleFields f = LoadStyleFields(s);
        c.edit(f);
        ApplyStyleFields(f, BitmapTwips(36 * 13, 72), s, c.fit);
        EXPECT_EQ(s.FONTXBASE, c.rankX * 15) << c.what;
        EXPECT_EQ(s.FONTYBASE, c.fileY * 15) << c.what;
        if (c.computed) {
            EXPECT_EQ(s.WNDWIDTH, 0) << c.what;
            EXPECT_EQ(s.WNDHEIGHT, 0) << c.what;
        } else {
            EXPECT_EQ(s.WNDWIDTH, before.WNDWIDTH) << c.what;
            EXPECT_EQ(s.WNDHEIGHT, before.WNDHEIGHT) << c.what;
        }
    }
    // A picture size typed with the squares stays as typed.
    Style s = FontStyle();
    StyleFields f = LoadStyleFields(s);
    f.squareWidth = f.squareHeight = "48";
    f.pictureWidth = "500";
    ApplyStyleFields(f, BitmapTwips(36 * 13, 72), s, PictureFit::kFollowBoard);
    EXPECT_EQ(s.WNDWIDTH, 500 * 15);
    EXPECT_EQ(s.WNDHEIGHT, FontStyle().WNDHEIGHT);
}

TEST(StyleFields, CustomIsNoStyleName) {
    for (const char* name : {"", "CUSTOM", "custom", "CuStOm"}) {
        EXPECT_FALSE(IsSavableStyleName(name)) << name;
    }
    EXPECT_TRUE(IsSavableStyleName("Customs"));
}

}  // namespace

// The editor is made from the table: a row that names no value, the wrong
// kind of style field, or a key the settings file does not know would show
// a field that edits nothing or the wrong thing.
TEST(StyleFieldTable, EveryRowIsWiredToOneValueAndAKnownKey) {
    std::set<std::string> controls;
    for (const StyleFieldRow& row : StyleFieldTable()) {
        SCOPED_TRACE(row.control);
        EXPECT_TRUE(controls.insert(row.control).second) << "listed twice";
        EXPECT_EQ(FindStyleField(row.control), &row);
        const int values =
            (row.text != nullptr) + (row.check != nullptr) + (row.color != nullptr) + (row.choice != nullptr);
        EXPECT_EQ(values, 1);
        const int styleFields =
            (row.styleText != nullptr) + (row.style16 != nullptr) + (row.style32 != nullptr);
        switch (row.conversion) {
            case Conversion::kText:
            case Conversion::kPiecesList:
                EXPECT_NE(row.styleText, nullptr);
                EXPECT_NE(row.text, nullptr);
                break;
            case Conversion::kWhole:
            case Conversion::kPixels16:
                EXPECT_NE(row.style16, nullptr);
                EXPECT_NE(row.text, nullptr);
                break;
            case Conversion::kPixels32:
                EXPECT_NE(row.style32, nullptr);
                EXPECT_NE(row.text, nullptr);
                break;
            case Conversion::kFlag:
                EXPECT_NE(row.style16, nullptr);
                EXPECT_NE(row.check, nullptr);
                break;
            case Conversion::kColor:
                EXPECT_NE(row.style32, nullptr);
                EXPECT_NE(row.color, nullptr);
                break;
            case Conversion::kDerived:
                break;
        }
        EXPECT_EQ(styleFields, row.conversion == Conversion::kDerived ? 0 : 1);
        if (row.conversion != Conversion::kDerived && std::string(row.key) != "CurrentStyle") {
            Style style;
            EXPECT_NE(StoreStyleValue(style, row.key, "1", ""), StoreResult::kIgnored) << row.key;
        }
    }
    EXPECT_EQ(FindStyleField("Text99"), nullptr);
}
