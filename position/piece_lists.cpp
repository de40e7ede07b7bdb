#include "position/piece_lists.h"

#include <algorithm>

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

// Puts the square after the first occurrence of name, or appends a new item.
void Insert(std::string& list, const std::string& name, std::string_view square) {
    const auto p = list.find(name);
    if (p != std::string::npos && !list.empty()) {
        list.insert(p + name.size(), square);
        return;
    }
    list += ' ';
    list += name;
    list += square;
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
    std::string key = "&&?=";
    std::string name;
    std::string square;
    for (int s = 0; s < squares; ++s) {
        const int v = vet(kPosition, s);
        if (v <= 0) {
            continue;
        }
        const char letter = style.KindOf(v);
        std::string* list = &out.white;
        name.clear();
        if (letter != '\0') {
            key[2] = letter;
            const auto p = dictionary.find(key);
            if (p != std::string_view::npos) {
                const char colour = p + 4 < dictionary.size() ? dictionary[p + 4] : ' ';
                if (colour == 'B' || colour == 'b') {
                    list = &out.black;
                } else if (colour == 'N' || colour == 'n') {
                    list = &out.neutral;
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
            } else {
                name = letter;
                if (Upper(letter) != letter) {
                    list = &out.black;
                }
            }
        }
        std::transform(name.begin(), name.end(), name.begin(), Upper);
        square.clear();
        square += static_cast<char>(97 + s % cols);
        square += std::to_string(rows - s / cols);
        Insert(*list, name, square);
    }
    TrimInPlace(out.white);
    TrimInPlace(out.black);
    TrimInPlace(out.neutral);
    return out;
}

}  // namespace position
