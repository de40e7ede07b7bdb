#include "engines/solution_tree.h"

#include <utility>

#include "engines/protocol_words.h"

namespace engines {

using namespace protocol_words;

const char* NodeKindName(NodeKind kind) {
    switch (kind) {
        case NodeKind::kTwin:
            return "twin";
        case NodeKind::kSet:
            return "set";
        case NodeKind::kKey:
            return "key";
        case NodeKind::kTry:
            return "try";
        case NodeKind::kRefutation:
            return "refutation";
        case NodeKind::kThreat:
            return "threat";
        case NodeKind::kDefence:
            return "defence";
        case NodeKind::kContinuation:
            return "continuation";
        case NodeKind::kHelp:
            return "help";
        case NodeKind::kSeries:
            return "series";
        case NodeKind::kUnparsed:
            return "unparsed";
    }
    return "unparsed";
}

// One half-move of a line, with its number.
struct SolutionParser::Token {
    int number = 0;
    bool dots = false;
    bool firstOfNumber = false;
    std::string text;
    HalfMove half;
};

SolutionParser::SolutionParser(std::optional<PopeyeLanguage> language) {
    if (language) {
        m_tree.language = *language;
        m_languageKnown = true;
    }
}

void SolutionParser::Feed(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            m_pending.append(text.substr(pos));
            return;
        }
        if (m_pending.empty()) {
            Line(text.substr(pos, end - pos));
        } else {
            m_pending.append(text.substr(pos, end - pos));
            const std::string line = std::move(m_pending);
            m_pending.clear();
            Line(line);
        }
        pos = end + 1;
    }
}

void SolutionParser::Finish() {
    if (!m_pending.empty()) {
        const std::string line = std::move(m_pending);
        m_pending.clear();
        Line(line);
    }
    FlushHeader();
}

void SolutionParser::Detect(PopeyeLanguage language) {
    if (!m_languageKnown) {
        m_tree.language = language;
        m_languageKnown = true;
    }
}

void SolutionParser::Line(std::string_view raw) {
    const std::string_view line = TrimRight(raw);
    const std::string_view trimmed = TrimLeft(line);
    // The banner, again at the start of each run written to the same file.
    if (StartsWith(trimmed, "Popeye ") && trimmed.find(" v4.") != std::string_view::npos) {
        if (m_stage == Stage::kStart) {
            m_stage = Stage::kHeader;
        }
        return;
    }
    switch (m_stage) {
        case Stage::kStart:
            if (trimmed.empty()) {
                return;
            }
            m_stage = Stage::kHeader;
            [[fallthrough]];
        case Stage::kHeader:
            if (StartsWith(trimmed, "+---a")) {
                // The author and title stand above the board.
                m_header.clear();
                m_stage = Stage::kBoard;
                return;
            }
            if (!LooksLikeBody(trimmed)) {
                m_header.emplace_back(line);
                return;
            }
            FlushHeader();
            m_stage = Stage::kBody;
            break;
        case Stage::kBoard:
            if (StartsWith(trimmed, "+---a")) {
                m_stage = Stage::kBelowBoard;
            }
            return;
        case Stage::kBelowBoard:
            // The stipulation, the men's count and the conditions, up to a
            // blank line.
            if (trimmed.empty()) {
                m_stage = Stage::kBody;
            }
            return;
        case Stage::kBody:
            break;
    }
    BodyLine(line);
}

bool SolutionParser::LooksLikeBody(std::string_view trimmed) const {
    if (trimmed.empty()) {
        return false;
    }
    std::string label;
    bool continued = false;
    std::string_view rest;
    if (TwinLabel(trimmed, label, continued, rest) || trimmed == "zeroposition" || MoveNumbersLine(trimmed)) {
        return true;
    }
    for (const Words& w : kWords) {
        if (StartsWith(trimmed, w.finished) || StartsWith(trimmed, w.interrupted) ||
            StartsWith(trimmed, w.partial) || trimmed == w.but) {
            return true;
        }
    }
    size_t i = 0;
    while (i < trimmed.size() && IsDigit(trimmed[i])) {
        ++i;
    }
    return i > 0 && i < trimmed.size() && trimmed[i] == '.';
}

