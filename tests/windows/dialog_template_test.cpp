// The dialogs as the system builds them from the program's templates: each
// control's kind, text, styles and place in dialog units, the font, and the
// resources the program file carries.

#include <gtest/gtest.h>

#include "winapi/windows_prelude.h"
#include <commctrl.h>

#include <cstring>
#include <map>
#include <string_view>
#include <vector>

#include "dialog/dialog_ids.h"
#include "dialog/dialog_layout.h"
#include "tests/windows/dialog_driver.h"
#include "win32/about_dialog.h"
#include "win32/details_dialog.h"
#include "win32/progress_dialog.h"
#include "winapi/utf16.h"

namespace tallowbrook::win32::test {
namespace {

namespace layout = tallowbrook::dialog::layout;
using tallowbrook::dialog::DialogRect;

struct Control {
    int id;
    const wchar_t* kind;
    const wchar_t* text;
    DWORD styles; // all of these must be set
    DialogRect place;
};

bool isIcon(const Control& c) {
    return std::wstring_view(c.kind) == L"Static" && (c.styles & SS_TYPEMASK) == SS_ICON;
}

// The heights the dialog manager created the controls with, before a
// drop-down shrank itself to its field.
std::map<HWND, int> g_createdHeights;
HHOOK g_creationHook = nullptr;

LRESULT CALLBACK recordCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        g_createdHeights[reinterpret_cast<HWND>(wParam)] =
            reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->cy;
    }
    return ::CallNextHookEx(g_creationHook, code, wParam, lParam);
}

// Creates `dialog` while watching what its controls are created with.
HWND createWatched(DialogBase& dialog) {
    g_createdHeights.clear();
    g_creationHook = ::SetWindowsHookExW(WH_CBT, recordCreation, nullptr, ::GetCurrentThreadId());
    const HWND hwnd = dialog.Create(nullptr);
    ::UnhookWindowsHookEx(g_creationHook);
    return hwnd;
}

int createdHeight(HWND control) {
    const auto found = g_createdHeights.find(control);
    return found == g_createdHeights.end() ? -1 : found->second;
}

// A control's rectangle in its dialog's client area.
RECT placeOf(HWND control) {
    RECT area{};
    ::GetWindowRect(control, &area);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

// As the dialog manager maps a template's control: position and size each on
// their own, so that rounding cannot make the two differ by a pixel.
RECT pixels(HWND dialog, DialogRect place) {
    RECT mapped{place.x, place.y, place.width, place.height};
    ::MapDialogRect(dialog, &mapped);
    return {mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

// Styles a control takes over from its template: a list's and a drop-down's
// scroll bar shows only when needed, and a list draws its border as an edge.
constexpr DWORD kTakenOver = WS_VSCROLL | WS_BORDER;

// The children in the order the template made them, which is the tab order.
void expectControls(HWND dialog, const std::vector<Control>& expected) {
    std::size_t i = 0;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT), ++i) {
        ASSERT_LT(i, expected.size()) << "more controls than the template has";
        const Control& c = expected[i];
        SCOPED_TRACE(testing::Message() << "control " << i << " (" << c.id << ")");
        EXPECT_EQ(::GetDlgCtrlID(child), c.id);
        EXPECT_EQ(_wcsicmp(className(child).c_str(), c.kind), 0) << className(child).c_str();
        if (c.text != nullptr) {
            EXPECT_EQ(windowText(child), c.text);
        }
        const auto styles = static_cast<DWORD>(::GetWindowLongW(child, GWL_STYLE));
        const DWORD kept = std::wstring_view(c.kind) == L"Button" || std::wstring_view(c.kind) == L"Static"
                               ? c.styles
                               : c.styles & ~kTakenOver;
        EXPECT_EQ(styles & kept, kept) << std::hex << styles;
        const RECT want = pixels(dialog, c.place);
        const RECT got = placeOf(child);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        if (!isIcon(c)) { // an icon takes its image's size
            EXPECT_EQ(got.right - got.left, want.right - want.left);
        }
        // A drop-down's own height is its field's; the template's includes the dropped list.
        if (std::wstring_view(c.kind) == L"ComboBox") {
            EXPECT_EQ(createdHeight(child), want.bottom - want.top);
        } else if (!isIcon(c)) {
            EXPECT_EQ(got.bottom - got.top, want.bottom - want.top);
        }
    }
    EXPECT_EQ(i, expected.size());
}

void expectFrame(HWND dialog, DWORD styles, DWORD absent, DWORD extended,
                 tallowbrook::dialog::DialogSize size) {
    const auto style = static_cast<DWORD>(::GetWindowLongW(dialog, GWL_STYLE));
    EXPECT_EQ(style & styles, styles) << std::hex << style;
    EXPECT_EQ(style & absent, 0u) << std::hex << style;
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(dialog, GWL_EXSTYLE)) & extended, extended);
    RECT client{};
    ::GetClientRect(dialog, &client);
    const RECT want = pixels(dialog, {0, 0, size.width, size.height});
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
    // "MS Sans Serif", 8 points.
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    const HDC screen = ::GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72));
    ::ReleaseDC(nullptr, screen);
}

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

