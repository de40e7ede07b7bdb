#include "engines/chess_position.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "position/attacks.h"
#include "position/set_move.h"

namespace engines {

namespace {

using position::kCastlingRights;

constexpr int kKnight[8][2] = {{-2, -1}, {-2, 1}, {-1, -2}, {-1, 2}, {1, -2}, {1, 2}, {2, -1}, {2, 1}};
constexpr int kKing[8][2] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
constexpr int kDiagonal[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
constexpr int kStraight[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

// Home squares of the kings and rooks, by castling right.
constexpr int kKingHome[kCastlingRights] = {60, 60, 4, 4};
constexpr int kRookHome[kCastlingRights] = {63, 56, 7, 0};

// The standard men on an 8 x 8 board: the shape every engine position has.
const position::NotationStyle& Orthodox() {
    static const position::NotationStyle style;
    return style;
}

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
    const auto at = [&pos](int square) {
        return static_cast<int>(pos.placement[static_cast<size_t>(square)]);
    };
    return position::SquareAttacked(Orthodox(), at, Row(s), Col(s), !byWhite);
}

void PseudoMoves(const ChessPosition& pos, std::vector<ChessMove>& out) {
    const bool white = pos.WhiteToMove();
    auto add = [&](int from, int to) {
        const bool lastRank = Kind(pos.At(from)) == 'P' && (Row(to) == 0 || Row(to) == 7);
        if (!lastRank) {
            out.push_back({from, to, '\0'});
            return;
        }
        for (char kind : {'Q', 'R', 'B', 'N'}) {
            out.push_back({from, to, kind});
        }
    };
    for (int s = 0; s < kChessSquares; ++s) {
        const char man = pos.At(s);
        if (!IsOwn(man, white)) {
            continue;
        }
        const int row = Row(s);
        const int col = Col(s);
        auto step = [&](int r, int c) {
            if (OnBoard(r, c) && !IsOwn(pos.At(r * 8 + c), white)) {
                add(s, r * 8 + c);
            }
        };
        auto slide = [&](const int(&dirs)[4][2]) {
            for (const auto& d : dirs) {
                for (int r = row + d[0], c = col + d[1]; OnBoard(r, c); r += d[0], c += d[1]) {
                    const char there = pos.At(r * 8 + c);
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
                if (IsEmpty(pos.At(ahead * 8 + col))) {
                    add(s, ahead * 8 + col);
                    const int startRow = white ? 6 : 1;
                    if (row == startRow && IsEmpty(pos.At((ahead + dir) * 8 + col))) {
                        add(s, (ahead + dir) * 8 + col);
                    }
                }
                for (int dc : {-1, 1}) {
                    if (!OnBoard(ahead, col + dc)) {
                        continue;
                    }
                    const int to = ahead * 8 + col + dc;
                    const char there = pos.At(to);
                    if ((!IsEmpty(there) && !IsOwn(there, white)) || to == pos.state.epSquare) {
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
    const int first = white ? position::kWhiteKingSide : position::kBlackKingSide;
    for (int right = first; right < first + 2; ++right) {
        if (!pos.state.castling[static_cast<size_t>(right)]) {
            continue;
        }
        const int king = kKingHome[right];
        const int rook = kRookHome[right];
        if (pos.At(king) != Man('K', white) || pos.At(rook) != Man('R', white)) {
            continue;
        }
        const int dir = rook > king ? 1 : -1;
        bool clear = true;
        for (int s = king + dir; s != rook; s += dir) {
            clear = clear && IsEmpty(pos.At(s));
        }
        if (clear && !Attacked(pos, king, !white) && !Attacked(pos, king + dir, !white) &&
            !Attacked(pos, king + 2 * dir, !white)) {
            out.push_back({king, king + 2 * dir, '\0'});
        }
    }
}

int Find(const ChessPosition& pos, char man) {
    for (int s = 0; s < kChessSquares; ++s) {
        if (pos.At(s) == man) {
            return s;
        }
    }
    return -1;
}

// Drops castling rights without their men at home, and an en-passant square
// behind which no pawn of the side that moved stands.
void Tidy(ChessPosition& pos) {
    for (int right = 0; right < kCastlingRights; ++right) {
        const bool white = right < position::kBlackKingSide;
        if (pos.At(kKingHome[right]) != Man('K', white) || pos.At(kRookHome[right]) != Man('R', white)) {
            pos.state.castling[static_cast<size_t>(right)] = false;
        }
    }
    int& ep = pos.state.epSquare;
    if (ep >= 0) {
        // White to move: Black's pawn went from row 1 to row 3 over row 2.
        const bool white = pos.WhiteToMove();
        const int row = white ? 2 : 5;
        const int pawn = ep + (white ? 8 : -8);
        const int origin = ep + (white ? -8 : 8);
        if (Row(ep) != row || pos.At(pawn) != Man('P', !white) || !IsEmpty(pos.At(ep)) ||
            !IsEmpty(pos.At(origin))) {
            ep = -1;
        }
    }
}

PositionResult Checked(ChessPosition pos) {
    Tidy(pos);
    std::string error = CheckLegal(pos);
    if (!error.empty()) {
        return {std::nullopt, std::move(error)};
    }
    return {pos, {}};
}

std::string SquareName(int s) {
    return position::SquareName(s, Orthodox().shape);
}

int SquareOf(std::string_view text) {
    if (text.size() != 2 || text[0] < 'a' || text[0] > 'h' || text[1] < '1' || text[1] > '8') {
        return -1;
    }
    return ('8' - text[1]) * 8 + (text[0] - 'a');
}

}  // namespace

char ChessPosition::At(int s) const {
    const int v = placement[static_cast<size_t>(s)];
    return v >= 1 && v <= static_cast<int>(position::kDefaultPiecesList.size())
               ? position::kDefaultPiecesList[static_cast<size_t>(v - 1)]
               : '.';
}

void ChessPosition::Put(int s, char man) {
    const size_t v = position::kDefaultPiecesList.find(man);
    placement[static_cast<size_t>(s)] =
        v == std::string_view::npos ? int16_t{0} : static_cast<int16_t>(v + 1);
}

std::optional<position::Placement> PlacementInStyle(const ChessPosition& pos,
                                                    const position::NotationStyle& style) {
    position::Placement placement{};
    for (int s = 0; s < kChessSquares; ++s) {
        const char man = pos.At(s);
        if (IsEmpty(man)) {
            continue;
        }
        const size_t v = style.englishNotation.find(man);
        if (v == std::string::npos) {
            return std::nullopt;
        }
        placement[static_cast<size_t>(s)] = static_cast<int16_t>(v + 1);
    }
    return placement;
}

PositionResult PositionFromFen(std::string_view text) {
    position::FenLine line = position::ReadFenLine(text, Orthodox().shape);
    if (!line.error.empty()) {
        return {std::nullopt, std::move(line.error)};
    }
    ChessPosition pos;
    pos.placement = line.placement;
    pos.state = line.state;
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
    pos.state.toMove = whiteToMove ? position::Side::kWhite : position::Side::kBlack;
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
        pos.Put(s, kind);
    }
    pos.state.castling = {true, true, true, true};
    return Checked(pos);
}

std::string CheckLegal(const ChessPosition& pos) {
    for (bool white : {true, false}) {
        const char* side = white ? "White" : "Black";
        int kings = 0;
        int men = 0;
        int pawns = 0;
        for (int s = 0; s < kChessSquares; ++s) {
            const char man = pos.At(s);
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
    const bool white = pos.WhiteToMove();
    if (InCheck(pos, !white)) {
        return std::string(white ? "Black" : "White") + " is in check but it is not " +
               (white ? "Black" : "White") + "'s move.";
    }
    return {};
}

std::string UciFen(const ChessPosition& pos) {
    position::Vet vet;
    vet.cells[position::kPosition] = pos.placement;
    return position::VetToFEN(vet, Orthodox().shape) + ' ' +
           position::StateFields(pos.state, Orthodox().shape) + " 0 1";
}

bool InCheck(const ChessPosition& pos, bool white) {
    const int king = Find(pos, Man('K', white));
    return king >= 0 && Attacked(pos, king, !white);
}

ChessPosition Play(const ChessPosition& pos, const ChessMove& move) {
    ChessPosition next = pos;
    const char man = pos.At(move.from);
    const bool white = IsWhite(man);
    next.Put(move.from, '.');
    next.Put(move.to, move.promotion != '\0' ? Man(move.promotion, white) : man);
    next.state.epSquare = -1;
    if (Kind(man) == 'P') {
        if (move.to == pos.state.epSquare) {
            next.Put(move.to + (white ? 8 : -8), '.');
        }
        if (std::abs(move.to - move.from) == 16) {
            next.state.epSquare = (move.from + move.to) / 2;
        }
    }
    if (Kind(man) == 'K' && std::abs(move.to - move.from) == 2) {
        const bool kingSide = move.to > move.from;
        const int rook = kingSide ? move.from + 3 : move.from - 4;
        next.Put(kingSide ? move.from + 1 : move.from - 1, next.At(rook));
        next.Put(rook, '.');
    }
    for (int right = 0; right < kCastlingRights; ++right) {
        for (int s : {move.from, move.to}) {
            if (s == kKingHome[right] || s == kRookHome[right]) {
                next.state.castling[static_cast<size_t>(right)] = false;
            }
        }
    }
    next.state.toMove = position::Other(pos.state.toMove);
    return next;
}

std::vector<ChessMove> LegalMoves(const ChessPosition& pos) {
    std::vector<ChessMove> pseudo;
    PseudoMoves(pos, pseudo);
    std::vector<ChessMove> legal;
    for (const ChessMove& move : pseudo) {
        if (!InCheck(Play(pos, move), pos.WhiteToMove())) {
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

std::vector<std::string> LineToSan(const ChessPosition& pos, const std::vector<std::string>& line,
                                   const position::NotationStyle& style) {
    position::NotationStyle board = style;
    board.shape.rows = 8;
    board.shape.cols = 8;
    std::vector<std::string> moves;
    ChessPosition current = pos;
    for (const std::string& text : line) {
        const std::optional<ChessMove> move = ParseUciMove(current, text);
        if (!move) {
            break;
        }
        const ChessPosition next = Play(current, *move);
        const std::optional<position::Placement> before = PlacementInStyle(current, board);
        const std::optional<position::Placement> after = PlacementInStyle(next, board);
        if (!before || !after) {
            break;
        }
        std::string san = position::WriteMove(*before, *after, board).move;
        if (san.empty()) {
            break;
        }
        if (InCheck(next, next.WhiteToMove())) {
            san += LegalMoves(next).empty() ? "#" : "+";
        }
        moves.push_back(std::move(san));
        current = next;
    }
    return moves;
}

}  // namespace engines
