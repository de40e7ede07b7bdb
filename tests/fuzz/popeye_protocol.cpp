// The solver's protocol file as the solution list shows it; long lines are
// cut into items that all have text.

#include "engines/popeye.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> items = engines::ProtocolItems(text);
    size_t total = 0;
    for (const std::string& item : items) {
        total += item.size();
    }
    fuzz::Check(total <= text.size(), "items hold only the protocol's text");
    return 0;
}
