// The hash of a placement and the index key of a board: worked out on the
// board itself as a conversion replays its games, they must equal what the
// index reads back from the placement text written of the same board.
#include <algorithm>
#include <bit>
#include <cstring>

#include "books/board_keyer.h"

namespace books {

uint64_t PlacementHash(const std::vector<uint8_t>& cells) {
    return PlacementHash(cells.data(), cells.size());
}

namespace {

constexpr uint64_t kHashMul = 0x9E3779B97F4A7C15ULL;

// Eight squares at a time, without a branch on what they hold; w holds the
// first of them in its lowest byte.
inline uint64_t HashStart(size_t count) {
    return 0xC4CEB9FE1A85EC53ULL ^ count;
}
inline uint64_t HashStep(uint64_t h, uint64_t w) {
    h = (h ^ w) * kHashMul;
    return h ^ (h >> 32);
}
inline uint64_t HashEnd(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    return h ^ (h >> 29);
}

// Eight bytes as a word whose lowest byte is the first.
inline uint64_t LoadLow(const uint8_t* bytes, size_t count) {
    uint8_t b[8] = {};
    std::memcpy(b, bytes, count);
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t w;
        std::memcpy(&w, b, 8);
        return w;
    }
    uint64_t w = 0;
    for (int k = 7; k >= 0; --k) {
        w = w << 8 | b[k];
    }
    return w;
}

}  // namespace

uint64_t PlacementHash(const uint8_t* cells, size_t count) {
    uint64_t h = HashStart(count);
    size_t s = 0;
    for (; s + 8 <= count; s += 8) {
        h = HashStep(h, LoadLow(cells + s, 8));
    }
    if (s < count) {
        h = HashStep(h, LoadLow(cells + s, count - s));
    }
    return HashEnd(h);
}

BoardKeyer::BoardKeyer(const position::BoardShape& shape)
    : m_squares(std::min(shape.Squares(), position::kMaxSquares)) {
    // The cell values the placement writer gives a letter, and the code the
    // reader gives that letter back.
    const PlacementReader reader(shape);
    const int n = shape.Pieces();
    m_code.assign(static_cast<size_t>(2 * n + 2), 0);
    m_countLow.assign(m_code.size(), 0);
    m_countHigh.assign(m_code.size(), 0);
    for (int v = 1; v < static_cast<int>(m_code.size()); ++v) {
        const int p = position::PieceOf(v, n);
        if (p < 1 || p > n) {
            continue;
        }
        const char letter = shape.piecesList[static_cast<size_t>(p - 1)];
        const auto c = static_cast<unsigned char>(letter);
        if (letter == '\0') {
            continue;  // written as nothing: an empty square
        }
        if (reader.StepOf(letter) != 1 || reader.ManOf(letter) == 0 || letter == ' ' || letter == '/' ||
            letter == '(' || c >= 0x80) {
            m_usable = false;
        }
        const uint8_t man = reader.ManOf(letter);
        m_code[static_cast<size_t>(v)] = man;
        if (man != 0) {
            const int slot = (man - 1) % kMaterialSlots;
            m_countLow[static_cast<size_t>(v)] = slot < 8 ? uint64_t{1} << (8 * slot) : 0;
            m_countHigh[static_cast<size_t>(v)] = slot < 8 ? 0 : uint64_t{1} << (8 * (slot - 8));
        }
    }
    // Byte counters would overflow past 255 squares.
    m_usable = m_usable && m_squares < 256;
    // A board of 8 x 8 whose cell values are their own codes (no letter
    // twice) has a quicker way.
    m_eight = m_usable && m_squares == 64 && shape.cols == 8 && n < 256;
    // Every byte has an entry: the bytes of values out of range are looked
    // up before they are found out.
    m_field.assign(256, 0);
    m_fieldMax = n;
    for (int v = 1; m_eight && v <= n; ++v) {
        m_eight = m_code[static_cast<size_t>(v)] == v;
        m_field[static_cast<size_t>(v)] = uint64_t{1} << (5 * ((v - 1) % kMaterialSlots));
    }
    // Codes of four bits (the men of chess) are looked up two at a time.
    if (m_eight && n < 16) {
        m_pairs.assign(256, 0);
        for (size_t a = 0; a < 16; ++a) {
            for (size_t b = 0; b < 16; ++b) {
                m_pairs[a | b << 4] = m_field[a] + m_field[b];
            }
        }
    }
}