void SolutionParser::FlushHeader() {
    std::vector<std::string> header = std::move(m_header);
    m_header.clear();
    for (const std::string& line : header) {
        if (!TrimLeft(line).empty()) {
            Unparsed(line);
        }
    }
}

bool SolutionParser::StatusLine(std::string_view trimmed) {
    for (const Words& w : kWords) {
        if (StartsWith(trimmed, w.finished)) {
            m_tree.finished = true;
            Detect(w.language);
            return true;
        }
        if (StartsWith(trimmed, w.interrupted)) {
            m_tree.interrupted = true;
            Detect(w.language);
            return true;
        }
        if (StartsWith(trimmed, w.partial)) {
            m_tree.partial = true;
            Detect(w.language);
            return true;
        }
    }
    return false;
}

void SolutionParser::BodyLine(std::string_view line) {
    const std::string_view trimmed = TrimLeft(line);
    if (trimmed.empty()) {
        m_stack.clear();
        m_but = false;
        if (m_twinHasPlay) {
            m_blankAfterPlay = true;
        }
        return;
    }
    if (StatusLine(trimmed) || MoveNumbersLine(trimmed)) {
        return;
    }
    if (trimmed == "zeroposition") {
        m_tree.zeroPosition = true;
        return;
    }
    std::string label;
    bool continued = false;
    std::string_view rest;
    if (TwinLabel(trimmed, label, continued, rest)) {
        StartTwin(std::move(label), continued, rest, true);
        return;
    }
    for (const Words& w : kWords) {
        if (trimmed == w.but) {
            m_but = true;
            if (w.language != PopeyeLanguage::kEnglish) {
                Detect(w.language);
            }
            return;
        }
    }
    if (!MoveLine(line, line.size() - trimmed.size())) {
        Unparsed(line);
    }
}

bool SolutionParser::MoveLine(std::string_view line, size_t indent) {
    std::vector<Token> tokens;
    tokens.reserve(8);
    bool key = false;
    bool tryMark = false;
    bool threat = false;
    bool zugzwang = false;
    int number = 0;
    bool dots = false;
    bool fresh = false;
    size_t pos = indent;
    auto addHalf = [&](std::string_view text) {
        // No solver writes lines this long; replaying one would take as
        // long as its square.
        if (tokens.size() >= kMaxHalfMoves) {
            return false;
        }
        std::optional<HalfMove> half = ParseHalfMove(text);
        if (!half || number == 0) {
            return false;
        }
        Token token;
        token.number = number;
        token.dots = fresh ? dots : !dots;
        token.firstOfNumber = fresh;
        token.text = std::string(text);
        token.half = std::move(*half);
        fresh = false;
        tokens.push_back(std::move(token));
        return true;
    };
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
            ++pos;
        }
        if (pos >= line.size()) {
            break;
        }
        size_t end = line.find_first_of(" \t", pos);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        std::string_view token = line.substr(pos, end - pos);
        pos = end;
        if (key || tryMark || threat || zugzwang) {
            // Only words of the solver may follow the key's or try's mark.
            bool known = false;
            for (const Words& w : kWords) {
                if (token == w.threat || token == w.zugzwang) {
                    threat = threat || token == w.threat;
                    zugzwang = zugzwang || token == w.zugzwang;
                    Detect(w.language);
                    known = true;
                }
            }
            if (!known && !(token == "!" || token == "?")) {
                return false;
            }
            key = key || token == "!";
            tryMark = tryMark || token == "?";
            continue;
        }
        size_t digits = 0;
        while (digits < token.size() && IsDigit(token[digits])) {
            ++digits;
        }
        if (digits > 0 && digits < 6 && digits < token.size() && token[digits] == '.') {
            number = std::stoi(std::string(token.substr(0, digits)));
            token.remove_prefix(digits + 1);
            dots = StartsWith(token, "..") && token != "..";
            if (dots && token != "...") {
                token.remove_prefix(2);
            } else if (token == "...") {
                dots = true;
                token = {};
            }
            fresh = true;
            if (!token.empty() && !addHalf(token)) {
                return false;
            }
            continue;
        }
        if (token == "ep." && !tokens.empty()) {
            Token& last = tokens.back();
            last.text += " ep.";
            last.half.enPassant = true;
            continue;
        }
        if (token == "!" || token == "?") {
            if (tokens.empty()) {
                return false;
            }
            key = token == "!";
            tryMark = token == "?";
            continue;
        }
        bool word = false;
        for (const Words& w : kWords) {
            if (token == w.threat || token == w.zugzwang) {
                threat = threat || token == w.threat;
                zugzwang = zugzwang || token == w.zugzwang;
                Detect(w.language);
                word = true;
            }
        }
        if (word) {
            if (tokens.empty()) {
                return false;
            }
            continue;
        }
        if (IsMark(token) && !tokens.empty()) {
            tokens.back().text += ' ';
            tokens.back().text += token;
            continue;
        }
        if (!addHalf(token)) {
            return false;
        }
    }
    if (tokens.empty()) {
        return false;
    }
    if (tokens.size() == 1 && indent >= 3) {
        DirectLine(tokens, key, tryMark, threat, zugzwang);
    } else {
        if (key || tryMark || threat || zugzwang) {
            return false;
        }
        PlayLine(tokens);
    }
    return true;
}