TEST_F(DialogTest, TheMainDialogIsTemplate102) {
    CConverterDialog watched{d.system.seams()};
    ASSERT_NE(createWatched(watched), nullptr);
    expectControls(
        watched.hwnd(),
        {
            {IDC_DONE, L"Button", L"Done", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, layout::kDone},
            {-1, L"Static", L"Configuration File: ", kChild | WS_GROUP | SS_LEFT, layout::kFileLabel},
            {IDC_GET_FILE, L"Button", L"Get File", kChild | WS_TABSTOP, layout::kGetFile},
            {IDC_MERGE, L"Button", L"Merge", kChild | WS_TABSTOP, layout::kMerge},
            {-1, L"Static", L"Merge To:", kChild | WS_GROUP | SS_LEFT, layout::kChooserLabel},
            {IDC_CHOOSER, L"ComboBox", nullptr, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT,
             layout::kChooser},
            {IDC_FILE_LIST, L"ListBox", L"",
             kChild | WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
             layout::kFileList},
            {IDC_RESET, L"Button", L"Reset", kChild | WS_TABSTOP, layout::kReset},
        });
    expectFrame(d.hwnd, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                WS_EX_APPWINDOW, layout::kConverter);
    EXPECT_EQ(::GetWindowLongW(::GetDlgItem(d.hwnd, IDC_CHOOSER), GWL_STYLE) & CBS_DROPDOWNLIST,
              CBS_DROPDOWN);
    COMBOBOXINFO chooser{};
    chooser.cbSize = sizeof(chooser);
    ASSERT_TRUE(::GetComboBoxInfo(::GetDlgItem(d.hwnd, IDC_CHOOSER), &chooser));
    EXPECT_TRUE(::GetWindowLongW(chooser.hwndList, GWL_STYLE) & WS_VSCROLL) << "the dropped list scrolls";

    // Filled past its height, with an entry wider than itself: a vertical bar only.
    d.add(Paths(30, "C:\\" + std::string(200, 'x') + ".dat"));
    const HWND list = ::GetDlgItem(d.hwnd, IDC_FILE_LIST);
    const auto listStyle = static_cast<DWORD>(::GetWindowLongW(list, GWL_STYLE));
    EXPECT_EQ(listStyle & (WS_VSCROLL | WS_HSCROLL), static_cast<DWORD>(WS_VSCROLL));
    EXPECT_EQ(listStyle & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0u) << "single selection";
    EXPECT_TRUE((listStyle & WS_BORDER) || (::GetWindowLongW(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
}

// Each child's text against its rectangle, measured with the box's font: a
// button's or a one-line static's on one line, a taller static's wrapped.
void expectTextsFit(HWND box) {
    const HDC dc = ::GetDC(box);
    const auto previous =
        ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(box, WM_GETFONT, 0, 0)));
    TEXTMETRICW font{};
    ::GetTextMetricsW(dc, &font);
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring kind = className(child);
        std::wstring text = windowText(child);
        while (!text.empty() && text.back() == L'\n') {
            text.pop_back();
        }
        if (text.empty() ||
            (_wcsicmp(kind.c_str(), L"Button") != 0 && _wcsicmp(kind.c_str(), L"Static") != 0)) {
            continue;
        }
        const RECT area = placeOf(child);
        const int width = area.right - area.left;
        const int height = area.bottom - area.top;
        RECT need{0, 0, width, 0};
        const bool wraps = _wcsicmp(kind.c_str(), L"Static") == 0 && height >= 2 * font.tmHeight;
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need,
                    DT_CALCRECT | DT_NOPREFIX | (wraps ? UINT{DT_WORDBREAK} : UINT{DT_SINGLELINE}));
        // A button's text keeps clear of its frame.
        const int frame = _wcsicmp(kind.c_str(), L"Button") == 0 ? 2 * ::GetSystemMetrics(SM_CXEDGE) : 0;
        EXPECT_LE(need.right - need.left, width - frame) << "\"" << winapi::toUtf8(text) << "\" is cut short";
        EXPECT_LE(need.bottom - need.top, height) << "\"" << winapi::toUtf8(text) << "\" is cut short";
    }
    ::SelectObject(dc, previous);
    ::ReleaseDC(box, dc);
}

