// The engine's log as the analysis list shows it, and the position handed to
// it with fuzzed piece letters.

#include "engines/crafty.h"
#include "engines/discovery.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const std::string_view pieces = in.Line();
    const std::string_view english = in.Line();
    const std::string_view fen = in.Line();
    (void)engines::CraftyFen(fen, pieces, english);
    (void)engines::CraftyRc(english, fen, pieces.size() % 2 == 0);
    const std::vector<std::string> items = engines::LogItems(in.Rest());
    for (const std::string& item : items) {
        fuzz::Check(!item.empty() && item.find_first_of("\r\n") == std::string::npos, "one log line per item");
    }
    return 0;
}
