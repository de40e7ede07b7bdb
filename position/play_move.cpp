#include "position/play_move.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "position/attacks.h"

namespace position {

const char* Describe(PlayFailure reason) {
    switch (reason) {
        case PlayFailure::kNone:
            return "no failure";
        case PlayFailure::kBadBoard:
            return "the board has no squares or too many";
        case PlayFailure::kTooShort:
            return "the move names no destination square";
        case PlayFailure::kOffBoard:
            return "the destination square is not on the board";
        case PlayFailure::kUnknownPiece:
            return "the piece letter is not in the pieces list";
        case PlayFailure::kUnknownPromotion:
            return "the promotion letter is not in the pieces list";
        case PlayFailure::kUnknownKind:
            return "the piece has no known pattern of movement";
        case PlayFailure::kCellOutOfRange:
            return "a square of the move lies outside the board vector";
        case PlayFailure::kNoOrigin:
            return "no piece can reach the destination";
    }
    return "unknown failure";
}

namespace {

// Annotation characters dropped from a move before it is read, as a table:
// the filter runs for every character of every move of a book.
constexpr std::array<bool, 256> MakeDropped() {
    std::array<bool, 256> table{};
    for (char c : std::string_view("!?xX+#- ")) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}
constexpr std::array<bool, 256> kDropped = MakeDropped();
// A hint that occurs inside this text is a rank hint.
constexpr std::string_view kDigits = "0123456789";
// The English letters of the twelve kinds the interpreter knows.
constexpr std::array<bool, 256> kKnownKind = [] {
    std::array<bool, 256> table{};
    for (char c : std::string_view("QqRrBbNnKkPp")) {
        table[static_cast<unsigned char>(c)] = true;
    }
    return table;
}();
// Marks an absent letter or hint (every char value, NUL included, is a real letter).
constexpr int kAbsent = -1;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The numeric value of one character as the rank formula reads it: a digit
// gives its value, anything else 0.
int DigitValue(int c) {
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

// The value of a short run of decimal digits.
int RankValue(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + DigitValue(static_cast<unsigned char>(c));
    }
    return value;
}

// How many digits the highest rank of a board of this height has.
size_t RankDigits(int rows) {
    return rows >= 100 ? 3 : rows >= 10 ? 2 : 1;
}

int Code(char c) {
    return static_cast<unsigned char>(c);
}

// 1-based position of ch in text, 0 when absent.
int IndexIn(std::string_view text, int ch) {
    if (ch == kAbsent) {
        return 0;
    }
    // A plain loop: the lists are a dozen letters, too short for a library search.
    const char c = static_cast<char>(ch);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == c) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

PlayResult Fail(PlayFailure reason) {
    PlayResult r;
    r.reason = reason;
    return r;
}

// Writes one cell, refusing indexes outside the vector.
bool Put(Vet& vet, long long s, int v) {
    if (s < 0 || s >= kCells) {
        return false;
    }
    vet(kPosition, static_cast<int>(s)) = static_cast<int16_t>(v);
    return true;
}

// Places the castling pieces on their fixed cells; nothing there is checked.
PlayResult Castle(Vet& vet, const NotationStyle& style, Side side, bool queenSide) {
    const auto& en = style.englishNotation;
    const long long cols = style.shape.cols;
    const long long last = static_cast<long long>(style.shape.rows) * cols - 1;
    const bool white = side == Side::kWhite;
    const int king = IndexIn(en, white ? 'K' : 'k');
    const int rook = IndexIn(en, white ? 'R' : 'r');
    // Corner, king cell, the king's and the rook's new cells, in the order
    // they are written, so that a failure keeps the cells written before it.
    std::array<long long, 4> c{};
    if (queenSide) {
        const long long a1 = white ? last - cols + 1 : 0;
        c = {a1, a1 + 4, a1 + 2, a1 + 3};
    } else {
        const long long h = white ? last : cols - 1;
        c = {h, h - 3, h - 1, h - 2};
    }
    if (!Put(vet, c[0], 0) || !Put(vet, c[1], 0) || !Put(vet, c[2], king) || !Put(vet, c[3], rook)) {
        return Fail(PlayFailure::kCellOutOfRange);
    }
    PlayResult r;
    r.status = PlayStatus::kCastled;
    return r;
}

// Collects, in the fixed search order, the squares from which the moving
// piece can reach the destination. The first one is the interpreter's choice;
// the others only matter to the pinned-piece check.
class OriginSearch {
  public:
    OriginSearch(const Vet& vet, int rows, int cols, int row, int col, int piece, int fileHint, int rankHint)
        : m_cells(vet.cells[kPosition].data()),
          m_rows(rows),
          m_cols(cols),
          m_row(row),
          m_col(col),
          m_piece(piece),
          m_fileHint(fileHint),
          m_rankHint(rankHint) {}

