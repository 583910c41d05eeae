// What only the model shows: its order as the platform's, batches, a failure
// that escapes a run, and the progress box's pace under a fake clock. The
// rest of the dialog's behaviour is in dialog_scenarios.cpp, run here on the
// fake view.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>

#include "tests/dialog/fake_view.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::dialog::test {

std::unique_ptr<ScenarioDriver> makeDriver() {
    return std::make_unique<FakeDialog>();
}

namespace {

using namespace tallowbrook::test; // records, temporary folders

TEST(DialogModel, TheOrderCanBeThePlatformsOwn) {
    // Reverse byte order stands for a collation other than the default.
    FakeDialog d([](std::string_view a, std::string_view b) { return a > b; });
    d.model.addFiles({"a", "c", "b"});
    EXPECT_EQ(d.rows, (Paths{"c", "b", "a"}));
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
    const std::pair<const char*, std::vector<Paths>> cases[] = {
        {"ascending", {ascending}},
        {"descending", {descending}},
        {"shuffled", {shuffled}},
        {"a second batch among the first", {earlier, shuffled}},
        {"a second batch sorting first", {descending, earlier}},
    };
    for (const auto& [name, batches] : cases) {
        SCOPED_TRACE(name);
        FakeDialog d;
        Paths all;
        for (const Paths& batch : batches) {
            d.model.addFiles(batch);
            all.insert(all.end(), batch.begin(), batch.end());
        }
        std::stable_sort(all.begin(), all.end(), sortsBeforeIgnoringCase);
        EXPECT_EQ(d.listed(), all);
        EXPECT_EQ(d.batches, static_cast<int>(batches.size()));
        EXPECT_EQ(d.model.describeEntry(all.size()), "") << "no entry, no text";
    }
}

TEST(DialogModel, AnErrorThatEscapesTheRunIsReportedLikeAFailedOutput) {
    TempFolder folder;
    FakeDialog d;
    d.model.setProgressDelay(std::chrono::milliseconds(0));
    d.model.addFiles({folder.write("a.dat", randomRecord(Version::V604, 5))});
    d.onProgress = [] { throw std::runtime_error("out of luck"); };
    d.model.merge();
    ASSERT_EQ(d.shown.size(), 1u);
    EXPECT_TRUE(d.shown[0].stop);
    EXPECT_EQ(d.shown[0].text, "out of luck");
    EXPECT_TRUE(d.mergeOn);
    EXPECT_FALSE(d.busyOn);
    EXPECT_FALSE(d.progressUp);
}

TEST(DialogModel, ProgressCountsFilesLookedAtAtMostEveryIntervalAndClosesBeforeTheLastBox) {
    TempFolder folder;
    // Twelve entries: a missing one (its own box), the others of no version's length.
    Paths files{folder.file("f15 gone.dat")};
    for (int i = 0; i < 11; ++i) {
        files.push_back(folder.write("f" + std::to_string(10 + i) + ".dat", Bytes(3)));
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
    const auto blocked = std::filesystem::u8path(folder.file("b_802.dat"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeDialog d;
        d.model.setClock([now = std::chrono::steady_clock::time_point(),
                          step = std::chrono::milliseconds(c.stepMs)]() mutable { return now += step; });
        d.model.setProgressDelay(std::chrono::milliseconds(c.delayMs));
        Paths listed = files;
        if (c.outputFails) {
            listed = {folder.write("a.dat", randomRecord(Version::V604, 1)),
                      folder.write("b.dat", randomRecord(Version::V604, 2))};
            std::filesystem::create_directory(blocked);
        }
        d.model.addFiles(listed);
        d.model.merge();
        std::filesystem::remove_all(blocked);

        std::vector<std::size_t> shown;
        for (const ProgressShown& progress : d.progressSeen) {
            shown.push_back(progress.done);
            EXPECT_EQ(progress.total, listed.size());
            EXPECT_EQ(progress.text,
                      "File " + std::to_string(progress.done) + " of " + std::to_string(listed.size()));
        }
        EXPECT_EQ(shown, c.shown);
        // The box that ends the run comes after the progress box is gone; a
        // source failure's box comes while it stands still.
        ASSERT_FALSE(d.calls.empty());
        EXPECT_EQ(d.calls.back(), "message");
        if (!c.shown.empty()) {
            EXPECT_EQ(d.calls[d.calls.size() - 2], "hide progress");
        }
        EXPECT_FALSE(d.progressUp);
        EXPECT_FALSE(d.shown.back().progress);
    }
}

} // namespace
} // namespace tallowbrook::dialog::test
