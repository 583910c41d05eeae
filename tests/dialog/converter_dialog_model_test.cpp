// The main dialog's behaviour through a fake view: the list's order, the name
// offered to the open-file dialog, Add, Reset, and what a Merge run shows.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>

#include "dialog/converter_dialog_model.h"
#include "tests/dialog/fake_view.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::dialog::test {
namespace {

using tallowbrook::test::Bytes;
using tallowbrook::test::exists;
using tallowbrook::test::randomBytes;
using tallowbrook::test::randomRecord;
using tallowbrook::test::readFile;
using tallowbrook::test::TempFolder;
using tallowbrook::test::writeFile;
using Paths = std::vector<std::string>;

constexpr std::size_t kIndex802 = 5;

struct Dialog {
    Dialog() { model.start(); }
    void add(const Paths& paths) {
        view.answers.emplace_back(paths);
        model.getFile();
    }
    FakeView view;
    ConverterDialogModel model{view};
};

TEST(DialogModel, StartsWithAnEmptyListVersion802AndMergeEnabled) {
    Dialog d;
    EXPECT_TRUE(d.view.rows.empty());
    EXPECT_EQ(d.view.chooser, kIndex802);
    EXPECT_TRUE(d.view.mergeEnabled);
    EXPECT_EQ(d.model.offeredName(), "   ");
    EXPECT_EQ(ConverterDialogModel::chooserLabels(),
              (Paths{"Version 6.04", "Version 7.00 - 7.04", "Version 7.05", "Version 7.07", "Version 8.00",
                     "Version 8.02"}));
}

TEST(DialogModel, AddKeepsCaseInsensitiveOrderAndDuplicatesAndOffersTheLastEntry) {
    const struct {
        const char* name;
        std::vector<Paths> picks;
        Paths listed;
        Paths offered; // at each Add, and once more after the last
    } cases[] = {
        {"one file", {{"D:\\cfg\\a.dat"}}, {"D:\\cfg\\a.dat"}, {"   ", "D:\\cfg\\a.dat"}},
        {"several at once",
         {{"D:\\cfg\\b.dat", "D:\\cfg\\a.dat"}},
         {"D:\\cfg\\a.dat", "D:\\cfg\\b.dat"},
         {"   ", "D:\\cfg\\b.dat"}},
        {"sorted, not by adding",
         {{"E:\\b\\x.dat"}, {"D:\\z\\y.dat"}, {"d:\\a"}},
         {"d:\\a", "D:\\z\\y.dat", "E:\\b\\x.dat"},
         {"   ", "E:\\b\\x.dat", "E:\\b\\x.dat", "E:\\b\\x.dat"}},
        {"duplicates kept in the order added",
         {{"/cfg/a.dat"}, {"/cfg/a.dat", "/cfg/A.dat"}},
         {"/cfg/a.dat", "/cfg/a.dat", "/cfg/A.dat"},
         {"   ", "/cfg/a.dat", "/cfg/A.dat"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog d;
        for (const Paths& pick : c.picks) {
            d.add(pick);
        }
        d.view.answers.emplace_back(std::nullopt); // one more look at the name offered
        d.model.getFile();
        EXPECT_EQ(d.model.entries(), c.listed);
        EXPECT_EQ(d.view.rows, c.listed) << "the view shows the model's order";
        EXPECT_EQ(d.view.offeredNames, c.offered);
    }
}

TEST(DialogModel, TheOrderCanBeThePlatformsOwn) {
    FakeView view;
    // Reverse byte order stands for a collation other than the default.
    ConverterDialogModel model(view, [](std::string_view a, std::string_view b) { return a > b; });
    model.addFiles({"a", "c", "b"});
    EXPECT_EQ(view.rows, (Paths{"c", "b", "a"}));
}

// However a batch arrives, the list is one sort of everything added, in the
// order added among equal texts, and the view hears of each batch once.
TEST(DialogModel, BatchesInAnyOrderGiveOneSortOfEverything) {
    Paths ascending;
    for (int i = 0; i < 3000; ++i) {
        ascending.push_back("C:\\cfg\\" + std::to_string(100000 + i / 3) + (i % 3 == 2 ? ".DAT" : ".dat"));
    }
    Paths descending(ascending.rbegin(), ascending.rend());
    Paths shuffled = ascending;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    const Paths earlier{"C:\\cfg\\100500.dat", "D:\\last.dat", "A:\\first.dat"};
    const struct {
        const char* name;
        std::vector<Paths> batches;
    } cases[] = {
        {"ascending", {ascending}},
        {"descending", {descending}},
        {"shuffled", {shuffled}},
        {"a second batch among the first", {earlier, shuffled}},
        {"a second batch sorting first", {descending, earlier}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog d;
        Paths all;
        for (const Paths& batch : c.batches) {
            d.model.addFiles(batch);
            all.insert(all.end(), batch.begin(), batch.end());
        }
        std::stable_sort(all.begin(), all.end(), sortsBeforeIgnoringCase);
        EXPECT_EQ(d.model.entries(), all);
        EXPECT_EQ(d.view.rows, all);
        EXPECT_EQ(d.view.batches, static_cast<int>(c.batches.size()));
    }
}

TEST(DialogModel, CancelChangesNothing) {
    Dialog d;
    d.add({"/cfg/a.dat"});
    d.view.chooser = 2;
    d.view.answers.emplace_back(std::nullopt);
    d.model.getFile();
    EXPECT_EQ(d.view.rows, Paths{"/cfg/a.dat"});
    EXPECT_EQ(d.view.chooser, 2u);
    EXPECT_TRUE(d.view.messages.empty());
}

TEST(DialogModel, MergeOnAnEmptyListShowsNothingAndKeepsMergeEnabled) {
    Dialog d;
    d.model.merge();
    EXPECT_TRUE(d.view.messages.empty());
    EXPECT_TRUE(d.view.mergeEnabled);
}

// A mixed list: every version, a length of no version and a missing source.
class MergeRunTest : public ::testing::Test {
protected:
    std::string add(const std::string& name, const Bytes& bytes) {
        const std::string path = m_folder.file(name);
        writeFile(path, bytes);
        return path;
    }
    TempFolder m_folder;
};

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

TEST_F(MergeRunTest, ASummaryWithALinePerEntryThenTheMergedState) {
    Dialog d;
    Paths sources;
    for (std::size_t v = 0; v < kVersionCount; ++v) {
        sources.push_back(add("v" + std::to_string(v) + ".dat", randomRecord(static_cast<Version>(v), 1)));
    }
    const std::string odd = add("odd.dat", randomBytes(1473, 2));
    const std::string missing = m_folder.file("missing.dat");
    sources.push_back(odd);
    sources.push_back(missing);
    d.model.addFiles(sources);
    d.view.chooser = 2; // 7.05

    d.model.merge();

    ASSERT_EQ(d.view.messages.size(), 2u);
    EXPECT_EQ(d.view.messages[0].text, "File could not be opened \n" + missing + " was not found.");
    const Message& summary = d.view.messages[1];
    EXPECT_EQ(summary.caption, "Tallowbrook");
    EXPECT_EQ(summary.text, "Done! Merged 5 configuration files.\n");
    EXPECT_EQ(summary.icon, Message::Icon::None);
    const std::string folder = m_folder.file("");
    // The output is beside its source: its file name says where it is.
    EXPECT_EQ(withoutChanges(summary.details), missing + ": could not be opened: " + missing + " was not found.\n" + odd +
                                   ": passed over: 1473 bytes is the length of no version\n" + folder +
                                   "v0.dat: Version 6.04, written as v0_705.dat\n" + folder +
                                   "v1.dat: Version 7.00 - 7.04, written as v1_705.dat\n" + folder +
                                   "v2.dat: passed over: already Version 7.05\n" + folder +
                                   "v3.dat: Version 7.07, written as v3_705.dat\n" + folder +
                                   "v4.dat: Version 8.00, written as v4_705.dat\n" + folder +
                                   "v5.dat: Version 8.02, written as v5_705.dat\n");
    EXPECT_EQ(d.view.busyAtMessage, (std::vector<bool>{true, true}));
    EXPECT_FALSE(d.view.busy);
    EXPECT_FALSE(d.view.mergeEnabled);
    EXPECT_EQ(d.view.rows.size(), 8u) << "the list is only read";

    // A click on the disabled button does nothing; Add still works; Reset starts over.
    d.model.merge();
    EXPECT_EQ(d.view.messages.size(), 2u);
    d.add({odd});
    EXPECT_EQ(d.view.rows.size(), 9u);
    d.model.reset();
    EXPECT_TRUE(d.view.rows.empty());
    EXPECT_EQ(d.view.chooser, kIndex802);
    EXPECT_TRUE(d.view.mergeEnabled);
}

// Under each written entry: what its conversion dropped, changed or filled
// in, a line each, the defaults together on the last.
TEST_F(MergeRunTest, DetailsSayWhatEachConversionChanged) {
    using tallowbrook::test::putText;
    using tallowbrook::test::putU32;
    Bytes record(kLength802, std::byte{0});
    putU32(record, 788, 5);
    putU32(record, 800, 17); // entries of zeros
    putU32(record, 848, 4);
    putU32(record, 1852, 2);
    putText(record, 1856, u"trevak\\engraving_setting");
    putU32(record, 2368, 1);
    putText(record, 2376, u"D:\\jobs");
    putU32(record, 2888, 1);
    Dialog d;
    d.add({add("a.dat", record), add("b.dat", Bytes(kLength604, std::byte{0}))});
    d.view.chooser = 0; // 6.04

    d.model.merge();

    ASSERT_EQ(d.view.messages.size(), 1u);
    const std::string folder = m_folder.file("");
    EXPECT_EQ(d.view.messages[0].details,
              folder + "a.dat: Version 8.02, written as a_604.dat\n"
              "  788: 5 becomes 0\n"
              "  848: 4 becomes 1\n"
              "  the value 0 at entry offset 8 of entries 1-16 is dropped\n"
              "  the value 0 at entry offset 12 of entries 1-16 is dropped\n"
              "  the value 0 at entry offset 16 of entries 1-16 is dropped\n"
              "  the 17th entry does not fit Version 6.04's table of 16 and is dropped; the entry count still reads 17\n"
              "  the jobs path \"D:\\jobs\" is dropped\n"
              "  defaults dropped: 1852: 2, the engraving-setting path \"trevak\\engraving_setting\", 2368: 1, "
              "2372: 0, 2888: 1, entries 1-16 at entry offsets 5-7: 00 00 00, 20: 0, 24-27: 00 00 00 00\n" +
              folder + "b.dat: passed over: already Version 6.04\n");
}

TEST_F(MergeRunTest, AFailedOutputIsAStopReportAndTheDialogStaysReady) {
    Dialog d;
    const std::string a = add("a.dat", randomRecord(Version::V800, 3));
    const std::string b = add("b.dat", randomRecord(Version::V800, 4));
    std::filesystem::create_directory(std::filesystem::u8path(m_folder.file("b_802.dat")));
    d.model.addFiles({a, b});
    d.model.merge();

    ASSERT_EQ(d.view.messages.size(), 1u);
    const Message& report = d.view.messages[0];
    EXPECT_EQ(report.icon, Message::Icon::Stop);
    EXPECT_EQ(report.caption, "tallowbrook");
    EXPECT_EQ(report.text, "Access to " + m_folder.file("b_802.dat") + " was denied.");
    EXPECT_TRUE(d.view.mergeEnabled);
    EXPECT_TRUE(exists(m_folder.file("a_802.dat")));
    EXPECT_FALSE(d.view.busy);
}

TEST_F(MergeRunTest, AnErrorThatEscapesTheRunIsReportedLikeAFailedOutput) {
    Dialog d;
    d.model.setProgressDelay(std::chrono::milliseconds(0));
    d.model.addFiles({add("a.dat", randomRecord(Version::V604, 5))});
    d.view.onProgress = [] { throw std::runtime_error("out of luck"); };
    d.model.merge();
    ASSERT_EQ(d.view.messages.size(), 1u);
    EXPECT_EQ(d.view.messages[0].icon, Message::Icon::Stop);
    EXPECT_EQ(d.view.messages[0].text, "out of luck");
    EXPECT_TRUE(d.view.mergeEnabled);
    EXPECT_FALSE(d.view.busy);
    EXPECT_FALSE(d.view.progressUp);
}

// A clock that moves on by `step` each time it is read.
Clock steppingClock(std::chrono::milliseconds step) {
    auto now = std::make_shared<std::chrono::steady_clock::time_point>();
    return [now, step] { return *now += step; };
}

TEST_F(MergeRunTest, ProgressCountsFilesLookedAtAtMostEveryIntervalAndClosesBeforeTheLastBox) {
    // Twelve entries: a missing one (its own box), the others of no version's length.
    Paths files{m_folder.file("f15 gone.dat")};
    for (int i = 0; i < 11; ++i) {
        files.push_back(add("f" + std::to_string(10 + i) + ".dat", Bytes(3)));
    }
    const struct {
        const char* name;
        int stepMs;  // the clock moves on this much at each reading: the start, then each file
        int delayMs; // before the box appears
        std::vector<std::size_t> shown; // files looked at, at each update
        bool outputFails;
    } cases[] = {
        {"slow files: every update", 60, 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, false},
        {"fast files: every 50 ms and at the end", 20, 0, {1, 4, 7, 10, 12}, false},
        {"past the delay only", 20, 150, {8, 11, 12}, false},
        {"never past the delay", 20, 1000, {}, false},
        {"an output failure ends the run", 60, 0, {1, 2}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Dialog d;
        d.model.setClock(steppingClock(std::chrono::milliseconds(c.stepMs)));
        d.model.setProgressDelay(std::chrono::milliseconds(c.delayMs));
        Paths listed = files;
        if (c.outputFails) {
            listed = {add("a.dat", randomRecord(Version::V604, 1)),
                      add("b.dat", randomRecord(Version::V604, 2))};
            std::filesystem::create_directory(std::filesystem::u8path(m_folder.file("b_802.dat")));
        }
        d.model.addFiles(listed);
        d.model.merge();
        std::filesystem::remove_all(std::filesystem::u8path(m_folder.file("b_802.dat")));

        std::vector<std::size_t> shown;
        for (const Progress& progress : d.view.progressSeen) {
            shown.push_back(progress.done);
            EXPECT_EQ(progress.total, listed.size());
            EXPECT_EQ(progress.text,
                      "File " + std::to_string(progress.done) + " of " + std::to_string(listed.size()));
        }
        EXPECT_EQ(shown, c.shown);
        // The box that ends the run comes after the progress box is gone; a
        // source failure's box comes while it stands still.
        ASSERT_FALSE(d.view.calls.empty());
        EXPECT_EQ(d.view.calls.back(), "message");
        if (!c.shown.empty()) {
            EXPECT_EQ(d.view.calls[d.view.calls.size() - 2], "hide progress");
        }
        EXPECT_FALSE(d.view.progressUp);
        EXPECT_FALSE(d.view.progressUpAtMessage.back());
    }
}

TEST_F(MergeRunTest, ResetReturnsToTheStartFromEveryState) {
    const std::string file = add("a.dat", randomRecord(Version::V604, 8));
    for (const bool merged : {false, true}) {
        for (const bool listed : {false, true}) {
            SCOPED_TRACE(std::string(merged ? "merged" : "ready") + (listed ? ", listed" : ", empty"));
            Dialog d;
            d.view.chooser = 0;
            if (merged) {
                d.model.addFiles({file});
                d.model.merge();
            }
            if (!listed) {
                d.model.reset();
                d.view.chooser = 0;
            } else if (!merged) {
                d.model.addFiles({file});
            }
            const std::size_t messagesBefore = d.view.messages.size();
            d.model.reset();
            EXPECT_TRUE(d.view.rows.empty());
            EXPECT_TRUE(d.model.entries().empty());
            EXPECT_EQ(d.view.chooser, kIndex802);
            EXPECT_TRUE(d.view.mergeEnabled);
            EXPECT_EQ(d.view.messages.size(), messagesBefore) << "Reset shows nothing";
        }
    }
}

TEST_F(MergeRunTest, DroppedFilesAndFoldersJoinTheListInItsOrder) {
    const std::string a = add("a.dat", Bytes(3));
    add("B.DAT", Bytes(3));
    add("notes.txt", Bytes(3));
    std::filesystem::create_directory(std::filesystem::u8path(m_folder.file("sub")));
#ifdef _WIN32
    const std::string sub = "sub\\";
#else
    const std::string sub = "sub/";
#endif
    const std::string inner = add(sub + "C.Dat", Bytes(3));
    const std::string other = add(sub + "x.txt", Bytes(3));

    const std::string withSeparator = m_folder.file("");
    const std::string folder = withSeparator.substr(0, withSeparator.size() - 1);

    Dialog d;
    // A folder stands for its .dat files; a dropped file is taken whatever its name.
    d.model.addDropped({m_folder.file("sub"), a, folder, other});
    EXPECT_EQ(d.view.rows, (Paths{a, a, m_folder.file("B.DAT"), inner, other}));
    EXPECT_TRUE(d.view.messages.empty());
}

TEST(DialogModel, HoverTextSaysWhatEachListedFileIs) {
    TempFolder folder;
    const std::string record = folder.file("laser.dat");
    writeFile(record, randomRecord(Version::V707, 4));
    const std::string odd = folder.file("odd.dat");
    writeFile(odd, randomBytes(1473, 5));
    const std::string missing = folder.file("gone.dat");
    Dialog d;
    d.add({record, odd, missing});

    const std::pair<std::string, std::string> expected[] = {
        {missing, "Could not be read: " + missing + " was not found."},
        {record, "Version 7.07, device \""},
        {odd, "Not a configuration file: 1473 bytes is the length of no version"},
    };
    for (std::size_t row = 0; row < std::size(expected); ++row) {
        EXPECT_EQ(d.view.rows[row], expected[row].first);
        EXPECT_EQ(d.model.describeEntry(row).rfind(expected[row].second, 0), 0U)
            << d.model.describeEntry(row);
    }
    EXPECT_EQ(d.model.describeEntry(3), "");
    // Read each time: a file replaced after it was listed is described as it is now.
    writeFile(odd, randomRecord(Version::V604, 6));
    EXPECT_EQ(d.model.describeEntry(2).rfind("Version 6.04, device \"", 0), 0U);
}

} // namespace
} // namespace tallowbrook::dialog::test
