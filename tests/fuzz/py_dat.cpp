// "Py.dat": pick lists and the dictionary, which then names the pieces of
// the start position.

#include "engines/discovery.h"
#include "engines/popeye.h"
#include "fuzz_support.h"
#include "position/piece_lists.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const engines::PyData parsed = engines::ParsePyDat(text);
    fuzz::Check(parsed.dictionary.size() >= 2 && parsed.dictionary.compare(parsed.dictionary.size() - 2, 2, "&&") == 0,
                "the dictionary ends in &&");
    for (const auto& list : parsed.pickLists) {
        for (const std::string& item : list) {
            (void)engines::ApplyPickItem(item, "old text");
        }
    }
    const position::NotationStyle style = fuzz::Shape(0);
    position::Vet vet;
    position::ParseFEN(vet, position::kStandardStartPos, style.shape);
    (void)position::FEN2ALG(vet, style, parsed.dictionary);
    return 0;
}
