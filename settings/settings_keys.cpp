#include "settings/settings_keys.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "settings/settings_file.h"

#include "settings/settings_file.h"

namespace settings {

namespace {

constexpr std::string_view kEol = "\r\n";

using S = Style;
using P = ProgramSettings;
using K = KeyKind;
using W = WrittenWhen;

// Columns: name, kind, when written, the key it is written under, depth,
// then the field (text, 16-bit or 32-bit number), its default, and for
// kNotSame the field it is compared with.
// clang-format off
const StyleKey kStyleKeys[] = {
    {"PiecesFile",      K::kFileName,  W::kNotEmpty,    nullptr, 1, &S::PIECESFILE},
    {"BorderFile",      K::kFileName,  W::kNotEmpty,    nullptr, 1, &S::BORDERFILE},
    // The keys of font styles are written only when they differ from their
    // defaults, so a bitmap style's block stays as older copies wrote it.
    {"PiecesFont",      K::kText,      W::kNotEmpty,    nullptr, 1, &S::PIECESFONT},
    {"PiecesGlyphs",    K::kText,      W::kNotEmpty,    nullptr, 1, &S::PIECESGLYPHS},
    {"LightColor",      K::kColor,     W::kNotDefault,  nullptr, 1, nullptr, nullptr, &S::LIGHTCOLOR, kDefaultLightColor},
    {"DarkColor",       K::kColor,     W::kNotDefault,  nullptr, 1, nullptr, nullptr, &S::DARKCOLOR, kDefaultDarkColor},
    {"DarkHatch",       K::kYesNo,     W::kPositive,    nullptr, 1, nullptr, &S::DARKHATCH},
    {"SqrWidth",        K::kPixels,    W::kAlways,      nullptr, 1, nullptr, &S::SQRWIDTH, nullptr, 225},
    {"SqrHeight",       K::kPixels,    W::kAlways,      nullptr, 1, nullptr, &S::SQRHEIGHT, nullptr, 225},
    {"SqrHTab",         K::kPixels,    W::kNotSame,     nullptr, 1, nullptr, &S::SQRHTAB, nullptr, 0, {}, &S::SQRWIDTH},
    {"SqrVTab",         K::kPixels,    W::kNotSame,     nullptr, 1, nullptr, &S::SQRVTAB, nullptr, 0, {}, &S::SQRHEIGHT},
    {"SqrHSpc",         K::kPixels,    W::kPositive,    nullptr, 1, nullptr, &S::SQRHSPC},
    {"SqrVSpc",         K::kPixels,    W::kPositive,    nullptr, 1, nullptr, &S::SQRVSPC},
    {"XBase",           K::kPixels,    W::kPositive,    nullptr, 1, nullptr, &S::XBASE},
    {"YBase",           K::kPixels,    W::kPositive,    nullptr, 1, nullptr, &S::YBASE},
    {"BorderWidth",     K::kNumber,    W::kNotDefault,  nullptr, 1, nullptr, &S::BORDERWIDTH, nullptr, 8},
    {"BorderHeight",    K::kNumber,    W::kNotDefault,  nullptr, 1, nullptr, &S::BORDERHEIGHT, nullptr, 8},
    {"PiecesList",      K::kText,      W::kNotDefault,  nullptr, 1, &S::PIECESLIST, nullptr, nullptr, 0, position::kDefaultPiecesList},
    {"EnglishNotation", K::kText,      W::kNotDefault,  nullptr, 1, &S::ENGLISHNOTATION, nullptr, nullptr, 0, position::kDefaultPiecesList},
    {"PyDictionary",    K::kText,      W::kNotEmpty,    nullptr, 1, &S::PYDICTIONARY},
    {"StartPos",        K::kText,      W::kNotDefault,  nullptr, 1, &S::STARTPOS, nullptr, nullptr, 0, position::kStandardStartPos},
    {"CopyCounter",     K::kYesNo,     W::kPositive,    nullptr, 1, nullptr, &S::COPYCOUNTER},
    {"BackColor",       K::kColor,     W::kPositive,    nullptr, 1, nullptr, nullptr, &S::BACKCOLOR},
    {"FrameWidth",      K::kNumber,    W::kPositive,    nullptr, 1, nullptr, &S::FRAMEWIDTH},
    {"FrameColor",      K::kColor,     W::kAlways,      "FrameWidth", 1, nullptr, nullptr, &S::FRAMECOLOR},
    {"WndWidth",        K::kPixels,    W::kNotComputedWidth,  nullptr, 1, nullptr, nullptr, &S::WNDWIDTH},
    {"WndHeight",       K::kPixels,    W::kNotComputedHeight, nullptr, 1, nullptr, nullptr, &S::WNDHEIGHT},
    {"ShowGrid",        K::kYesNo,     W::kPositive,    nullptr, 1, nullptr, &S::SHOWGRID},
    {"FontName",        K::kText,      W::kNotEmpty,    "ShowGrid", 2, &S::FONTNAME, nullptr, nullptr, 0, "MS Sans Serif"},
    {"FontColor",       K::kColor,     W::kPositive,    "ShowGrid", 2, nullptr, nullptr, &S::FONTCOLOR},
    {"FontSize",        K::kNumber,    W::kPositive,    "ShowGrid", 2, nullptr, &S::FONTSIZE, nullptr, 8},
    {"FontStyle",       K::kUpperText, W::kNotEmpty,    "ShowGrid", 2, &S::FONTSTYLE},
    {"FontPos",         K::kUpperText, W::kNotEmpty,    "ShowGrid", 2, &S::FONTPOS, nullptr, nullptr, 0, "Left Up"},
    {"FontXBase",       K::kPixels,    W::kPositive,    "ShowGrid", 2, nullptr, &S::FONTXBASE},
    {"FontYBase",       K::kPixels,    W::kPositive,    "ShowGrid", 2, nullptr, &S::FONTYBASE},
};

const ProgramKey kProgramKeys[] = {
    {"RecentFile",      ProgramKeyKind::kRecentFile},
    {"RecentEngine",    ProgramKeyKind::kText, &P::RecentEngine, nullptr, &P::RecentEngineRead},
    {"WindowLeft",      ProgramKeyKind::kWindowPlace, nullptr, &P::WindowLeft},
    {"WindowTop",       ProgramKeyKind::kWindowPlace, nullptr, &P::WindowTop},
    {"UciEngine",       ProgramKeyKind::kText, &P::UciEngine},
    {"ExportPositions", ProgramKeyKind::kText, &P::ExportPositions},
};
// clang-format on

bool SameName(std::string_view a, std::string_view b) {
    return Upper(a) == Upper(b);
}

bool Fits16(int64_t v) {
    return v >= INT16_MIN && v <= INT16_MAX;
}

std::string Number(double v) {
    const long long n = static_cast<long long>(v);
    return (n >= 0 ? " " : "") + std::to_string(n) + " ";
}

std::string Hex(int32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", static_cast<uint32_t>(v));
    return buf;
}

int32_t NumberOf(const StyleKey& key, const Style& s) {
    return key.field16 != nullptr ? s.*key.field16 : s.*key.field32;
}

// Whether a key's line goes into the block; `computed` is worked out the
// first time a picture size is compared.
bool IsWritten(const StyleKey& key, Style& s, std::optional<PictureSize>& computed) {
    const bool isText = key.text != nullptr;
    switch (key.when) {
        case W::kAlways:
            return true;
        case W::kNotEmpty:
            return !(s.*key.text).empty();
        case W::kPositive:
            return NumberOf(key, s) > 0;
        case W::kNotDefault:
            return isText ? s.*key.text != key.textDefault : NumberOf(key, s) != key.numberDefault;
        case W::kNotSame:
            return NumberOf(key, s) != s.*key.same;
        case W::kNotComputedWidth:
        case W::kNotComputedHeight:
            if (!computed) {
                computed = ComputedPictureSize(s);
            }
            return NumberOf(key, s) !=
                   (key.when == W::kNotComputedWidth ? computed->width : computed->height);
    }
    return false;
}

std::string ValueLine(const StyleKey& key, const Style& s) {
    const std::string indent(static_cast<size_t>(key.depth) * 2, ' ');
    const std::string head = indent + key.name;
    switch (key.kind) {
        case K::kNumber:
            return head + " =" + Number(NumberOf(key, s));
        case K::kPixels:
            return head + " =" + Number(TwipsToPixels(NumberOf(key, s)));
        case K::kColor:
            return head + " = &H" + Hex(NumberOf(key, s));
        case K::kYesNo:
            return head + " = Yes";
        case K::kText:
        case K::kUpperText:
        case K::kFileName:
            break;
    }
    return KeyLine(indent, key.name, s.*key.text);
}

}  // namespace

std::span<const StyleKey> StyleKeys() {
    return kStyleKeys;
}

const StyleKey* FindStyleKey(std::string_view name) {
    for (const StyleKey& key : kStyleKeys) {
        if (SameName(key.name, name)) {
            return &key;
        }
    }
    return nullptr;
}

std::optional<int32_t> SettingsNumber(std::string_view value) {
    const auto val = Val(value);
    const auto n = val ? RoundHalfEven(*val) : std::nullopt;
    if (!n) {
        return std::nullopt;
    }
    const int64_t twips = static_cast<int64_t>(*n) * kTwipsPerPixel;
    if (twips < INT32_MIN || twips > INT32_MAX) {
        return std::nullopt;
    }
    return n;
}

StoreResult StoreKeyValue(const StyleKey& key, Style& s, std::string_view value, int32_t number,
                          const std::string& appDir) {
    const int64_t n = number;
    const int64_t twips = n * kTwipsPerPixel;
    // A number for a 16-bit field, or nothing when it does not fit.
    const auto store = [&](int64_t v) {
        if (key.field32 != nullptr) {
            s.*key.field32 = static_cast<int32_t>(v);
            return StoreResult::kStored;
        }
        if (!Fits16(v)) {
            return StoreResult::kOverflow;
        }
        s.*key.field16 = static_cast<int16_t>(v);
        return StoreResult::kStored;
    };
    switch (key.kind) {
        case K::kNumber:
            return store(n);
        case K::kPixels:
            return store(twips);
        case K::kColor:
            return store(n < 0 ? n + 65536 : n);
        case K::kYesNo:
            if (Upper(value) == "YES") {
                s.*key.field16 = 1;
            }
            return StoreResult::kStored;
        case K::kText:
            s.*key.text = std::string(value);
            return StoreResult::kStored;
        case K::kUpperText:
            s.*key.text = Upper(value);
            return StoreResult::kStored;
        case K::kFileName:
            s.*key.text =
                !value.empty() && IsBareName(value) ? appDir + std::string(value) : std::string(value);
            return StoreResult::kStored;
    }
    return StoreResult::kIgnored;
}

std::string StyleKeyLines(Style& s) {
    std::string out;
    std::vector<std::string_view> written;
    std::optional<PictureSize> computed;
    for (const StyleKey& key : kStyleKeys) {
        if (key.under != nullptr &&
            std::find(written.begin(), written.end(), std::string_view(key.under)) == written.end()) {
            continue;
        }
        if (!IsWritten(key, s, computed)) {
            continue;
        }
        out += ValueLine(key, s);
        out += kEol;
        written.emplace_back(key.name);
    }
    return out;
}

std::string KeyLine(std::string_view indent, std::string_view key, const std::string& value) {
    std::string body = std::string(key) + " = " + value;
    if (value.find(',') != std::string::npos && value.find('"') == std::string::npos) {
        return std::string(indent) + "\"" + body + "\"";
    }
    return std::string(indent) + body;
}

std::span<const ProgramKey> ProgramKeys() {
    return kProgramKeys;
}

void ClearProgramTexts(ProgramSettings& program) {
    for (const ProgramKey& key : kProgramKeys) {
        if (key.kind == ProgramKeyKind::kText) {
            (program.*key.text).clear();
            if (key.asRead != nullptr) {
                (program.*key.asRead).clear();
            }
        }
    }
}

bool StoreProgramValue(ProgramSettings& program, std::string_view upperKey, const std::string& value,
                       int32_t number) {
    for (const ProgramKey& key : kProgramKeys) {
        if (!SameName(key.name, upperKey)) {
            continue;
        }
        switch (key.kind) {
            case ProgramKeyKind::kRecentFile:
                AddRecentFile(program, value);
                break;
            case ProgramKeyKind::kText:
                program.*key.text = value;
                if (key.asRead != nullptr) {
                    program.*key.asRead = value;
                }
                break;
            case ProgramKeyKind::kWindowPlace:
                program.*key.number = number;
                program.HasWindowPosition = true;
                break;
        }
        return true;
    }
    return false;
}

std::string ProgramKeyLines(const ProgramSettings& program) {
    std::string out;
    auto line = [&](const char* name, const std::string& value) {
        out += KeyLine("", name, value);
        out += kEol;
    };
    for (const ProgramKey& key : kProgramKeys) {
        switch (key.kind) {
            case ProgramKeyKind::kRecentFile:
                for (auto file = program.RecentFiles.rbegin(); file != program.RecentFiles.rend(); ++file) {
                    if (!file->empty()) {
                        line(key.name, *file);
                    }
                }
                break;
            case ProgramKeyKind::kText:
                if (!(program.*key.text).empty()) {
                    line(key.name, program.*key.text);
                }
                break;
            case ProgramKeyKind::kWindowPlace:
                if (program.HasWindowPosition) {
                    line(key.name, std::to_string(program.*key.number));
                }
                break;
        }
    }
    return out;
}

bool IsProgramKeyLine(std::string_view upperLine) {
    for (const ProgramKey& key : kProgramKeys) {
        const std::string name = Upper(key.name);
        if (upperLine.substr(0, name.size()) == name) {
            return true;
        }
    }
    return false;
}

}  // namespace settings
