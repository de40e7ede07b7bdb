#include "engines/chess_position.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "position/set_move.h"

namespace engines {

namespace {

constexpr int kKnight[8][2] = {{-2, -1}, {-2, 1}, {-1, -2}, {-1, 2}, {1, -2}, {1, 2}, {2, -1}, {2, 1}};
constexpr int kKing[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
constexpr int kDiagonal[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
constexpr int kStraight[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

// Home squares of the kings and rooks, by castling right.
constexpr int kKingHome[4] = {60, 60, 4, 4};
constexpr int kRookHome[4] = {63, 56, 7, 0};
constexpr char kRightLetters[4] = {'K', 'Q', 'k', 'q'};

int Row(int s) {
    return s / 8;
}
int Col(int s) {
    return s % 8;
}
bool OnBoard(int row, int col) {
    return row >= 0 && row < 8 && col >= 0 && col < 8;
}
bool IsWhite(char man) {
    return man >= 'A' && man <= 'Z';
}
bool IsEmpty(char man) {
    return man == '.';
}
bool IsOwn(char man, bool white) {
    return !IsEmpty(man) && IsWhite(man) == white;
}
char Kind(char man) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(man)));
}
char Man(char kind, bool white) {
    return white ? kind : static_cast<char>(std::tolower(static_cast<unsigned char>(kind)));
}

bool Attacked(const ChessPosition& pos, int s, bool byWhite) {
    const int row = Row(s);
    const int col = Col(s);
    // A pawn attacks towards the far side: White's from the row below.
    const int pawnRow = byWhite ? row + 1 : row - 1;
    for (int dc : {-1, 1}) {
        if (OnBoard(pawnRow, col + dc) && pos.board[pawnRow * 8 + col + dc] == Man('P', byWhite)) {
            return true;
        }
    }
    for (const auto& d : kKnight) {
        if (OnBoard(row + d[0], col + d[1]) &&
            pos.board[(row + d[0]) * 8 + col + d[1]] == Man('N', byWhite)) {
            return true;
        }
    }
    for (const auto& d : kKing) {
        if (OnBoard(row + d[0], col + d[1]) &&
            pos.board[(row + d[0]) * 8 + col + d[1]] == Man('K', byWhite)) {
            return true;
        }
    }
    auto ray = [&](const int(&dirs)[4][2], char slider) {
        for (const auto& d : dirs) {
            for (int r = row + d[0], c = col + d[1]; OnBoard(r, c); r += d[0], c += d[1]) {
                const char man = pos.board[r * 8 + c];
                if (IsEmpty(man)) {
                    continue;
                }
                if (man == Man(slider, byWhite) || man == Man('Q', byWhite)) {
                    return true;
                }
                break;
            }
        }
        return false;
    };
    return ray(kDiagonal, 'B') || ray(kStraight, 'R');
}

void PseudoMoves(const ChessPosition& pos, std::vector<ChessMove>& out) {
    const bool white = pos.whiteToMove;
    auto add = [&](int from, int to) {
        const bool lastRank = Kind(pos.board[from]) == 'P' && (Row(to) == 0 || Row(to) == 7);
        if (!lastRank) {
            out.push_back({from, to, '\0'});
            return;
        }
        for (char kind : {'Q', 'R', 'B', 'N'}) {
            out.push_back({from, to, kind});
        }
    };
    for (int s = 0; s < kChessSquares; ++s) {
        const char man = pos.board[s];
        if (!IsOwn(man, white)) {
            continue;
        }
        const int row = Row(s);
        const int col = Col(s);
        auto step = [&](int r, int c) {
            if (OnBoard(r, c) && !IsOwn(pos.board[r * 8 + c], white)) {
                add(s, r * 8 + c);
            }
        };
        auto slide = [&](const int(&dirs)[4][2]) {
            for (const auto& d : dirs) {
                for (int r = row + d[0], c = col + d[1]; OnBoard(r, c); r += d[0], c += d[1]) {
                    const char there = pos.board[r * 8 + c];
                    if (IsOwn(there, white)) {
                        break;
                    }
                    add(s, r * 8 + c);
                    if (!IsEmpty(there)) {
                        break;
                    }
                }
            }
        };
        switch (Kind(man)) {
            case 'P': {
                const int dir = white ? -1 : 1;
                const int ahead = row + dir;
                if (!OnBoard(ahead, col)) {
                    break;
                }
                if (IsEmpty(pos.board[ahead * 8 + col])) {
                    add(s, ahead * 8 + col);
                    const int startRow = white ? 6 : 1;
                    if (row == startRow && IsEmpty(pos.board[(ahead + dir) * 8 + col])) {
                        add(s, (ahead + dir) * 8 + col);
                    }
                }
                for (int dc : {-1, 1}) {
                    if (!OnBoard(ahead, col + dc)) {
                        continue;
                    }
                    const int to = ahead * 8 + col + dc;
                    const char there = pos.board[to];
                    if ((!IsEmpty(there) && !IsOwn(there, white)) || to == pos.epSquare) {
                        add(s, to);
                    }
                }
                break;
            }
            case 'N':
                for (const auto& d : kKnight) {
                    step(row + d[0], col + d[1]);
                }
                break;
            case 'K':
                for (const auto& d : kKing) {
                    step(row + d[0], col + d[1]);
                }
                break;
            case 'B':
                slide(kDiagonal);
                break;
            case 'R':
                slide(kStraight);
                break;
            case 'Q':
                slide(kDiagonal);
                slide(kStraight);
                break;
            default:
                break;
        }
    }
    // Castling: the squares between king and rook empty, and the king
    // neither in check nor passing or landing on an attacked square.
    const int first = white ? 0 : 2;
    for (int right = first; right < first + 2; ++right) {
        if (!pos.castling[right]) {
            continue;
        }
        const int king = kKingHome[right];
        const int rook = kRookHome[right];
        if (pos.board[king] != Man('K', white) || pos.board[rook] != Man('R', white)) {
            continue;
        }
        const int dir = rook > king ? 1 : -1;
        bool clear = true;
        for (int s = king + dir; s != rook; s += dir) {
            clear = clear && IsEmpty(pos.board[s]);
        }
        if (clear && !Attacked(pos, king, !white) && !Attacked(pos, king + dir, !white) &&
            !Attacked(pos, king + 2 * dir, !white)) {
            out.push_back({king, king + 2 * dir, '\0'});
        }
    }
}

int Find(const ChessPosition& pos, char man) {
    for (int s = 0; s < kChessSquares; ++s) {
        if (pos.board[s] == man) {
            return s;
        }
    }
    return -1;
}

// Drops castling rights without their men at home, and an en-passant square
// behind which no pawn of the side that moved stands.
void Tidy(ChessPosition& pos) {
    for (int right = 0; right < 4; ++right) {
        const bool white = right < 2;
        if (pos.board[kKingHome[right]] != Man('K', white) ||
            pos.board[kRookHome[right]] != Man('R', white)) {
            pos.castling[right] = false;
        }
    }
    if (pos.epSquare >= 0) {
        // White to move: Black's pawn went from row 1 to row 3 over row 2.
        const int row = pos.whiteToMove ? 2 : 5;
        const int pawn = pos.epSquare + (pos.whiteToMove ? 8 : -8);
        const int origin = pos.epSquare + (pos.whiteToMove ? -8 : 8);
        if (Row(pos.epSquare) != row || pos.board[pawn] != Man('P', !pos.whiteToMove) ||
            !IsEmpty(pos.board[pos.epSquare]) || !IsEmpty(pos.board[origin])) {
            pos.epSquare = -1;
        }
    }
}

PositionResult Checked(ChessPosition pos) {
    Tidy(pos);
    std::string error = CheckLegal(pos);
    if (!error.empty()) {
        return {std::nullopt, std::move(error)};
    }
    return {std::move(pos), {}};
}

std::string SquareName(int s) {
    return std::string(1, static_cast<char>('a' + Col(s))) + static_cast<char>('8' - Row(s));
}

int SquareOf(std::string_view text) {
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8') {
        return -1;
    }
    return ('8' - text[1]) * 8 + (text[0] - 'a');
}

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

}  // namespace

