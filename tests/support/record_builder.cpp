#include "tests/support/record_builder.h"

#include <random>
#include <stdexcept>

#include "convert/dispatch.h"
#include "records/byte_order.h"

namespace tallowbrook::test {

Bytes randomBytes(std::size_t length, std::uint32_t seed) {
    std::mt19937 generator(seed);
    Bytes bytes(length);
    for (std::byte& b : bytes) {
        b = static_cast<std::byte>(generator() & 0xFFu);
    }
    return bytes;
}

Bytes randomRecord(Version version, std::uint32_t seed) {
    return randomBytes(info(version).length, seed);
}

void putU32(Bytes& record, std::size_t offset, std::uint32_t value) {
    writeU32Le(record, offset, value);
}

std::uint32_t getU32(const Bytes& record, std::size_t offset) {
    return readU32Le(record, offset);
}

std::uint16_t getU16(const Bytes& record, std::size_t offset) {
    return readU16Le(record, offset);
}

void putText(Bytes& record, std::size_t offset, std::u16string_view text) {
    for (const char16_t unit : text) {
        writeU16Le(record, offset, unit);
        offset += 2;
    }
    writeU16Le(record, offset, 0);
}

Bytes convert(Version from, Version to, const Bytes& source, std::byte fill) {
    const Converter converter = converterFor(from, to);
    if (converter == nullptr) {
        throw std::logic_error("no converter on the diagonal");
    }
    Bytes target(info(to).length, fill);
    if (!converter(source, target)) {
        throw std::logic_error("converter refused its buffers");
    }
    return target;
}

} // namespace tallowbrook::test
