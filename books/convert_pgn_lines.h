#pragma once
// The line-by-line PGN converter: tags as records, the movetext replayed
// move by move, written to a Conversion or to a buffer of records. Not for
// use outside the converters.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "books/board_keyer.h"
#include "books/conversion.h"
#include "position/placement_writer.h"
#include "position/play_move.h"

namespace books::detail {

inline bool StartsWithUpper(std::string_view text, std::string_view upperPrefix) {
    if (text.size() < upperPrefix.size()) {
        return false;
    }
    for (size_t i = 0; i < upperPrefix.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != upperPrefix[i]) {
            return false;
        }
    }
    return true;
}

// True when the text holds a blank followed by "b" or "B".
inline bool BlackToMove(std::string_view fen) {
    for (size_t i = 0; i + 1 < fen.size(); ++i) {
        if (fen[i] == ' ' && (fen[i + 1] == 'b' || fen[i + 1] == 'B')) {
            return true;
        }
    }
    return false;
}

// Movetext characters that are neither brackets nor token ends.
inline constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    plain.fill(true);
    for (const char c : {' ', '.', '(', ')', '{', '}'}) {
        plain[static_cast<unsigned char>(c)] = false;
    }
    return plain;
}();

inline bool IsPlain(char ch) {
    return kPlain[static_cast<unsigned char>(ch)];
}

// The movetext half of the PGN converter: walks tokens, replays them and
// writes one position record per move applied. Nothing here allocates once
// its buffers have grown to the longest token.
template <typename Out>
class Replay {
  public:
    Replay(Out& conv, const ConvertInput& in, position::Vet& vet)
        : m_conv(conv),
          m_style{in.style.Shape(), in.style.ENGLISHNOTATION},
          m_startPos(in.style.STARTPOS),
          m_vet(vet),
          m_placement(m_style.shape),
          m_keyer(m_style.shape) {
        m_token.reserve(64);
    }

    // Side to move; none before the game's first position.
    std::optional<position::Side> side;

    void SetUp(std::string_view fen) {
        if (m_watchSpill) {
            Watched(fen);
        } else {
            position::Build2(m_vet, position::kPosition, fen, m_style.shape);
        }
        m_changed = position::PlacementWriter::kAllRanks;
        touched = true;
    }

    // True once the board was set up.
    bool touched = false;
    // True when a placement ran past the board's squares: the cells beyond
    // them, which a board of its own cannot know, were written.
    bool spilled = false;

    // Watches for placements running past the board's squares.
    void WatchSpill() { m_watchSpill = true; }

    // One movetext line (trimmed, one blank appended).
    bool Line(std::string_view line) {
        const char* p = line.data();
        const char* const end = p + line.size();
        while (p < end) {
            const char ch = *p;
            if (IsPlain(ch)) {
                // A run of token characters is taken at once.
                const char* q = p + 1;
                while (q < end && IsPlain(*q)) {
                    ++q;
                }
                if (m_depth < 1) {
                    m_token.append(p, static_cast<size_t>(q - p));
                    // A stray closing bracket leaves no lasting harm.
                    m_depth = 0;
                }
                p = q;
                continue;
            }
            if (ch == '(' || ch == '{') {
                ++m_depth;
            } else if (ch == ')' || ch == '}') {
                --m_depth;
            } else if (!EndToken()) {
                return false;
            }
            ++p;
        }
        return true;
    }

    // A new game starts: a bracket left open by the last game's text does
    // not swallow the moves of every later game.
    void NewGame() {
        m_depth = 0;
        m_token.clear();
    }

  private:
    bool EndToken() {
        // Move numbers and results are skipped; castling with zeros is not.
        if (!m_token.empty() && m_token[0] >= '1' && m_token[0] <= '9') {
            m_token.clear();
            return true;
        }
        if (!side) {
            if (!m_conv.Put(kEntry, m_startPos)) {
                return false;
            }
            side = position::Side::kWhite;
            SetUp(m_startPos);
        }
        if (!m_token.empty()) {
            const position::PlayResult r = position::PlayMove(m_vet, m_style, *side, m_token);
            m_changed |= ChangedRanks(r);
            if (r.Applied() && !PutPosition()) {
                return false;
            }
        }
        m_token.clear();
        return true;
    }

    // Ranks a move may have changed: those of its two squares, and for a
    // pawn or a promotion the ranks beside the destination (an en-passant
    // capture empties the square behind it). Anything else: every rank.
    uint32_t ChangedRanks(const position::PlayResult& r) const {
        if (r.status != position::PlayStatus::kMoved || !m_placement.Eight()) {
            return position::PlacementWriter::kAllRanks;
        }
        const int to = r.to / 8;
        uint32_t ranks = (1u << (r.from / 8)) | (1u << to);
        const char kind = m_style.KindOf(m_vet(position::kPosition, r.to));
        if (kind == 'P' || kind == 'p' || std::find(m_token.begin(), m_token.end(), '=') != m_token.end()) {
            ranks |= (to > 0 ? 1u << (to - 1) : 0u) | (to < 7 ? 1u << (to + 1) : 0u);
        }
        return ranks;
    }

