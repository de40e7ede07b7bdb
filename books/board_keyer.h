#pragma once
// The index key of a board's position, worked out on the board itself.

#include <cstdint>
#include <vector>

#include "books/position_match.h"
#include "position/vet.h"

namespace books {

/// The index's key of the position on a board: what reading back the
/// placement text written of its cells (PlacementWriter) would give, without
/// writing or reading any text.
class BoardKeyer {
  public:
    explicit BoardKeyer(const position::BoardShape& shape);
    /// False when the pieces list holds a character a placement text does
    /// not read back as one man (a digit, a blank, "/", a bracket): the text
    /// must be read then.
    bool Usable() const { return m_usable; }
    /// The upper half of PlacementHash of the cells, and MaterialOf them in
    /// the low 24 bits. Only for a usable keyer.
    uint64_t Key(const position::Vet& vet) const;

  private:
    std::vector<uint8_t> m_code;  // the piece code of each cell value, 0 empty
    // One man more in the material slot of a cell value (PlacementReader's).
    std::vector<uint64_t> m_countLow;
    std::vector<uint64_t> m_countHigh;
    // The quick way of a board of 8 x 8: a man more in a slot of five bits,
    // for each code.
    bool KeyOfEight(const int16_t* cells, uint64_t& key) const;
    std::vector<uint64_t> m_field;
    std::vector<uint64_t> m_pairs;  // the fields of two codes of four bits each
    int m_fieldMax = 0;             // the highest code
    bool m_eight = false;
    int m_squares;
    bool m_usable = true;
};

}  // namespace books
