#include "convert/inspect.h"

#include <array>

#include "files/file_access.h"
#include "files/file_error.h"
#include "text/printable_text.h"

namespace tallowbrook {

FileInspection inspectFile(const std::string& path) {
    try {
        SourceFile file = SourceFile::open(path);
        const std::uint64_t length = file.length();
        std::array<std::byte, kLongestRecord> record{};
        const std::optional<Version> version = versionOfLength(length);
        const std::size_t recordLength = version ? info(*version).length : 0;
        readExactly(file, std::span(record).first(recordLength));
        return inspectRecord(std::span(record).first(recordLength), length);
    } catch (const FileError& error) {
        throw FileError(error.cause(), error.osError(), error.path().value_or(path));
    }
}

std::string quotedFieldText(const FieldText& field) {
    return "\"" + printableText(field.text) + "\"" + (field.terminated ? "" : " (no terminator)");
}

std::string describeFile(const FileInspection& inspection) {
    if (!inspection.version) {
        return "Not a configuration file: " + std::to_string(inspection.length) +
               " bytes is the length of no version";
    }
    std::string line(info(*inspection.version).label);
    if (inspection.header) {
        line += ", device " + quotedFieldText(inspection.header->deviceName);
    }
    return line;
}

} // namespace tallowbrook
