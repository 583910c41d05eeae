// File access shared by every platform.

#include "files/file_access.h"

#include <utility>

#include "files/file_error.h"

namespace tallowbrook {

void readExactly(SourceFile& file, std::span<std::byte> buffer) {
    if (file.read(buffer) != buffer.size()) {
        throw FileError(FileCause::EndOfFile, 0, std::nullopt);
    }
}

// The failure that ends an output, naming its temporary file when that could
// not be removed.
void OutputFile::abandon(const FileError& error) {
    std::optional<std::string> temporary = m_temporaryPath;
    if (discard()) {
        temporary.reset();
    }
    throw FileError(error.cause(), error.osError(), error.path(), std::move(temporary));
}

} // namespace tallowbrook