    void Run(char kind) {
        switch (kind) {
            case 'Q':
            case 'q':
                for (int s : {1, -1}) {
                    Ray(s, s);
                    Ray(s, -s);
                    Ray(s, 0);
                    Ray(0, s);
                }
                break;
            case 'R':
            case 'r':
                for (int s : {1, -1}) {
                    Ray(s, 0);
                    Ray(0, s);
                }
                break;
            case 'B':
            case 'b':
                for (int s : {1, -1}) {
                    Ray(s, s);
                    Ray(s, -s);
                }
                break;
            case 'N':
            case 'n':
                for (int s : {1, -1}) {
                    Step(2 * s, s);
                    Step(2 * s, -s);
                    Step(s, 2 * s);
                    Step(s, -2 * s);
                }
                break;
            case 'K':
            case 'k':
                for (int s : {1, -1}) {
                    Step(s, -s);
                    Step(s, 0);
                    Step(s, s);
                    Step(0, s);
                }
                break;
            case 'P':
                Step(1, 0);
                Step(2, 0);
                Step(1, -1);
                Step(1, 1);
                break;
            case 'p':
                Step(-1, 0);
                Step(-2, 0);
                Step(-1, 1);
                Step(-1, -1);
                break;
            default:
                break;
        }
    }

    int Count() const { return m_count; }
    int At(int i) const { return m_found[i]; }

  private:
    // Examines one square; returns whether a sliding ray goes on past it.
    bool Examine(int r, int c) {
        if (r < 0 || r >= m_rows || c < 0 || c >= m_cols) {
            return false;
        }
        const int s = r * m_cols + c;
        const int v = m_cells[s];
        if (v <= 0) {
            return true;
        }
        if (v != m_piece) {
            return false;
        }
        if (Rejected(r, c)) {
            // A piece ruled out by the hint does not hide the squares behind it.
            return true;
        }
        Add(s);
        return false;
    }

    bool Rejected(int r, int c) const {
        return (m_fileHint != kAbsent && m_fileHint - 97 != c) ||
               (m_rankHint != kAbsent && m_rankHint != m_rows - r);
    }

    void Add(int s) {
        if (m_count < static_cast<int>(m_found.size())) {
            m_found[m_count++] = s;
        }
    }

    // Walks a ray over the cells themselves: its length to the board's edge
    // is known before, so a step costs one comparison instead of four.
    void Ray(int dr, int dc) {
        // A direction that keeps the row (or column) sets no limit by it.
        const int byRow = dr > 0 ? m_rows - 1 - m_row : dr < 0 ? m_row : kMaxSquares;
        const int byCol = dc > 0 ? m_cols - 1 - m_col : dc < 0 ? m_col : kMaxSquares;
        const int steps = byRow < byCol ? byRow : byCol;
        const int delta = dr * m_cols + dc;
        int s = m_row * m_cols + m_col;
        for (int k = 1; k <= steps; ++k) {
            s += delta;
            const int v = m_cells[s];
            if (v <= 0) {
                continue;
            }
            if (v != m_piece) {
                return;
            }
            if (!Rejected(m_row + dr * k, m_col + dc * k)) {
                Add(s);
                return;
            }
            // A piece ruled out by the hint does not hide the squares behind it.
        }
    }

    void Step(int dr, int dc) { Examine(m_row + dr, m_col + dc); }

