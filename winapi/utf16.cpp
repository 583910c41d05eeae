#include "winapi/utf16.h"

#ifdef _WIN32

#include <limits>

#include "winapi/windows_prelude.h"

namespace tallowbrook::winapi {

namespace {
constexpr std::size_t kLargestCount = static_cast<std::size_t>(std::numeric_limits<int>::max());
} // namespace

std::optional<std::wstring> toWide(std::string_view utf8) {
    if (utf8.empty()) {
        return std::wstring();
    }
    if (utf8.size() > kLargestCount) {
        return std::nullopt;
    }
    const int length = static_cast<int>(utf8.size());
    const int units = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (units <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), units) != units) {
        return std::nullopt;
    }
    return wide;
}

std::string toUtf8(std::wstring_view wide) {
    if (wide.empty() || wide.size() > kLargestCount) {
        return {};
    }
    const int units = static_cast<int>(wide.size());
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(bytes), '\0');
    const int written = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, text.data(), bytes, nullptr, nullptr);
    text.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return text;
}

} // namespace tallowbrook::winapi

#endif
