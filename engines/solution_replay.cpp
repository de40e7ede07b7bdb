#include "engines/solution_replay.h"

#include <algorithm>

namespace engines {

namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

ManColour Other(ManColour colour) {
    switch (colour) {
        case ManColour::kWhite:
            return ManColour::kBlack;
        case ManColour::kBlack:
            return ManColour::kWhite;
        case ManColour::kNeutral:
            return ManColour::kNeutral;
    }
    return colour;
}

std::string SquareName(SquareRef square) {
    return std::string(1, static_cast<char>('a' + square.file)) + std::to_string(square.rank);
}

// The board of one replay: squares by the solver's names, men by index.
class Board {
  public:
    Board(position::Vet& vet, const position::NotationStyle& style, const PieceDictionary& dictionary,
          PopeyeLanguage language)
        : m_vet(vet), m_style(style), m_dictionary(dictionary), m_language(language) {}

    int Index(SquareRef square) const {
        const int rows = m_style.shape.rows;
        const int cols = m_style.shape.cols;
        if (!square.Valid() || square.file >= cols || square.rank > rows) {
            return -1;
        }
        const int s = (rows - square.rank) * cols + square.file;
        return s < position::kCells ? s : -1;
    }
    int Get(int s) const {
        if (s < 0) {
            return 0;
        }
        const int v = position::PieceOf(m_vet(position::kPosition, s), m_style.shape.Pieces());
        return v > 0 ? v : 0;
    }
    void Set(int s, int piece) {
        if (s >= 0) {
            m_vet(position::kPosition, s) = static_cast<int16_t>(piece);
        }
    }
    int Squares() const { return std::min(m_style.shape.Squares(), position::kCells); }
    int Rows() const { return m_style.shape.rows; }
    int Cols() const { return m_style.shape.cols; }

    std::optional<ManColour> ColourAt(int s) const {
        const auto man = m_dictionary.Forward(Get(s));
        return man ? std::optional<ManColour>(man->colour) : std::nullopt;
    }

    // The letter for a man the solver names; "" and a note when none.
    int Letter(std::optional<ManColour> colour, const std::string& code, std::string& note) const {
        const std::string walk = EnglishWalk(code, m_language);
        const int piece = colour && !walk.empty() ? m_dictionary.Inverse(*colour, walk) : 0;
        if (piece == 0) {
            note = "no letter for " + code + " in this style";
        }
        return piece;
    }

    // One effect of a half-move; arrival is the moving man's square.
    bool Apply(const Effect& effect, int arrival, std::string& note) {
        const int at = effect.square.Valid() ? Index(effect.square) : arrival;
        switch (effect.kind) {
            case EffectKind::kAdd: {
                const int piece = Letter(ColourOfLetter(effect.man.colour, m_language),
                                         effect.man.attrs + effect.man.walk, note);
                if (piece == 0) {
                    return false;
                }
                Set(at, piece);
                return true;
            }
            case EffectKind::kRemove:
                Set(at, 0);
                return true;
            case EffectKind::kTransfer: {
                int piece = Get(at);
                if (piece == 0) {
                    note = "no man on " + SquareName(effect.square);
                    return false;
                }
                const auto colour = ColourOfLetter(effect.man.colour, m_language);
                const auto man = m_dictionary.Forward(piece);
                if (colour && man &&
                    (*colour != man->colour || EnglishWalk(effect.man.walk, m_language) != man->walk)) {
                    piece = Letter(colour, effect.man.walk, note);
                    if (piece == 0) {
                        return false;
                    }
                }
                Set(at, 0);
                Set(Index(effect.to), piece);
                return true;
            }
            case EffectKind::kRecolour: {
                const auto man = m_dictionary.Forward(Get(at));
                const auto colour = ColourOfLetter(effect.colour, m_language);
                if (!man || !colour) {
                    note = "no man to change on that square";
                    return false;
                }
                const int piece = m_dictionary.Inverse(*colour, man->walk);
                if (piece == 0) {
                    note = "no letter for " + std::string(1, effect.colour) + man->walk + " in this style";
                    return false;
                }
                Set(at, piece);
                return true;
            }
            case EffectKind::kRewalk: {
                const int piece = Letter(ColourAt(at), effect.man.walk, note);
                if (piece == 0) {
                    return false;
                }
                Set(at, piece);
                return true;
            }
            case EffectKind::kExchange: {
                const int other = Index(effect.to);
                const int a = Get(at);
                Set(at, Get(other));
                Set(other, a);
                return true;
            }
            case EffectKind::kUnknown:
                break;
        }
        note = "[" + effect.text + "] not understood";
        return false;
    }

