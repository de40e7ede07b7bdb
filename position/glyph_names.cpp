#include "position/glyph_names.h"

namespace position {

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

char Upper(char ch) {
    return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch;
}

bool IsChessSymbol(char32_t c) {
    return (c >= 0x2654 && c <= 0x265F) || (c >= 0x1FA00 && c <= 0x1FA53);
}

constexpr MarkerKind kMarkers[] = {MarkerKind::kCircle,   MarkerKind::kCross,    MarkerKind::kSquare,
                                   MarkerKind::kTriangle, MarkerKind::kAsterisk, MarkerKind::kDisc};

// A turn as written: no sign, no leading zero, at most 3 digits, a multiple
// of 45 from 45 to 315; 0 for anything else.
int ParseAngle(std::string_view digits) {
    if (digits.empty() || digits.size() > 3 || digits[0] == '0') {
        return 0;
    }
    int angle = 0;
    for (const char ch : digits) {
        if (ch < '0' || ch > '9') {
            return 0;
        }
        angle = angle * 10 + (ch - '0');
    }
    return angle % 45 == 0 && angle < 360 ? angle : 0;
}

// Splits a turn "@90" off the end of look; false when a turn is there but
// is not one.
bool SplitTurn(std::string_view& look, int& angle, size_t least) {
    const size_t at = look.rfind('@');
    if (at == std::string_view::npos || at < least) {
        return true;
    }
    angle = ParseAngle(look.substr(at + 1));
    look = look.substr(0, at);
    return angle != 0;
}

// A man: "q", "Q45", "n270~".
bool ParseMan(std::string_view look, GlyphName& out) {
    const char kind = Upper(look[0]);
    if (std::string_view("PNBRQK").find(kind) == std::string_view::npos) {
        return false;
    }
    out.type = GlyphType::kMan;
    out.man = kind;
    out.color = kind == look[0] ? FairyColor::kWhite : FairyColor::kBlack;
    std::string_view rest = look.substr(1);
    if (!rest.empty() && rest.back() == '~') {
        out.color = FairyColor::kNeutral;
        rest.remove_suffix(1);
    }
    if (rest.empty()) {
        return true;
    }
    out.angle = ParseAngle(rest);
    return out.angle != 0;
}

// A marker: "circle", "CIRCLE", "circle~".
bool ParseMarker(std::string_view look, GlyphName& out) {
    bool neutral = false;
    if (!look.empty() && look.back() == '~') {
        neutral = true;
        look.remove_suffix(1);
    }
    for (const MarkerKind marker : kMarkers) {
        const std::string_view lower = MarkerName(marker);
        std::string upper(lower);
        for (char& ch : upper) {
            ch = Upper(ch);
        }
        if (look == lower || look == upper) {
            out.type = GlyphType::kMarker;
            out.marker = marker;
            out.color = neutral         ? FairyColor::kNeutral
                        : look == upper ? FairyColor::kWhite
                                        : FairyColor::kBlack;
            return true;
        }
    }
    return false;
}

// One or two characters after the quote (or after two quotes).
bool ParseBareText(std::string_view look, GlyphName& out) {
    if (look.size() < 2) {
        return false;
    }
    const std::string_view text = look.substr(look.size() >= 3 && look[1] == '\'' ? 2 : 1);
    const size_t count = TextCodePoints(text).size();
    if (count < 1 || count > 2) {
        return false;
    }
    out.type = GlyphType::kText;
    out.text = std::string(text);
    return true;
}

// A text: "'A", "'AB", "''AB", turned "'G@90". A text that reads whole
// ("'A@") is not taken for a turn.
bool ParseText(std::string_view look, GlyphName& out) {
    if (ParseBareText(look, out)) {
        return true;
    }
    int angle = 0;
    if (!SplitTurn(look, angle, 2) || angle == 0 || !ParseBareText(look, out)) {
        return false;
    }
    out.angle = angle;
    return true;
}

// A chess symbol: "U+1FA4E", turned "U+1FA4E@90".
bool ParseSymbol(std::string_view look, GlyphName& out) {
    int angle = 0;
    if (!SplitTurn(look, angle, 0) || look.size() < 6 || look.size() > 7 || look[0] != 'U' ||
        look[1] != '+') {
        return false;
    }
    char32_t code = 0;
    for (const char ch : look.substr(2)) {
        int digit;
        if (ch >= '0' && ch <= '9') {
            digit = ch - '0';
        } else if (Upper(ch) >= 'A' && Upper(ch) <= 'F') {
            digit = Upper(ch) - 'A' + 10;
        } else {
            return false;
        }
        code = code * 16 + static_cast<char32_t>(digit);
    }
    if (!IsChessSymbol(code)) {
        return false;
    }
    out.type = GlyphType::kSymbol;
    out.symbol = code;
    out.angle = angle;
    return true;
}

// One entry such as "g=q180~"; false when it is not one.
bool ParseEntry(std::string_view entry, GlyphNameEntry& out) {
    if (entry.size() < 3 || entry[1] != '=' || entry[0] == '=') {
        return false;
    }
    const std::string_view look = entry.substr(2);
    GlyphName name;
    bool ok;
    if (look[0] == '\'') {
        ok = ParseText(look, name);
    } else if (look.size() >= 2 && look[0] == 'U' && look[1] == '+') {
        ok = ParseSymbol(look, name);
    } else {
        // No marker's name starts with the letter of a man.
        ok = ParseMarker(look, name) || ParseMan(look, name);
    }
    if (!ok) {
        return false;
    }
    out.letter = entry[0];
    out.look = name;
    return true;
}

std::string Turn(int angle) {
    return angle != 0 ? "@" + std::to_string(angle) : "";
}

}  // namespace

