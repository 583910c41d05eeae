// The main dialog's behaviour as its user meets it, on whichever view this
// program drives: the start, Add and the name it offers, cancel, Reset, what
// a Merge run writes and shows, drops and hover texts.

#include <gtest/gtest.h>

#include <filesystem>

#include "dialog/converter_dialog_model.h"
#include "files/path_syntax.h"
#include "tests/dialog/scenario_driver.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::dialog::test {
namespace {

using namespace tallowbrook::test; // records, temporary folders

constexpr std::size_t kIndex802 = 5;

class DialogScenario : public ::testing::Test {
protected:
    TempFolder m_folder;
    std::unique_ptr<ScenarioDriver> m_driver = makeDriver();
    ScenarioDriver& d = *m_driver;
};

TEST_F(DialogScenario, StartsEmptyOnVersion802WithMergeEnabled) {
    EXPECT_TRUE(d.listed().empty());
    EXPECT_EQ(d.chosen(), kIndex802);
    EXPECT_TRUE(d.mergeEnabled());
    EXPECT_EQ(d.chooserLabels(), (Paths{"Version 6.04", "Version 7.00 - 7.04", "Version 7.05", "Version 7.07",
                                        "Version 8.00", "Version 8.02"}));
    d.add(std::nullopt);
    EXPECT_EQ(d.offeredNames(), Paths{"   "});
}

TEST_F(DialogScenario, AddKeepsCaseInsensitiveOrderAndDuplicatesAndOffersTheLastEntry) {
    const std::string a = "D:\\cfg\\a.dat";
    const std::string upperA = "D:\\cfg\\A.dat";
    const std::string b = "D:\\cfg\\b.dat";
    const std::string x = "E:\\b\\x.dat";
    const std::string y = "D:\\z\\y.dat";
    const struct {
        const char* name;
        std::vector<Paths> picks;
        Paths listed;
        Paths offered; // at each Add, and once more after the last
    } cases[] = {
        {"one file", {{a}}, {a}, {"   ", a}},
        {"several at once", {{b, a}}, {a, b}, {"   ", b}},
        {"a drive's root", {{"D:\\b.dat", "D:\\a.dat"}}, {"D:\\a.dat", "D:\\b.dat"}, {"   ", "D:\\b.dat"}},
        // The open-file dialog's name field still holds the longer name offered.
        {"sorted, not by adding", {{x}, {y}, {"d:\\a"}}, {"d:\\a", y, x}, {"   ", x, x, x}},
        {"duplicates kept in the order added", {{a}, {a, upperA}}, {a, a, upperA}, {"   ", a, upperA}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<ScenarioDriver> dialog = makeDriver();
        for (const Paths& pick : c.picks) {
            dialog->add(pick);
        }
        dialog->add(std::nullopt); // one more look at the name offered
        EXPECT_EQ(dialog->listed(), c.listed);
        EXPECT_EQ(dialog->offeredNames(), c.offered);
    }
}

TEST_F(DialogScenario, CancelChangesNothing) {
    d.add({"D:\\cfg\\a.dat", "D:\\cfg\\b.dat"});
    d.choose(2);
    d.add(std::nullopt);
    EXPECT_EQ(d.listed(), (Paths{"D:\\cfg\\a.dat", "D:\\cfg\\b.dat"}));
    EXPECT_EQ(d.chosen(), 2u);
    EXPECT_TRUE(d.mergeEnabled());
    EXPECT_TRUE(d.boxes().empty());
    EXPECT_EQ(d.offeredNames().size(), 2u);
}

TEST_F(DialogScenario, MergeOnAnEmptyListShowsNothingAndKeepsMergeEnabled) {
    d.choose(0);
    d.click(Control::Merge);
    EXPECT_TRUE(d.boxes().empty());
    EXPECT_TRUE(d.mergeEnabled());
}

// The details without the indented lines that say what each conversion changed.
std::string withoutChanges(const std::string& details) {
    std::string kept;
    for (std::size_t at = 0; at < details.size();) {
        const std::size_t end = details.find('\n', at) + 1;
        if (details.compare(at, 2, "  ") != 0) {
            kept += details.substr(at, end - at);
        }
        at = end;
    }
    return kept;
}

// A mixed list, to each version in turn: every version, a length of no
// version and a missing source. The missing one has its own box; the summary
// has a line per entry; each output is its source converted, byte for byte,
// beside it, its file name saying where it is.
TEST_F(DialogScenario, ConvertsEveryListedFileToTheChosenVersionWithALinePerEntry) {
    std::vector<Bytes> records;
    Paths sources;
    const auto extension = [](std::size_t v) { return v == 5 ? ".DAT" : ".dat"; }; // as given
    for (std::size_t v = 0; v < kVersionCount; ++v) {
        records.push_back(randomRecord(*versionAt(v), static_cast<std::uint32_t>(v + 1)));
        sources.push_back(m_folder.write("v" + std::to_string(v) + extension(v), records.back()));
    }
    const std::string odd = m_folder.write("odd.dat", randomBytes(1473, 2));
    const std::string missing = m_folder.file("missing.dat");
    sources.insert(sources.end(), {odd, missing});
    for (std::size_t to = 0; to < kVersionCount; ++to) {
        SCOPED_TRACE(to);
        d.click(Control::Reset);
        d.add(sources);
        d.choose(to);
        const std::size_t before = d.boxes().size();
        d.click(Control::Merge);

        ASSERT_EQ(d.boxes().size(), before + 2);
        EXPECT_EQ(d.boxes()[before].text, "File could not be opened \n" + missing + " was not found.");
        const Box& summary = d.boxes().back();
        EXPECT_EQ(summary.caption, "Tallowbrook");
        EXPECT_EQ(summary.text, "Done! Merged 5 configuration files.\n");
        EXPECT_FALSE(summary.stop);
        EXPECT_TRUE(d.boxes()[before].busy && summary.busy);
        const std::string suffix(kVersionTable[to].suffix);
        for (std::size_t from = 0; from < kVersionCount; ++from) {
            const std::string output = m_folder.file("v" + std::to_string(from) + suffix + extension(from));
            if (from == to) {
                EXPECT_FALSE(exists(output));
            } else {
                EXPECT_EQ(readFile(output), convert(*versionAt(from), *versionAt(to), records[from]))
                    << output;
            }
        }
        EXPECT_FALSE(exists(m_folder.file("odd" + suffix + ".dat")));
        EXPECT_FALSE(d.busy());
        EXPECT_FALSE(d.mergeEnabled());
        EXPECT_EQ(d.listed().size(), 8u) << "the list is only read";
        if (to == 2) {
            const std::string folder = m_folder.file("");
            EXPECT_EQ(withoutChanges(summary.details),
                      missing + ": could not be opened: " + missing + " was not found.\n" + odd +
                          ": passed over: 1473 bytes is the length of no version\n" + folder +
                          "v0.dat: Version 6.04, written as v0_705.dat\n" + folder +
                          "v1.dat: Version 7.00 - 7.04, written as v1_705.dat\n" + folder +
                          "v2.dat: passed over: already Version 7.05\n" + folder +
                          "v3.dat: Version 7.07, written as v3_705.dat\n" + folder +
                          "v4.dat: Version 8.00, written as v4_705.dat\n" + folder +
                          "v5.DAT: Version 8.02, written as v5_705.DAT\n");
        }
    }
    // A click on the disabled button does nothing; Add still works; Reset starts over.
    const std::size_t boxes = d.boxes().size();
    d.click(Control::Merge);
    EXPECT_EQ(d.boxes().size(), boxes);
    d.add({odd});
    EXPECT_EQ(d.listed().size(), 9u);
    d.click(Control::Reset);
    EXPECT_TRUE(d.listed().empty());
    EXPECT_EQ(d.chosen(), kIndex802);
    EXPECT_TRUE(d.mergeEnabled());
}

TEST_F(DialogScenario, WithNoVersionChosenNothingIsWritten) {
    d.add({m_folder.write("a.dat", randomRecord(Version::V604, 1))});
    d.choose(std::nullopt);
    d.click(Control::Merge);
    ASSERT_EQ(d.boxes().size(), 1u);
    EXPECT_EQ(d.boxes()[0].text, "Done! Merged 0 configuration files.\n");
    EXPECT_EQ(m_folder.names(), Paths{"a.dat"});
}

// Under each written entry: what its conversion dropped, changed or filled
// in, a line each, the defaults together on the last.
TEST_F(DialogScenario, DetailsSayWhatEachConversionChanged) {
    Bytes record(kLength802, std::byte{0});
    putU32(record, 788, 5);
    putU32(record, 800, 17); // entries of zeros
    putU32(record, 848, 4);
    putU32(record, 1852, 2);
    putText(record, 1856, u"trevak\\engraving_setting");
    putU32(record, 2368, 1);
    putText(record, 2376, u"D:\\jobs");
    putU32(record, 2888, 1);
    d.add({m_folder.write("a.dat", record), m_folder.write("b.dat", Bytes(kLength604, std::byte{0}))});
    d.choose(0); // 6.04

    d.click(Control::Merge);

    ASSERT_EQ(d.boxes().size(), 1u);
    const std::string folder = m_folder.file("");
    EXPECT_EQ(
        d.boxes()[0].details,
        folder +
            "a.dat: Version 8.02, written as a_604.dat\n"
            "  788: 5 becomes 0\n"
            "  848: 4 becomes 1\n"
            "  the value 0 at entry offset 8 of entries 1-16 is dropped\n"
            "  the value 0 at entry offset 12 of entries 1-16 is dropped\n"
            "  the value 0 at entry offset 16 of entries 1-16 is dropped\n"
            "  the 17th entry does not fit Version 6.04's table of 16 and is dropped; the entry count still "
            "reads 17\n"
            "  the jobs path \"D:\\jobs\" is dropped\n"
            "  defaults dropped: 1852: 2, the engraving-setting path \"trevak\\engraving_setting\", 2368: 1, "
            "2372: 0, 2888: 1, entries 1-16 at entry offsets 5-7: 00 00 00, 20: 0, 24-27: 00 00 00 00\n" +
            folder + "b.dat: passed over: already Version 6.04\n");
}

TEST_F(DialogScenario, AFailedOutputIsAStopReportAndTheDialogStaysReady) {
    d.add({m_folder.write("a.dat", randomRecord(Version::V800, 3)),
           m_folder.write("b.dat", randomRecord(Version::V800, 4))});
    // A folder where the output should go.
    std::filesystem::create_directory(std::filesystem::u8path(m_folder.file("b_802.dat")));
    d.click(Control::Merge);

    ASSERT_EQ(d.boxes().size(), 1u);
    const Box& report = d.boxes()[0];
    EXPECT_TRUE(report.stop);
    EXPECT_EQ(report.caption, d.programName());
    EXPECT_EQ(report.text, "Access to " + m_folder.file("b_802.dat") + " was denied.");
    EXPECT_TRUE(d.mergeEnabled());
    EXPECT_TRUE(exists(m_folder.file("a_802.dat")));
    EXPECT_FALSE(d.busy());
}

// At the box for a missing source the progress box stands at the file before
// it; at the summary it is gone; the wait cursor stays for the whole run.
TEST_F(DialogScenario, TheProgressBoxCountsFilesLookedAtAndIsGoneBeforeTheSummary) {
    d.setProgressDelay(std::chrono::milliseconds(0));
    d.add({m_folder.write("a.dat", randomRecord(Version::V604, 1)), m_folder.file("b.dat"),
           m_folder.write("c.dat", randomRecord(Version::V802, 3))});
    d.click(Control::Merge);
    ASSERT_EQ(d.boxes().size(), 2u);
    EXPECT_EQ(d.boxes()[0].progress, (ProgressShown{"File 1 of 3", 1, 3}));
    EXPECT_EQ(d.boxes()[1].progress, std::nullopt);
    EXPECT_TRUE(d.boxes()[0].busy && d.boxes()[1].busy);
    EXPECT_FALSE(d.progressShown());
    EXPECT_FALSE(d.busy());
}

TEST_F(DialogScenario, NoProgressBoxBeforeTheDelay) {
    d.setProgressDelay(std::chrono::hours(1));
    d.add({m_folder.write("a.dat", randomRecord(Version::V604, 1))});
    d.click(Control::Merge);
    ASSERT_EQ(d.boxes().size(), 1u);
    EXPECT_EQ(d.boxes()[0].progress, std::nullopt);
}

TEST_F(DialogScenario, ResetReturnsToTheStartFromEveryState) {
    const std::string file = m_folder.write("a.dat", randomRecord(Version::V604, 8));
    for (const bool merged : {false, true}) {
        for (const bool listed : {false, true}) {
            SCOPED_TRACE(std::string(merged ? "merged" : "ready") + (listed ? ", listed" : ", empty"));
            const std::unique_ptr<ScenarioDriver> dialog = makeDriver();
            dialog->choose(0);
            if (merged) {
                dialog->add({file});
                dialog->click(Control::Merge);
            }
            if (!listed) {
                dialog->click(Control::Reset);
                dialog->choose(0);
            } else if (!merged) {
                dialog->add({file});
            }
            const std::size_t boxesBefore = dialog->boxes().size();
            dialog->click(Control::Reset);
            EXPECT_TRUE(dialog->listed().empty());
            EXPECT_EQ(dialog->chosen(), kIndex802);
            EXPECT_TRUE(dialog->mergeEnabled());
            EXPECT_EQ(dialog->boxes().size(), boxesBefore) << "Reset shows nothing";
        }
    }
}

TEST_F(DialogScenario, DroppedFilesAndFoldersJoinTheListInItsOrder) {
    const std::string a = m_folder.write("a.dat", Bytes(3));
    m_folder.write("B.DAT", Bytes(3));
    m_folder.write("notes.txt", Bytes(3));
    std::filesystem::create_directory(std::filesystem::u8path(m_folder.file("sub")));
    const std::string inner = m_folder.write(std::string("sub") + kFolderSeparator + "C.Dat", Bytes(3));
    const std::string other = m_folder.write(std::string("sub") + kFolderSeparator + "x.txt", Bytes(3));
    const std::string folder = m_folder.file("").substr(0, m_folder.file("").size() - 1);

    // A folder stands for its .dat files; a dropped file is taken whatever its
    // name, and whether or not it is there.
    d.drop({m_folder.file("sub"), a, folder, other, m_folder.file("gone.dat")});
    EXPECT_EQ(d.listed(), (Paths{a, a, m_folder.file("B.DAT"), m_folder.file("gone.dat"), inner, other}));
    EXPECT_TRUE(d.boxes().empty());
}

TEST_F(DialogScenario, HoverTextSaysWhatEachListedFileIs) {
    const std::string record = m_folder.write("laser.dat", randomRecord(Version::V707, 4));
    const std::string odd = m_folder.write("odd.dat", randomBytes(1473, 5));
    const std::string missing = m_folder.file("gone.dat");
    d.add({record, odd, missing});

    const std::pair<std::string, std::string> expected[] = {
        {missing, "Could not be read: " + missing + " was not found."},
        {record, "Version 7.07, device \""},
        {odd, "Not a configuration file: 1473 bytes is the length of no version"},
    };
    for (std::size_t row = 0; row < std::size(expected); ++row) {
        EXPECT_EQ(d.listed()[row], expected[row].first);
        EXPECT_EQ(d.hoverText(row).rfind(expected[row].second, 0), 0U) << d.hoverText(row);
    }
    // Read each time: a file replaced after it was listed is described as it is now.
    writeFile(odd, randomRecord(Version::V604, 6));
    EXPECT_EQ(d.hoverText(2).rfind("Version 6.04, device \"", 0), 0U);
}

} // namespace
} // namespace tallowbrook::dialog::test
