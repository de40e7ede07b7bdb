#pragma once
// The solver's notation of men, half-moves and twin changes, read from its
// protocol. Reading keeps the codes as written; the language they belong to
// is applied when a position is replayed (walk codes and colour letters
// differ between English, German and French protocols).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engines {

/// The language the solver answered in.
enum class PopeyeLanguage { kEnglish, kGerman, kFrench };

/// Colours of men.
enum class ManColour { kWhite, kBlack, kNeutral };

/// The English walk code for a code of the language ("" when unknown).
std::string EnglishWalk(std::string_view code, PopeyeLanguage language);

/// The colour a colour letter of the language stands for.
std::optional<ManColour> ColourOfLetter(char letter, PopeyeLanguage language);

/// A square as written: file 0 for "a", rank 1 for "1".
struct SquareRef {
    int file = -1;
    int rank = -1;
    bool Valid() const { return file >= 0 && rank >= 1; }
    bool operator==(const SquareRef&) const = default;
};

/// A man as the protocol writes it: colour letter (0 when not written),
/// attributes (lower-case prefixes such as "n", "k", "hcc"), walk (one or two
/// capitals or digits, hunters "B/R"; "" for a pawn without prefix) and
/// square.
struct ManRef {
    char colour = 0;
    std::string attrs;
    std::string walk;
    SquareRef square;
};

/// What a bracketed effect or a "=" suffix does to the board.
enum class EffectKind {
    kAdd,       ///< [+wRh1]: a man appears.
    kRemove,    ///< [-bPf7]: a man vanishes.
    kTransfer,  ///< [wPa7->a6]: a man is carried elsewhere (maybe changed).
    kRecolour,  ///< =w, [d8=w]: a man changes colour.
    kRewalk,    ///< =Q, [f6=rG]: a man changes walk (promotion).
    kExchange,  ///< [Ke1<-->Ke8]: two men swap squares.
    kUnknown,   ///< Anything else in brackets.
};

/// One effect of a half-move. square is where it acts; an empty square
/// means the moving man's arrival square.
struct Effect {
    EffectKind kind = EffectKind::kUnknown;
    ManRef man;        ///< The man added, removed or transferred; the new walk.
    SquareRef square;  ///< Where it acts.
    SquareRef to;      ///< Transfer and exchange: the other square.
    char colour = 0;   ///< Recolour: the new colour letter.
    std::string text;  ///< As written.
};

/// A half-move as the protocol writes it.
struct HalfMove {
    enum class Type { kMove, kCastling, kNull } type = Type::kMove;
    ManRef man;                       ///< The moving man (walk and from-square).
    std::vector<SquareRef> captures;  ///< Squares men are taken on, in order.
    std::vector<SquareRef> path;      ///< Squares the man lands on, the last being its arrival.
    bool kingSide = false;            ///< Castling: 0-0.
    std::optional<ManRef> partner;    ///< Castling with a partner written after "/".
    SquareRef partnerTo;
    bool enPassant = false;
    std::vector<Effect> effects;
    SquareRef To() const { return path.empty() ? man.square : path.back(); }
};

/// Reads one half-move without move number or marks ("Qg1-g6", "*c4-d5",
/// "kRf1*e1[-wkRe1]", "0-0-0", "...", "Qh4*b4=w"). Nothing on failure.
std::optional<HalfMove> ParseHalfMove(std::string_view text);

/// Reads a square ("a1", "h8"); nothing when text is not one.
std::optional<SquareRef> ParseSquare(std::string_view text);

/// The kinds of change a twin makes.
enum class TwinChangeKind {
    kMove,        ///< wKa1-->b1
    kExchange,    ///< wSa5<-->bPc3
    kAdd,         ///< +bPd4
    kRemove,      ///< -bPd6
    kRotate,      ///< rotate 90 / 180 / 270
    kMirror,      ///< mirror a1<-->h1, a1<-->a8, a1<-->h8, a8<-->h1
    kShift,       ///< shift a1 ==> a2
    kPolish,      ///< PolishType: the colours swapped
    kSubstitute,  ///< S ==> B
    kText,        ///< A stipulation or condition, or anything else: shown only.
};

/// One change of a twin, as written and as understood.
struct TwinChange {
    TwinChangeKind kind = TwinChangeKind::kText;
    std::string text;
    ManRef man;
    ManRef other;      ///< Exchange: the second man.
    SquareRef to;      ///< Move: the destination; shift: the second square.
    int degrees = 0;   ///< Rotate.
    std::string from;  ///< Substitute: the walk replaced; mirror: its first square.
    std::string into;  ///< Substitute: the new walk; mirror: its second square.
};

/// Reads the changes written after a twin's label ("wKa1-->b1  +bPd4").
std::vector<TwinChange> ParseTwinChanges(std::string_view text);

}  // namespace engines
