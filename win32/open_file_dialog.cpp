#include "win32/open_file_dialog.h"

#include <algorithm>

namespace tallowbrook::win32 {

namespace {

// The text that starts at `from`, up to its terminator or the end of `buffer`.
std::wstring_view textAt(std::wstring_view buffer, std::size_t from) {
    if (from >= buffer.size()) {
        return {};
    }
    const std::wstring_view rest = buffer.substr(from);
    return rest.substr(0, rest.find(L'\0'));
}

std::wstring joined(std::wstring_view folder, std::wstring_view name) {
    std::wstring path(folder);
    // A drive's root comes with its separator already.
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') {
        path += L'\\';
    }
    path += name;
    return path;
}

} // namespace

std::vector<std::wstring> parseOpenFileResult(std::wstring_view result, std::size_t fileOffset) {
    const std::wstring_view first = textAt(result, 0);
    if (first.empty()) {
        return {};
    }
    // One file: its full path, with the offset pointing at the name inside it.
    // Whatever follows its terminator is left over from the initial name.
    if (fileOffset != first.size() + 1) {
        return {std::wstring(first)};
    }
    std::vector<std::wstring> paths;
    for (std::size_t at = fileOffset;;) {
        const std::wstring_view name = textAt(result, at);
        if (name.empty()) {
            break;
        }
        paths.push_back(joined(first, name));
        at += name.size() + 1;
    }
    return paths;
}

std::optional<std::vector<std::wstring>> chooseDataFiles(HWND owner, std::wstring_view initialName,
                                                         const UiSeams& seams) {
    std::vector<wchar_t> result(kFirstResultRoom, L'\0');
    for (;;) {
        // Zeros after the initial name, so no earlier text can pass for a name.
        const std::size_t kept = std::min(initialName.size(), result.size() - 1);
        std::fill(std::copy_n(initialName.begin(), kept, result.begin()), result.end(), L'\0');

        OPENFILENAMEW request{};
        request.lStructSize = sizeof(request);
        request.hwndOwner = owner;
        request.lpstrFilter = kDataFileFilter;
        request.nFilterIndex = 1;
        request.lpstrFile = result.data();
        request.nMaxFile = static_cast<DWORD>(result.size());
        request.Flags = kOpenFileOptions;
        if (seams.openFileName(request)) {
            return parseOpenFileResult(std::wstring_view(result.data(), result.size()), request.nFileOffset);
        }
        // Cancel, or a failure of the dialog itself: nothing is added.
        if (seams.openFileError() != FNERR_BUFFERTOOSMALL) {
            return std::nullopt;
        }
        // The first two bytes hold the room needed, as far as 16 bits can tell.
        const std::size_t needed = static_cast<std::size_t>(result[0]) + 1;
        const std::size_t room = std::max(result.size() * 2, needed);
        if (room > kLargestResultRoom) {
            return std::nullopt;
        }
        result.assign(room, L'\0');
    }
}

} // namespace tallowbrook::win32
