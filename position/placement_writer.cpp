#include "position/placement_writer.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace position {

namespace {

// For each pattern of occupied squares of a rank of eight (bit s for square
// s): the rank's text with its digits and "/", its length, and where each
// square's letter goes (15, a spare place, for an empty square). A rank of
// eight never holds a run of nine empty squares, so no run is cut.
struct Pattern {
    std::array<char, 16> text{};
    std::array<uint8_t, 8> at{};
    int length = 0;
};

constexpr std::array<Pattern, 256> kPatterns = [] {
    std::array<Pattern, 256> patterns{};
    for (int mask = 0; mask < 256; ++mask) {
        Pattern& p = patterns[static_cast<size_t>(mask)];
        int len = 0;
        int run = 0;
        for (int s = 0; s < 8; ++s) {
            p.at[static_cast<size_t>(s)] = 15;
            if (((mask >> s) & 1) == 0) {
                ++run;
                continue;
            }
            if (run > 0) {
                p.text[static_cast<size_t>(len++)] = static_cast<char>('0' + run);
                run = 0;
            }
            p.at[static_cast<size_t>(s)] = static_cast<uint8_t>(len++);
        }
        if (run > 0) {
            p.text[static_cast<size_t>(len++)] = static_cast<char>('0' + run);
        }
        p.text[static_cast<size_t>(len++)] = '/';
        p.length = len;
    }
    return patterns;
}();

// A word whose first byte in memory is the lowest byte of value.
inline uint64_t LittleEndianWord(uint64_t value) {
    if constexpr (std::endian::native == std::endian::big) {
        return __builtin_bswap64(value);
    }
    return value;
}

}  // namespace

PlacementWriter::PlacementWriter(const BoardShape& shape)
    : m_squares(std::min(shape.Squares(), kCells)),
      m_cols(std::max(shape.cols, 1)),
      m_ranks(m_squares / m_cols),
      m_eight(m_squares == 64 && m_cols == 8),
      m_stride(2 * m_cols + 2) {
    // Cell codes (piece + (n + 1) * colour) reduce to their piece; anything
    // else outside 1..n is an empty square.
    const int n = shape.Pieces();
    m_letters.assign(static_cast<size_t>(2 * n + 2), '\0');
    for (int v = 1; v < static_cast<int>(m_letters.size()); ++v) {
        const int p = PieceOf(v, n);
        if (p >= 1 && p <= n) {
            m_letters[static_cast<size_t>(v)] = shape.piecesList[static_cast<size_t>(p - 1)];
        }
    }
    m_texts.resize(static_cast<size_t>(m_ranks) * static_cast<size_t>(m_stride));
    m_lengths.resize(static_cast<size_t>(m_ranks));
}

int PlacementWriter::Render(const int16_t* cells, int count, char* out) const {
    const char* letters = m_letters.data();
    const int limit = static_cast<int>(m_letters.size());
    int len = 0;
    int col = 0;
    int run = 0;
    for (int s = 0; s < count; ++s) {
        const int v = cells[s];
        const char letter = v > 0 && v < limit ? letters[v] : '\0';
        if (letter == '\0') {
            ++col;
            ++run;
            if (col >= m_cols) {
                // A run never passes 9: at 9 inside a rank it is cut to "8".
                out[len++] = static_cast<char>('0' + run);
                out[len++] = '/';
                run = 0;
                col = 0;
            }
            if (run > 8) {
                out[len++] = '8';
                run = 1;
            }
        } else {
            if (run > 0) {
                out[len++] = static_cast<char>('0' + run);
                run = 0;
            }
            out[len++] = letter;
            ++col;
            if (col >= m_cols) {
                out[len++] = '/';
                col = 0;
            }
        }
    }
    return len;
}

