// Readers that once took time or memory out of proportion to their input,
// fed inputs of up to a few MB built from a short pattern: the solver's
// protocol, the engine's log and the men boxes of the search criteria. A
// reader that turns quadratic again runs into the fuzzer's time limit.
//
// Input: one byte picks the reader, three bytes give the length (up to
// 4 MB), the rest is the pattern repeated to that length.

#include <optional>
#include <set>

#include "books/search.h"
#include "engines/crafty.h"
#include "engines/popeye.h"
#include "fuzz_support.h"
#include "settings/style.h"

namespace {

// The numbers a men box names, one by one, for short boxes only.
std::set<int> NumbersOneByOne(std::string_view box) {
    std::set<int> numbers;
    std::string text(box);
    text.push_back(' ');
    std::string number;
    int from = 0;
    const auto value = [](const std::string& digits) {
        const std::optional<double> v = settings::Val(digits);
        const std::optional<int32_t> r = v ? settings::RoundHalfEven(*v) : std::nullopt;
        return r && *r >= -32768 && *r <= 32767 ? *r : 0;
    };
    for (const char ch : text) {
        if (ch == '-') {
            from = value(number);
            number.clear();
        } else if (ch == ' ' || ch == ',') {
            if (!number.empty()) {
                const int to = value(number);
                if (to > 0) {
                    const int lo = from >= 1 ? std::min(from, to) : to;
                    const int hi = from >= 1 ? std::max(from, to) : to;
                    for (int k = lo; k <= hi; ++k) {
                        numbers.insert(k);
                    }
                }
                from = 0;
                number.clear();
            }
        } else {
            number.push_back(ch);
        }
    }
    return numbers;
}

std::set<int> NumbersOfRanges(const std::string& ranges) {
    std::set<int> numbers;
    size_t i = 0;
    const auto number = [&] {
        int n = 0;
        while (i < ranges.size() && ranges[i] >= '0' && ranges[i] <= '9') {
            n = n * 10 + (ranges[i++] - '0');
        }
        return n;
    };
    while (i < ranges.size() && ranges[i] == '#') {
        ++i;
        const int lo = number();
        const int hi = i < ranges.size() && ranges[i] == '-' ? (++i, number()) : lo;
        for (int k = lo; k <= hi; ++k) {
            numbers.insert(k);
        }
    }
    return numbers;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const int reader = in.Byte() % 3;
    size_t length = in.Byte();
    length = (length << 8) | in.Byte();
    length = ((length << 8) | in.Byte()) % (4u << 20);
    const std::string_view pattern = in.Rest();
    if (pattern.empty()) {
        return 0;
    }
    std::string text;
    text.reserve(length);
    while (text.size() < length) {
        text.append(pattern.substr(0, length - text.size()));
    }

    if (reader == 0) {
        size_t total = 0;
        for (const std::string& item : engines::ProtocolItems(text)) {
            total += item.size();
        }
        fuzz::Check(total <= text.size(), "protocol items hold only the protocol's text");
    } else if (reader == 1) {
        size_t total = 0;
        for (const std::string& item : engines::LogItems(text)) {
            total += item.size();
        }
        fuzz::Check(total <= text.size(), "log items hold only the log's text");
    } else {
        const std::string ranges = books::ExpandNumbers(text);
        // Each range costs at least two characters typed and at most twelve written.
        fuzz::Check(ranges.size() <= 6 * text.size() + 12, "ranges as long as what was typed");
        if (text.size() <= 256) {
            fuzz::Check(NumbersOfRanges(ranges) == NumbersOneByOne(text), "ranges name the numbers typed");
        }
    }
    return 0;
}