    bool Castle(const HalfMove& move, std::optional<ManColour> hint, ManColour& mover, std::string& note) {
        const int cols = Cols();
        std::vector<ManColour> order;
        if (hint) {
            order = {*hint, Other(*hint)};
        } else {
            order = {ManColour::kWhite, ManColour::kBlack};
        }
        for (ManColour colour : order) {
            const int rank = colour == ManColour::kWhite ? 1 : Rows();
            const int king = Index({4, rank});
            const auto kingMan = m_dictionary.Forward(Get(king));
            if (!kingMan || kingMan->colour != colour || kingMan->walk != "K") {
                continue;
            }
            int partner = -1;
            SquareRef partnerTo;
            if (move.partner) {
                partner = Index(move.partner->square);
                partnerTo = move.partnerTo;
            } else {
                partner = Index({move.kingSide ? cols - 1 : 0, rank});
                partnerTo = {move.kingSide ? 5 : 3, rank};
            }
            if (Get(partner) == 0 || ColourAt(partner) != colour) {
                continue;
            }
            const int k = Get(king);
            const int p = Get(partner);
            Set(king, 0);
            Set(partner, 0);
            Set(Index({move.kingSide ? 6 : 2, rank}), k);
            Set(Index(partnerTo), p);
            mover = colour;
            return true;
        }
        note = "no king to castle";
        return false;
    }

    // Plays one half-move; mover is set to the colour that moved.
    bool Play(const HalfMove& move, std::optional<ManColour> hint, std::optional<ManColour>& mover,
              std::string& note) {
        if (move.type == HalfMove::Type::kNull) {
            mover = hint;
            return true;
        }
        int arrival = -1;
        if (move.type == HalfMove::Type::kCastling) {
            ManColour colour = ManColour::kWhite;
            if (!Castle(move, hint, colour, note)) {
                return false;
            }
            mover = colour;
            arrival = Index({move.kingSide ? 6 : 2, colour == ManColour::kWhite ? 1 : Rows()});
        } else {
            const int from = Index(move.man.square);
            const int piece = Get(from);
            if (piece == 0) {
                note = "no man on " + SquareName(move.man.square);
                return false;
            }
            arrival = Index(move.To());
            if (arrival < 0) {
                note = SquareName(move.To()) + " is off the board";
                return false;
            }
            Set(from, 0);
            for (const SquareRef capture : move.captures) {
                if (move.enPassant) {
                    // The pawn taken stands beside the one that takes it.
                    Set(Index({capture.file, move.man.square.rank}), 0);
                } else {
                    Set(Index(capture), 0);
                }
            }
            Set(arrival, piece);
            mover = ColourAt(arrival);
        }
        for (const Effect& effect : move.effects) {
            if (!Apply(effect, arrival, note)) {
                return false;
            }
        }
        return true;
    }

    bool Change(const TwinChange& change, std::string& note) {
        switch (change.kind) {
            case TwinChangeKind::kMove: {
                const int from = Index(change.man.square);
                const int piece = Get(from);
                if (piece == 0) {
                    note = "no man on " + SquareName(change.man.square);
                    return false;
                }
                Set(from, 0);
                Set(Index(change.to), piece);
                return true;
            }
            case TwinChangeKind::kExchange: {
                const int a = Index(change.man.square);
                const int b = Index(change.other.square);
                const int pa = Get(a);
                Set(a, Get(b));
                Set(b, pa);
                return true;
            }
            case TwinChangeKind::kAdd: {
                const int piece = Letter(ColourOfLetter(change.man.colour, m_language),
                                         change.man.attrs + change.man.walk, note);
                if (piece == 0) {
                    return false;
                }
                Set(Index(change.man.square), piece);
                return true;
            }
            case TwinChangeKind::kRemove:
                Set(Index(change.man.square), 0);
                return true;
            case TwinChangeKind::kRotate:
            case TwinChangeKind::kMirror:
            case TwinChangeKind::kShift:
                Transform(change);
                return true;
            case TwinChangeKind::kPolish:
            case TwinChangeKind::kSubstitute:
                return Rename(change, note);
            case TwinChangeKind::kText:
                return true;
        }
        return true;
    }

