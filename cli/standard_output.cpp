#include "cli/standard_output.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

#ifdef _WIN32
#include <io.h>

#include "winapi/windows_prelude.h"
#endif

namespace tallowbrook::cli {

namespace {

#ifdef _WIN32
// The console handle behind `file`, or none when it is redirected.
void* consoleOf(std::FILE* file) {
    const int descriptor = ::_fileno(file);
    if (descriptor < 0) {
        return nullptr;
    }
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || ::GetConsoleMode(handle, &mode) == 0) {
        return nullptr;
    }
    return handle;
}

// Windows 7's console takes at most 64 KiB in one write: stay well below.
constexpr std::size_t kConsoleChunk = 8192;

// Writes all of `wide`; false when the console refused some of it.
bool writeConsole(void* console, std::wstring_view wide) {
    while (!wide.empty()) {
        std::size_t count = std::min(wide.size(), kConsoleChunk);
        // A character outside the basic plane stays whole in one write.
        if (count < wide.size() && wide[count - 1] >= 0xD800 && wide[count - 1] <= 0xDBFF) {
            --count;
        }
        DWORD written = 0;
        if (::WriteConsoleW(static_cast<HANDLE>(console), wide.data(), static_cast<DWORD>(count), &written,
                            nullptr) == 0 ||
            written == 0 || written > count) {
            return false;
        }
        wide.remove_prefix(written);
    }
    return true;
}

// UTF-8 to UTF-16; a byte that is not UTF-8 becomes U+FFFD.
std::wstring wideText(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(units, 0)), L'\0');
    if (units > 0) {
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), units);
    }
    return wide;
}

// The length of `text` less an unfinished UTF-8 character at its end.
std::size_t wholeCharacters(std::string_view text) {
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, text.size()); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80) {
            continue; // a continuation byte: look further back for its lead
        }
        const std::size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return back < needed ? text.size() - back : text.size();
    }
    return text.size();
}
#else
void* consoleOf(std::FILE*) {
    return nullptr;
}
#endif

// Bigger pending text is written even without a line end.
constexpr std::size_t kLargestPending = 4096;

} // namespace

StandardOutput::StandardOutput(std::FILE* file) : m_file(file), m_console(consoleOf(file)) {}

void StandardOutput::noteFailure(int error) {
    if (!m_failure) {
        m_failure = error;
    }
}

void StandardOutput::writePendingToConsole([[maybe_unused]] bool everything) {
#ifdef _WIN32
    const std::size_t count = everything ? m_pending.size() : wholeCharacters(m_pending);
    if (count == 0) {
        return;
    }
    if (!writeConsole(m_console, wideText(std::string_view(m_pending).substr(0, count)))) {
        noteFailure(EIO);
    }
    m_pending.erase(0, count);
#endif
}

int StandardOutput::overflow(int character) {
    if (traits_type::eq_int_type(character, traits_type::eof())) {
        return traits_type::not_eof(character);
    }
    const char byte = traits_type::to_char_type(character);
    return xsputn(&byte, 1) == 1 ? character : traits_type::eof();
}

std::streamsize StandardOutput::xsputn(const char* text, std::streamsize count) {
    if (count <= 0) {
        return 0;
    }
    const auto size = static_cast<std::size_t>(count);
    if (m_console != nullptr) {
        if (m_failure) {
            return 0;
        }
        m_pending.append(text, size);
        if (m_pending.size() >= kLargestPending || std::string_view(text, size).find('\n') != std::string_view::npos) {
            writePendingToConsole(false);
        }
        return m_failure ? 0 : count;
    }
    errno = 0;
    const std::size_t written = std::fwrite(text, 1, size, m_file);
    if (written != size) {
        noteFailure(errno);
    }
    return static_cast<std::streamsize>(written);
}

int StandardOutput::sync() {
    if (m_console != nullptr) {
        writePendingToConsole(true);
        return m_failure ? -1 : 0;
    }
    errno = 0;
    if (std::fflush(m_file) != 0) {
        noteFailure(errno);
        return -1;
    }
    return 0;
}

std::optional<int> StandardOutput::finish() {
    if (m_console != nullptr) {
        writePendingToConsole(true);
    }
    errno = 0;
    if (std::fflush(m_file) != 0 || std::ferror(m_file) != 0) {
        noteFailure(errno);
    }
    errno = 0;
    // EBADF with nothing left to flush: a descriptor closed from the start that
    // nothing was written to, which loses nothing.
    if (std::fclose(m_file) != 0 && errno != EBADF) {
        noteFailure(errno);
    }
    return m_failure;
}

} // namespace tallowbrook::cli
