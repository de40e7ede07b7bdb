// The move writer on two positions read from two FEN lines, from either
// plane (and a wrong one); the board vector must stay as it was.

#include <cstring>

#include "fuzz_support.h"
#include "position/set_move.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const position::NotationStyle style = fuzz::Shape(in.Byte());
    const int prev = static_cast<int>(in.Byte() % 4) - 1;
    position::Vet vet;
    position::Build2(vet, position::kPainted, in.Line(), style.shape);
    position::Build2(vet, position::kPosition, in.Rest(), style.shape);
    const position::Vet before = vet;
    const position::SetMoveResult r = position::SetMove(vet, style, prev);
    fuzz::Check(std::memcmp(&before, &vet, sizeof vet) == 0, "the move writer leaves both planes");
    fuzz::Check(r.reason == position::SetMoveFailure::kNone || r.move.empty(), "a failure writes no move");
    (void)position::Describe(r.reason);
    return 0;
}