  private:
    void Transform(const TwinChange& change) {
        const int rows = Rows();
        const int cols = Cols();
        std::vector<int> old(static_cast<size_t>(Squares()));
        for (int s = 0; s < Squares(); ++s) {
            old[static_cast<size_t>(s)] = Get(s);
            Set(s, 0);
        }
        std::optional<SquareRef> a;
        std::optional<SquareRef> b;
        if (change.kind == TwinChangeKind::kMirror) {
            a = ParseSquare(change.from);
            b = ParseSquare(change.into);
        }
        for (int s = 0; s < Squares(); ++s) {
            const int piece = old[static_cast<size_t>(s)];
            if (piece == 0) {
                continue;
            }
            const int f = s % cols;
            const int r = rows - s / cols;
            SquareRef to{f, r};
            if (change.kind == TwinChangeKind::kRotate) {
                if (change.degrees == 90) {
                    to = {rows - r, f + 1};
                } else if (change.degrees == 270) {
                    to = {r - 1, cols - f};
                } else {
                    to = {cols - 1 - f, rows + 1 - r};
                }
            } else if (change.kind == TwinChangeKind::kShift) {
                to = {f + change.to.file - change.man.square.file,
                      r + change.to.rank - change.man.square.rank};
            } else if (a && b) {
                if (a->rank == b->rank) {
                    to = {cols - 1 - f, r};
                } else if (a->file == b->file) {
                    to = {f, rows + 1 - r};
                } else if ((a->rank < b->rank) == (a->file < b->file)) {
                    // a1<-->h8: across the other long diagonal.
                    to = {rows - r, cols - f};
                } else {
                    to = {r - 1, f + 1};
                }
            }
            if (to.file < 0 || to.rank < 1) {
                continue;
            }
            Set(Index(to), piece);
        }
    }

    bool Rename(const TwinChange& change, std::string& note) {
        const std::string from = EnglishWalk(change.from, m_language);
        const std::string into = EnglishWalk(change.into, m_language);
        for (int s = 0; s < Squares(); ++s) {
            const auto man = m_dictionary.Forward(Get(s));
            if (!man) {
                continue;
            }
            int piece = 0;
            if (change.kind == TwinChangeKind::kPolish) {
                piece = m_dictionary.Inverse(Other(man->colour), man->walk);
                if (piece == 0) {
                    note = "no letter for " + man->walk + " of the other colour in this style";
                    return false;
                }
            } else if (man->walk == from) {
                piece = m_dictionary.Inverse(man->colour, into);
                if (piece == 0) {
                    note = "no letter for " + change.into + " in this style";
                    return false;
                }
            } else {
                continue;
            }
            Set(s, piece);
        }
        return true;
    }

    position::Vet& m_vet;
    const position::NotationStyle& m_style;
    const PieceDictionary& m_dictionary;
    PopeyeLanguage m_language;
};

// Who is expected to move first on a line, for castling.
std::optional<ManColour> FirstMover(const SolutionNode& node) {
    switch (node.kind) {
        case NodeKind::kKey:
        case NodeKind::kTry:
        case NodeKind::kThreat:
        case NodeKind::kContinuation:
            return ManColour::kWhite;
        case NodeKind::kSet:
        case NodeKind::kDefence:
        case NodeKind::kRefutation:
            return ManColour::kBlack;
        case NodeKind::kHelp:
            return node.dots ? ManColour::kWhite : ManColour::kBlack;
        default:
            return std::nullopt;
    }
}

}  // namespace

