#pragma once

// Standard output as the command line writes it: through the C library's
// stream, remembering why the first write that failed failed, so that the end
// of the program can tell whether everything reached the file, and if not,
// why, as the GNU tools do.

#include <cstdio>
#include <optional>
#include <streambuf>

namespace tallowbrook::cli {

class StandardOutput final : public std::streambuf {
public:
    explicit StandardOutput(std::FILE* file) : m_file(file) {}

    // Flushes and closes the file. None when everything written reached it;
    // otherwise the errno of the first failure, 0 when none is known. A file
    // that was closed from the start and never written to is no failure.
    std::optional<int> finish();

protected:
    int overflow(int character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    void noteFailure();

    std::FILE* m_file;
    std::optional<int> m_failure;
};

} // namespace tallowbrook::cli
