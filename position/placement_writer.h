#pragma once
// The writer of the FEN piece placement: VetToFEN's text, without
// allocating, for callers that write many positions of one board.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "position/vet.h"

namespace position {

/// Longest placement a PlacementWriter can produce, with room to spare.
inline constexpr int kMaxPlacement = 2048;

/// Writes the FEN piece placement of the position plane (the text of
/// VetToFEN) into a caller's buffer. Meant for a board that changes a few
/// squares at a time: the text of each rank is kept and made again only when
/// that rank changed.
class PlacementWriter {
  public:
    /// Every rank (of a board of eight columns) may have changed.
    static constexpr uint32_t kAllRanks = 0xFF;

    explicit PlacementWriter(const BoardShape& shape);

    /// Writes the placement into out (at least kMaxPlacement characters);
    /// returns its length.
    int Write(const Vet& vet, char* out) { return Write(vet, out, kAllRanks); }

    /// The same, told by the caller which ranks (bit r for rank r, from the
    /// top) may have changed since the last call; used only on a board of 8
    /// x 8, where out may be written up to 16 characters past the placement.
    /// Other boards compare every rank with the last one written.
    int Write(const Vet& vet, char* out, uint32_t changedRanks);

    /// True for the board of 8 x 8 the hint of Write applies to; its
    /// placement never passes 71 characters.
    bool Eight() const { return m_eight; }

  private:
    // Writes the text of count cells from a rank start; returns its length.
    int Render(const int16_t* cells, int count, char* out) const;

    int m_squares;
    int m_cols;
    int m_ranks;                             // whole ranks among the squares
    bool m_eight;                            // an 8 x 8 board
    std::string m_letters;                   // letter of each value 0 .. 2n + 1, '\0' for empty
    std::array<int16_t, kCells> m_shadow{};  // cells the rank texts were made from
    std::vector<char> m_texts;               // rank r's text at r * m_stride
    std::vector<int> m_lengths;
    int m_stride;
    bool m_valid = false;
};

/// One-off form of PlacementWriter::Write.
int WritePlacement(const Vet& vet, const BoardShape& shape, char* out);

}  // namespace position
