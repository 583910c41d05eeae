#pragma once

// Standard output and standard error as the command line writes them,
// remembering why the first write that failed failed, so that the end of the
// program can tell whether everything reached its destination, and if not,
// why, as the GNU tools do.
//
// Redirected to a file or a pipe, the stream gets the program's UTF-8 bytes
// through the C library, and a short write is a failure. A Windows console
// gets the same text as UTF-16 through the console's own wide-character
// interface: every console since Windows 7 shows any character that way,
// whatever its code page, where UTF-8 bytes written through a UTF-8 code page
// are counted in characters by older consoles and come back as short writes.

#include <cstdio>
#include <optional>
#include <streambuf>
#include <string>

namespace tallowbrook::cli {

class StandardOutput final : public std::streambuf {
public:
    explicit StandardOutput(std::FILE* file);

    // True when the text goes to a console through its wide-character interface.
    bool toConsole() const { return m_console != nullptr; }

    // Flushes and closes the file. None when everything written reached it;
    // otherwise the errno of the first failure, 0 when none is known. A file
    // that was closed from the start and never written to is no failure.
    std::optional<int> finish();

protected:
    int overflow(int character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void noteFailure(int error);
    // Console only: writes the pending text up to its last whole UTF-8
    // character, or all of it when `everything`.
    void writePendingToConsole(bool everything);

    std::FILE* m_file;
    void* m_console = nullptr;
    std::string m_pending;
    std::optional<int> m_failure;
};

} // namespace tallowbrook::cli
