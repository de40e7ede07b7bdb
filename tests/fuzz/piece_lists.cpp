// The algebraic piece lists of a position with a fuzzed dictionary and
// English letters.

#include "fuzz_support.h"
#include "position/piece_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    position::NotationStyle style = fuzz::Shape(in.Byte());
    if (in.Byte() % 2 == 1) {
        style.englishNotation = std::string(in.Line());
    }
    position::Vet vet;
    position::ParseFEN(vet, in.Line(), style.shape);
    const position::PieceLists lists = position::FEN2ALG(vet, style, in.Rest());
    (void)lists;
    return 0;
}