PositionResult PositionFromFen(std::string_view text) {
    text = position::SkipTally(text);
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.empty()) {
        return {std::nullopt, "the position is empty"};
    }
    ChessPosition pos;
    int row = 0;
    int col = 0;
    for (char c : fields[0]) {
        if (c == '/') {
            if (col != 8) {
                return {std::nullopt, "rank " + std::to_string(8 - row) + " does not hold 8 squares"};
            }
            ++row;
            col = 0;
        } else if (c >= '1' && c <= '8') {
            col += c - '0';
        } else if (std::string_view("pnbrqkPNBRQK").find(c) != std::string_view::npos) {
            if (row < 8 && col < 8) {
                pos.board[row * 8 + col] = c;
            }
            ++col;
        } else {
            return {std::nullopt, std::string("\"") + c + "\" is not an orthodox man"};
        }
        if (col > 8 || row > 7) {
            return {std::nullopt, "the placement does not fit an 8 x 8 board"};
        }
    }
    if (row != 7 || col != 8) {
        return {std::nullopt, "the placement does not hold 8 ranks of 8 squares"};
    }
    if (fields.size() > 1) {
        if (fields[1] != "w" && fields[1] != "b") {
            return {std::nullopt, "the side to move must be w or b"};
        }
        pos.whiteToMove = fields[1] == "w";
    }
    if (fields.size() > 2 && fields[2] != "-") {
        for (char c : fields[2]) {
            const size_t right = std::string_view(kRightLetters, 4).find(c);
            if (right == std::string_view::npos) {
                return {std::nullopt, "castling rights are written with K, Q, k, q or -"};
            }
            pos.castling[right] = true;
        }
    }
    if (fields.size() > 3 && fields[3] != "-") {
        pos.epSquare = SquareOf(fields[3]);
        if (pos.epSquare < 0) {
            return {std::nullopt, "the en-passant square must be a square name or -"};
        }
    }
    return Checked(pos);
}