// Every text of every box, at its longest, in the dialog font: under Wine
// with the project's fonts, which measure as the system's own do.
TEST_F(DialogTest, EveryTextFitsItsControlInTheDialogFont) {
    SCOPED_TRACE("template 102");
    expectTextsFit(d.hwnd);
    CAboutDialog about;
    ASSERT_NE(about.Create(nullptr), nullptr);
    SCOPED_TRACE("template 100");
    expectTextsFit(about.hwnd());
    ProgressDialog progress(nullptr);
    progress.show({99999, 99999, "File 99999 of 99999"});
    SCOPED_TRACE("the progress box");
    expectTextsFit(progress.hwnd());
    const BoxRequest summary{nullptr, L"Tallowbrook", L"Done! Merged 2147483647 configuration files.\n",
                             L"C:\\cfg.dat: passed over\n", MB_OK};
    DetailsDialog details(summary);
    ASSERT_NE(details.Create(nullptr), nullptr);
    for (const bool expanded : {false, true}) {
        SCOPED_TRACE(expanded ? "the details box, expanded" : "the details box");
        details.setExpanded(expanded);
        expectTextsFit(details.hwnd());
    }
}

TEST(DialogTemplates, TheAboutBoxIsTemplate100) {
    CAboutDialog about;
    const HWND box = about.Create(nullptr);
    ASSERT_NE(box, nullptr);
    expectFrame(box, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
                layout::kAbout);
    EXPECT_EQ(windowText(box), L"About Tallowbrook");
    expectControls(
        box, {
                 {-1, L"Static", nullptr, kChild | SS_ICON, layout::kAboutIcon},
                 {-1, L"Static", L"Tallowbrook Version 5.0 Beta", kChild | SS_NOPREFIX, layout::kAboutName},
                 {-1, L"Static", winapi::toWide(TB_TEXT_ABOUT_NOTICE)->c_str(), kChild, layout::kAboutNotice},
                 {IDOK, L"Button", L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, layout::kAboutOk},
             });
}

TEST(DialogTemplates, TheProgressBoxIsTemplate103) {
    ProgressDialog progress(nullptr);
    const HWND box = progress.hwnd();
    ASSERT_NE(box, nullptr);
    expectFrame(box, WS_POPUP | WS_CAPTION | DS_MODALFRAME, WS_SYSMENU, 0, layout::kProgress);
    expectControls(box, {
                            {IDC_PROGRESS_TEXT, L"Static", L"", kChild | SS_NOPREFIX, layout::kProgressText},
                            {IDC_PROGRESS_BAR, PROGRESS_CLASSW, nullptr, kChild, layout::kProgressBar},
                        });
}

TEST(DialogTemplates, TheDetailsBoxIsTemplate104) {
    const BoxRequest request{nullptr, L"Tallowbrook", L"Done! Merged 1 configuration files.\n", L"a\nb\n",
                             MB_OK};
    DetailsDialog details(request);
    const HWND box = details.Create(nullptr);
    ASSERT_NE(box, nullptr);
    expectFrame(box, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0,
                layout::kDetails);
    EXPECT_EQ(windowText(box), L"Tallowbrook");
    expectControls(
        box,
        {
            {IDC_DETAILS_TEXT, L"Static", L"Done! Merged 1 configuration files.\n", kChild | SS_NOPREFIX,
             layout::kDetailsText},
            {IDOK, L"Button", L"OK", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, layout::kDetailsOk},
            {IDC_DETAILS_TOGGLE, L"Button", L"Show Details...", kChild | WS_TABSTOP, layout::kDetailsToggle},
            {IDC_DETAILS_FIELD, L"Edit", nullptr,
             WS_CHILD | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY,
             layout::kDetailsField},
        });
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(box, IDC_DETAILS_FIELD))) << "shown only on request";
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(box, IDOK));
}