int PlacementWriter::Write(const Vet& vet, char* out, uint32_t changedRanks) {
    const int16_t* cells = vet.cells[kPosition].data();
    int len = 0;
    if (m_eight) {
        // Members are read once: the stores into out could touch them for
        // all the compiler knows.
        const char* letters = m_letters.data();
        const unsigned limit = static_cast<unsigned>(m_letters.size());
        const Pattern* patterns = kPatterns.data();
        char* texts = m_texts.data();
        int lengths[8];
        std::memcpy(lengths, m_lengths.data(), sizeof lengths);
        // Of the ranks the caller names, those whose cells differ from the
        // ones their text was made from (a pawn's move names ranks it may
        // not have touched), found without a branch per rank.
        int16_t* shadow = m_shadow.data();
        uint32_t differ = 0;
        for (int r = 0; r < 8; ++r) {
            uint64_t now[2];
            uint64_t then[2];
            std::memcpy(now, cells + 8 * r, 16);
            std::memcpy(then, shadow + 8 * r, 16);
            differ |= static_cast<uint32_t>(((now[0] ^ then[0]) | (now[1] ^ then[1])) != 0) << r;
        }
        if (!m_valid) {
            // No text made yet: every rank, whatever the cells hold.
            changedRanks = kAllRanks;
            differ = kAllRanks;
            m_valid = true;
        }
        // The changed ranks are made again first, then every rank is copied
        // out: no branch per rank for the processor to guess wrong.
        for (uint32_t todo = changedRanks & differ; todo != 0; todo &= todo - 1) {
            const int r = std::countr_zero(todo);
            std::memcpy(shadow + 8 * r, cells + 8 * r, 16);
            // The pattern of the occupied squares gives the digits; the
            // letters go into their places. No step waits on another.
            const int16_t* rank = cells + 8 * r;
            char letter[8];
            unsigned mask = 0;
#pragma GCC unroll 8
            for (int s = 0; s < 8; ++s) {
                const unsigned v = static_cast<uint16_t>(rank[s]);
                letter[s] = v < limit ? letters[v] : '\0';
                mask |= static_cast<unsigned>(letter[s] != '\0') << s;
            }
            const Pattern& p = patterns[mask];
            // The text is put together in two words, not byte by byte in
            // memory: reading back bytes just stored one at a time stalls
            // the processor. Letters never stand past the eighth place; an
            // empty square has no letter to place.
            uint64_t words[2];
            std::memcpy(words, p.text.data(), 16);
            uint64_t low = 0;
#pragma GCC unroll 8
            for (int s = 0; s < 8; ++s) {
                low |= uint64_t{static_cast<unsigned char>(letter[s])}
                       << (8 * (p.at[static_cast<size_t>(s)] & 7));
            }
            words[0] |= LittleEndianWord(low);
            std::memcpy(texts + 18 * r, words, 16);
            lengths[r] = p.length;
        }
#pragma GCC unroll 8
        for (int r = 0; r < 8; ++r) {
            // A rank's text is at most nine characters; the rest of the
            // sixteen is overwritten by what follows. Copied word by word, as
            // it was stored.
            const char* kept = texts + 18 * r;
            std::memcpy(out + len, kept, 8);
            std::memcpy(out + len + 8, kept + 8, 8);
            len += lengths[r];
        }
        std::memcpy(m_lengths.data(), lengths, sizeof lengths);
        return len - 1;
    }
    // Every rank starts afresh (no run of empty squares crosses a rank's
    // end), so ranks can be written one by one.
    for (int r = 0; r < m_ranks; ++r) {
        const int first = r * m_cols;
        char* text = m_texts.data() + static_cast<size_t>(r) * static_cast<size_t>(m_stride);
        int& length = m_lengths[static_cast<size_t>(r)];
        if (!m_valid || std::memcmp(cells + first, m_shadow.data() + first,
                                    static_cast<size_t>(m_cols) * sizeof(int16_t)) != 0) {
            std::copy(cells + first, cells + first + m_cols, m_shadow.data() + first);
            length = Render(cells + first, m_cols, text);
        }
        std::memcpy(out + len, text, static_cast<size_t>(length));
        len += length;
    }
    m_valid = true;
    // A last part rank (a board cut at the vector's end) is written directly.
    len += Render(cells + m_ranks * m_cols, m_squares - m_ranks * m_cols, out + len);
    if (len > 0 && out[len - 1] == '/') {
        --len;
    }
    return len;
}

int WritePlacement(const Vet& vet, const BoardShape& shape, char* out) {
    return PlacementWriter(shape).Write(vet, out);
}

}  // namespace position
