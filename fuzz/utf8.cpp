#include "fuzz/utf8.h"

#include <cstdint>

namespace tallowbrook::fuzz {

namespace {

// Length of the sequence that `lead` starts, or 0 for a byte that starts none.
// Continuation bytes (0x80-0xBF), the overlong leads 0xC0 and 0xC1, and
// 0xF5-0xFF start none.
std::size_t sequenceLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
}

} // namespace

std::optional<std::size_t> utf8CodePoints(std::string_view text) {
    std::size_t codePoints = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = sequenceLength(lead);
        if (length == 0 || at + length > text.size()) {
            return std::nullopt;
        }
        std::uint32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next & 0xC0u) != 0x80u) {
                return std::nullopt;
            }
            value = (value << 6) | (next & 0x3Fu);
        }
        const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
        const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
        if (overlong || surrogate || value > 0x10FFFF) {
            return std::nullopt;
        }
        at += length;
        ++codePoints;
    }
    return codePoints;
}

} // namespace tallowbrook::fuzz
