#pragma once

// The value rules that some conversions apply after copying, and the defaults
// of fields a source version lacks. Rules work on the target after the copy
// step has carried the source's value there, so "the source's value" and "the
// target's carried value" are the same bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "records/layout.h"

namespace tallowbrook {

// 788 reset: writes 0 at 788 (newer-than-7.05 sources into 7.05 and older).
void reset788(std::span<std::byte> target);

// 848 remap: 3 or 4 becomes 1, 5 or 6 becomes 2, every other value stays
// (8.00 and 8.02 sources into every older version).
void remap848(std::span<std::byte> target);

// 852 reset: writes 0 at 852 (every conversion into 6.04).
void reset852(std::span<std::byte> target);

// 1852 remap: 3 becomes 2, every other value stays (8.02 into 7.07 and 8.00).
void remap1852(std::span<std::byte> target);

// A field that later versions of the newer family append, with the value a
// conversion writes when its source version lacks it.
struct AppendedField {
    std::size_t offset;
    std::size_t width;
    std::uint32_t value;     // for 32-bit fields
    std::u16string_view text; // for text slots: written with its zero unit only
};

inline constexpr std::u16string_view kDefaultEngravingSettingPath = u"trevak\\engraving_setting";
inline constexpr std::u16string_view kDefaultJobsPath = u"trevak\\jobs";

inline constexpr std::array<AppendedField, 6> kAppendedFields{{
    {layout::kValue1852, 4, 2, {}},
    {layout::kEngravingSettingPath, layout::kTextSlotLength, 0, kDefaultEngravingSettingPath},
    {layout::kValue2368, 4, 1, {}},
    {layout::kValue2372, 4, 0, {}},
    {layout::kJobsPath, layout::kTextSlotLength, 0, kDefaultJobsPath},
    {layout::kValue2888, 4, 1, {}},
}};

// Writes the default of every appended field that lies at or beyond
// `sourceLength` and inside the target.
void writeAppendedDefaults(std::span<std::byte> target, std::size_t sourceLength);

} // namespace tallowbrook
