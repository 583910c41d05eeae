// The dialog with a window, on whichever desktop program this is: the ways it
// ends, and a user's whole way through by keyboard only or by mouse only,
// with the platform's own boxes, each closed as that user would. After every
// step the focus is on the control given, and at the end Esc or Enter ends
// the program.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <set>

#include "tests/dialog/scenario_driver.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::dialog::test {
namespace {

// Tab until `control` has the focus, as a user would look for it.
void tabTo(WindowDriver& d, Control control) {
    for (int i = 0; i < 8 && d.focused() != control; ++i) {
        d.press(Key::Tab);
    }
    ASSERT_EQ(d.focused(), control);
}

class EndingTest : public ::testing::TestWithParam<bool> {};

TEST_P(EndingTest, DoneEnterEscAndTheCloseBoxEndTheDialog) {
    const struct {
        const char* name;
        std::function<void(WindowDriver&)> act;
        bool accepted;
    } cases[] = {
        {"Done", [](WindowDriver& d) { d.click(Control::Done); }, true},
        {"Enter", [](WindowDriver& d) { d.press(Key::Enter); }, true},
        {"Esc", [](WindowDriver& d) { d.press(Key::Escape); }, false},
        {"close box", [](WindowDriver& d) { d.closeBox(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<WindowDriver> d = makeWindowDriver();
        if (GetParam()) {
            d->add(Paths{"D:\\cfg\\a.dat"});
            ASSERT_EQ(d->listed().size(), 1u);
        }
        d->show();
        ASSERT_NO_FATAL_FAILURE(tabTo(*d, Control::Done));
        c.act(*d);
        EXPECT_EQ(d->waitForEnd(), c.accepted);
    }
}
INSTANTIATE_TEST_SUITE_P(EmptyOrListed, EndingTest, ::testing::Bool(),
                         [](const auto& test) { return test.param ? "Listed" : "Empty"; });

struct Step {
    const char* action;
    Control focusAfter;
};

struct Journey {
    std::string name;
    bool keyboard = true;
    std::vector<Step> steps;
    Key endKey = Key::Escape;
    bool accepted = false;
};

void PrintTo(const Journey& journey, std::ostream* out) {
    *out << journey.name;
}

std::vector<Journey> journeys() {
    const Step add{"add", Control::GetFile};
    const Step choose{"choose", Control::Chooser};
    const Step merge{"merge", Control::Chooser};
    const Step reset{"reset", Control::Reset};
    const Step tabRound{"tab round", Control::Chooser};
    const std::vector<Step> merged{add, choose, merge};
    const std::vector<Step> unchosen{add, merge};
    const Journey byEither[] = {
        {"MergedThenEsc", true, merged},
        {"MergedThenEnterPressesDone", true, merged, Key::Enter, true},
        {"MergedThenReset", true, {add, choose, merge, reset}},
        {"FailedOutput", true, {add, {"fail", Control::Merge}}},
        {"AboutBox", true, {add, {"about", Control::GetFile}}},
        {"SourceThatCannotBeOpened", true, {{"add a missing file", Control::GetFile}, merge}},
    };
    std::vector<Journey> all;
    for (const bool keyboard : {true, false}) {
        for (Journey journey : byEither) {
            journey.name.insert(0, keyboard ? "Keyboard" : "Mouse");
            journey.keyboard = keyboard;
            all.push_back(journey);
        }
    }
    all.push_back({"KeyboardTabAfterMergeReachesEveryEnabledControl", true, {add, choose, merge, tabRound}});
    all.push_back({"MouseUnchosenMergedThenEsc", false, unchosen});
    all.push_back({"MouseUnchosenMergedThenEnterPressesDone", false, unchosen, Key::Enter, true});
    all.push_back({"MouseUnchosenMergedThenReset", false, {add, merge, reset}});
    return all;
}

class JourneyTest : public ::testing::TestWithParam<Journey> {
protected:
    void press(Control button) {
        ASSERT_TRUE(button != Control::Merge || d->mergeEnabled()) << "a press the user could make";
        if (GetParam().keyboard) {
            tabTo(*d, button);
            d->press(Key::Space);
        } else {
            d->click(button);
        }
    }

    tallowbrook::test::TempFolder m_folder;
    std::unique_ptr<WindowDriver> d = makeWindowDriver();
};

TEST_P(JourneyTest, KeepsTheKeyboardAlive) {
    const Journey& journey = GetParam();
    const Paths files{m_folder.write("a.dat", tallowbrook::test::randomRecord(Version::V604, 1)),
                      m_folder.write("b.dat", tallowbrook::test::randomRecord(Version::V800, 1))};
    d->useRealBoxes(journey.keyboard);
    d->setProgressDelay(std::chrono::milliseconds(0));
    d->show();
    ASSERT_EQ(d->focused(), Control::Done);
    for (const Step& step : journey.steps) {
        SCOPED_TRACE(step.action);
        const std::string action = step.action;
        if (action == "add" || action == "add a missing file") {
            Paths chosen = files;
            if (action != "add") {
                chosen.push_back(m_folder.file("c.dat")); // its box comes mid-run
            }
            d->answerOpenFile(chosen);
            press(Control::GetFile);
            EXPECT_EQ(d->listed().size(), chosen.size());
        } else if (action == "choose") {
            if (journey.keyboard) {
                tabTo(*d, Control::Chooser);
                d->press(Key::Up);
            } else {
                d->chooseByMouse(4);
            }
            EXPECT_EQ(d->chosen(), 4u);
        } else if (action == "merge" || action == "fail") {
            if (action == "fail") {
                std::filesystem::create_directory(std::filesystem::u8path(m_folder.file("b_802.dat")));
            }
            press(Control::Merge);
            EXPECT_EQ(d->mergeEnabled(), action == "fail");
            EXPECT_EQ(d->defaultButton(), Control::Done);
            if (action == "merge") {
                // The default-button look is back on "Done", off the disabled "Merge".
                EXPECT_TRUE(d->drawnAsDefault(Control::Done));
                EXPECT_FALSE(d->drawnAsDefault(Control::Merge));
            }
        } else if (action == "reset") {
            press(Control::Reset);
        } else if (action == "about") {
            EXPECT_TRUE(d->openAndCloseAbout(journey.keyboard)) << "no About box came up";
        } else if (action == "tab round") {
            std::set<Control> reached;
            for (int i = 0; i < 5; ++i) {
                d->press(Key::Tab);
                reached.insert(d->focused());
            }
            EXPECT_EQ(reached, (std::set<Control>{Control::Done, Control::GetFile, Control::Chooser,
                                                  Control::List, Control::Reset}));
        }
        EXPECT_EQ(d->focused(), step.focusAfter);
    }
    d->press(journey.endKey);
    EXPECT_EQ(d->waitForEnd(), journey.accepted);
}
INSTANTIATE_TEST_SUITE_P(ByKeyboardOrMouse, JourneyTest, ::testing::ValuesIn(journeys()),
                         [](const auto& test) { return test.param.name; });

} // namespace
} // namespace tallowbrook::dialog::test
