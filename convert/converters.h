#pragma once

// The thirty converters, one per ordered pair of different record versions.
// Each fills its target from its source, which it only reads, and returns
// true; none fails, allocates, keeps state or touches anything but its two
// buffers. Bytes a converter does not write keep what the target held.
// The 8x converters serve 8.00 and 8.02 sources alike: they read nothing at or
// beyond 1852, so an 8.02 record is handed over as its first 2888 bytes.

#include "records/copy_steps.h"
#include "records/version_table.h"

namespace tallowbrook {

using Source604 = SourceRecord<kLength604>;
using Source700 = SourceRecord<kLength700>;
using Source705 = SourceRecord<kLength705>;
using Source707 = SourceRecord<kLength707>;
using Source800 = SourceRecord<kLength800>;
using Source802 = SourceRecord<kLength802>;
using Target604 = TargetRecord<kLength604>;
using Target700 = TargetRecord<kLength700>;
using Target705 = TargetRecord<kLength705>;
using Target707 = TargetRecord<kLength707>;
using Target800 = TargetRecord<kLength800>;
using Target802 = TargetRecord<kLength802>;

bool Convert604To700(Source604 source, Target700 target);
bool Convert604To705(Source604 source, Target705 target);
bool Convert604To707(Source604 source, Target707 target);
bool Convert604To800(Source604 source, Target800 target);
bool Convert604To802(Source604 source, Target802 target);

bool Convert700To604(Source700 source, Target604 target);
bool Convert700To705(Source700 source, Target705 target);
bool Convert700To707(Source700 source, Target707 target);
bool Convert700To800(Source700 source, Target800 target);
bool Convert700To802(Source700 source, Target802 target);

bool Convert705To604(Source705 source, Target604 target);
bool Convert705To700(Source705 source, Target700 target);
bool Convert705To707(Source705 source, Target707 target);
bool Convert705To800(Source705 source, Target800 target);
bool Convert705To802(Source705 source, Target802 target);

bool Convert707To604(Source707 source, Target604 target);
bool Convert707To700(Source707 source, Target700 target);
bool Convert707To705(Source707 source, Target705 target);
bool Convert707To800(Source707 source, Target800 target);
bool Convert707To802(Source707 source, Target802 target);

bool Convert8xTo604(Source800 source, Target604 target);
bool Convert8xTo700(Source800 source, Target700 target);
bool Convert8xTo705(Source800 source, Target705 target);
bool Convert800To707(Source800 source, Target707 target);
bool Convert802To707(Source802 source, Target707 target);
bool Convert800To802(Source800 source, Target802 target);
bool Convert802To800(Source802 source, Target800 target);

} // namespace tallowbrook
