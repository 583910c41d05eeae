// The native main dialog from its real template and dialog procedure, driven
// with the platform's messages: its start, the system menu and About box, the
// ways it ends, and the file list filled through the open-file dialog.

#include <gtest/gtest.h>

#include "winapi/windows_prelude.h"
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <filesystem>
#include <set>

#include "winapi/utf16.h"
#include "dialog/converter_dialog_model.h"
#include "dialog/dialog_ids.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/dialog_driver.h"
#include "win32/list_box_order.h"
#include "win32/message_box.h"
#include "win32/open_file_dialog.h"

namespace tallowbrook::win32::test {
namespace {

using Texts = std::vector<std::wstring>;

Texts chooserTexts(HWND dialog) {
    Texts texts;
    const auto count = ::SendDlgItemMessageW(dialog, IDC_CHOOSER, CB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
        wchar_t text[64] = {};
        ::SendDlgItemMessageW(dialog, IDC_CHOOSER, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        texts.emplace_back(text);
    }
    return texts;
}

// Where a key pressed in `box` goes, as the box's own loop sees it.
HWND focusIn(HWND box) {
    const HWND focus = ::GetFocus();
    return focus != nullptr && ::IsChild(box, focus) ? focus : box;
}

std::wstring menuText(HMENU menu, int position) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

TEST_F(DialogTest, StartsEmptyOnVersion802WithMergeEnabledAndItsIcon) {
    EXPECT_EQ(windowText(m_hwnd), L"Tallowbrook 5.0 Beta");
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(chooserTexts(m_hwnd), (Texts{L"Version 6.04", L"Version 7.00 - 7.04", L"Version 7.05",
                                           L"Version 7.07", L"Version 8.00", L"Version 8.02"}));
    EXPECT_EQ(chooser(), 5);
    EXPECT_TRUE(mergeEnabled());
    EXPECT_EQ(LOWORD(::SendMessageW(m_hwnd, DM_GETDEFID, 0, 0)), IDOK);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(m_hwnd, IDC_DONE));
    ASSERT_NE(m_dialog.icon(), nullptr);
    for (const WPARAM size : {WPARAM{ICON_BIG}, WPARAM{ICON_SMALL}}) {
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(m_hwnd, WM_GETICON, size, 0)), m_dialog.icon());
    }
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(m_hwnd, WM_QUERYDRAGICON, 0, 0)), m_dialog.icon());
    EXPECT_TRUE(::GetWindowLongW(m_hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(DialogTest, SystemMenuEndsWithASeparatorAndTheAboutEntry) {
    const HMENU menu = ::GetSystemMenu(m_hwnd, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_TRUE(::GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(menuText(menu, count - 1), L"&About Tallowbrook...");
}

TEST_F(DialogTest, TheAboutBoxOpensOnCommand16AndEveryWayOfClosingItReturns) {
    getFile(Selection{L"D:\\cfg\\a.dat"});
    choose(1);
    const struct {
        const char* name;
        WPARAM command; // the system keeps the low four bits for itself
        std::function<void(HWND)> close;
    } cases[] = {
        {"OK", IDM_ABOUTBOX, [](HWND box) { ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0); }},
        {"Enter", IDM_ABOUTBOX | 0x3,
         [](HWND box) { ::PostMessageW(focusIn(box), WM_KEYDOWN, VK_RETURN, 0); }},
        {"Esc", IDM_ABOUTBOX | 0xF, [](HWND box) { ::PostMessageW(focusIn(box), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"close box", IDM_ABOUTBOX, [](HWND box) { ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::wstring> texts;
        const bool shown = whileBoxIsUp([&] { ::SendMessageW(m_hwnd, WM_SYSCOMMAND, c.command, 0); },
                                        [&] { return findOwnedWindow(m_hwnd, L"About Tallowbrook"); },
                                        [&](HWND box) {
                                            for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
                                                 child = ::GetWindow(child, GW_HWNDNEXT)) {
                                                texts.push_back(windowText(child));
                                            }
                                            const HWND icon = ::GetWindow(box, GW_CHILD);
                                            EXPECT_NE(::SendMessageW(icon, STM_GETICON, 0, 0), 0)
                                                << "the icon shows";
                                            EXPECT_EQ(::GetFocus(), ::GetDlgItem(box, IDOK));
                                            c.close(box);
                                        });
        ASSERT_TRUE(shown) << "no About box appeared";
        EXPECT_EQ(texts.size(), 4u);
        if (texts.size() == 4) {
            EXPECT_EQ(texts[1], L"Tallowbrook Version 5.0 Beta");
            EXPECT_EQ(texts[3], L"OK");
        }
        EXPECT_EQ(findOwnedWindow(m_hwnd, L"About Tallowbrook"), nullptr);
        EXPECT_TRUE(::IsWindow(m_hwnd));
        EXPECT_FALSE(m_dialog.endCode());
        EXPECT_EQ(listed(), Texts{L"D:\\cfg\\a.dat"});
        EXPECT_EQ(chooser(), 1);
    }
}

TEST_F(DialogTest, OtherSystemCommandsAreThePlatformsOwn) {
    ::SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(m_hwnd));
    ::SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsIconic(m_hwnd));
    ::SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(pumpUntil([&] { return m_dialog.endCode().has_value(); }));
    EXPECT_EQ(m_dialog.endCode(), IDCANCEL);
}

TEST(MinimisedIcon, IsCentredRoundingTowardZero) {
    const struct {
        RECT client;
        POINT expected;
    } cases[] = {
        {{0, 0, 36, 36}, {2, 2}},   // (36 - 32 + 1) / 2
        {{0, 0, 35, 40}, {2, 4}},   // (35 - 32 + 1) / 2 = 2, (40 - 32 + 1) / 2 = 4
        {{0, 0, 0, 0}, {-15, -15}}, // (0 - 32 + 1) / 2 = -15.5, toward zero
    };
    for (const auto& c : cases) {
        const POINT at = centredIconOrigin(c.client, {32, 32});
        EXPECT_EQ(at.x, c.expected.x);
        EXPECT_EQ(at.y, c.expected.y);
    }
}

class EndingTest : public DialogTest, public ::testing::WithParamInterface<bool> {};

TEST_P(EndingTest, DoneEnterEscAndTheCloseBoxEndTheDialog) {
    const struct {
        const char* name;
        std::function<void(HWND)> act;
        INT_PTR code;
    } cases[] = {
        {"Done", [](HWND d) { ::SendMessageW(::GetDlgItem(d, IDC_DONE), BM_CLICK, 0, 0); }, IDOK},
        {"Enter", [](HWND d) { pressKey(d, VK_RETURN); }, IDOK},
        {"Esc", [](HWND d) { pressKey(d, VK_ESCAPE); }, IDCANCEL},
        {"close box", [](HWND d) { ::SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CConverterDialog dialog{m_system.seams()};
        const HWND hwnd = dialog.Create(nullptr);
        ASSERT_NE(hwnd, nullptr);
        if (GetParam()) {
            m_system.answers.push_back(Selection{L"D:\\cfg\\a.dat"});
            ::SendMessageW(::GetDlgItem(hwnd, IDC_GET_FILE), BM_CLICK, 0, 0);
            ASSERT_EQ(::SendDlgItemMessageW(hwnd, IDC_FILE_LIST, LB_GETCOUNT, 0, 0), 1);
        }
        ::SetFocus(::GetDlgItem(hwnd, IDC_DONE));
        c.act(hwnd);
        // The close box's cancel comes posted.
        EXPECT_TRUE(pumpUntil([&] { return dialog.endCode().has_value(); }));
        EXPECT_EQ(dialog.endCode(), c.code);
        EXPECT_FALSE(::IsWindow(hwnd));
    }
}
INSTANTIATE_TEST_SUITE_P(EmptyOrListed, EndingTest, ::testing::Bool());

// The control that has the keyboard focus in `dialog`: a drop-down's field
// counts as the drop-down; 0 when the focus is nowhere in it.
int focusedControl(HWND dialog) {
    HWND focus = ::GetFocus();
    if (focus == nullptr || !::IsChild(dialog, focus)) {
        return 0;
    }
    if (::GetParent(focus) != dialog) {
        focus = ::GetParent(focus);
    }
    return ::GetDlgCtrlID(focus);
}

// A key pressed and let go by the user, through the dialog's own loop: it goes
// to the control with the focus, and there must be one.
void typeKey(HWND dialog, WPARAM key) {
    const HWND focus = ::GetFocus();
    ASSERT_TRUE(focus != nullptr && ::IsChild(dialog, focus)) << "the keyboard reaches no control";
    for (const UINT message : {UINT{WM_KEYDOWN}, UINT{WM_KEYUP}}) {
        MSG msg{focus, message, key, message == WM_KEYUP ? LPARAM{static_cast<LONG>(0xC0000001)} : 1, 0, {}};
        if (!::IsDialogMessageW(dialog, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    MSG pending;
    while (::PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&pending);
        ::DispatchMessageW(&pending);
    }
}

// A user's whole way through, by keyboard only or by mouse only, with the
// system's real boxes (each closed as that user would) and the progress box:
// after every step the focus is on the control given, and at the end Esc or
// Enter ends the program. "Done" is 1, "Get File" 1001.
TEST_F(DialogTest, JourneysKeepTheKeyboardAlive) {
    tallowbrook::test::TempFolder folder;
    const auto file = [&](const char* name, Version version) {
        tallowbrook::test::writeFile(folder.file(name), tallowbrook::test::randomRecord(version, 1));
        return winapi::toWide(folder.file(name)).value();
    };
    const Selection files{file("a.dat", Version::V604), file("b.dat", Version::V800)};
    struct Step {
        const char* action;
        int focusAfter;
    };
    const std::vector<Step> merged{{"add", IDC_GET_FILE}, {"choose", IDC_CHOOSER}, {"merge", IDC_CHOOSER}};
    const std::vector<Step> mergedByMouse{{"add", IDC_GET_FILE}, {"merge", IDC_CHOOSER}};
    const auto then = [](std::vector<Step> steps, Step next) {
        steps.push_back(next);
        return steps;
    };
    const struct {
        const char* name;
        bool keyboard;
        std::vector<Step> steps;
        WPARAM endKey;
        INT_PTR endCode;
    } cases[] = {
        {"keyboard: add, choose, merge, Esc", true, merged, VK_ESCAPE, IDCANCEL},
        {"keyboard: merged, then Enter presses Done", true, merged, VK_RETURN, IDOK},
        {"keyboard: merged, then Reset", true, then(merged, {"reset", IDC_RESET}), VK_ESCAPE, IDCANCEL},
        {"keyboard: Tab after Merge reaches every enabled control", true,
         then(merged, {"tab round", IDC_CHOOSER}), VK_ESCAPE, IDCANCEL},
        {"keyboard: a failed output",
         true,
         {{"add", IDC_GET_FILE}, {"fail", IDC_MERGE}},
         VK_ESCAPE,
         IDCANCEL},
        {"keyboard: the About box",
         true,
         {{"add", IDC_GET_FILE}, {"about", IDC_GET_FILE}},
         VK_ESCAPE,
         IDCANCEL},
        {"mouse: add, merge, Esc", false, mergedByMouse, VK_ESCAPE, IDCANCEL},
        {"mouse: merged, then Enter presses Done", false, mergedByMouse, VK_RETURN, IDOK},
        {"mouse: merged, then Reset", false, then(mergedByMouse, {"reset", IDC_RESET}), VK_ESCAPE, IDCANCEL},
        {"mouse: a failed output", false, {{"add", IDC_GET_FILE}, {"fail", IDC_MERGE}}, VK_ESCAPE, IDCANCEL},
        {"keyboard: a source that cannot be opened",
         true,
         {{"add a missing file", IDC_GET_FILE}, {"merge", IDC_CHOOSER}},
         VK_ESCAPE,
         IDCANCEL},
        {"mouse: a source that cannot be opened",
         false,
         {{"add a missing file", IDC_GET_FILE}, {"merge", IDC_CHOOSER}},
         VK_ESCAPE,
         IDCANCEL},
        {"mouse: the About box",
         false,
         {{"add", IDC_GET_FILE}, {"about", IDC_GET_FILE}},
         VK_ESCAPE,
         IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder.path() / "b_802.dat");
        // Each box is the system's own, closed by a key in it or a click on its "OK".
        const auto closeBox = [&c](HWND box) {
            if (c.keyboard) {
                ::PostMessageW(focusIn(box), WM_KEYDOWN, VK_RETURN, 0);
            } else {
                ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
            }
        };
        UiSeams seams = m_system.seams();
        seams.showBox = [&](const BoxRequest& request) {
            EXPECT_TRUE(whileBoxIsUp([&] { showSystemBox(request); },
                                     [&] { return findOwnedWindow(request.owner, request.caption); },
                                     closeBox));
        };
        CConverterDialog dialog{seams};
        dialog.setProgressDelay(std::chrono::milliseconds(0));
        const HWND hwnd = dialog.Create(nullptr);
        ASSERT_NE(hwnd, nullptr);
        ASSERT_EQ(focusedControl(hwnd), IDC_DONE);
        const auto tabTo = [&](int id) {
            for (int i = 0; i < 8 && focusedControl(hwnd) != id; ++i) {
                typeKey(hwnd, VK_TAB);
            }
            ASSERT_EQ(focusedControl(hwnd), id);
        };
        const auto press = [&](int id) {
            if (c.keyboard) {
                tabTo(id);
                typeKey(hwnd, VK_SPACE);
            } else {
                const HWND button = ::GetDlgItem(hwnd, id);
                ASSERT_TRUE(::IsWindowEnabled(button));
                ::SendMessageW(button, BM_CLICK, 0, 0); // pressed and let go under the mouse
            }
        };
        for (const Step& step : c.steps) {
            SCOPED_TRACE(step.action);
            const std::string action = step.action;
            if (action == "add" || action == "add a missing file") {
                Selection chosen = files;
                if (action != "add") {
                    chosen.push_back(winapi::toWide(folder.file("c.dat")).value()); // its box comes mid-run
                }
                m_system.answers.push_back(chosen);
                press(IDC_GET_FILE);
                EXPECT_EQ(::SendDlgItemMessageW(hwnd, IDC_FILE_LIST, LB_GETCOUNT, 0, 0),
                          static_cast<LRESULT>(chosen.size()));
            } else if (action == "choose") {
                tabTo(IDC_CHOOSER);
                typeKey(hwnd, VK_UP);
                EXPECT_EQ(::SendDlgItemMessageW(hwnd, IDC_CHOOSER, CB_GETCURSEL, 0, 0), 4);
            } else if (action == "merge" || action == "fail") {
                if (action == "fail") {
                    std::filesystem::create_directory(folder.path() / "b_802.dat");
                }
                press(IDC_MERGE);
                EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(hwnd, IDC_MERGE)) != FALSE, action == "fail");
                EXPECT_EQ(LOWORD(::SendMessageW(hwnd, DM_GETDEFID, 0, 0)), IDOK);
                if (action == "merge") {
                    // The default-button look is back on "Done", off the disabled "Merge".
                    EXPECT_TRUE(::SendDlgItemMessageW(hwnd, IDC_DONE, WM_GETDLGCODE, 0, 0) &
                                DLGC_DEFPUSHBUTTON);
                    EXPECT_FALSE(::SendDlgItemMessageW(hwnd, IDC_MERGE, WM_GETDLGCODE, 0, 0) &
                                 DLGC_DEFPUSHBUTTON);
                }
            } else if (action == "reset") {
                press(IDC_RESET);
            } else if (action == "about") {
                // As the system menu's entry sends it.
                EXPECT_TRUE(whileBoxIsUp([&] { ::SendMessageW(hwnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); },
                                         [&] { return findOwnedWindow(hwnd, L"About Tallowbrook"); },
                                         [&](HWND box) {
                                             if (c.keyboard) {
                                                 ::PostMessageW(focusIn(box), WM_KEYDOWN, VK_ESCAPE, 0);
                                             } else {
                                                 ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                                             }
                                         }));
            } else if (action == "tab round") {
                std::set<int> reached;
                for (int i = 0; i < 5; ++i) {
                    typeKey(hwnd, VK_TAB);
                    reached.insert(focusedControl(hwnd));
                }
                EXPECT_EQ(reached,
                          (std::set<int>{IDC_DONE, IDC_GET_FILE, IDC_CHOOSER, IDC_FILE_LIST, IDC_RESET}));
            }
            EXPECT_EQ(focusedControl(hwnd), step.focusAfter);
        }
        typeKey(hwnd, c.endKey);
        EXPECT_TRUE(pumpUntil([&] { return dialog.endCode().has_value(); }));
        EXPECT_EQ(dialog.endCode(), c.endCode);
    }
}

TEST_F(DialogTest, GetFileAsksForDataFilesOfferingThreeBlanksThenTheLastEntry) {
    getFile(Selection{L"E:\\b\\x.dat"});
    getFile(Selection{L"D:\\z\\y.dat"});
    getFile(std::nullopt);
    EXPECT_EQ(listed(), (Texts{L"D:\\z\\y.dat", L"E:\\b\\x.dat"}));
    ASSERT_EQ(m_system.requests.size(), 3u);
    EXPECT_EQ(m_system.requests[0].initialName, L"   ");
    EXPECT_EQ(m_system.requests[1].initialName, L"E:\\b\\x.dat");
    EXPECT_EQ(m_system.requests[2].initialName, L"E:\\b\\x.dat");
    for (const FakeSystem::Request& request : m_system.requests) {
        EXPECT_EQ(request.owner, m_hwnd);
        EXPECT_EQ(request.filter, L"Trevak Configuration Data Files (*.Dat)|*.dat");
        EXPECT_EQ(request.options & 0x1204u, 0x1204u) << "several files, each must exist, no read-only box";
        EXPECT_TRUE(request.options & OFN_EXPLORER);
        EXPECT_GE(request.room, kFirstResultRoom);
    }
}

TEST_F(DialogTest, ChosenFilesAreListedAsFullPathsDuplicatesKept) {
    const struct {
        const char* name;
        std::vector<Selection> picks;
        Texts listed;
    } cases[] = {
        {"one file", {{L"D:\\cfg\\a.dat"}}, {L"D:\\cfg\\a.dat"}},
        {"two at once", {{L"D:\\cfg\\b.dat", L"D:\\cfg\\a.dat"}}, {L"D:\\cfg\\a.dat", L"D:\\cfg\\b.dat"}},
        {"a drive's root", {{L"D:\\b.dat", L"D:\\a.dat"}}, {L"D:\\a.dat", L"D:\\b.dat"}},
        {"listed again", {{L"D:\\cfg\\a.dat"}, {L"D:\\cfg\\a.dat"}}, {L"D:\\cfg\\a.dat", L"D:\\cfg\\a.dat"}},
        // The name field still holds the longer initial name past the chosen path.
        {"shorter than the last", {{L"E:\\b\\x.dat"}, {L"D:\\a"}}, {L"D:\\a", L"E:\\b\\x.dat"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        click(IDC_RESET);
        for (const Selection& pick : c.picks) {
            getFile(pick);
        }
        EXPECT_EQ(listed(), c.listed);
    }
}

TEST_F(DialogTest, CancellingOrTouchingTheListChangesNothing) {
    getFile(Selection{L"D:\\cfg\\a.dat", L"D:\\cfg\\b.dat"});
    choose(2);
    getFile(std::nullopt);
    const HWND list = ::GetDlgItem(m_hwnd, IDC_FILE_LIST);
    ::SendMessageW(list, LB_SETCURSEL, 1, 0);
    ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    ::SendMessageW(m_hwnd, WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(listed(), (Texts{L"D:\\cfg\\a.dat", L"D:\\cfg\\b.dat"}));
    EXPECT_EQ(chooser(), 2);
    EXPECT_TRUE(mergeEnabled());
    EXPECT_TRUE(m_system.boxes.empty());
    EXPECT_EQ(m_system.requests.size(), 2u);
}

TEST_F(DialogTest, ResetFromAnEmptyListSelectsVersion802) {
    choose(0);
    click(IDC_RESET);
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(chooser(), 5);
    EXPECT_TRUE(mergeEnabled());
    click(IDC_MERGE); // on an empty list: nothing shown, still enabled
    EXPECT_TRUE(m_system.boxes.empty());
    EXPECT_TRUE(mergeEnabled());
}

TEST(ListOrder, IsThatOfTheSystemsSortedListBox) {
    const std::vector<std::string> texts{
        "E:\\b\\x.dat", "d:\\a",       "c:\\Z.dat",    "C:\\a-b.dat",
        "c:\\ab.dat",   "c:\\A_b.dat", "D:\\z\\y.dat", "c:\\\xC3\xA9t\xC3\xA9.dat",
        "c:\\eta.dat",  "c:\\10.dat",  "c:\\9.dat"};
    const HWND sorted = ::CreateWindowExW(0, L"LISTBOX", nullptr, LBS_SORT, 0, 0, 100, 100, nullptr, nullptr,
                                          nullptr, nullptr);
    ASSERT_NE(sorted, nullptr);
    struct NoView : dialog::DialogView {
        void insertEntries(std::span<const dialog::ListInsert>) override {}
        void clearEntries() override {}
        std::optional<std::size_t> chooserSelection() const override { return 0; }
        void selectChooserEntry(std::size_t) override {}
        void setMergeEnabled(bool) override {}
        void showMessage(const dialog::Message&) override {}
        std::optional<std::vector<std::string>> chooseFiles(const std::string&) override { return {}; }
        void setBusy(bool) override {}
        void showProgress(const dialog::Progress&) override {}
        void hideProgress() override {}
        std::string applicationName() const override { return {}; }
    } view;
    dialog::ConverterDialogModel model(view, platformSortsBefore);
    model.addFiles(texts);
    for (const std::string& text : texts) {
        ::SendMessageW(sorted, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(winapi::toWide(text)->c_str()));
    }
    std::vector<std::string> byListBox;
    for (WPARAM i = 0; i < texts.size(); ++i) {
        wchar_t text[64] = {};
        ::SendMessageW(sorted, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        byListBox.push_back(winapi::toUtf8(text));
    }
    ::DestroyWindow(sorted);
    EXPECT_EQ(model.entries(), byListBox);
    EXPECT_TRUE(platformSortsBefore("d:\\a", "E:\\b\\x.dat"));
}

TEST_F(DialogTest, AThousandFilesChosenAtOnceAreAllListed) {
    // Long names, so that the selection outgrows the first room offered.
    Selection chosen;
    for (int i = 0; i < 1000; ++i) {
        chosen.push_back(L"C:\\settings\\laser engraver configuration number " + std::to_wstring(1000 + i) +
                         L" of the engraving room upstairs.dat");
    }
    getFile(chosen);
    const Texts entries = listed();
    ASSERT_EQ(entries.size(), 1000u);
    EXPECT_EQ(entries.front(), chosen.front());
    EXPECT_EQ(entries.back(), chosen.back());
    ASSERT_EQ(m_system.requests.size(), 2u) << "asked once more with room enough";
    EXPECT_GT(m_system.requests[1].room, m_system.requests[0].room);
}

TEST_F(DialogTest, DroppedFilesAndFoldersJoinTheList) {
    tallowbrook::test::TempFolder folder;
    std::filesystem::create_directory(folder.path() / "more");
    tallowbrook::test::writeFile(folder.file("more/b.DAT"), {});
    tallowbrook::test::writeFile(folder.file("more/c.txt"), {});
    const std::wstring dropped[] = {L"Z:\\x\\a.dat", winapi::toWide(folder.file("more")).value()};

    std::wstring names;
    for (const std::wstring& path : dropped) {
        names += path + L'\0';
    }
    names += L'\0';
    const HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    ::PostMessageW(m_hwnd, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    ASSERT_TRUE(pumpUntil([&] { return listed().size() == 2; }));
    EXPECT_EQ(listed()[1], L"Z:\\x\\a.dat");
    EXPECT_NE(listed()[0].find(L"b.DAT"), std::wstring::npos);
}

TEST_F(DialogTest, HoveringAnEntryShowsWhatItsFileIs) {
    tallowbrook::test::TempFolder folder;
    tallowbrook::test::writeFile(folder.file("a.dat"), tallowbrook::test::randomRecord(Version::V802, 1));
    tallowbrook::test::writeFile(folder.file("b.dat"), tallowbrook::test::randomBytes(10, 1));
    getFile(Selection{winapi::toWide(folder.file("a.dat")).value(), winapi::toWide(folder.file("b.dat")).value()});
    const HWND list = ::GetDlgItem(m_hwnd, IDC_FILE_LIST);
    const HWND tip = m_dialog.hoverTip();
    ASSERT_NE(tip, nullptr);
    const auto hoverText = [&](int row) {
        RECT area{};
        ::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&area));
        ::SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(area.left + 2, (area.top + area.bottom) / 2));
        NMTTDISPINFOW info{};
        info.hdr = {tip, reinterpret_cast<UINT_PTR>(list), TTN_GETDISPINFOW};
        ::SendMessageW(m_hwnd, WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
        return std::wstring(info.lpszText != nullptr ? info.lpszText : L"(none)");
    };
    // The model says what a file is; the tip shows it for the entry under the pointer.
    EXPECT_EQ(hoverText(0).rfind(L"Version 8.02, device ", 0), 0u) << winapi::toUtf8(hoverText(0));
    EXPECT_EQ(hoverText(1), L"Not a configuration file: 10 bytes is the length of no version");
}

TEST_F(DialogTest, AFailureThatEscapesACommandIsReportedAndTheDialogStays) {
    CConverterDialog dialog{{[](OPENFILENAMEW&) -> BOOL { throw std::runtime_error("out of room"); },
                             [] { return DWORD{0}; }, m_system.seams().showBox}};
    const HWND hwnd = dialog.Create(nullptr);
    ::SendMessageW(::GetDlgItem(hwnd, IDC_GET_FILE), BM_CLICK, 0, 0);
    ASSERT_EQ(m_system.boxes.size(), 1u);
    EXPECT_EQ(m_system.boxes[0].text, L"out of room");
    EXPECT_EQ(m_system.boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(m_system.boxes[0].caption, winapi::toWide(dialog.applicationName()).value());
    EXPECT_TRUE(::IsWindow(hwnd));
}

} // namespace
} // namespace tallowbrook::win32::test
