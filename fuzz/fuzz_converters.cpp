// Every converter of the dispatch table on arbitrary source bytes.
//
// Input: byte 0 picks one of the thirty ordered pairs of different versions;
// the rest fills the source record (zeros where the input is short). The
// source and target live in heap buffers of exactly their record lengths, so
// AddressSanitizer reports any access past either record.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "convert/change_text.h"
#include "convert/dispatch.h"
#include "fuzz/fuzz_check.h"
#include "records/byte_order.h"
#include "records/layout.h"
#include "records/version_table.h"

namespace {

using namespace tallowbrook;

struct Pair {
    Version source;
    Version target;
};

constexpr std::size_t kPairCount = kVersionCount * (kVersionCount - 1);

// The pair at `index` of the thirty, ordered by source, then by target.
Pair pairAt(std::size_t index) {
    const std::size_t source = index / (kVersionCount - 1);
    const std::size_t target = index % (kVersionCount - 1); // counting past the source
    return {static_cast<Version>(source), static_cast<Version>(target < source ? target : target + 1)};
}

// The converters built on the field-wise copy: every pair with an older-family
// side except 6.04 into 7.00-7.04, which copies the whole record.
bool usesFieldWiseCopy(Pair pair) {
    const std::size_t from = info(pair.source).length;
    const std::size_t to = info(pair.target).length;
    return !(from == kLength604 && to == kLength700) && (isOlderFamily(from) || isOlderFamily(to));
}

bool slotIsTerminated(std::span<const std::byte> record, std::size_t offset) {
    for (std::size_t unit = 0; unit < layout::kTextSlotUnits; ++unit) {
        if (readU16Le(record, offset + 2 * unit) == 0) {
            return true;
        }
    }
    return false;
}

std::vector<std::byte> convert(Converter converter, std::span<const std::byte> source,
                               std::size_t targetLength) {
    std::vector<std::byte> target(targetLength); // zero-filled, as the driver hands it over
    FUZZ_CHECK(converter(source, target));
    return target;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Pair pair = pairAt(data[0] % kPairCount);
    const std::size_t sourceLength = info(pair.source).length;
    const std::size_t targetLength = info(pair.target).length;

    std::vector<std::byte> source(sourceLength);
    std::memcpy(source.data(), data + 1, std::min(size - 1, sourceLength));
    const std::vector<std::byte> pristine = source;

    const Converter converter = converterFor(pair.source, pair.target);
    FUZZ_CHECK(converter != nullptr);
    const std::vector<std::byte> first = convert(converter, source, targetLength);
    const std::vector<std::byte> second = convert(converter, source, targetLength);

    FUZZ_CHECK(source == pristine);
    FUZZ_CHECK(first == second);

    // The header is carried byte for byte; only dmDriverExtra is the target's.
    const std::span<const std::byte> target(first);
    FUZZ_CHECK(std::equal(source.begin(), source.begin() + layout::kDriverExtra, target.begin()));
    FUZZ_CHECK(std::equal(source.begin() + layout::kDriverExtra + 2, source.begin() + kHeaderLength,
                          target.begin() + layout::kDriverExtra + 2));
    FUZZ_CHECK(readU16Le(target, layout::kDriverExtra) == targetLength - kHeaderLength);
    FUZZ_CHECK(readU16Le(target, layout::kDriverExtra) == info(pair.target).driverExtra);

    // The entry count travels unchanged, whatever it says.
    FUZZ_CHECK(readU32Le(target, layout::kEntryCount) == readU32Le(source, layout::kEntryCount));

    FUZZ_CHECK(!usesFieldWiseCopy(pair) || slotIsTerminated(target, layout::kFirstTextSlot));
    FUZZ_CHECK(!usesFieldWiseCopy(pair) || slotIsTerminated(target, layout::kSecondTextSlot));

    // What the conversion changed, read from the two records: never the
    // header, and every line safe to print whatever the texts hold.
    for (const std::string& line : describeChanges(source, target)) {
        FUZZ_CHECK(line.find("the header") == std::string::npos);
        FUZZ_CHECK(std::none_of(line.begin(), line.end(),
                                [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }));
    }
    return 0;
}
