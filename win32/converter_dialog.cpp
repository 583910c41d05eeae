#include "win32/converter_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <numeric>

#include "winapi/utf16.h"
#include "dialog/dialog_ids.h"
#include "win32/about_dialog.h"
#include "win32/list_hover_text.h"
#include "win32/list_box_order.h"
#include "win32/open_file_dialog.h"
#include "win32/progress_dialog.h"

using namespace tallowbrook::win32;
namespace winapi = tallowbrook::winapi;
namespace dialog = tallowbrook::dialog;

namespace tallowbrook::win32 {
POINT centredIconOrigin(const RECT& client, SIZE icon) {
    return {(client.right - client.left - icon.cx + 1) / 2, (client.bottom - client.top - icon.cy + 1) / 2};
}
} // namespace tallowbrook::win32

namespace {

// Model texts are UTF-8 the program made itself; a broken one still takes its row.
std::wstring wide(std::string_view utf8) {
    return winapi::toWide(utf8).value_or(std::wstring(L"\uFFFD"));
}

std::wstring loadString(UINT id) {
    const wchar_t* text = nullptr;
    // With no room given, the call hands out the resource's own text, not terminated.
    const int length = ::LoadStringW(resourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text != nullptr ? std::wstring(text, static_cast<std::size_t>(length))
                                         : std::wstring();
}

std::wstring programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::vector<std::string> droppedPaths(HDROP drop) {
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> paths;
    paths.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(::DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(::DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(winapi::toUtf8(path));
    }
    return paths;
}

} // namespace

CConverterDialog::CConverterDialog(UiSeams seams)
    : DialogBase(IDD_CONVERTER), m_seams(std::move(seams)),
      m_icon(::LoadIconW(resourceModule(), MAKEINTRESOURCEW(IDI_DIALOG))),
      m_model(*this, platformSortsBefore) {}

CConverterDialog::~CConverterDialog() = default;

HWND CConverterDialog::hoverTip() const {
    return m_hover ? m_hover->tooltip() : nullptr;
}

BOOL CConverterDialog::OnInitDialog() {
    centre();
    // The About entry, when there is a system menu and a text for it.
    if (const HMENU systemMenu = ::GetSystemMenu(hwnd(), FALSE)) {
        const std::wstring about = loadString(IDS_ABOUTBOX);
        if (!about.empty()) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    // The same icon as the large one (task switcher) and the small one (caption).
    ::SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    ::SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    // The chooser sorts; the labels sort in index order, so its index is the version's.
    for (const std::string& label : dialog::ConverterDialogModel::chooserLabels()) {
        sendItem(IDC_CHOOSER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(label).c_str()));
    }
    m_model.start();

    ::DragAcceptFiles(hwnd(), TRUE);
    m_hover = std::make_unique<ListHoverText>(
        hwnd(), item(IDC_FILE_LIST), [this](std::size_t row) { return wide(m_model.describeEntry(row)); });
    return TRUE;
}

bool CConverterDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    switch (message) {
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam);
    case WM_PAINT:
        return OnPaint();
    case WM_QUERYDRAGICON:
        // One of the few messages whose answer is the dialog procedure's own.
        result = reinterpret_cast<INT_PTR>(m_icon);
        return true;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        result = TRUE;
        return true;
    case WM_NOTIFY:
        if (m_hover && m_hover->notify(*reinterpret_cast<NMHDR*>(lParam))) {
            result = TRUE;
            return true;
        }
        return false;
    case WM_SETCURSOR:
        if (!m_busy) {
            return false;
        }
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        ::SetWindowLongPtrW(hwnd(), DWLP_MSGRESULT, TRUE);
        result = TRUE;
        return true;
    case WM_DESTROY:
        m_progress.reset();
        m_hover.reset();
        return false;
    default:
        return false;
    }
}

bool CConverterDialog::OnSysCommand(WPARAM command) {
    // The system keeps the low four bits of a command number for its own use.
    if ((command & 0xFFF0) != IDM_ABOUTBOX) {
        return false; // move, close and the rest: the system's defaults
    }
    OnAbout();
    return true;
}

bool CConverterDialog::OnPaint() {
    if (!::IsIconic(hwnd())) {
        return false;
    }
    PAINTSTRUCT paint{};
    const HDC dc = ::BeginPaint(hwnd(), &paint);
    ::SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const POINT at =
        centredIconOrigin(client, {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)});
    ::DrawIcon(dc, at.x, at.y, m_icon);
    ::EndPaint(hwnd(), &paint);
    return true;
}

