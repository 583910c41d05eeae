#include "cli/standard_output.h"

#include <cerrno>

namespace tallowbrook::cli {

void StandardOutput::noteFailure() {
    if (!m_failure) {
        m_failure = errno;
    }
}

int StandardOutput::overflow(int character) {
    if (traits_type::eq_int_type(character, traits_type::eof())) {
        return traits_type::not_eof(character);
    }
    errno = 0;
    if (std::fputc(character, m_file) == EOF) {
        noteFailure();
        return traits_type::eof();
    }
    return character;
}

std::streamsize StandardOutput::xsputn(const char* text, std::streamsize count) {
    if (count <= 0) {
        return 0;
    }
    errno = 0;
    const std::size_t written = std::fwrite(text, 1, static_cast<std::size_t>(count), m_file);
    if (written != static_cast<std::size_t>(count)) {
        noteFailure();
    }
    return static_cast<std::streamsize>(written);
}

int StandardOutput::sync() {
    errno = 0;
    if (std::fflush(m_file) != 0) {
        noteFailure();
        return -1;
    }
    return 0;
}

std::optional<int> StandardOutput::finish() {
    errno = 0;
    if (std::fflush(m_file) != 0 || std::ferror(m_file) != 0) {
        noteFailure();
    }
    errno = 0;
    // EBADF with nothing left to flush: a descriptor closed from the start that
    // nothing was written to, which loses nothing.
    if (std::fclose(m_file) != 0 && errno != EBADF) {
        noteFailure();
    }
    return m_failure;
}

} // namespace tallowbrook::cli
