#include <gtest/gtest.h>

#include "settings/settings_file.h"
#include "settings/settings_keys.h"
#include "settings/style_fields.h"

using namespace settings;

namespace {

int32_t NumberIn(const StyleKey& key, const Style& s) {
    return key.field16 != nullptr ? s.*key.field16 : s.*key.field32;
}

void SetNumber(const StyleKey& key, Style& s, int32_t v) {
    if (key.field16 != nullptr) {
        s.*key.field16 = static_cast<int16_t>(v);
    } else {
        s.*key.field32 = v;
    }
}

// A style as the renderer leaves it: pitches equal to the squares and the
// picture size computed, so that only keys that differ are written.
Style Drawn() {
    Style s;
    s.CurrentStyle = "Keys";
    s.SQRHTAB = s.SQRWIDTH;
    s.SQRVTAB = s.SQRHEIGHT;
    const PictureSize size = ComputedPictureSize(s);
    s.WNDWIDTH = size.width;
    s.WNDHEIGHT = size.height;
    return s;
}

// A value of the key's kind that the writer must put in the block, set in s.
void SetWrittenValue(const StyleKey& key, Style& s) {
    switch (key.kind) {
        case KeyKind::kNumber:
            SetNumber(key, s, 12);
            break;
        case KeyKind::kPixels:
            SetNumber(key, s, 37 * kTwipsPerPixel);
            break;
        case KeyKind::kColor:
            SetNumber(key, s, 0x123456);
            break;
        case KeyKind::kYesNo:
            SetNumber(key, s, 1);
            break;
        case KeyKind::kText:
            s.*key.text = "one, two";  // a comma: written as one quoted record
            break;
        case KeyKind::kUpperText:
            s.*key.text = "RIGHT, DOWN";
            break;
        case KeyKind::kFileName:
            s.*key.text = "/art/set, one.bmp";
            break;
    }
    if (key.under != nullptr) {
        SetWrittenValue(*FindStyleKey(key.under), s);
    }
}

bool HasLineOf(const std::string& block, const StyleKey& key) {
    const std::string indent(static_cast<size_t>(key.depth) * 2, ' ');
    return block.find("\n" + indent + key.name + " =") != std::string::npos ||
           block.find("\n" + indent + "\"" + key.name + " =") != std::string::npos;
}

// Every key goes through the writer and back through the reader unchanged,
// and a style at its defaults writes only the keys that are always written.
TEST(StyleKeys, EveryKeyRoundTripsAndIsWrittenOnlyWhenItSays) {
    const Style plain = Drawn();
    Style plainCopy = plain;
    const std::string plainBlock = StyleBlock(plainCopy);
    for (const StyleKey& key : StyleKeys()) {
        SCOPED_TRACE(key.name);
        EXPECT_EQ(HasLineOf(plainBlock, key), key.when == WrittenWhen::kAlways && key.under == nullptr)
            << plainBlock;

        Style s = Drawn();
        SetWrittenValue(key, s);
        Style written = s;
        const std::string block = StyleBlock(written);
        EXPECT_TRUE(HasLineOf(block, key)) << block;

        Style back;
        back.CurrentStyle = s.CurrentStyle;
        ProgramSettings program;
        const ReadResult read = ReadSettingsText(block, back, program);
        EXPECT_EQ(read.stoppedAtLine, 0);
        if (key.text != nullptr) {
            EXPECT_EQ(back.*key.text, s.*key.text) << block;
        } else {
            EXPECT_EQ(NumberIn(key, back), NumberIn(key, s)) << block;
        }
    }
}

// The lettering keys and the frame colour are written only below the key
// they belong to.
TEST(StyleKeys, NestedKeysNeedTheirParent) {
    Style s = Drawn();
    s.FONTCOLOR = 0x404040;
    s.FONTSIZE = 9;
    s.FRAMECOLOR = 0xFF;
    std::string block = StyleBlock(s);
    for (const StyleKey& key : StyleKeys()) {
        if (key.under != nullptr) {
            EXPECT_FALSE(HasLineOf(block, key)) << key.name << "\n" << block;
        }
    }
    s.SHOWGRID = 1;
    s.FRAMEWIDTH = 1;
    block = StyleBlock(s);
    EXPECT_NE(block.find("\n  FrameWidth = 1 \r\n  FrameColor = &HFF\r\n"), std::string::npos) << block;
    EXPECT_NE(block.find("\n  ShowGrid = Yes\r\n    FontName = MS Sans Serif\r\n    FontColor = &H404040\r\n"
                         "    FontSize = 9 \r\n"),
              std::string::npos)
        << block;
}

// The defaults the table states are the ones a reset style has.
TEST(StyleKeys, DefaultsAreThoseOfAResetStyle) {
    const Style reset;
    for (const StyleKey& key : StyleKeys()) {
        SCOPED_TRACE(key.name);
        EXPECT_EQ((key.text != nullptr) + (key.field16 != nullptr) + (key.field32 != nullptr), 1);
        if (key.text != nullptr) {
            EXPECT_EQ(reset.*key.text, key.textDefault);
        } else {
            EXPECT_EQ(NumberIn(key, reset), key.numberDefault);
        }
        EXPECT_EQ(FindStyleKey(key.name), &key);
    }
}

// The style editor's fields edit the very fields the settings keys hold.
TEST(StyleKeys, EditorFieldsNameTheSameFields) {
    for (const StyleFieldRow& row : StyleFieldTable()) {
        if (std::string_view(row.key).empty() || std::string_view(row.key) == "CurrentStyle") {
            continue;
        }
        const StyleKey* key = FindStyleKey(row.key);
        ASSERT_NE(key, nullptr) << row.control;
        if (row.conversion == Conversion::kDerived) {
            continue;
        }
        EXPECT_EQ(row.styleText, key->text) << row.control;
        EXPECT_EQ(row.style16, key->field16) << row.control;
        EXPECT_EQ(row.style32, key->field32) << row.control;
    }
}

// What each kind takes at the edges of its field.
TEST(StyleKeys, KindsStoreOrStopAtTheirRange) {
    struct Case {
        const char* line;
        int stoppedAt;
        const char* key;
        int32_t expect;
    };
    const Case cases[] = {
        {"FontSize = 32767", 0, "FontSize", 32767},
        {"FontSize = 32768", 2, "FontSize", 8},
        {"FontYBase = -2184", 0, "FontYBase", -32760},
        {"FontYBase = -2185", 2, "FontYBase", 0},
        {"WndHeight = 143165576", 0, "WndHeight", 2147483640},
        {"WndHeight = 143165577", 2, "WndHeight", 0},
        {"DarkColor = -32768", 0, "DarkColor", 32768},
        {"DarkColor = &HFFFFFFFF", 0, "DarkColor", 65535},
        {"DarkHatch = yES", 0, "DarkHatch", 1},
        {"DarkHatch = 1", 0, "DarkHatch", 0},
    };
    for (const Case& c : cases) {
        Style s;
        ProgramSettings p;
        const ReadResult r = ReadSettingsText(std::string("BeginStyle = A\n") + c.line + "\n", s, p);
        EXPECT_EQ(r.stoppedAtLine, c.stoppedAt) << c.line;
        EXPECT_EQ(NumberIn(*FindStyleKey(c.key), s), c.expect) << c.line;
    }
}

// Every program-wide key goes through the writer and back, and the writer
// replaces an old line of each whatever its case.
TEST(ProgramKeys, EveryKeyRoundTrips) {
    ProgramSettings p;
    for (const char* name : {"/a/one.fen", "/a/two, three.pgn", "/a/four.fen", "/a/five.fen"}) {
        AddRecentFile(p, name);
    }
    p.HasWindowPosition = true;
    p.WindowLeft = -12;
    p.WindowTop = 40;
    for (const ProgramKey& key : ProgramKeys()) {
        if (key.kind == ProgramKeyKind::kText) {
            p.*key.text = std::string(key.name) + ", value";
        }
    }
    Style style;
    std::string old = "recentengine = OLD\r\nwindowtop = 1\r\nUCIENGINE = old\r\nexportPositions = all\r\n";
    const std::string text = SaveRecentText(style, p, &old);
    ProgramSettings back;
    ReadSettingsText(text, style, back);
    EXPECT_EQ(back.RecentFiles, p.RecentFiles) << text;
    EXPECT_TRUE(back.HasWindowPosition);
    EXPECT_EQ(back.WindowLeft, p.WindowLeft);
    EXPECT_EQ(back.WindowTop, p.WindowTop);
    for (const ProgramKey& key : ProgramKeys()) {
        if (key.kind == ProgramKeyKind::kText) {
            EXPECT_EQ(back.*key.text, p.*key.text) << key.name << "\n" << text;
        }
        EXPECT_TRUE(IsProgramKeyLine(Upper(key.name) + " = x")) << key.name;
    }
    EXPECT_EQ(back.RecentEngineRead, p.RecentEngine);
    EXPECT_EQ(text.find("OLD"), std::string::npos) << text;
    EXPECT_EQ(text.find("old"), std::string::npos) << text;
}

}  // namespace