PositionResult PositionFromBoard(const position::Vet& vet, const position::NotationStyle& style,
                                 bool whiteToMove) {
    if (style.shape.rows != 8 || style.shape.cols != 8) {
        return {std::nullopt, "Analysis needs an 8 x 8 board; this style has " +
                                  std::to_string(style.shape.cols) + " x " +
                                  std::to_string(style.shape.rows) + " squares."};
    }
    ChessPosition pos;
    pos.whiteToMove = whiteToMove;
    for (int s = 0; s < kChessSquares; ++s) {
        const int v = position::PieceOf(vet(position::kPosition, s), style.shape.Pieces());
        if (v < 1 || v > style.shape.Pieces()) {
            continue;
        }
        const char kind = style.KindOf(v);
        if (std::string_view("pnbrqkPNBRQK").find(kind) == std::string_view::npos || kind == '\0') {
            const std::string letter(1, style.shape.piecesList[static_cast<size_t>(v - 1)]);
            return {std::nullopt,
                    "The man \"" + letter + "\" on " + SquareName(s) +
                        " is not an orthodox one; analysis takes only the men of the English notation."};
        }
        pos.board[s] = kind;
    }
    pos.castling = {true, true, true, true};
    return Checked(pos);
}

std::string CheckLegal(const ChessPosition& pos) {
    for (bool white : {true, false}) {
        const char* side = white ? "White" : "Black";
        int kings = 0;
        int men = 0;
        int pawns = 0;
        for (int s = 0; s < kChessSquares; ++s) {
            const char man = pos.board[s];
            if (!IsOwn(man, white)) {
                continue;
            }
            ++men;
            kings += Kind(man) == 'K';
            if (Kind(man) == 'P') {
                ++pawns;
                if (Row(s) == 0 || Row(s) == 7) {
                    return std::string(side) + " has a pawn on " + SquareName(s) + ".";
                }
            }
        }
        if (kings != 1) {
            return std::string(side) + " must have one king, not " + std::to_string(kings) + ".";
        }
        if (men > 16 || pawns > 8) {
            return std::string(side) + " has more men than a game can give.";
        }
    }
    if (InCheck(pos, !pos.whiteToMove)) {
        return std::string(pos.whiteToMove ? "Black" : "White") + " is in check but it is not " +
               (pos.whiteToMove ? "Black" : "White") + "'s move.";
    }
    return {};
}

std::string UciFen(const ChessPosition& pos) {
    std::string text;
    for (int row = 0; row < 8; ++row) {
        int empty = 0;
        for (int col = 0; col < 8; ++col) {
            const char man = pos.board[row * 8 + col];
            if (IsEmpty(man)) {
                ++empty;
                continue;
            }
            if (empty > 0) {
                text += static_cast<char>('0' + empty);
                empty = 0;
            }
            text += man;
        }
        if (empty > 0) {
            text += static_cast<char>('0' + empty);
        }
        if (row < 7) {
            text += '/';
        }
    }
    text += pos.whiteToMove ? " w " : " b ";
    std::string rights;
    for (int right = 0; right < 4; ++right) {
        if (pos.castling[right]) {
            rights += kRightLetters[right];
        }
    }
    text += rights.empty() ? "-" : rights;
    text += ' ';
    text += pos.epSquare >= 0 ? SquareName(pos.epSquare) : "-";
    text += " 0 1";
    return text;
}

