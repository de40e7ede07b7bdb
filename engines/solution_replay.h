#pragma once
// Plays the solver's lines on the board as board editing: each half-move
// takes the man on its from-square to its arrival square, with captures,
// castling partners, en passant, rebirths and other effects. No move is
// checked for legality. Men the solver names come back as the style's
// letters through the dictionary in force.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engines/popeye_notation.h"
#include "engines/solution_tree.h"
#include "position/notation_style.h"
#include "position/vet.h"

namespace engines {

/// The style's letters as the solver names them: the piece lists' naming
/// (the first dictionary entry for a letter, else the letter itself) and its
/// inverse.
class PieceDictionary {
  public:
    PieceDictionary(const position::NotationStyle& style, std::string_view dictionary);

    /// A man as the solver knows it: colour and walk code (upper case).
    struct Man {
        ManColour colour = ManColour::kWhite;
        std::string walk;
    };
    /// How the piece of index piece (1 to n) is named; nothing for 0.
    std::optional<Man> Forward(int piece) const;
    /// The first piece index named so, 0 when the style has no letter for it.
    int Inverse(ManColour colour, std::string_view walk) const;

  private:
    std::vector<std::optional<Man>> m_men;  // by piece index - 1
};

/// The board after a node, as far as it could be played.
struct ReplayResult {
    position::Vet vet;
    /// Every half-move up to the node was played.
    bool ok = true;
    /// The node where playing stopped (-1 when ok), and why.
    int stoppedAt = -1;
    std::string note;
};

/// Plays nodes of one tree on the problem's position. Twins' starting
/// positions are kept once worked out; Reset() forgets them (after the
/// language of the tree changed).
class SolutionReplay {
  public:
    SolutionReplay(const SolutionTree& tree, const position::Vet& diagram,
                   const position::NotationStyle& style, std::string_view dictionary);

    /// The board after node (for a twin's node: the twin's position).
    ReplayResult After(int node);
    /// The twin's position: the diagram, or the twin before for a continued
    /// twin, with the twin's changes.
    const ReplayResult& TwinStart(int twin);
    void Reset() { m_twins.clear(); }
    const PieceDictionary& Dictionary() const { return m_dictionary; }

  private:
    const SolutionTree& m_tree;
    position::Vet m_diagram;
    position::NotationStyle m_style;
    PieceDictionary m_dictionary;
    std::vector<ReplayResult> m_twins;
};

}  // namespace engines