void SolutionParser::DirectLine(const std::vector<Token>& tokens, bool key, bool tryMark, bool threat,
                                bool zugzwang) {
    const Token& token = tokens.front();
    const int depth = 2 * token.number - (token.dots ? 0 : 1);
    while (!m_stack.empty() &&
           m_tree.nodes[static_cast<size_t>(m_stack.back())].depth +
                   (m_tree.nodes[static_cast<size_t>(m_stack.back())].kind == NodeKind::kSet ? 1 : 0) >=
               depth) {
        m_stack.pop_back();
    }
    SolutionNode node;
    node.move = token.text;
    node.half = token.half;
    node.dots = token.dots;
    node.number = token.number;
    node.threat = threat;
    node.zugzwang = zugzwang;
    node.depth = depth;
    if (m_stack.empty()) {
        node.parent = CurrentTwinNode();
        if (token.dots || depth > 1) {
            // A defence with no key above it: set play, counted from the
            // position itself.
            node.kind = NodeKind::kSet;
            node.depth = depth - 1;
        } else {
            node.kind = tryMark ? NodeKind::kTry : NodeKind::kKey;
        }
    } else {
        const int parentIndex = m_stack.back();
        const SolutionNode& parent = m_tree.nodes[static_cast<size_t>(parentIndex)];
        node.parent = parentIndex;
        if (parent.kind == NodeKind::kSet) {
            node.kind = NodeKind::kSet;
            node.depth = depth - 1;
        } else if (parent.kind == NodeKind::kThreat ||
                   (!token.dots && parent.threat && !parent.dots && depth == parent.depth + 2)) {
            node.kind = NodeKind::kThreat;
        } else if (token.dots) {
            node.kind =
                m_but && parent.kind == NodeKind::kTry && key ? NodeKind::kRefutation : NodeKind::kDefence;
        } else {
            node.kind = NodeKind::kContinuation;
        }
    }
    m_stack.push_back(AddNode(std::move(node)));
}

void SolutionParser::PlayLine(const std::vector<Token>& tokens) {
    // A series line has one half-move to a number, but for its last.
    int groups = 0;
    bool pairs = false;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].firstOfNumber) {
            ++groups;
        } else if (i + 1 < tokens.size()) {
            pairs = true;
        }
    }
    const bool series = groups >= 2 ? !pairs : (tokens.size() == 1 && !tokens.front().dots);
    const int twinNode = CurrentTwinNode();
    if (m_blankAfterPlay && m_twinHasPlay) {
        // A second block of lines in one twin: the duplex's other half.
        m_section = 1;
    }
    m_blankAfterPlay = false;
    m_twinHasPlay = true;
    int parent = twinNode;
    const NodeKind kind = series ? NodeKind::kSeries : NodeKind::kHelp;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        int found = -1;
        const std::vector<int>& children = m_tree.nodes[static_cast<size_t>(parent)].children;
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            const SolutionNode& child = m_tree.nodes[static_cast<size_t>(*it)];
            if (child.kind == kind && child.section == m_section && child.move == token.text) {
                found = *it;
                break;
            }
        }
        if (found < 0) {
            SolutionNode node;
            node.kind = kind;
            node.parent = parent;
            node.depth = static_cast<int>(i) + 1;
            node.move = token.text;
            node.half = token.half;
            node.dots = token.dots;
            node.number = token.number;
            node.section = m_section;
            found = AddNode(std::move(node));
        }
        parent = found;
    }
}

