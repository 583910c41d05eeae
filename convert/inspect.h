#pragma once

// What a file is, for showing it to its user: the record's fields read from the
// file without changing it, and the texts that show them.

#include <string>

#include "records/inspection.h"

namespace tallowbrook {

// Opens, measures and reads `path` (UTF-8) without changing it. Throws
// FileError naming the path when it cannot be opened or read.
FileInspection inspectFile(const std::string& path);

// One line for a listed file: "Version 8.02, device \"Laser 1\"", or
// "Not a configuration file: 1473 bytes is the length of no version".
std::string describeFile(const FileInspection& inspection);

// A field's text shown on one line: in double quotes, escaped by
// printableText(), followed by " (no terminator)" when it has none.
std::string quotedFieldText(const FieldText& field);

} // namespace tallowbrook
