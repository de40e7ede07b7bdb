#pragma once
// What the three fairy notation targets check: a text that reads writes,
// reads back as the same board and writes the same text again; the board
// goes into the style's letters and comes back out unchanged.

#include "fuzz_support.h"
#include "position/fairy_style.h"

namespace fuzz {

inline int FairyRoundTrip(position::Notation notation, const uint8_t* data, size_t size) {
    Input in(data, size);
    const position::NotationOptions options{(in.Byte() & 1) != 0};
    const std::string_view text = in.Rest();
    (void)position::ReadAuto(text, options);
    const position::NotationRead r = position::ReadNotation(text, notation, options);
    if (!r.ok()) {
        Check(!r.error.empty(), "a failed read says why");
        return 0;
    }
    const position::FairyBoard& board = *r.board;
    Check(board.rows >= 1 && board.cols >= 1 && board.rows * board.cols <= position::kMaxSquares,
          "a board of 1 to 400 squares");
    const position::NotationWrite w = position::WriteNotation(board, notation, options);
    Check(w.ok(), "a board read writes");
    const position::NotationRead back = position::ReadNotation(w.text, notation, options);
    Check(back.ok() && *back.board == board, "a written board reads back");
    Check(position::WriteNotation(*back.board, notation, options).text == w.text,
          "and writes the same again");

    const position::PlacementImport placed =
        position::ToPlacement(board, notation, position::FairyStyle{}, "");
    if (!placed.ok()) {
        return 0;  // more different squares than letters
    }
    position::Vet vet;
    position::Build2(vet, position::kPosition, placed.placement,
                     {placed.style.rows, placed.style.cols, placed.style.piecesList});
    const position::NotationRead out = position::FromPlacement(vet, placed.style, "", notation);
    Check(out.ok() && *out.board == board, "the style's letters give the board back");
    return 0;
}

}  // namespace fuzz