// However many entries, the box stays inside its monitor's work area, even
// when opened at its bottom edge, with "OK" in it; OK, Enter and Esc close it,
// also from inside the field.
TEST(DetailsBox, StaysInsideTheWorkAreaAndClosesOnOkEnterAndEsc) {
    const struct {
        int lines;
        bool fromField;
        WPARAM key; // 0: a click on "OK"
        INT_PTR code;
    } cases[] = {
        {1, false, VK_RETURN, IDOK},
        {12, true, VK_ESCAPE, IDCANCEL},
        {10000, true, VK_RETURN, IDOK},
        {10000, false, 0, IDOK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        std::wstring lines;
        for (int i = 0; i < c.lines; ++i) {
            lines += L"C:\\Users\\someone\\engraver\\cfg" + std::to_wstring(10000 + i) +
                     L".dat: Version 6.04, written as cfg" + std::to_wstring(10000 + i) + L"_802.dat\n";
        }
        const BoxRequest request{nullptr, L"Tallowbrook", L"Done! Merged 1 configuration files.\n", lines,
                                 MB_OK};
        DetailsDialog details(request);
        // Run as the program runs it: modally, its keys through its own loop.
        const bool up = whileBoxIsUp(
            [&] { EXPECT_EQ(details.DoModal(nullptr), c.code); },
            [] { return findOwnedWindow(nullptr, L"Tallowbrook"); },
            [&](HWND box) {
                MONITORINFO monitor{};
                monitor.cbSize = sizeof(monitor);
                ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor));
                const RECT work = monitor.rcWork;
                RECT frame{};
                ::GetWindowRect(box, &frame);
                ::SetWindowPos(box, nullptr, frame.left, work.bottom - (frame.bottom - frame.top), 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER);
                ::SendMessageW(::GetDlgItem(box, IDC_DETAILS_TOGGLE), BM_CLICK, 0, 0);
                EXPECT_TRUE(details.expanded());
                EXPECT_EQ(windowText(::GetDlgItem(box, IDC_DETAILS_TOGGLE)), L"Hide Details");
                ::GetWindowRect(box, &frame);
                EXPECT_TRUE(frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
                            frame.bottom <= work.bottom);
                const HWND ok = ::GetDlgItem(box, IDOK);
                RECT okFrame{};
                ::GetWindowRect(ok, &okFrame);
                EXPECT_TRUE(::IsWindowVisible(ok) && okFrame.top >= frame.top &&
                            okFrame.bottom <= frame.bottom);
                const HWND field = ::GetDlgItem(box, IDC_DETAILS_FIELD);
                EXPECT_TRUE(::IsWindowVisible(field));
                EXPECT_EQ(::SendMessageW(field, EM_GETLINECOUNT, 0, 0), c.lines + 1)
                    << "every line, none wrapped";
                RECT fieldFrame{};
                ::GetWindowRect(field, &fieldFrame);
                EXPECT_LE(fieldFrame.bottom, frame.bottom);
                if (c.fromField) {
                    ::SetFocus(field);
                    // Ctrl+A selects every line, for copying.
                    ::SendMessageW(field, WM_CHAR, 0x01, 0);
                    DWORD end = 0;
                    ::SendMessageW(field, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
                    EXPECT_EQ(static_cast<int>(end), ::GetWindowTextLengthW(field));
                }
                if (c.key != 0) {
                    ::PostMessageW(::GetFocus(), WM_KEYDOWN, c.key, 0);
                } else {
                    ::SendMessageW(ok, BM_CLICK, 0, 0);
                }
            });
        EXPECT_TRUE(up);
    }
}