bool InCheck(const ChessPosition& pos, bool white) {
    const int king = Find(pos, Man('K', white));
    return king >= 0 && Attacked(pos, king, !white);
}

ChessPosition Play(const ChessPosition& pos, const ChessMove& move) {
    ChessPosition next = pos;
    const char man = pos.board[move.from];
    const bool white = IsWhite(man);
    next.board[move.from] = '.';
    next.board[move.to] = move.promotion != '\0' ? Man(move.promotion, white) : man;
    next.epSquare = -1;
    if (Kind(man) == 'P') {
        if (move.to == pos.epSquare) {
            next.board[move.to + (white ? 8 : -8)] = '.';
        }
        if (std::abs(move.to - move.from) == 16) {
            next.epSquare = (move.from + move.to) / 2;
        }
    }
    if (Kind(man) == 'K' && std::abs(move.to - move.from) == 2) {
        const bool kingSide = move.to > move.from;
        const int rook = kingSide ? move.from + 3 : move.from - 4;
        next.board[kingSide ? move.from + 1 : move.from - 1] = next.board[rook];
        next.board[rook] = '.';
    }
    for (int right = 0; right < 4; ++right) {
        for (int s : {move.from, move.to}) {
            if (s == kKingHome[right] || s == kRookHome[right]) {
                next.castling[right] = false;
            }
        }
    }
    next.whiteToMove = !pos.whiteToMove;
    return next;
}

std::vector<ChessMove> LegalMoves(const ChessPosition& pos) {
    std::vector<ChessMove> pseudo;
    PseudoMoves(pos, pseudo);
    std::vector<ChessMove> legal;
    for (const ChessMove& move : pseudo) {
        if (!InCheck(Play(pos, move), pos.whiteToMove)) {
            legal.push_back(move);
        }
    }
    return legal;
}

std::optional<ChessMove> ParseUciMove(const ChessPosition& pos, std::string_view text) {
    if (text.size() != 4 && text.size() != 5) {
        return std::nullopt;
    }
    ChessMove wanted{SquareOf(text.substr(0, 2)), SquareOf(text.substr(2, 2)),
                     text.size() == 5 ? Kind(text[4]) : '\0'};
    if (wanted.from < 0 || wanted.to < 0) {
        return std::nullopt;
    }
    for (const ChessMove& move : LegalMoves(pos)) {
        if (move == wanted) {
            return move;
        }
    }
    return std::nullopt;
}

bool PutOnPlanes(position::Vet& vet, const position::NotationStyle& style, const ChessPosition& before,
                 const ChessPosition& after) {
    auto index = [&style](char man) {
        for (int v = 1; v <= static_cast<int>(style.englishNotation.size()); ++v) {
            if (style.englishNotation[static_cast<size_t>(v - 1)] == man) {
                return v;
            }
        }
        return 0;
    };
    for (int plane = 0; plane < 2; ++plane) {
        const ChessPosition& pos = plane == 0 ? before : after;
        for (int s = 0; s < kChessSquares; ++s) {
            const char man = pos.board[s];
            const int v = IsEmpty(man) ? 0 : index(man);
            if (!IsEmpty(man) && v == 0) {
                return false;
            }
            vet(plane, s) = static_cast<int16_t>(v);
        }
    }
    return true;
}

std::vector<std::string> LineToSan(const ChessPosition& pos, const std::vector<std::string>& line,
                                   const position::NotationStyle& style) {
    position::NotationStyle board = style;
    board.shape.rows = 8;
    board.shape.cols = 8;
    std::vector<std::string> moves;
    ChessPosition current = pos;
    position::Vet vet;
    for (const std::string& text : line) {
        const std::optional<ChessMove> move = ParseUciMove(current, text);
        if (!move) {
            break;
        }
        const ChessPosition next = Play(current, *move);
        if (!PutOnPlanes(vet, board, current, next)) {
            break;
        }
        std::string san = position::SetMove(vet, board, 0).move;
        if (san.empty()) {
            break;
        }
        if (InCheck(next, next.whiteToMove)) {
            san += LegalMoves(next).empty() ? "#" : "+";
        }
        moves.push_back(std::move(san));
        current = next;
    }
    return moves;
}

}  // namespace engines