    const int16_t* m_cells;  // the position plane
    int m_rows, m_cols, m_row, m_col, m_piece, m_fileHint, m_rankHint;
    // At most one origin per ray or single square: eight at the most.
    // Only the first m_count are ever read: left unset, as clearing them
    // costs more than the rest of a search.
    std::array<int, 8> m_found;
    int m_count = 0;
};

// The square of the only man whose kind is kingLetter; -1 when there is
// none or more than one. This runs for many moves of a book, so the cells are
// compared with the piece index itself when only one index has that kind.
int OnlyKing(const Vet& vet, const NotationStyle& style, char kingLetter) {
    const int squares = style.shape.Squares();
    const int16_t* cells = vet.cells[kPosition].data();
    const std::string& en = style.englishNotation;
    const auto at = en.find(kingLetter);
    if (at == std::string::npos) {
        return -1;
    }
    int king = -1;
    if (en.find(kingLetter, at + 1) == std::string::npos) {
        const int index = static_cast<int>(at) + 1;
        auto look = [&](int s) {
            if (cells[s] == index) {
                if (king >= 0) {
                    return false;
                }
                king = s;
            }
            return true;
        };
        // Four cells at a time: a group is looked at cell by cell only when
        // one of its cells may hold the index.
        const uint64_t lanes = 0x0001000100010001ULL;
        const uint64_t pattern = lanes * static_cast<uint16_t>(index);
        int s = 0;
        for (; s + 4 <= squares; s += 4) {
            uint64_t word;
            std::memcpy(&word, cells + s, sizeof word);
            const uint64_t x = word ^ pattern;
            if (((x - lanes) & ~x & (lanes << 15)) != 0) {
                for (int k = s; k < s + 4; ++k) {
                    if (!look(k)) {
                        return -1;
                    }
                }
            }
        }
        for (; s < squares; ++s) {
            if (!look(s)) {
                return -1;
            }
        }
        return king;
    }
    for (int s = 0; s < squares; ++s) {
        if (style.KindOf(cells[s]) == kingLetter) {
            if (king >= 0) {
                return -1;
            }
            king = s;
        }
    }
    return king;
}

// Among several origins, the first whose move keeps the mover's only king
// safe; the first origin when there is no such king or none keeps it safe.
int ChooseOrigin(const Vet& vet, const NotationStyle& style, const OriginSearch& search, char kind, int dest,
                 int newIndex) {
    const int first = search.At(0);
    if (search.Count() < 2) {
        return first;
    }
    const bool moverIsWhite = kind >= 'A' && kind <= 'Z';
    const char kingLetter = moverIsWhite ? 'K' : 'k';
    const int king = OnlyKing(vet, style, kingLetter);
    if (king < 0) {
        return first;  // no king, or more than one: no rule to apply
    }
    const int cols = style.shape.cols;
    for (int i = 0; i < search.Count(); ++i) {
        const int from = search.At(i);
        auto at = [&](int s) -> int {
            if (s == from) {
                return 0;
            }
            if (s == dest) {
                return newIndex;
            }
            return vet(kPosition, s);
        };
        const int k = king == from ? dest : king;
        if (!SquareAttacked(style, at, k / cols, k % cols, moverIsWhite)) {
            return from;
        }
    }
    return first;
}

}  // namespace

PlayResult PlayMove(Vet& vet, const NotationStyle& style, Side side, std::string_view move) {
    const int rows = style.shape.rows;
    const int cols = style.shape.cols;
    if (rows <= 0 || cols <= 0 || static_cast<long long>(rows) * cols > kMaxSquares) {
        return Fail(PlayFailure::kBadBoard);
    }

    // Castling is recognised by its leading characters alone.
    if (!move.empty() && (move[0] == 'O' || move[0] == '0')) {
        const std::string_view head5 = move.substr(0, 5);
        if (head5 == "O-O-O" || head5 == "0-0-0") {
            return Castle(vet, style, side, true);
        }
        const std::string_view head3 = move.substr(0, 3);
        if (head3 == "O-O" || head3 == "0-0") {
            return Castle(vet, style, side, false);
        }
    }

    // The first "ep" (any case) is blanked, then annotation characters and
    // blanks are dropped. Ordinary moves are filtered into a stack buffer;
    // only an absurdly long text costs an allocation.
    // On a board of sixteen columns or more "p" is a file too: "ep" followed
    // by a rank there is a square name ("Qep17"), not the mark.
    std::size_t ep = std::string_view::npos;
    for (std::size_t i = 0; i + 1 < move.size(); ++i) {
        if (Lower(move[i]) == 'e' && Lower(move[i + 1]) == 'p') {
            const bool square = cols > 15 && i + 2 < move.size() && move[i + 2] >= '0' && move[i + 2] <= '9';
            if (!square) {
                ep = i;
                break;
            }
        }
    }
    char local[96];
    std::string heap;
    char* t = local;
    if (move.size() > sizeof local) {
        heap.resize(move.size());
        t = heap.data();
    }
    int len = 0;
    for (std::size_t i = 0; i < move.size(); ++i) {
        // Written always, kept only when not dropped: no branch to mispredict.
        t[len] = move[i];
        const bool skip =
            kDropped[static_cast<unsigned char>(move[i])] || (ep != std::string_view::npos && i - ep < 2);
        len += skip ? 0 : 1;
    }

    // Promotion: the letter after the first "="; "=" and letter end the text.
    int promo = kAbsent;
    const std::string_view filtered(t, static_cast<std::size_t>(len));
    std::size_t eq = std::string_view::npos;
    for (std::size_t i = 0; i < filtered.size(); ++i) {
        if (filtered[i] == '=') {
            eq = i;
            break;
        }
    }
    if (eq != std::string_view::npos) {
        if (eq + 1 < filtered.size()) {
            promo = Code(filtered[eq + 1]);
        }
        if (len < 2) {
            return Fail(PlayFailure::kTooShort);
        }
        len -= 2;
    }
    if (len < 1) {
        return Fail(PlayFailure::kTooShort);
    }

    // A first character that is not lower case is the piece letter.
    int piece = kAbsent;
    int start = 0;
    if (Upper(t[0]) == t[0]) {
        piece = Code(t[0]);
        start = 1;
    }
    const std::string_view text(t + start, static_cast<std::size_t>(len - start));
    const int n = static_cast<int>(text.size());
    if (n < 2) {
        return Fail(PlayFailure::kTooShort);
    }

    // Destination: a file letter and the rank in decimal, counted from the
    // bottom row on the board's own height, as the square names are written.
    // A rank with a leading zero or more digits than a board can have names
    // no square.
    int digits = 0;
    while (digits < n && IsDigit(text[static_cast<size_t>(n - 1 - digits)])) {
        ++digits;
    }
    if (digits == n || digits > 3 || (digits > 1 && text[static_cast<size_t>(n - digits)] == '0')) {
        return Fail(PlayFailure::kOffBoard);
    }
    const int rank = digits == 0 ? 0 : RankValue(text.substr(static_cast<size_t>(n - digits)));
    const int col = Code(text[static_cast<size_t>(n - 1 - digits)]) - 97;
    const int row = rows - rank;
    if (row < 0 || row >= rows || col < 0 || col >= cols) {
        // Such a square would land on some other cell of the vector.
        return Fail(PlayFailure::kOffBoard);
    }
    const int dest = row * cols + col;
    const int hintLength = n - 1 - digits;

    if (side == Side::kBlack) {
        if (piece != kAbsent) {
            piece = Code(Lower(static_cast<char>(piece)));
        }
        if (promo != kAbsent) {
            promo = Code(Lower(static_cast<char>(promo)));
        }
    }

    // Origin hint: digits that can be a rank of this board give the rank; a
    // longer run out of "0123456789" gives its first digit as the rank; any
    // other hint its first character as the file.
    int fileHint = kAbsent;
    int rankHint = kAbsent;
    if (hintLength >= 1) {
        const std::string_view hint = text.substr(0, static_cast<std::size_t>(hintLength));
        if (hint.size() <= RankDigits(rows) && hint.find_first_not_of(kDigits) == std::string_view::npos) {
            rankHint = RankValue(hint);
        } else if (kDigits.find(hint) != std::string_view::npos) {
            rankHint = DigitValue(Code(hint[0]));
        } else {
            fileHint = Code(hint[0]);
        }
    }

    if (piece == kAbsent) {
        piece = Code(side == Side::kWhite ? 'P' : 'p');
    }
    const int pieceIndex = IndexIn(style.shape.piecesList, piece);
    if (pieceIndex == 0) {
        return Fail(PlayFailure::kUnknownPiece);
    }
    if (promo == kAbsent) {
        promo = piece;
    }
    const int newIndex = IndexIn(style.shape.piecesList, promo);
    if (newIndex == 0) {
        // Writing index 0 would make the piece vanish while reporting success.
        return Fail(PlayFailure::kUnknownPromotion);
    }
    const char kind = style.KindOf(pieceIndex);
    if (!kKnownKind[static_cast<unsigned char>(kind)]) {
        return Fail(PlayFailure::kUnknownKind);
    }

    // A pawn that names its origin and moves to an empty square takes en
    // passant: the pawn behind the destination goes first.
    const bool hinted = fileHint != kAbsent || rankHint != kAbsent;
    if ((kind == 'P' || kind == 'p') && hinted && vet(kPosition, dest) <= 0) {
        const long long behind = kind == 'P' ? dest + cols : dest - cols;
        if (!Put(vet, behind, 0)) {
            return Fail(PlayFailure::kCellOutOfRange);
        }
    }

    OriginSearch search(vet, rows, cols, row, col, pieceIndex, fileHint, rankHint);
    search.Run(kind);
    if (search.Count() == 0) {
        return Fail(PlayFailure::kNoOrigin);
    }
    const int from = ChooseOrigin(vet, style, search, kind, dest, newIndex);

    vet(kPosition, dest) = static_cast<int16_t>(newIndex);
    vet(kPosition, from) = 0;
    return PlayResult{PlayStatus::kMoved, PlayFailure::kNone, from, dest};
}

}  // namespace position
