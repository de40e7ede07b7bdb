#pragma once
// The solver's protocol read into a tree: twins, set play, keys and tries
// with their threats, defences and continuations, refutations, help and
// series lines. The reader takes the protocol piece by piece as the solver
// writes it; a line it does not understand becomes a node of its own.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engines/popeye_notation.h"

namespace engines {

/// What a node of the tree stands for.
enum class NodeKind {
    kTwin,          ///< A twin's position (the root of its lines).
    kSet,           ///< Set play, both sides' moves.
    kKey,           ///< The key (!).
    kTry,           ///< A try (?).
    kRefutation,    ///< What refutes a try (but ... !).
    kThreat,        ///< A half-move of a threat line.
    kDefence,       ///< A defence.
    kContinuation,  ///< The attacker's answer to a defence.
    kHelp,          ///< A half-move of a help line.
    kSeries,        ///< A half-move of a series line.
    kUnparsed,      ///< A line the reader did not understand, kept as written.
};

/// The word the command line prints for a kind ("key", "threat" ...).
const char* NodeKindName(NodeKind kind);

/// One node: a half-move with what follows it.
struct SolutionNode {
    NodeKind kind = NodeKind::kUnparsed;
    int parent = -1;  ///< -1 for a twin's node.
    int twin = 0;     ///< Index of its twin.
    /// Half-moves from the twin's position along the path (0 for the twin).
    int depth = 0;
    /// The half-move as written, without its number, marks kept ("Qg1-g6 +");
    /// for the twin its label and changes; for an unparsed line the line.
    std::string move;
    std::optional<HalfMove> half;
    /// The move number it was written under (0 for none).
    int number = 0;
    /// Written after "N...": the second side's move of its number.
    bool dots = false;
    bool threat = false;    ///< "threat:" follows it.
    bool zugzwang = false;  ///< "zugzwang." follows it.
    /// 1 for the lines of the second half of a duplex.
    int section = 0;
    std::vector<int> children;
};

/// A twin: its label, whether it continues the twin before, its changes.
struct SolutionTwin {
    std::string label;
    bool continued = false;
    bool labelled = false;
    std::string changesText;
    std::vector<TwinChange> changes;
    int node = -1;  ///< Its kTwin node.
};

/// The whole protocol as far as read.
struct SolutionTree {
    std::vector<SolutionTwin> twins;
    std::vector<SolutionNode> nodes;
    bool zeroPosition = false;  ///< "zeroposition" was announced.
    bool finished = false;      ///< "solution finished."
    bool partial = false;       ///< "Partial solution"
    bool interrupted = false;   ///< "solving interrupted."
    PopeyeLanguage language = PopeyeLanguage::kEnglish;
};

/// Reads a protocol, line by line, as it grows.
class SolutionParser {
  public:
    /// language: the language the input was written in, when the caller
    /// knows it; otherwise the protocol's keywords tell it.
    explicit SolutionParser(std::optional<PopeyeLanguage> language = std::nullopt);

    /// Takes more of the protocol; complete lines are read at once, a last
    /// unfinished line waits for the rest.
    void Feed(std::string_view text);
    /// The protocol has ended: a last unfinished line is read too.
    void Finish();
    const SolutionTree& Tree() const { return m_tree; }
    /// Hands the tree over; the parser is left empty.
    SolutionTree Take() { return std::move(m_tree); }

  private:
    enum class Stage { kStart, kHeader, kBoard, kBelowBoard, kBody };
    struct Token;

    void Line(std::string_view line);
    void BodyLine(std::string_view line);
    bool LooksLikeBody(std::string_view trimmed) const;
    void FlushHeader();
    bool StatusLine(std::string_view trimmed);
    void Detect(PopeyeLanguage language);
    bool MoveLine(std::string_view line, size_t indent);
    void DirectLine(const std::vector<Token>& tokens, bool key, bool tryMark, bool threat, bool zugzwang);
    void PlayLine(const std::vector<Token>& tokens);
    void StartTwin(std::string label, bool continued, std::string_view changes, bool labelled);
    int CurrentTwinNode();
    int AddNode(SolutionNode node);
    void Unparsed(std::string_view line);

    SolutionTree m_tree;
    bool m_languageKnown = false;
    Stage m_stage = Stage::kStart;
    std::string m_pending;
    std::vector<std::string> m_header;
    /// Direct play: the open nodes by depth, after the last blank line.
    std::vector<int> m_stack;
    bool m_but = false;
    bool m_blankAfterPlay = false;
    bool m_twinHasPlay = false;
    int m_section = 0;
};

/// Reads a whole protocol.
SolutionTree ParseSolution(std::string_view text, std::optional<PopeyeLanguage> language = std::nullopt);

}  // namespace engines