PieceDictionary::PieceDictionary(const position::NotationStyle& style, std::string_view dictionary) {
    const int n = style.shape.Pieces();
    m_men.resize(static_cast<size_t>(std::max(n, 0)));
    std::string key = "&&?=";
    for (int piece = 1; piece <= n; ++piece) {
        const char letter = style.KindOf(piece);
        if (letter == '\0') {
            continue;
        }
        Man man;
        key[2] = letter;
        const size_t p = dictionary.find(key);
        std::string name;
        if (p != std::string_view::npos) {
            const char colour = p + 4 < dictionary.size() ? dictionary[p + 4] : ' ';
            man.colour = colour == 'B' || colour == 'b'   ? ManColour::kBlack
                         : colour == 'N' || colour == 'n' ? ManColour::kNeutral
                                                          : ManColour::kWhite;
            const size_t from = std::min(p + 5, dictionary.size());
            size_t end = dictionary.find("&&", p + 4);
            if (end == std::string_view::npos) {
                end = dictionary.size();
            }
            if (end > from) {
                name = std::string(Trim(dictionary.substr(from, end - from)));
            }
            if (name.empty()) {
                name = std::string(1, letter);
            }
        } else {
            name = std::string(1, letter);
            man.colour = Upper(letter) == letter ? ManColour::kWhite : ManColour::kBlack;
        }
        // A name may carry attributes in front of its walk ("Kamikaze R").
        const size_t blank = name.find_last_of(' ');
        if (blank != std::string::npos) {
            name = name.substr(blank + 1);
        }
        std::transform(name.begin(), name.end(), name.begin(), Upper);
        man.walk = name;
        m_men[static_cast<size_t>(piece - 1)] = man;
    }
}

std::optional<PieceDictionary::Man> PieceDictionary::Forward(int piece) const {
    if (piece < 1 || piece > static_cast<int>(m_men.size())) {
        return std::nullopt;
    }
    return m_men[static_cast<size_t>(piece - 1)];
}

int PieceDictionary::Inverse(ManColour colour, std::string_view walk) const {
    for (size_t i = 0; i < m_men.size(); ++i) {
        if (m_men[i] && m_men[i]->colour == colour && m_men[i]->walk == walk) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

SolutionReplay::SolutionReplay(const SolutionTree& tree, const position::Vet& diagram,
                               const position::NotationStyle& style, std::string_view dictionary)
    : m_tree(tree), m_diagram(diagram), m_style(style), m_dictionary(style, dictionary) {}

const ReplayResult& SolutionReplay::TwinStart(int twin) {
    while (static_cast<int>(m_twins.size()) <= twin) {
        const int index = static_cast<int>(m_twins.size());
        const SolutionTwin& info = m_tree.twins[static_cast<size_t>(index)];
        ReplayResult result;
        if (info.continued && index > 0) {
            result = m_twins.back();
        } else {
            result.vet = m_diagram;
        }
        if (result.ok) {
            Board board(result.vet, m_style, m_dictionary, m_tree.language);
            for (const TwinChange& change : info.changes) {
                if (!board.Change(change, result.note)) {
                    result.ok = false;
                    break;
                }
            }
        }
        if (!result.ok) {
            result.stoppedAt = info.node;
        }
        m_twins.push_back(std::move(result));
    }
    return m_twins[static_cast<size_t>(twin)];
}

ReplayResult SolutionReplay::After(int node) {
    if (node < 0 || node >= static_cast<int>(m_tree.nodes.size())) {
        return ReplayResult{m_diagram, false, -1, "no such node"};
    }
    std::vector<int> path;
    for (int n = node; n >= 0 && m_tree.nodes[static_cast<size_t>(n)].kind != NodeKind::kTwin;
         n = m_tree.nodes[static_cast<size_t>(n)].parent) {
        path.push_back(n);
    }
    std::reverse(path.begin(), path.end());
    ReplayResult result = TwinStart(m_tree.nodes[static_cast<size_t>(node)].twin);
    if (!result.ok) {
        return result;
    }
    Board board(result.vet, m_style, m_dictionary, m_tree.language);
    std::optional<ManColour> last;
    const SolutionNode* previous = nullptr;
    for (int n : path) {
        const SolutionNode& current = m_tree.nodes[static_cast<size_t>(n)];
        if (current.kind == NodeKind::kUnparsed || !current.half) {
            continue;
        }
        std::optional<ManColour> hint;
        if (!previous || !last) {
            hint = FirstMover(current);
        } else if (current.kind == NodeKind::kSeries && previous->kind == NodeKind::kSeries &&
                   !current.dots) {
            hint = last;
        } else {
            hint = Other(*last);
        }
        std::optional<ManColour> mover;
        if (!board.Play(*current.half, hint, mover, result.note)) {
            result.ok = false;
            result.stoppedAt = n;
            return result;
        }
        last = mover;
        previous = &current;
    }
    return result;
}

}  // namespace engines
