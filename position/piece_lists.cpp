#include "position/piece_lists.h"

#include <algorithm>
#include <vector>

namespace position {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) {
        return {};
    }
    const auto e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

void TrimInPlace(std::string& s) {
    const std::string_view t = TrimBlanks(s);
    s = std::string(t);
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// One item of a list: a piece name and its squares, the square met last
// first.
struct Item {
    std::string name;
    std::string squares;
};

// Puts the square right after the name of the piece's own item, or starts a
// new item at the end. Items are matched whole: a name standing inside a
// longer one (S inside TS) or inside the squares is another piece.
void Insert(std::vector<Item>& list, const std::string& name, std::string_view square) {
    for (Item& item : list) {
        if (item.name == name) {
            item.squares.insert(0, square);
            return;
        }
    }
    list.push_back({name, std::string(square)});
}

std::string Join(const std::vector<Item>& list) {
    std::string out;
    for (const Item& item : list) {
        out += ' ';
        out += item.name;
        out += item.squares;
    }
    TrimInPlace(out);
    return out;
}

}  // namespace

PieceLists FEN2ALG(const Vet& vet, const NotationStyle& style, std::string_view dictionary) {
    PieceLists out;
    const int rows = style.shape.rows;
    const int cols = style.shape.cols;
    if (rows <= 0 || cols <= 0) {
        return out;
    }
    const int squares = std::min(style.shape.Squares(), kCells);
    std::vector<Item> white;
    std::vector<Item> black;
    std::vector<Item> neutral;
    std::string key = "&&?=";
    std::string name;
    std::string square;
    for (int s = 0; s < squares; ++s) {
        const int v = vet(kPosition, s);
        if (v <= 0) {
            continue;
        }
        const char letter = style.KindOf(v);
        std::vector<Item>* list = &white;
        name.clear();
        if (letter != '\0') {
            key[2] = letter;
            const auto p = dictionary.find(key);
            if (p != std::string_view::npos) {
                const char colour = p + 4 < dictionary.size() ? dictionary[p + 4] : ' ';
                if (colour == 'B' || colour == 'b') {
                    list = &black;
                } else if (colour == 'N' || colour == 'n') {
                    list = &neutral;
                }
                // The name ends at the next "&&", or with the text when the
                // entry is the last and unclosed.
                const std::size_t from = std::min(p + 5, dictionary.size());
                auto end = dictionary.find("&&", p + 4);
                if (end == std::string_view::npos) {
                    end = dictionary.size();
                }
                if (end > from) {
                    name = TrimBlanks(dictionary.substr(from, end - from));
                }
                // An entry without a name would list bare squares.
                if (name.empty()) {
                    name = letter;
                }
            } else {
                name = letter;
                if (Upper(letter) != letter) {
                    list = &black;
                }
            }
        }
        std::transform(name.begin(), name.end(), name.begin(), Upper);
        square.clear();
        square += static_cast<char>(97 + s % cols);
        square += std::to_string(rows - s / cols);
        Insert(*list, name, square);
    }
    out.white = Join(white);
    out.black = Join(black);
    out.neutral = Join(neutral);
    return out;
}

}  // namespace position
