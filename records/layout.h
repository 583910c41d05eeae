#pragma once

// Byte offsets of the record layouts. Offsets are decimal from the start of
// the record (equal to file offsets); every multi-byte value is little-endian.
// Bytes 0-1375 (header and common stem) are the same in all six versions; the
// families differ in their entry tables, and the newer family grows at its end.

#include <cstddef>
#include <cstdint>

#include "records/version_table.h"

namespace tallowbrook::layout {

// DEVMODEW header. Conversions interpret only dmDriverExtra; the other
// members are named for showing a file to its user.
inline constexpr std::size_t kDeviceName = 0; // 32 UTF-16LE code units
inline constexpr std::size_t kDeviceNameUnits = 32;
inline constexpr std::size_t kSpecVersion = 64;   // 16-bit dmSpecVersion
inline constexpr std::size_t kDriverVersion = 66; // 16-bit dmDriverVersion
inline constexpr std::size_t kSize = 68;          // 16-bit dmSize
inline constexpr std::size_t kDriverExtra = 70;   // 16-bit dmDriverExtra
inline constexpr std::size_t kFormName = 102;     // 32 UTF-16LE code units
inline constexpr std::size_t kFormNameUnits = 32;

// Common stem, 220-1375. Plain values and blocks are carried byte for byte, so
// the stem is described by its two text slots and the runs around them.
inline constexpr std::size_t kTextSlotLength = 512; // 256 UTF-16LE code units
inline constexpr std::size_t kTextSlotUnits = kTextSlotLength / 2;
inline constexpr std::size_t kFirstTextSlot = 276;
inline constexpr std::size_t kSecondTextSlot = 864;
inline constexpr std::size_t kValue788 = 788;
inline constexpr std::size_t kEntryCount = 800; // unsigned 32-bit
inline constexpr std::size_t kValue836 = 836;   // entry offset 8 of entries widened from 7.00-7.04
inline constexpr std::size_t kValue848 = 848;
inline constexpr std::size_t kValue852 = 852;
inline constexpr std::size_t kStemEnd = 1376;

// Entry table, both families.
inline constexpr std::size_t kEntryTable = 1376;
inline constexpr std::size_t kEntryValueBytes = 5; // entry offsets 0-4, shared by both entry forms

// Older family: 6-byte entries.
inline constexpr std::size_t kOldEntryStride = 6;
inline constexpr std::size_t kCapacity604 = 16;
inline constexpr std::size_t kCapacity700 = 17;
inline constexpr std::size_t kSeventeenthEntry700 = 1472;
inline constexpr std::size_t kTrailingBytes700 = 1478; // 2 bytes no conversion touches

// Newer family: 28-byte entries.
inline constexpr std::size_t kNewEntryStride = 28;
inline constexpr std::size_t kCapacityNew = 17;
// The four 32-bit values of a 28-byte entry, at these entry offsets.
inline constexpr std::size_t kEntryFirstValue = 8;   // 2500, or the 7.00-7.04 value at 836, when widened
inline constexpr std::size_t kEntrySecondValue = 12; // 1 when widened
inline constexpr std::size_t kEntryThirdValue = 16;  // 1 when widened
inline constexpr std::size_t kEntryFourthValue = 20; // 0 when widened
inline constexpr std::uint32_t kWidenedEntry8From604 = 2500;
inline constexpr std::uint32_t kWidenedEntry12 = 1;
inline constexpr std::uint32_t kWidenedEntry16 = 1;
inline constexpr std::uint32_t kWidenedEntry20 = 0;

// Fields appended by later versions of the newer family.
inline constexpr std::size_t kValue1852 = 1852;          // 7.07 on
inline constexpr std::size_t kEngravingSettingPath = 1856; // 8.00 on, text slot
inline constexpr std::size_t kValue2368 = 2368;          // 8.00 on
inline constexpr std::size_t kValue2372 = 2372;          // 8.00 on
inline constexpr std::size_t kJobsPath = 2376;           // 8.00 on, text slot
inline constexpr std::size_t kValue2888 = 2888;          // 8.02 only

constexpr std::size_t entryCapacity(std::size_t recordLength) {
    if (recordLength == kLength604) {
        return kCapacity604;
    }
    if (recordLength == kLength700) {
        return kCapacity700;
    }
    return kCapacityNew;
}

constexpr std::size_t entryStride(std::size_t recordLength) {
    return isOlderFamily(recordLength) ? kOldEntryStride : kNewEntryStride;
}

constexpr std::size_t entryOffset(std::size_t recordLength, std::size_t index) {
    return kEntryTable + entryStride(recordLength) * index;
}

// Where the layout pins itself against the version table.
static_assert(kFirstTextSlot + kTextSlotLength == kValue788);
static_assert(kSecondTextSlot + kTextSlotLength == kStemEnd);
static_assert(kEntryTable + kCapacity604 * kOldEntryStride == kLength604);
static_assert(kEntryTable + kCapacity700 * kOldEntryStride == kTrailingBytes700);
static_assert(kSeventeenthEntry700 == entryOffset(kLength700, 16));
static_assert(kTrailingBytes700 + 2 == kLength700);
static_assert(kEntryTable + kCapacityNew * kNewEntryStride == kLength705);
static_assert(kValue1852 == kLength705 && kValue1852 + 4 == kLength707);
static_assert(kEngravingSettingPath + kTextSlotLength == kValue2368);
static_assert(kJobsPath + kTextSlotLength == kLength800);
static_assert(kValue2888 == kLength800 && kValue2888 + 4 == kLength802);
static_assert(kEntryFourthValue + 4 <= kNewEntryStride - 4); // entry offsets 24-27 stay untouched

} // namespace tallowbrook::layout
