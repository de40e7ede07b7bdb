#pragma once
// Matching placements: a position typed or taken from the board against the
// placements of a book's records, exactly, partially (its men only),
// mirrored, with colours reversed, or shifted as a group.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "position/vet.h"

namespace books {

/// One man of a placement: its row and column from the top-left square and
/// its piece code (the letter's place in the pieces list, from 1).
struct Man {
    int row = 0;
    int col = 0;
    /// row x columns + col.
    int square = 0;
    uint8_t code = 0;
};

/// A placement on the book's board: one code per square (0 empty), row by
/// row from the top-left square, and its men in that order.
struct Placement {
    std::vector<uint8_t> cells;
    std::vector<Man> men;
    /// Men that fall after the board's last square (a text for a larger
    /// board); they are not part of the placement.
    int outside = 0;
};

/// Reads placements of one board shape quickly: the first field of a FEN
/// text (after a tally prefix such as "(16x16)"), a digit empting as many
/// squares, a letter of the pieces list placing that man, other characters
/// ignored, the squares after the text empty.
class PlacementReader {
  public:
    explicit PlacementReader(const position::BoardShape& shape);

    /// Reads the placement of text into out (cells resized to the board).
    void Read(std::string_view text, Placement& out) const;
    /// The same, leaving out.men empty (faster, for comparing cells only).
    void ReadCells(std::string_view text, Placement& out) const;

    const position::BoardShape& Shape() const { return m_shape; }
    int Squares() const { return m_squares; }

  private:
    position::BoardShape m_shape;
    int m_squares = 0;
    uint8_t m_man[256] = {};   // the piece code of a letter, else 0
    uint8_t m_step[256] = {};  // squares a character takes: 1 a letter, d a digit d
};

/// A 64-bit hash of the board's cells: equal placements hash alike,
/// whatever text wrote them.
uint64_t PlacementHash(const std::vector<uint8_t>& cells);

/// What counts as a match (the find options).
struct MatchOptions {
    bool partial = false;  ///< the given men on their squares, other squares free
    bool mirror = false;   ///< also mirrored a-h (and up-down, diagonals on a square board)
    bool shift = false;    ///< the men as a group shifted by whole squares
    bool colours = false;  ///< also with colours swapped and ranks reversed
};

/// One form of the searched position: the transformation's name ("exact",
/// "mirror", "colours+updown", ...) and the transformed placement.
struct Variant {
    std::string how;
    Placement placement;
};

/// The forms of the searched position to test, the plain one first, then
/// its mirror images, then those with colours reversed. Forms whose letters
/// have no counterpart of the other colour in the pieces list are left out.
std::vector<Variant> MakeVariants(const Placement& query, const PlacementReader& reader, bool mirror,
                                  bool colours);

/// Whether the record's placement matches the variant in place (no shift).
bool MatchesInPlace(const Placement& record, const Placement& variant, bool partial, int squares);

/// Whether the variant's men, shifted as a group by a non-zero offset of
/// whole squares, match the record; the first offset in the record's square
/// order is returned in rows down and columns right.
bool MatchesShifted(const Placement& record, const Placement& variant, bool partial, int rows, int cols,
                    int& down, int& right);

/// How a shift is written: "shift+2,-1" for two files right, one rank down.
std::string ShiftText(int down, int right);

/// Tests one record placement against the variants: the first variant that
/// matches in place, otherwise (with shift) the first that matches shifted.
/// Returns false when none does; how receives the name of the match.
bool MatchPlacement(const Placement& record, const std::vector<Variant>& variants,
                    const MatchOptions& options, const PlacementReader& reader, std::string& how);

}  // namespace books
