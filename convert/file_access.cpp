// File access shared by every platform.

#include "convert/file_access.h"

#include "convert/file_error.h"

namespace tallowbrook {

void readExactly(SourceFile& file, std::span<std::byte> buffer) {
    if (file.read(buffer) != buffer.size()) {
        throw FileError(FileCause::EndOfFile, 0, std::nullopt);
    }
}

} // namespace tallowbrook
