// The popeye reader of fairy positions: first byte the reader's options, the
// rest the text (see fairy_round_trip.h).

#include "fairy_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return fuzz::FairyRoundTrip(position::Notation::kPopeye, data, size);
}
