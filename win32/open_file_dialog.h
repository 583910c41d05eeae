#pragma once

// The Add command's open-file dialog: several files, each must exist, one
// file type, with room in its result for a selection of thousands of files.

#include "win32/interaction_seams.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallowbrook::win32 {

// Several files, each must exist, no read-only box; Explorer style, resizable.
inline constexpr DWORD kOpenFileOptions =
    OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING;
// The description shown to the user, then the pattern; the list ends with an empty text.
inline constexpr wchar_t kDataFileFilter[] = L"Trevak Configuration Data Files (*.Dat)\0*.dat\0";
// Room for about 2,000 names of 30 characters at the first try; the dialog is
// asked again with more when the system reports the selection too large.
inline constexpr std::size_t kFirstResultRoom = 64 * 1024;
inline constexpr std::size_t kLargestResultRoom = 16 * 1024 * 1024;

// Runs the open-file dialog owned by `owner` with `initialName` in its name
// field. The chosen files' full paths, or none when it was cancelled.
std::optional<std::vector<std::wstring>> chooseDataFiles(HWND owner, std::wstring_view initialName,
                                                         const UiSeams& seams);

// The open-file dialog's result by its shape: one full path, or, when
// `fileOffset` points past the first text's terminator, the folder followed
// by the bare names, each ended by a zero and the list by an empty text.
// Reads nothing past the end of `result`, whatever it holds.
std::vector<std::wstring> parseOpenFileResult(std::wstring_view result, std::size_t fileOffset);

} // namespace tallowbrook::win32
