// Merge through the native dialog over real files: the outputs, the boxes it
// shows and how they look, the progress box, the wait cursor, and the two
// failures only the platform stages: a source held open, a read-only output.

#include <gtest/gtest.h>

#include "winapi/windows_prelude.h"
#include <commctrl.h>

#include "winapi/utf16.h"
#include "dialog/dialog_ids.h"
#include "tests/support/temp_folder.h"
#include "tests/windows/dialog_driver.h"
#include "win32/message_box.h"

namespace tallowbrook::win32::test {
namespace {

// Test records, temporary folders and the expected conversions.
using namespace tallowbrook::test;
namespace winapi = tallowbrook::winapi;

std::wstring wide(const std::string& utf8) {
    return winapi::toWide(utf8).value();
}

class DialogMergeTest : public DialogTest {
protected:
    std::wstring add(const std::string& name, const Bytes& bytes) {
        writeFile(m_folder.file(name), bytes);
        return wide(m_folder.file(name));
    }
    std::string path(const std::string& name) const { return m_folder.file(name); }
    TempFolder m_folder;
};

TEST_F(DialogMergeTest, ConvertsEveryListedFileToTheChosenVersionByteForByte) {
    Selection chosen;
    std::vector<Bytes> sources;
    for (std::size_t v = 0; v < kVersionCount; ++v) {
        sources.push_back(randomRecord(static_cast<Version>(v), static_cast<std::uint32_t>(v + 1)));
        chosen.push_back(add("v" + std::to_string(v) + ".dat", sources.back()));
    }
    chosen.push_back(add("odd.dat", randomBytes(1473, 9)));
    getFile(chosen);

    for (std::size_t to = 0; to < kVersionCount; ++to) {
        SCOPED_TRACE(to);
        if (to > 0) {
            click(IDC_RESET);
            getFile(chosen);
        }
        choose(static_cast<LRESULT>(to));
        m_system.boxes.clear();
        click(IDC_MERGE);

        ASSERT_EQ(m_system.boxes.size(), 1u);
        const BoxRequest& summary = m_system.boxes[0];
        EXPECT_EQ(summary.owner, m_hwnd);
        EXPECT_EQ(summary.caption, L"Tallowbrook");
        EXPECT_EQ(summary.text, L"Done! Merged 5 configuration files.\n");
        EXPECT_EQ(summary.style, static_cast<UINT>(MB_OK)) << "no icon";
        EXPECT_NE(summary.details.find(L"odd.dat: passed over"), std::wstring::npos);
        const std::string suffix = std::string(info(static_cast<Version>(to)).suffix);
        for (std::size_t from = 0; from < kVersionCount; ++from) {
            const std::string output = path("v" + std::to_string(from) + suffix + ".dat");
            if (from == to) {
                EXPECT_FALSE(exists(output));
            } else {
                EXPECT_EQ(readFile(output),
                          convert(static_cast<Version>(from), static_cast<Version>(to), sources[from]))
                    << output;
            }
        }
        EXPECT_FALSE(mergeEnabled());
    }
    // Merged: Get File still adds.
    getFile(Selection{chosen[0]});
    EXPECT_EQ(listed().size(), chosen.size() + 1);
}

TEST_F(DialogMergeTest, WithNoVersionChosenNothingIsWritten) {
    getFile(Selection{add("a.dat", randomRecord(Version::V604, 1))});
    choose(-1);
    click(IDC_MERGE);
    ASSERT_EQ(m_system.boxes.size(), 1u);
    EXPECT_EQ(m_system.boxes[0].text, L"Done! Merged 0 configuration files.\n");
    EXPECT_EQ(m_folder.names(), std::vector<std::string>{"a.dat"});
}

TEST_F(DialogMergeTest, ASourceHeldOpenForWritingIsReportedAndTheRunGoesOn) {
    getFile(Selection{add("a.dat", randomRecord(Version::V604, 1)),
                      add("b.dat", randomRecord(Version::V604, 2)),
                      add("c.dat", randomRecord(Version::V604, 3))});
    // Another opener that writes and shares nothing, as a program saving it would.
    const HANDLE held = ::CreateFileW(wide(path("b.dat")).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    click(IDC_MERGE);
    ::CloseHandle(held);

    ASSERT_EQ(m_system.boxes.size(), 2u);
    EXPECT_EQ(m_system.boxes[0].text,
              L"File could not be opened \nA sharing violation occurred while accessing " +
                  wide(path("b.dat")) + L".");
    EXPECT_EQ(m_system.boxes[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(m_system.boxes[1].text, L"Done! Merged 2 configuration files.\n");
    EXPECT_TRUE(exists(path("a_802.dat")));
    EXPECT_FALSE(exists(path("b_802.dat")));
    EXPECT_TRUE(exists(path("c_802.dat")));
}

TEST_F(DialogMergeTest, AReadOnlyOutputEndsTheRunWithAStopReport) {
    getFile(Selection{add("a.dat", randomRecord(Version::V700, 1)),
                      add("b.dat", randomRecord(Version::V700, 2)),
                      add("c.dat", randomRecord(Version::V700, 3))});
    writeFile(path("b_802.dat"), randomBytes(3, 1));
    ASSERT_TRUE(::SetFileAttributesW(wide(path("b_802.dat")).c_str(), FILE_ATTRIBUTE_READONLY));
    click(IDC_MERGE);
    ::SetFileAttributesW(wide(path("b_802.dat")).c_str(), FILE_ATTRIBUTE_NORMAL);

    ASSERT_EQ(m_system.boxes.size(), 1u);
    const BoxRequest& report = m_system.boxes[0];
    EXPECT_EQ(report.text, L"Access to " + wide(path("b_802.dat")) + L" was denied.");
    EXPECT_EQ(report.style, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(report.caption, L"tallowbrook_win32_tests") << "the program file's name";
    EXPECT_EQ(report.owner, m_hwnd);
    EXPECT_TRUE(mergeEnabled());
    EXPECT_TRUE(exists(path("a_802.dat")));
    EXPECT_EQ(readFile(path("b_802.dat")), randomBytes(3, 1));
    EXPECT_FALSE(exists(path("c_802.dat")));
}

HWND progressBox(HWND owner) {
    return findOwnedWindow(owner, L"Tallowbrook");
}

TEST_F(DialogMergeTest, TheProgressBoxCountsFilesLookedAtAndIsGoneBeforeTheSummary) {
    m_dialog.setProgressDelay(std::chrono::milliseconds(0));
    getFile(Selection{add("a.dat", randomRecord(Version::V604, 1)), wide(path("b.dat")),
                      add("c.dat", randomRecord(Version::V802, 3))});
    // At the box for the missing b.dat the progress box stands at the first
    // file; at the summary it is gone.
    std::vector<std::wstring> progressAtBox;
    m_system.onBox = [&](const BoxRequest&) {
        const HWND box = progressBox(m_hwnd);
        progressAtBox.push_back(box != nullptr ? windowText(::GetDlgItem(box, IDC_PROGRESS_TEXT)) : L"gone");
        if (box != nullptr) {
            const HWND bar = ::GetDlgItem(box, IDC_PROGRESS_BAR);
            EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 1);
            EXPECT_EQ(::SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 3);
            EXPECT_FALSE(::IsWindowEnabled(m_hwnd)) << "the dialog takes no input meanwhile";
        }
        // The dialog keeps the wait cursor over itself for as long as the run goes.
        EXPECT_EQ(::SendMessageW(m_hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hwnd), HTCLIENT), TRUE);
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_WAIT));
    };
    click(IDC_MERGE);
    EXPECT_EQ(progressAtBox, (std::vector<std::wstring>{L"File 1 of 3", L"gone"}));
    EXPECT_EQ(progressBox(m_hwnd), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(m_hwnd));
    EXPECT_EQ(::SendMessageW(m_hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hwnd), HTCLIENT), FALSE);
}

TEST_F(DialogMergeTest, NoProgressBoxBeforeTheDelay) {
    m_dialog.setProgressDelay(std::chrono::hours(1));
    getFile(Selection{add("a.dat", randomRecord(Version::V604, 1))});
    m_system.onBox = [&](const BoxRequest&) { EXPECT_EQ(progressBox(m_hwnd), nullptr); };
    click(IDC_MERGE);
    EXPECT_EQ(m_system.boxes.size(), 1u);
}

// The system's own boxes, closed from inside their loop: owned by the dialog,
// with the caption and text asked for.
TEST_F(DialogMergeTest, TheSystemsBoxesShowTheSummaryAndTheStopReport) {
    CConverterDialog dialog{{m_system.seams().openFileName, m_system.seams().openFileError, showSystemBox}};
    const HWND hwnd = dialog.Create(nullptr);
    ASSERT_NE(hwnd, nullptr);
    m_system.answers.push_back(Selection{add("a.dat", randomRecord(Version::V604, 1)),
                                         add("b.dat", randomRecord(Version::V604, 2))});
    ::SendMessageW(::GetDlgItem(hwnd, IDC_GET_FILE), BM_CLICK, 0, 0);

    const struct {
        const char* name;
        std::wstring caption;
        std::wstring text;
    } cases[] = {
        {"the summary, with details", L"Tallowbrook", L"Done! Merged 2 configuration files."},
        {"the stop report", L"tallowbrook_win32_tests",
         L"Access to " + wide(path("b_800.dat")) + L" was denied."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != &cases[0]) {
            ::SendMessageW(::GetDlgItem(hwnd, IDC_RESET), BM_CLICK, 0, 0);
            ::SendDlgItemMessageW(hwnd, IDC_CHOOSER, CB_SETCURSEL, 4, 0);
            ::CreateDirectoryW(wide(path("b_800.dat")).c_str(), nullptr);
            m_system.answers.push_back(Selection{wide(path("a.dat")), wide(path("b.dat"))});
            ::SendMessageW(::GetDlgItem(hwnd, IDC_GET_FILE), BM_CLICK, 0, 0);
        }
        std::wstring shown;
        const bool up = whileBoxIsUp([&] { ::SendMessageW(::GetDlgItem(hwnd, IDC_MERGE), BM_CLICK, 0, 0); },
                                     [&] { return findOwnedWindow(hwnd, c.caption); },
                                     [&](HWND box) {
                                         for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
                                              child = ::GetWindow(child, GW_HWNDNEXT)) {
                                             shown += windowText(child) + L"|";
                                         }
                                         EXPECT_FALSE(::IsWindowEnabled(hwnd)) << "the box is modal";
                                         ::SendMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
                                     });
        EXPECT_TRUE(up) << "no box owned by the dialog with that caption";
        EXPECT_NE(shown.find(c.text), std::wstring::npos) << shown;
        EXPECT_TRUE(::IsWindowEnabled(hwnd));
    }
}

} // namespace
} // namespace tallowbrook::win32::test