bool BoardKeyer::KeyOfEight(const int16_t* cells, uint64_t& key) const {
    if constexpr (std::endian::native != std::endian::little) {
        return false;  // the cells are read four to a word, lowest first
    }
    // Every value must be a code (0 to n); each is narrowed to its byte
    // without a branch, eight squares making a word of the hash.
    constexpr uint64_t kLanes = 0x0001000100010001ULL;
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const uint64_t bias = kLanes * static_cast<uint64_t>(0x7FFF - m_fieldMax);
    const uint64_t* field = m_field.data();
    const uint64_t* pairs = m_pairs.empty() ? nullptr : m_pairs.data();
    uint64_t over = 0;
    uint64_t h = HashStart(64);
    uint64_t menBytes = 0;  // a byte per word: its squares holding a man
    // Five bits a material slot: room for 31 men of a kind (a board of more
    // of a kind is counted the slow way).
    uint64_t fields = 0;
    uint64_t fieldsOdd = 0;
    for (int i = 0; i < 8; ++i) {
        uint64_t x[2];
        std::memcpy(x, cells + 8 * i, sizeof x);
        uint64_t w = 0;
        for (int half = 0; half < 2; ++half) {
            // Bit 15 of a lane: a negative value, or one above n.
            over |= x[half] | (x[half] + bias);
            uint64_t y = (x[half] | (x[half] >> 8)) & 0x0000FFFF0000FFFFULL;
            y = (y | (y >> 16)) & 0xFFFFFFFFULL;
            w |= y << (32 * half);
        }
        h = HashStep(h, w);
        const uint64_t occupied = ((((w & kLow7) + kLow7) | w) & ~kLow7) >> 7;
        menBytes += occupied;
        // Two sums, so that each addition need not wait for the last.
        if (pairs != nullptr) {
            // Byte 2k of p: square 2k's code, square 2k + 1's above it
            // (codes of more than four bits are found out above).
            const uint64_t p = w | (w >> 4);
            fields += pairs[p & 0xFF] + pairs[(p >> 32) & 0xFF];
            fieldsOdd += pairs[(p >> 16) & 0xFF] + pairs[(p >> 48) & 0xFF];
        } else {
            fields +=
                field[w & 0xFF] + field[(w >> 16) & 0xFF] + field[(w >> 32) & 0xFF] + field[(w >> 48) & 0xFF];
            fieldsOdd +=
                field[(w >> 8) & 0xFF] + field[(w >> 24) & 0xFF] + field[(w >> 40) & 0xFF] + field[w >> 56];
        }
    }
    if ((over & (kLanes << 15)) != 0) {
        return false;
    }
    fields += fieldsOdd;
    int counts[kMaterialSlots];
    int counted = 0;
#pragma GCC unroll 12
    for (int slot = 0; slot < kMaterialSlots; ++slot) {
        counts[slot] = static_cast<int>((fields >> (5 * slot)) & 31);
        counted += counts[slot];
    }
    // A slot that passed 31 men lost 32 of them (its carry, if any, adds
    // one to the next): the counts then fall short of the men.
    const auto men = static_cast<int>((menBytes * 0x0101010101010101ULL) >> 56);
    if (counted != men) {
        return false;
    }
    key = (HashEnd(h) >> 32 << 32) | PackMaterial(counts);
    return true;
}

uint64_t BoardKeyer::Key(const position::Vet& vet) const {
    const int16_t* cells = vet.cells[position::kPosition].data();
    if (uint64_t key = 0; m_eight && KeyOfEight(cells, key)) {
        return key;
    }
    const uint8_t* code = m_code.data();
    const uint64_t* countLow = m_countLow.data();
    const uint64_t* countHigh = m_countHigh.data();
    const auto limit = static_cast<unsigned>(m_code.size());
    std::array<uint8_t, position::kMaxSquares> bytes;
    // A byte a material slot, as the reader counts (no board this counts
    // has 256 squares); no branch on what a square holds.
    uint64_t low = 0;
    uint64_t high = 0;
    for (int s = 0; s < m_squares; ++s) {
        const unsigned raw = static_cast<uint16_t>(cells[s]);
        const unsigned v = raw < limit ? raw : 0;
        bytes[static_cast<size_t>(s)] = code[v];
        low += countLow[v];
        high += countHigh[v];
    }
    int counts[kMaterialSlots];
    for (int slot = 0; slot < kMaterialSlots; ++slot) {
        counts[slot] = static_cast<int>(((slot < 8 ? low >> (8 * slot) : high >> (8 * (slot - 8)))) & 0xFF);
    }
    const uint64_t hash = PlacementHash(bytes.data(), static_cast<size_t>(m_squares));
    return (hash >> 32 << 32) | PackMaterial(counts);
}

}  // namespace books
