#include "settings/style.h"

#include <cmath>
#include <limits>

#include "settings/settings_keys.h"

namespace settings {

void ResetStyle(Style& style, ProgramSettings& program) {
    std::string name = std::move(style.CurrentStyle);
    style = Style{};
    style.CurrentStyle = std::move(name);
    style.ENGLISHNOTATION = style.PIECESLIST;
    program.PyDictionaryText.clear();
}

double TwipsToPixels(double twips) {
    return std::floor(twips / 15.0 + 0.1);
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        if (ch >= 'a' && ch <= 'z') {
            ch = static_cast<char>(ch - 'a' + 'A');
        }
    }
    return out;
}

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsBareName(std::string_view name) {
    return name.find_first_of("/\\:") == std::string_view::npos;
}

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

std::optional<double> HexVal(std::string_view t) {
    uint64_t value = 0;
    int digits = 0;
    bool significant = false;
    for (char ch : t) {
        int d;
        if (ch >= '0' && ch <= '9') {
            d = ch - '0';
        } else if (ch >= 'a' && ch <= 'f') {
            d = ch - 'a' + 10;
        } else if (ch >= 'A' && ch <= 'F') {
            d = ch - 'A' + 10;
        } else {
            break;
        }
        significant = significant || d != 0;
        if (significant) {
            ++digits;
        }
        if (digits > 8) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<uint64_t>(d);
    }
    // Short hexadecimal numbers are 16-bit: &HFFFF is -1.
    if (value <= 0xFFFF) {
        return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(value)));
    }
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

}  // namespace

std::optional<double> Val(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i + 1 < text.size() && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h')) {
        // Blanks count for nothing in a hexadecimal number either: "&H FF FF FF" is white.
        std::string digits;
        for (char ch : text.substr(i + 2)) {
            if (!IsBlank(ch)) {
                digits += ch;
            }
        }
        return HexVal(digits);
    }
    // Collect the number's characters, skipping blanks inside it.
    std::string num;
    bool seenDigit = false;
    bool seenPoint = false;
    bool seenExp = false;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (IsBlank(ch)) {
            continue;
        }
        if (ch >= '0' && ch <= '9') {
            num += ch;
            seenDigit = true;
        } else if ((ch == '+' || ch == '-') && (num.empty() || (seenExp && (num.back() == 'e')))) {
            num += ch;
        } else if (ch == '.' && !seenPoint && !seenExp) {
            num += ch;
            seenPoint = true;
        } else if ((ch == 'e' || ch == 'E' || ch == 'd' || ch == 'D') && seenDigit && !seenExp) {
            num += 'e';
            seenExp = true;
        } else {
            break;
        }
    }
    if (!seenDigit) {
        return 0.0;
    }
    // A dangling exponent mark or sign reads as if it were not there.
    while (!num.empty() && (num.back() == 'e' || num.back() == '+' || num.back() == '-')) {
        num.pop_back();
    }
    char* end = nullptr;
    const double v = std::strtod(num.c_str(), &end);
    if (!std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

std::optional<int32_t> RoundHalfEven(double v) {
    if (!std::isfinite(v)) {
        return std::nullopt;
    }
    const double r = std::nearbyint(v);  // default rounding mode: halves to even
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(r);
}

StoreResult StoreStyleValue(Style& style, std::string_view key, std::string_view value,
                            const std::string& appDir) {
    // The number comes first, as in the reader: a value out of range is
    // refused under any key.
    const auto number = SettingsNumber(value);
    if (!number) {
        return StoreResult::kOverflow;
    }
    if (const StyleKey* row = FindStyleKey(key)) {
        return StoreKeyValue(*row, style, value, *number, appDir);
    }
    return StoreResult::kIgnored;
}

namespace {

struct Board {
    int rows = 8;
    int cols = 8;
};

// The board drawn for a style's rows and columns: more than 400 squares, or
// none, would leave nothing sensible to draw (or to divide by), so 8 x 8.
Board BoardInForce(int rows, int cols) {
    if (rows < 1 || cols < 1 || rows * cols - 1 >= position::kMaxSquares) {
        return {8, 8};
    }
    return {rows, cols};
}

}  // namespace

int ClampBoardSize(Style& style) {
    const Board board = BoardInForce(style.BORDERHEIGHT, style.BORDERWIDTH);
    style.BORDERHEIGHT = static_cast<int16_t>(board.rows);
    style.BORDERWIDTH = static_cast<int16_t>(board.cols);
    return board.rows * board.cols - 1;
}

PictureSize ComputedPictureSize(const Style& style) {
    const Board board = BoardInForce(style.BORDERHEIGHT, style.BORDERWIDTH);
    const int n = board.rows * board.cols - 1;
    const int cols = board.cols;
    PictureSize size;
    size.width = (n % cols) * (style.SQRHTAB + style.SQRHSPC) + 2 * style.XBASE + style.SQRWIDTH + 60;
    size.height = (n / cols) * (style.SQRVTAB + style.SQRVSPC) + 2 * style.YBASE + style.SQRHEIGHT + 60;
    return size;
}

}  // namespace settings
