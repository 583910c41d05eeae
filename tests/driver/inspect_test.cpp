// What a file is shown as: the inspection of records of every version and of
// hostile content, and the one-line description the file list shows.

#include <gtest/gtest.h>

#include <optional>

#include "convert/inspect.h"
#include "files/file_error.h"
#include "records/byte_order.h"
#include "records/layout.h"
#include "tests/support/expect_file_error.h"
#include "tests/support/record_builder.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::test {
namespace {

// A record of `version` with a recognisable header and terminated texts.
Bytes sampleRecord(Version version) {
    Bytes record = randomRecord(version, 11);
    putText(record, layout::kDeviceName, u"Laser 1");
    putText(record, layout::kFormName, u"A4");
    writeU16Le(record, layout::kSpecVersion, 0x0401);
    writeU16Le(record, layout::kDriverVersion, 0x0802);
    writeU16Le(record, layout::kSize, 220);
    writeU16Le(record, layout::kDriverExtra, info(version).driverExtra);
    putU32(record, layout::kEntryCount, 3);
    putText(record, layout::kFirstTextSlot, u"first");
    putText(record, layout::kSecondTextSlot, u"second");
    if (record.size() >= kLength800) {
        putText(record, layout::kEngravingSettingPath, u"trevak\\engraving_setting");
        putText(record, layout::kJobsPath, u"trevak\\jobs");
    }
    return record;
}

TEST(Inspect, ReadsTheHeaderEntryCountAndTextSlotsOfEveryVersion) {
    for (const VersionInfo& version : kVersionTable) {
        const Version v = *versionOfLength(version.length);
        const Bytes record = sampleRecord(v);
        const FileInspection file = inspectRecord(record, record.size());
        SCOPED_TRACE(std::string(version.label));
        EXPECT_EQ(file.version, v);
        ASSERT_TRUE(file.header);
        EXPECT_EQ(file.header->deviceName.text, "Laser 1");
        EXPECT_EQ(file.header->formName.text, "A4");
        EXPECT_EQ(file.header->specVersion, 0x0401);
        EXPECT_EQ(file.header->driverVersion, 0x0802);
        EXPECT_EQ(file.header->size, 220);
        EXPECT_TRUE(file.driverExtraAgrees());
        EXPECT_EQ(file.entryCount, 3U);
        EXPECT_FALSE(file.entryCountExceedsTable());

        std::vector<std::string> slots;
        for (const TextSlotText& slot : file.textSlots) {
            EXPECT_TRUE(slot.value.terminated) << slot.name;
            slots.push_back(slot.value.text);
        }
        std::vector<std::string> expected{"first", "second"};
        if (version.length >= kLength800) {
            expected.insert(expected.end(), {"trevak\\engraving_setting", "trevak\\jobs"});
        }
        EXPECT_EQ(slots, expected);
        EXPECT_EQ(describeFile(file), std::string(version.label) + ", device \"Laser 1\"");
    }
}

TEST(Inspect, FlagsWhatDisagreesWithTheLengthWithoutRefusingIt) {
    Bytes record = sampleRecord(Version::V604);
    writeU16Le(record, layout::kDriverExtra, 1260); // a 7.00-7.04 value in a 6.04-long file
    putU32(record, layout::kEntryCount, 17);        // one more than the table holds
    const FileInspection file = inspectRecord(record, record.size());
    EXPECT_EQ(file.version, Version::V604);
    EXPECT_FALSE(file.driverExtraAgrees());
    EXPECT_TRUE(file.entryCountExceedsTable());

    putU32(record, layout::kEntryCount, 16);
    EXPECT_FALSE(inspectRecord(record, record.size()).entryCountExceedsTable());
    putU32(record, layout::kEntryCount, 0xFFFFFFFF);
    EXPECT_TRUE(inspectRecord(record, record.size()).entryCountExceedsTable());
}

TEST(Inspect, TextWithoutTerminatorOrWithBrokenPairsIsShownSafely) {
    Bytes record = sampleRecord(Version::V802);
    // A device name that fills its 32 units with no terminator.
    for (std::size_t i = 0; i < layout::kDeviceNameUnits; ++i) {
        writeU16Le(record, layout::kDeviceName + 2 * i, u'x');
    }
    // A lone low surrogate, a pair, a newline and a lone high surrogate at the end.
    putText(record, layout::kFormName,
            u"\xDC00"
            u"a\U0001F600\n");
    writeU16Le(record, layout::kFormName + 2 * (layout::kFormNameUnits - 1), 0xD800);
    for (std::size_t i = 5; i < layout::kFormNameUnits - 1; ++i) {
        writeU16Le(record, layout::kFormName + 2 * i, u'y');
    }
    const FileInspection file = inspectRecord(record, record.size());
    EXPECT_EQ(file.header->deviceName.text, std::string(32, 'x'));
    EXPECT_FALSE(file.header->deviceName.terminated);
    EXPECT_FALSE(file.header->formName.terminated);
    EXPECT_EQ(file.header->formName.text, "\xEF\xBF\xBD"
                                          "a\xF0\x9F\x98\x80\n" +
                                              std::string(26, 'y') + "\xEF\xBF\xBD");
    EXPECT_EQ(quotedFieldText(file.header->formName), "\"\xEF\xBF\xBD"
                                                      "a\xF0\x9F\x98\x80\\n" +
                                                          std::string(26, 'y') +
                                                          "\xEF\xBF\xBD\" (no terminator)");
    EXPECT_EQ(describeFile(file), "Version 8.02, device \"" + std::string(32, 'x') + "\" (no terminator)");
}

TEST(Inspect, AFileOfNoVersionIsDescribedByItsLengthOnly) {
    for (const std::size_t length : {0u, 219u, 1471u, 1473u, 2893u, 100000u}) {
        const FileInspection file = inspectRecord(randomBytes(length, 5), length);
        EXPECT_FALSE(file.version);
        EXPECT_FALSE(file.header);
        EXPECT_FALSE(file.entryCount);
        EXPECT_TRUE(file.textSlots.empty());
        EXPECT_EQ(describeFile(file), "Not a configuration file: " + std::to_string(length) +
                                          " bytes is the length of no version");
    }
}

TEST(InspectFile, ReadsRealFilesAndNamesTheOneItCannotOpen) {
    TempFolder folder;
    EXPECT_EQ(describeFile(inspectFile(folder.write("a.dat", sampleRecord(Version::V707)))),
              "Version 7.07, device \"Laser 1\"");
    EXPECT_EQ(inspectFile(folder.write("b.dat", randomBytes(3000, 2))).length, 3000U);
    const std::optional<FileError> error = expectFileError([&] { inspectFile(folder.file("missing.dat")); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->what(), folder.file("missing.dat") + " was not found.");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"a.dat", "b.dat"}));
}

} // namespace
} // namespace tallowbrook::test