bool CConverterDialog::OnCommand(WORD id, WORD code) {
    if (code != BN_CLICKED) {
        return false; // the list's and the chooser's notifications run nothing
    }
    switch (id) {
    case IDC_GET_FILE:
        m_model.getFile();
        return true;
    case IDC_MERGE:
        m_model.merge();
        return true;
    case IDC_RESET:
        m_model.reset();
        return true;
    default:
        return false;
    }
}

void CConverterDialog::OnDropFiles(HDROP drop) {
    const std::vector<std::string> paths = droppedPaths(drop);
    ::DragFinish(drop);
    m_model.addDropped(paths);
}

void CConverterDialog::OnAbout() {
    CAboutDialog about;
    about.DoModal(hwnd());
}

void CConverterDialog::OnException(const std::exception& error) {
    // Reported as any other failure that ends a command; the dialog stays open.
    showMessage({applicationName(), error.what(), {}, dialog::Message::Icon::Stop});
}

void CConverterDialog::insertEntries(std::span<const dialog::ListInsert> inserts) {
    const HWND list = item(IDC_FILE_LIST);
    // Drawn once the batch is in: redrawing the list and its scroll bar for
    // each entry would take seconds for thousands of files.
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const std::size_t characters = std::accumulate(
        inserts.begin(), inserts.end(), std::size_t{0},
        [](std::size_t sum, const dialog::ListInsert& insert) { return sum + insert.text.size() + 1; });
    ::SendMessageW(list, LB_INITSTORAGE, inserts.size(), static_cast<LPARAM>(characters * sizeof(wchar_t)));
    for (const dialog::ListInsert& insert : inserts) {
        ::SendMessageW(list, LB_INSERTSTRING, insert.row,
                       reinterpret_cast<LPARAM>(wide(insert.text).c_str()));
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
}

void CConverterDialog::clearEntries() {
    sendItem(IDC_FILE_LIST, LB_RESETCONTENT);
}

std::optional<std::size_t> CConverterDialog::chooserSelection() const {
    const LRESULT index = sendItem(IDC_CHOOSER, CB_GETCURSEL);
    if (index == CB_ERR) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(index);
}

void CConverterDialog::selectChooserEntry(std::size_t index) {
    sendItem(IDC_CHOOSER, CB_SETCURSEL, index);
}

void CConverterDialog::setMergeEnabled(bool enabled) {
    const HWND merge = item(IDC_MERGE);
    // A disabled control cannot keep the focus: the keyboard would reach no
    // control at all. The dialog manager moves it on first, to the next
    // control in tab order, and hands the default-button look back to "Done".
    if (!enabled && ::GetFocus() == merge) {
        ::SendMessageW(hwnd(), WM_NEXTDLGCTL, 0, FALSE);
    }
    ::EnableWindow(merge, enabled ? TRUE : FALSE);
}

void CConverterDialog::showMessage(const dialog::Message& message) {
    const UINT iconStyle = message.icon == dialog::Message::Icon::Stop ? MB_ICONSTOP : 0;
    m_seams.showBox(
        {hwnd(), wide(message.caption), wide(message.text), wide(message.details), MB_OK | iconStyle});
}

std::optional<std::vector<std::string>> CConverterDialog::chooseFiles(const std::string& initialName) {
    const std::optional<std::vector<std::wstring>> chosen =
        chooseDataFiles(hwnd(), wide(initialName), m_seams);
    if (!chosen) {
        return std::nullopt;
    }
    std::vector<std::string> paths(chosen->size());
    std::transform(chosen->begin(), chosen->end(), paths.begin(),
                   [](const std::wstring& path) { return winapi::toUtf8(path); });
    return paths;
}

void CConverterDialog::setBusy(bool busy) {
    m_busy = busy;
    if (busy) {
        m_cursorBeforeBusy = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    } else {
        ::SetCursor(m_cursorBeforeBusy);
    }
}

void CConverterDialog::showProgress(const dialog::Progress& progress) {
    if (!m_progress) {
        m_progress = std::make_unique<ProgressDialog>(hwnd());
    }
    m_progress->show(progress);
}

void CConverterDialog::hideProgress() {
    m_progress.reset();
}

std::string CConverterDialog::applicationName() const {
    // The program's name is its file's name without the extension.
    const std::wstring path = programPath();
    std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring::npos && dot > 0) {
        name.resize(dot);
    }
    return winapi::toUtf8(name);
}
