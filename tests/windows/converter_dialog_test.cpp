// What only the native main dialog has, from its real template and dialog
// procedure: its icon, the system menu and About box, the open-file dialog's
// request and buffer, the list box's order, and the failures only the
// platform stages (a source held open, a read-only output) with the system's
// own boxes. Its behaviour is in the dialog scenarios (tests/dialog), run on
// it by dialog_driver.cpp.

#include <gtest/gtest.h>

#include "winapi/windows_prelude.h"

#include "dialog/converter_dialog_model.h"
#include "dialog/dialog_ids.h"
#include "tests/dialog/fake_view.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/dialog_driver.h"
#include "win32/list_box_order.h"
#include "win32/message_box.h"
#include "win32/open_file_dialog.h"
#include "winapi/utf16.h"

namespace tallowbrook::win32::test {
namespace {

using namespace tallowbrook::test; // records, temporary folders

std::wstring menuText(HMENU menu, int position) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

TEST_F(DialogTest, StartsWithItsTitleDoneAsDefaultAndItsIcon) {
    EXPECT_EQ(windowText(d.hwnd), L"Tallowbrook 5.0 Beta");
    EXPECT_EQ(LOWORD(::SendMessageW(d.hwnd, DM_GETDEFID, 0, 0)), IDOK);
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(d.hwnd, IDC_DONE));
    ASSERT_NE(d.dialog.icon(), nullptr);
    for (const WPARAM size : {WPARAM{ICON_BIG}, WPARAM{ICON_SMALL}}) {
        EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(d.hwnd, WM_GETICON, size, 0)), d.dialog.icon());
    }
    EXPECT_EQ(reinterpret_cast<HICON>(::SendMessageW(d.hwnd, WM_QUERYDRAGICON, 0, 0)), d.dialog.icon());
    EXPECT_TRUE(::GetWindowLongW(d.hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(DialogTest, SystemMenuEndsWithASeparatorAndTheAboutEntry) {
    const HMENU menu = ::GetSystemMenu(d.hwnd, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = ::GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_TRUE(::GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(menuText(menu, count - 1), L"&About Tallowbrook...");
}

TEST_F(DialogTest, TheAboutBoxOpensOnCommand16AndEveryWayOfClosingItReturns) {
    d.add({"D:\\cfg\\a.dat"});
    d.choose(1);
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
        const bool shown = whileBoxIsUp([&] { ::SendMessageW(d.hwnd, WM_SYSCOMMAND, c.command, 0); },
                                        [&] { return findOwnedWindow(d.hwnd, L"About Tallowbrook"); },
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
        EXPECT_EQ(findOwnedWindow(d.hwnd, L"About Tallowbrook"), nullptr);
        EXPECT_TRUE(::IsWindow(d.hwnd));
        EXPECT_FALSE(d.dialog.endCode());
        EXPECT_EQ(d.listed(), Paths{"D:\\cfg\\a.dat"});
        EXPECT_EQ(d.chosen(), 1u);
    }
}

TEST_F(DialogTest, OtherSystemCommandsAreThePlatformsOwn) {
    ::SendMessageW(d.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(d.hwnd));
    ::SendMessageW(d.hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsIconic(d.hwnd));
    ::SendMessageW(d.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(pumpUntil([&] { return d.dialog.endCode().has_value(); }));
    EXPECT_EQ(d.dialog.endCode(), IDCANCEL);
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

TEST_F(DialogTest, GetFileAsksForDataFiles) {
    d.add({"E:\\b\\x.dat"});
    d.add(std::nullopt);
    ASSERT_EQ(d.system.requests.size(), 2u);
    for (const FakeSystem::Request& request : d.system.requests) {
        EXPECT_EQ(request.owner, d.hwnd);
        EXPECT_EQ(request.filter, L"Trevak Configuration Data Files (*.Dat)|*.dat");
        EXPECT_EQ(request.options & 0x1204u, 0x1204u) << "several files, each must exist, no read-only box";
        EXPECT_TRUE(request.options & OFN_EXPLORER);
        EXPECT_GE(request.room, kFirstResultRoom);
    }
}

TEST_F(DialogTest, TouchingTheListChangesNothing) {
    d.add({"D:\\cfg\\a.dat", "D:\\cfg\\b.dat"});
    d.choose(2);
    const HWND list = ::GetDlgItem(d.hwnd, IDC_FILE_LIST);
    ::SendMessageW(list, LB_SETCURSEL, 1, 0);
    ::SendMessageW(d.hwnd, WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    ::SendMessageW(d.hwnd, WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(d.listed(), (Paths{"D:\\cfg\\a.dat", "D:\\cfg\\b.dat"}));
    EXPECT_EQ(d.chosen(), 2u);
    EXPECT_TRUE(d.mergeEnabled());
    EXPECT_TRUE(d.system.boxes.empty());
}

TEST(ListOrder, IsThatOfTheSystemsSortedListBox) {
    const std::vector<std::string> texts{
        "E:\\b\\x.dat", "d:\\a",       "c:\\Z.dat",    "C:\\a-b.dat",
        "c:\\ab.dat",   "c:\\A_b.dat", "D:\\z\\y.dat", "c:\\\xC3\xA9t\xC3\xA9.dat",
        "c:\\eta.dat",  "c:\\10.dat",  "c:\\9.dat"};
    const HWND sorted = ::CreateWindowExW(0, L"LISTBOX", nullptr, LBS_SORT, 0, 0, 100, 100, nullptr, nullptr,
                                          nullptr, nullptr);
    ASSERT_NE(sorted, nullptr);
    dialog::test::FakeDialog fake(platformSortsBefore);
    fake.model.addFiles(texts);
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
    EXPECT_EQ(fake.model.entries(), byListBox);
    EXPECT_TRUE(platformSortsBefore("d:\\a", "E:\\b\\x.dat"));
}

TEST_F(DialogTest, AThousandFilesChosenAtOnceAreAllListed) {
    // Long names, so that the selection outgrows the first room offered.
    Paths chosen;
    for (int i = 0; i < 1000; ++i) {
        chosen.push_back("C:\\settings\\laser engraver configuration number " + std::to_string(1000 + i) +
                         " of the engraving room upstairs.dat");
    }
    d.add(chosen);
    const Paths entries = d.listed();
    ASSERT_EQ(entries.size(), 1000u);
    EXPECT_EQ(entries.front(), chosen.front());
    EXPECT_EQ(entries.back(), chosen.back());
    ASSERT_EQ(d.system.requests.size(), 2u) << "asked once more with room enough";
    EXPECT_GT(d.system.requests[1].room, d.system.requests[0].room);
}

TEST_F(DialogTest, AFailureThatEscapesACommandIsReportedAndTheDialogStays) {
    CConverterDialog dialog{{[](OPENFILENAMEW&) -> BOOL { throw std::runtime_error("out of room"); },
                             [] { return DWORD{0}; }, d.system.seams().showBox}};
    const HWND hwnd = dialog.Create(nullptr);
    ::SendMessageW(::GetDlgItem(hwnd, IDC_GET_FILE), BM_CLICK, 0, 0);
    ASSERT_EQ(d.system.boxes.size(), 1u);
    EXPECT_EQ(d.system.boxes[0].text, L"out of room");
    EXPECT_EQ(d.system.boxes[0].style, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(d.system.boxes[0].caption, winapi::toWide(dialog.applicationName()).value());
    EXPECT_TRUE(::IsWindow(hwnd));
}

// Merge over real files, for the failures only the platform stages.
class DialogMergeTest : public DialogTest {
protected:
    // a.dat, b.dat and c.dat, each a record of `version`, listed.
    void addThree(Version version) {
        d.add({m_folder.write("a.dat", randomRecord(version, 1)),
               m_folder.write("b.dat", randomRecord(version, 2)),
               m_folder.write("c.dat", randomRecord(version, 3))});
    }
    std::string path(const std::string& name) const { return m_folder.file(name); }
    TempFolder m_folder;
};

TEST_F(DialogMergeTest, ASourceHeldOpenForWritingIsReportedAndTheRunGoesOn) {
    addThree(Version::V604);
    // Another opener that writes and shares nothing, as a program saving it would.
    const HANDLE held = ::CreateFileW(converted(path("b.dat")).c_str(), GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    d.click(Control::Merge);
    ::CloseHandle(held);

    ASSERT_EQ(d.system.boxes.size(), 2u);
    EXPECT_EQ(d.system.boxes[0].text,
              L"File could not be opened \nA sharing violation occurred while accessing " +
                  converted(path("b.dat")) + L".");
    EXPECT_EQ(d.system.boxes[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(d.system.boxes[1].text, L"Done! Merged 2 configuration files.\n");
    EXPECT_TRUE(exists(path("a_802.dat")));
    EXPECT_FALSE(exists(path("b_802.dat")));
    EXPECT_TRUE(exists(path("c_802.dat")));
}

TEST_F(DialogMergeTest, AReadOnlyOutputEndsTheRunWithAStopReport) {
    addThree(Version::V700);
    writeFile(path("b_802.dat"), randomBytes(3, 1));
    ASSERT_TRUE(::SetFileAttributesW(converted(path("b_802.dat")).c_str(), FILE_ATTRIBUTE_READONLY));
    d.click(Control::Merge);
    ::SetFileAttributesW(converted(path("b_802.dat")).c_str(), FILE_ATTRIBUTE_NORMAL);

    ASSERT_EQ(d.system.boxes.size(), 1u);
    const BoxRequest& report = d.system.boxes[0];
    EXPECT_EQ(report.text, L"Access to " + converted(path("b_802.dat")) + L" was denied.");
    EXPECT_EQ(report.style, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(report.caption, L"tallowbrook_win32_tests") << "the program file's name";
    EXPECT_EQ(report.owner, d.hwnd);
    EXPECT_TRUE(d.mergeEnabled());
    EXPECT_TRUE(exists(path("a_802.dat")));
    EXPECT_EQ(readFile(path("b_802.dat")), randomBytes(3, 1));
    EXPECT_FALSE(exists(path("c_802.dat")));
}

} // namespace
} // namespace tallowbrook::win32::test
