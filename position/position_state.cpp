#include "position/position_state.h"

#include <algorithm>
#include <vector>

namespace position {

namespace {

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (true) {
        const size_t start = text.find_first_not_of(" \t\r\n", pos);
        if (start == std::string_view::npos) {
            return fields;
        }
        const size_t end = std::min(text.find_first_of(" \t\r\n", start), text.size());
        fields.push_back(text.substr(start, end - start));
        pos = end;
    }
}

// Why the placement does not fill the board exactly ("" when it does). The
// placement itself is then read by Build2, like every other placement.
std::string PlacementShapeError(std::string_view placement, const BoardShape& shape) {
    const int rows = shape.rows;
    const int cols = shape.cols;
    const std::string size = std::to_string(cols) + " x " + std::to_string(rows);
    int row = 0;
    int col = 0;
    for (char c : placement) {
        if (c == '/') {
            if (col != cols) {
                return "rank " + std::to_string(rows - row) + " does not hold " + std::to_string(cols) +
                       " squares";
            }
            ++row;
            col = 0;
        } else if (c >= '1' && c <= '9') {
            col += c - '0';
        } else if (shape.piecesList.find(c) != std::string::npos) {
            ++col;
        } else {
            return std::string("\"") + c + "\" is not an orthodox man";
        }
        if (col > cols || row > rows - 1) {
            return "the placement does not fit an " + size + " board";
        }
    }
    if (row != rows - 1 || col != cols) {
        return "the placement does not hold " + std::to_string(rows) + " ranks of " + std::to_string(cols) +
               " squares";
    }
    return {};
}

// A square named by one file letter and one rank digit, as SquareName writes
// the squares of the first 26 files and 9 ranks.
int SquareOf(std::string_view text, const BoardShape& shape) {
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'z' || text[0] >= 'a' + shape.cols || text[1] < '1' ||
        text[1] > '9' || text[1] >= '1' + shape.rows) {
        return -1;
    }
    return (shape.rows - 1 - (text[1] - '1')) * shape.cols + (text[0] - 'a');
}

}  // namespace

FenLine ReadFenLine(std::string_view text, const BoardShape& shape) {
    FenLine line;
    const std::vector<std::string_view> fields = Fields(SkipTally(text));
    if (fields.empty()) {
        line.error = "the position is empty";
        return line;
    }
    if (shape.Squares() <= 0 || shape.Squares() > kMaxSquares) {
        line.error = "the board has no squares or too many";
        return line;
    }
    line.error = PlacementShapeError(fields[0], shape);
    if (!line.error.empty()) {
        return line;
    }
    Vet vet;
    Build2(vet, kPosition, fields[0], shape);
    line.placement = vet.cells[kPosition];
    if (fields.size() > 1) {
        if (fields[1] != "w" && fields[1] != "b") {
            line.error = "the side to move must be w or b";
            return line;
        }
        line.state.toMove = fields[1] == "w" ? Side::kWhite : Side::kBlack;
    }
    if (fields.size() > 2 && fields[2] != "-") {
        for (char c : fields[2]) {
            const size_t right = kCastlingLetters.find(c);
            if (right == std::string_view::npos) {
                line.error = "castling rights are written with K, Q, k, q or -";
                return line;
            }
            line.state.castling[right] = true;
        }
    }
    if (fields.size() > 3 && fields[3] != "-") {
        line.state.epSquare = SquareOf(fields[3], shape);
        if (line.state.epSquare < 0) {
            line.error = "the en-passant square must be a square name or -";
            return line;
        }
    }
    return line;
}

std::string SquareName(int s, const BoardShape& shape) {
    return std::string(1, static_cast<char>('a' + s % shape.cols)) +
           std::to_string(shape.rows - s / shape.cols);
}

std::string StateFields(const PositionState& state, const BoardShape& shape) {
    std::string text = state.WhiteToMove() ? "w " : "b ";
    std::string rights;
    for (int right = 0; right < kCastlingRights; ++right) {
        if (state.castling[right]) {
            rights += kCastlingLetters[static_cast<size_t>(right)];
        }
    }
    text += rights.empty() ? "-" : rights;
    text += ' ';
    text += state.epSquare >= 0 ? SquareName(state.epSquare, shape) : "-";
    return text;
}

}  // namespace position