void SolutionParser::StartTwin(std::string label, bool continued, std::string_view changes, bool labelled) {
    m_stack.clear();
    m_but = false;
    m_blankAfterPlay = false;
    m_twinHasPlay = false;
    m_section = 0;
    const std::string_view text = TrimLeft(TrimRight(changes));
    SolutionTwin twin;
    twin.label = std::move(label);
    twin.continued = continued;
    twin.labelled = labelled;
    twin.changesText = std::string(text);
    twin.changes = ParseTwinChanges(text);
    for (const TwinChange& change : twin.changes) {
        const std::string_view word = std::string_view(change.text).substr(0, change.text.find(' '));
        if (word == "Drehung" || word == "Spiegelung" || word == "Verschiebung" || word == "Farbwechsel") {
            Detect(PopeyeLanguage::kGerman);
        } else if (word == "rotation" || word == "miroir" || word == "translation" ||
                   word == "CouleurEchange") {
            Detect(PopeyeLanguage::kFrench);
        }
        // Only German names Black "s".
        if (change.man.colour == 's' || change.other.colour == 's') {
            Detect(PopeyeLanguage::kGerman);
        }
    }
    std::string move = text.empty() ? twin.label + ")" : twin.label + ") " + std::string(text);
    if (twin.continued) {
        move.insert(0, "+");
    }
    // Messages written before the first label belong to that twin.
    if (labelled && m_tree.twins.size() == 1 && !m_tree.twins.front().labelled) {
        SolutionTwin& first = m_tree.twins.front();
        bool onlyMessages = true;
        for (int child : m_tree.nodes[static_cast<size_t>(first.node)].children) {
            onlyMessages =
                onlyMessages && m_tree.nodes[static_cast<size_t>(child)].kind == NodeKind::kUnparsed;
        }
        if (onlyMessages) {
            twin.node = first.node;
            m_tree.nodes[static_cast<size_t>(first.node)].move = std::move(move);
            first = std::move(twin);
            return;
        }
    }
    SolutionNode node;
    node.kind = NodeKind::kTwin;
    node.twin = static_cast<int>(m_tree.twins.size());
    node.move = std::move(move);
    twin.node = static_cast<int>(m_tree.nodes.size());
    m_tree.nodes.push_back(std::move(node));
    m_tree.twins.push_back(std::move(twin));
}

int SolutionParser::CurrentTwinNode() {
    if (m_tree.twins.empty()) {
        StartTwin("a", false, {}, false);
    }
    return m_tree.twins.back().node;
}

int SolutionParser::AddNode(SolutionNode node) {
    node.twin = static_cast<int>(m_tree.twins.size()) - 1;
    const int index = static_cast<int>(m_tree.nodes.size());
    if (node.parent >= 0) {
        m_tree.nodes[static_cast<size_t>(node.parent)].children.push_back(index);
    }
    m_tree.nodes.push_back(std::move(node));
    return index;
}

void SolutionParser::Unparsed(std::string_view line) {
    SolutionNode node;
    node.kind = NodeKind::kUnparsed;
    node.parent = CurrentTwinNode();
    node.move = std::string(TrimLeft(TrimRight(line)));
    AddNode(std::move(node));
}

SolutionTree ParseSolution(std::string_view text, std::optional<PopeyeLanguage> language) {
    SolutionParser parser(language);
    parser.Feed(text);
    parser.Finish();
    return parser.Take();
}

}  // namespace engines
