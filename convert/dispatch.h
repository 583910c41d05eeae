#pragma once

// The converter of each ordered pair of versions, as one table indexed by
// (source version, target version). The diagonal holds none: a file already
// of the target version is not converted.

#include <cstddef>
#include <span>

#include "records/version_table.h"

namespace tallowbrook {

// Fills `target` (exactly the target version's record length) from `source`
// (the source version's record). Returns false, writing nothing, only when a
// buffer has the wrong length.
using Converter = bool (*)(std::span<const std::byte> source, std::span<std::byte> target);

// The converter for the pair, or nullptr when both are the same version.
Converter converterFor(Version source, Version target);

} // namespace tallowbrook
