// FEN text on several board shapes: the reader, the writer, rank completion,
// the one-plane reader and the full-line reader. Writing a board and reading it back must give
// the same board, and both readers must fill the same cells.

#include "fuzz_support.h"
#include "position/position_state.h"
#include "position/vet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const position::BoardShape shape = fuzz::Shape(in.Byte()).shape;
    const std::string_view text = in.Rest();
    const int squares = std::min(shape.Squares(), position::kCells);

    position::Vet vet;
    int painted = 0;
    const position::ParseResult r = position::ParseFEN(vet, text, shape, [&](int s) {
        fuzz::Check(s >= 0 && s < position::kCells, "painted square on the board vector");
        ++painted;
    });
    fuzz::Check(r.white >= 0 && r.black >= 0, "tally counts");
    (void)position::Tally(r.white, r.black);

    position::Vet other;
    position::Build2(other, position::kPainted, text, shape);
    for (int s = 0; s < position::kCells; ++s) {
        fuzz::Check(other(position::kPainted, s) == vet(position::kPosition, s),
                    "both readers fill the same cells");
    }

    const std::string fen = position::VetToFEN(vet, shape);
    position::Vet back;
    position::ParseFEN(back, fen, shape);
    for (int s = 0; s < squares; ++s) {
        fuzz::Check(back(position::kPosition, s) == vet(position::kPosition, s),
                    "a written board reads back");
    }
    fuzz::Check(position::VetToFEN(back, shape) == fen, "a written board writes the same again");

    const std::string fixed = position::FixFEN(text, shape);
    position::ParseFEN(back, fixed, shape);
    position::ResetVet(back, shape);

    // A full line that reads gives its placement and fields back.
    const position::FenLine line = position::ReadFenLine(text, shape);
    if (line.error.empty()) {
        position::Vet placed;
        placed.cells[position::kPosition] = line.placement;
        const std::string again =
            position::VetToFEN(placed, shape) + ' ' + position::StateFields(line.state, shape);
        const position::FenLine reread = position::ReadFenLine(again, shape);
        fuzz::Check(reread.error.empty() && reread.placement == line.placement && reread.state == line.state,
                    "a full line read writes back the same");
    }
    return 0;
}
