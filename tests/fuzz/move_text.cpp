// Move text: lines of moves played one after the other on a start position
// of several board shapes, for either side.

#include "fuzz_support.h"
#include "position/play_move.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const position::NotationStyle style = fuzz::Shape(in.Byte());
    // A third value, outside the two sides, is tried as well.
    const auto side = static_cast<position::Side>(in.Byte() % 3);
    position::Vet vet;
    position::ParseFEN(vet, in.Line(), style.shape);
    const int squares = std::min(style.shape.Squares(), position::kCells);
    position::Side turn = side;
    while (!in.Empty()) {
        const std::string_view move = in.Line();
        const position::PlayResult r = position::PlayMove(vet, style, turn, move);
        if (r.status == position::PlayStatus::kMoved) {
            fuzz::Check(r.from >= 0 && r.from < squares && r.to >= 0 && r.to < squares,
                        "a move stays on the board");
        }
        (void)r.Text(move);
        (void)position::Describe(r.reason);
        turn = turn == position::Side::kWhite ? position::Side::kBlack : position::Side::kWhite;
    }
    return 0;
}