GlyphNames ParseGlyphNames(std::string_view text) {
    GlyphNames names;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        const size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) {
            ++i;
        }
        if (start == i) {
            break;
        }
        const std::string_view entry = text.substr(start, i - start);
        GlyphNameEntry parsed;
        if (!ParseEntry(entry, parsed)) {
            names.rejected.emplace_back(entry);
            continue;
        }
        for (auto it = names.entries.begin(); it != names.entries.end(); ++it) {
            if (it->letter == parsed.letter) {
                names.entries.erase(it);
                break;
            }
        }
        names.entries.push_back(parsed);
    }
    return names;
}

GlyphName GlyphNameOf(std::string_view text, char letter) {
    GlyphName found;
    for (const GlyphNameEntry& entry : ParseGlyphNames(text).entries) {
        if (entry.letter == letter) {
            found = entry.look;
        }
    }
    return found;
}

std::string WriteGlyphName(const GlyphName& look) {
    std::string out;
    switch (look.type) {
        case GlyphType::kNone:
            return "";
        case GlyphType::kText:
            // A text that starts with a quote needs both quotes in front of it.
            return (!look.text.empty() && look.text[0] == '\'' ? "''" : "'") + look.text + Turn(look.angle);
        case GlyphType::kSymbol: {
            static constexpr char kHex[] = "0123456789ABCDEF";
            std::string digits;
            for (char32_t c = look.symbol; c != 0; c >>= 4) {
                digits.insert(digits.begin(), kHex[c & 0xF]);
            }
            while (digits.size() < 4) {
                digits.insert(digits.begin(), '0');
            }
            return "U+" + digits + Turn(look.angle);
        }
        case GlyphType::kMarker:
            out = MarkerName(look.marker);
            if (look.color == FairyColor::kWhite) {
                for (char& ch : out) {
                    ch = Upper(ch);
                }
            }
            break;
        case GlyphType::kMan:
            out += look.color == FairyColor::kWhite ? look.man : static_cast<char>(look.man - 'A' + 'a');
            if (look.angle != 0) {
                out += std::to_string(look.angle);
            }
            break;
    }
    if (look.color == FairyColor::kNeutral) {
        out += '~';
    }
    return out;
}

std::u32string TextCodePoints(std::string_view text) {
    std::u32string out;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        }
        bool valid = length > 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past Unicode are no
        // characters of a text.
        static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && code >= kLeast[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            // A style file written in Latin-1.
            out += static_cast<char32_t>(lead);
            ++i;
            continue;
        }
        out += code;
        i += length;
    }
    return out;
}

}  // namespace position
