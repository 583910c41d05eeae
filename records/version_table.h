#pragma once

// The six record versions the driver releases wrote. A version is known by
// the exact length of its record and nothing else; the table index is also
// the index of the version chooser.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tallowbrook {

enum class Version : std::uint8_t { V604, V700, V705, V707, V800, V802 };

inline constexpr std::size_t kVersionCount = 6;

// Length of the public DEVMODEW header that starts every record.
inline constexpr std::size_t kHeaderLength = 220;

inline constexpr std::size_t kLength604 = 1472;
inline constexpr std::size_t kLength700 = 1480;
inline constexpr std::size_t kLength705 = 1852;
inline constexpr std::size_t kLength707 = 1856;
inline constexpr std::size_t kLength800 = 2888;
inline constexpr std::size_t kLength802 = 2892;
inline constexpr std::size_t kLongestRecord = kLength802;

struct VersionInfo {
    std::string_view label;     // chooser label
    std::size_t length;         // record length in bytes, the version's only mark
    std::uint16_t driverExtra;  // dmDriverExtra: length of the private area
    std::string_view suffix;    // inserted into the output file name
};

inline constexpr std::array<VersionInfo, kVersionCount> kVersionTable{{
    {"Version 6.04", kLength604, 1252, "_604"},
    {"Version 7.00 - 7.04", kLength700, 1260, "_700"},
    {"Version 7.05", kLength705, 1632, "_705"},
    {"Version 7.07", kLength707, 1636, "_707"},
    {"Version 8.00", kLength800, 2668, "_800"},
    {"Version 8.02", kLength802, 2672, "_802"},
}};

constexpr std::size_t indexOf(Version version) { return static_cast<std::size_t>(version); }

constexpr const VersionInfo& info(Version version) { return kVersionTable[indexOf(version)]; }

// The version whose chooser index is `index`, or none for anything outside 0-5.
constexpr std::optional<Version> versionAt(std::size_t index) {
    if (index >= kVersionCount) {
        return std::nullopt;
    }
    return static_cast<Version>(index);
}

// The version whose record length equals `length` exactly, or none.
constexpr std::optional<Version> versionOfLength(std::uint64_t length) {
    for (std::size_t i = 0; i < kVersionCount; ++i) {
        if (kVersionTable[i].length == length) {
            return static_cast<Version>(i);
        }
    }
    return std::nullopt;
}

// Older family (6-byte entries) or newer family (28-byte entries).
constexpr bool isOlderFamily(std::size_t recordLength) { return recordLength <= kLength700; }

namespace detail {
constexpr bool versionTableIsConsistent() {
    for (std::size_t i = 0; i < kVersionCount; ++i) {
        const VersionInfo& v = kVersionTable[i];
        if (v.driverExtra != v.length - kHeaderLength || v.suffix.size() != 4) {
            return false;
        }
        // A sorted chooser must keep the index order, and lengths must be distinct.
        if (i > 0 && (kVersionTable[i - 1].label >= v.label || kVersionTable[i - 1].length >= v.length)) {
            return false;
        }
    }
    return true;
}
} // namespace detail
static_assert(detail::versionTableIsConsistent());

} // namespace tallowbrook