// The program file itself, read as data: what the desktop, the loader and the
// file's properties read from it.
class ProgramFile : public ::testing::Test {
protected:
    void SetUp() override {
        // The program file beside the tests.
        m_path.resize(MAX_PATH * 4);
        m_path.resize(::GetModuleFileNameW(nullptr, m_path.data(), static_cast<DWORD>(m_path.size())));
        m_path = m_path.substr(0, m_path.find_last_of(L'\\') + 1) + TALLOWBROOK_PROGRAM_FROM_TESTS;
        m_module = ::LoadLibraryExW(m_path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(m_module, nullptr) << winapi::toUtf8(m_path);
    }
    void TearDown() override {
        if (m_module != nullptr) {
            ::FreeLibrary(m_module);
        }
    }
    std::string_view resource(const wchar_t* type, int id) const {
        const HRSRC found = ::FindResourceW(m_module, MAKEINTRESOURCEW(id), type);
        if (found == nullptr) {
            return {};
        }
        return {static_cast<const char*>(::LockResource(::LoadResource(m_module, found))),
                ::SizeofResource(m_module, found)};
    }
    std::wstring m_path;
    HMODULE m_module = nullptr;
};

TEST_F(ProgramFile, CarriesTheTemplatesTheAboutEntryAndTheManifest) {
    for (const int id : {IDD_ABOUTBOX, IDD_CONVERTER, IDD_PROGRESS}) {
        EXPECT_FALSE(resource(RT_DIALOG, id).empty()) << id;
    }
    wchar_t about[64] = {};
    ::LoadStringW(m_module, IDS_ABOUTBOX, about, 64);
    EXPECT_STREQ(about, L"&About Tallowbrook...");
    // The system does not look for a missing manifest under Wine: read it here.
    const std::string_view manifest = resource(RT_MANIFEST, 1);
    // Windows 7 is declared, and reads "true/pm" as system DPI awareness.
    for (const char* setting : {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", ">PerMonitorV2",
                                ">true/pm</dpiAware>", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                "<longPathAware", ">true</longPathAware>", ">UTF-8</activeCodePage>"}) {
        EXPECT_NE(manifest.find(setting), std::string_view::npos) << setting;
    }
}

TEST_F(ProgramFile, HasBothIconsWithTheirFourImages) {
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bits;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    for (const int id : {IDR_MAINFRAME, IDI_DIALOG}) {
        SCOPED_TRACE(id);
        const std::string_view group = resource(RT_GROUP_ICON, id);
        ASSERT_GE(group.size(), 6u + 4 * sizeof(GroupEntry));
        WORD count = 0;
        std::memcpy(&count, group.data() + 4, sizeof(count));
        ASSERT_EQ(count, 4);
        const struct {
            BYTE size;
            WORD bits;
        } images[] = {{32, 4}, {48, 8}, {32, 1}, {16, 4}};
        for (std::size_t i = 0; i < 4; ++i) {
            GroupEntry entry{};
            std::memcpy(&entry, group.data() + 6 + i * sizeof(GroupEntry), sizeof(entry));
            EXPECT_EQ(entry.width, images[i].size);
            EXPECT_EQ(entry.height, images[i].size);
            EXPECT_EQ(entry.bits, images[i].bits);
        }
    }
}

TEST_F(ProgramFile, HasTheProjectsVersionInUsEnglishUnicode) {
    constexpr DWORD kHigh = (TALLOWBROOK_VERSION_MAJOR << 16) | TALLOWBROOK_VERSION_MINOR;
    constexpr DWORD kLow = (TALLOWBROOK_VERSION_PATCH << 16) | TALLOWBROOK_VERSION_TWEAK;
    const DWORD size = ::GetFileVersionInfoSizeW(m_path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<std::byte> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(m_path.c_str(), 0, size, data.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, kHigh);
    EXPECT_EQ(fixed->dwFileVersionLS, kLow);
    EXPECT_EQ(fixed->dwProductVersionMS, kHigh);
    EXPECT_EQ(fixed->dwProductVersionLS, kLow);
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length));
    const auto* language = static_cast<const WORD*>(value);
    EXPECT_EQ(language[0], 0x0409);
    EXPECT_EQ(language[1], 1200);
    ASSERT_TRUE(
        ::VerQueryValueW(data.data(), L"\\StringFileInfo\\040904b0\\ProductVersion", &value, &length));
    EXPECT_EQ(winapi::toUtf8(static_cast<const wchar_t*>(value)), TALLOWBROOK_VERSION_TEXT); // "1, 0, 0, 3"
}

} // namespace
} // namespace tallowbrook::win32::test
