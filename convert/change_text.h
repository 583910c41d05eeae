#pragma once

// What a conversion dropped, changed or filled in, in words: the lines shown
// under a converted file, and the names and values scripts read.

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "convert/inspect.h"
#include "records/field_changes.h"

namespace tallowbrook {

// One line per change from `source` to `target` (records of two versions), in
// the records' order, plain words, texts shown with printableText():
// "848: 4 becomes 1", "the jobs path \"D:\\jobs\" is dropped",
// "the engraving-setting path is set to \"trevak\\engraving_setting\"".
// An entry field that changes alike in consecutive entries takes one line
// ("entries 1-16"); the changes that hold defaults share the last line.
std::vector<std::string> describeChanges(std::span<const std::byte> source,
                                         std::span<const std::byte> target);

// The field's name: "value at 848", "text slot at 276", "jobs path",
// "entry 3, value at 8", "entry 17", ...
std::string fieldName(const FieldChange& change);

// A Text value as UTF-8; ill-formed units read as U+FFFD.
FieldText textOf(const FieldValue& value);

// A Bytes value as two hex digits per byte, separated by blanks: "00 1f 7e".
std::string hexBytes(const FieldValue& value);

} // namespace tallowbrook