    // Writes the position record of the board after a move.
    bool PutPosition() {
        const char* suffix = *side == position::Side::kBlack ? " w - - 0 0" : " b - - 0 0";
        side = position::Other(*side);
        const uint32_t changed = m_changed;
        m_changed = 0;
        if (!m_placement.Eight()) {
            int len = m_placement.Write(m_vet, m_text.data(), changed);
            std::memcpy(m_text.data() + len, suffix, 10);
            len += 10;
            return m_conv.Put(kEntry, std::string_view(m_text.data(), static_cast<size_t>(len)));
        }
        // Written straight into the record: the placement of 8 x 8 squares
        // and the side always fit.
        char* room = m_conv.Reserve(kEntry);
        if (room == nullptr) {
            return false;
        }
        char* text = room + 2 + kFieldLength;
        const int len = m_placement.Write(m_vet, text, changed);
        std::memcpy(text + len, suffix, 10);
        std::memset(text + len + 10, ' ', static_cast<size_t>(kTextLength - len - 10));
        m_conv.Commit();
        if constexpr (requires(Out & o) { o.KnownKey(uint64_t{}); }) {
            // Worked out here, on a worker of their own, the keys spare the
            // index the reading of the text.
            if (m_keyer.Usable()) {
                m_conv.KnownKey(m_keyer.Key(m_vet));
            }
        }
        return true;
    }

    // Sets up the board and notes whether the placement reached the cell
    // after the last square (the cells are written in order).
    void Watched(std::string_view fen) {
        const int squares = m_style.shape.Squares();
        if (squares >= position::kCells) {
            position::Build2(m_vet, position::kPosition, fen, m_style.shape);
            return;
        }
        int16_t& beyond = m_vet(position::kPosition, squares);
        const int16_t kept = beyond;
        constexpr int16_t kMark = INT16_MIN;
        beyond = kMark;
        position::Build2(m_vet, position::kPosition, fen, m_style.shape);
        if (beyond == kMark) {
            beyond = kept;
        } else {
            spilled = true;
        }
    }

    Out& m_conv;
    bool m_watchSpill = false;
    position::NotationStyle m_style;
    const std::string& m_startPos;
    position::Vet& m_vet;
    position::PlacementWriter m_placement;
    BoardKeyer m_keyer;
    uint32_t m_changed = position::PlacementWriter::kAllRanks;  // ranks changed since the last record
    std::string m_token;
    int64_t m_depth = 0;
    std::array<char, position::kMaxPlacement + 16> m_text{};
};

// Where the PGN converter stands between lines.
enum class PgnState {
    kTags,        // tags or nothing yet
    kAfterText,   // after movetext, or a blank line following tags: the next tag starts a new game
    kFenPending,  // a FEN tag was read; its position is written at the next blank line
};

// The first character of a line as PrepareLine leaves it.
inline char LeadOf(std::string_view raw) {
    const std::string_view t = settings::Trim(raw);
    return t.empty() ? ' ' : t[0];
}

inline bool IsGap(char c) {
    return c == ' ' || c == ';' || c == '%' || c == '*';
}

// The line-by-line half of the PGN converter, writing to out: the records
// of the book itself (Conversion) or those of a stretch of it (ChunkOut).
template <typename Out>
class PgnLines {
  public:
    PgnLines(Out& out, const ConvertInput& in, position::Vet& vet, PgnState state, bool tagSeen)
        : replay(out, in, vet),
          m_out(out),
          m_startPos(in.style.STARTPOS),
          m_pending(m_startPos),
          m_state(state),
          m_tagSeen(tagSeen) {}

    Replay<Out> replay;

    PgnState State() const { return m_state; }

    // Takes one line; false when writing failed and the conversion stops.
    bool Take(std::string_view raw) {
        PrepareLine(raw, m_line);
        const std::string& line = m_line;
        const char c = line[0];
        if (IsGap(c)) {
            if (m_state == PgnState::kFenPending) {
                if (!m_out.Put(kEntry, m_pending)) {
                    return false;
                }
                m_pending = m_startPos;
            } else {
                replay.side.reset();
            }
            m_state = m_tagSeen ? PgnState::kAfterText : PgnState::kTags;
        } else if (c == '[') {
            m_tagSeen = true;
            if (m_state == PgnState::kAfterText) {
                m_out.NewGame();
                replay.NewGame();
            }
            if (!StartsWithUpper(line, "[FEN")) {
                if (!m_out.Put(kTag, line)) {
                    return false;
                }
                if (m_state != PgnState::kFenPending) {
                    m_state = PgnState::kTags;
                }
            } else {
                std::string_view fen = settings::Trim(std::string_view(line).substr(4));
                if (const size_t q = fen.find('"'); q != std::string_view::npos) {
                    fen.remove_prefix(q + 1);
                    if (const size_t q2 = fen.find('"'); q2 != std::string_view::npos) {
                        fen = fen.substr(0, q2);
                    }
                }
                m_pending.assign(fen);
                m_state = PgnState::kFenPending;
                replay.side = BlackToMove(m_pending) ? position::Side::kBlack : position::Side::kWhite;
                replay.SetUp(m_pending);
            }
        } else {
            m_state = m_tagSeen ? PgnState::kAfterText : PgnState::kTags;
            if (!replay.Line(line)) {
                return false;
            }
        }
        return true;
    }

  private:
    Out& m_out;
    const std::string& m_startPos;
    std::string m_pending;
    PgnState m_state;
    bool m_tagSeen;
    std::string m_line;
};

}  // namespace books::detail
