#pragma once
// Matching placements: a position typed or taken from the board against the
// placements of a book's records, exactly, partially (its men only),
// mirrored, with colours reversed, or shifted as a group.

#include <array>
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
    /// ReadCells, also giving the placement's material (MaterialOf).
    uint32_t ReadCellsMaterial(std::string_view text, Placement& out) const;

    /// The piece code a character places (0 none) and the squares it takes.
    uint8_t ManOf(char ch) const { return m_man[static_cast<unsigned char>(ch)]; }
    uint8_t StepOf(char ch) const { return m_step[static_cast<unsigned char>(ch)]; }

    const position::BoardShape& Shape() const { return m_shape; }
    int Squares() const { return m_squares; }

  private:
    template <bool kMaterial>
    uint32_t Decode(std::string_view text, Placement& out) const;

    position::BoardShape m_shape;
    int m_squares = 0;
    uint8_t m_man[256] = {};   // the piece code of a letter, else 0
    uint8_t m_step[256] = {};  // squares a character takes: 1 a letter, d a digit d
    // One man more in the material slot of a letter, a byte a slot: slots
    // 0-7 in the first word, 8-11 in the second.
    uint64_t m_countLow[256] = {};
    uint64_t m_countHigh[256] = {};
};

/// The placement field of a record's text: after leading blanks and a tally
/// prefix such as "(16x16)", up to the next blank.
std::string_view PlacementField(std::string_view text);

/// Material slots: a piece code c counts in slot (c - 1) mod 12, so that the
/// twelve men of chess each have their own.
inline constexpr int kMaterialSlots = 12;

/// The material of a placement: for each slot the number of its men, up to
/// 3, in two bits (slot 0 lowest). Equal placements have equal material; a
/// placement holding another's men has at least its count in every slot.
uint32_t MaterialOf(const Placement& placement);
/// The material of counts of men in each of the kMaterialSlots slots.
inline uint32_t PackMaterial(const int* counts) {
    uint32_t m = 0;
#pragma GCC unroll 12
    for (int slot = 0; slot < kMaterialSlots; ++slot) {
        m |= static_cast<uint32_t>(counts[slot] < 3 ? counts[slot] : 3) << (2 * slot);
    }
    return m;
}

/// Tells quickly which materials may hold a match: any material passes when
/// nothing is known.
class MaterialFilter {
  public:
    /// Passes materials equal to one of wanted (exact) or at least one of
    /// them in every slot (partial).
    MaterialFilter(const std::vector<uint32_t>& wanted, bool partial);
    bool Passes(uint32_t material) const {
        for (const auto& t : m_tables) {
            if (t[0][material & 0xFF] & t[1][(material >> 8) & 0xFF] & t[2][(material >> 16) & 0xFF]) {
                return true;
            }
        }
        return false;
    }

  private:
    // For each wanted material, the record bytes that pass, byte by byte.
    std::vector<std::array<std::array<uint8_t, 256>, 3>> m_tables;
};

/// Tests record texts against one form of the searched position without
/// reading whole placements: the text is walked square by square, and the
/// first square that differs (or, partially, the last man of the form met)
/// ends the walk. The same answers as MatchesInPlace on the read placement.
class TextMatcher {
  public:
    TextMatcher(const PlacementReader& reader, const Placement& variant, bool partial);
    bool Matches(std::string_view text) const;

  private:
    bool MatchesExact(std::string_view field) const;
    bool MatchesPartial(std::string_view field) const;

    const PlacementReader* m_reader;
    bool m_partial;
    bool m_never = false;  // the form has men off the board
    int m_squares;
    std::vector<uint8_t> m_cells;
    std::vector<int> m_nextMan;  // exact: the first square from s on with a man
    std::vector<Man> m_men;      // partial: the men in square order
};

/// A 64-bit hash of the board's cells: equal placements hash alike,
/// whatever text wrote them.
uint64_t PlacementHash(const std::vector<uint8_t>& cells);
/// The same over count cells.
uint64_t PlacementHash(const uint8_t* cells, size_t count);

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
