// Conversions from 8.00 and 8.02. Every older target gets 848 remapped; 7.05
// and the older family also get 0 at 788. Only an 8.02 source is subject to
// the 1852 remap.

#include "convert/converters.h"
#include "records/value_rules.h"

namespace tallowbrook {

bool Convert8xTo604(Source800 source, Target604 target) {
    fieldWiseCopy(source, target);
    reset788(target);
    remap848(target);
    reset852(target);
    return true;
}

bool Convert8xTo700(Source800 source, Target700 target) {
    fieldWiseCopy(source, target);
    reset788(target);
    remap848(target);
    return true;
}

bool Convert8xTo705(Source800 source, Target705 target) {
    prefixCopy(source, target);
    remap848(target);
    reset788(target);
    return true;
}

bool Convert800To707(Source800 source, Target707 target) {
    prefixCopy(source, target);
    remap848(target);
    return true;
}

bool Convert802To707(Source802 source, Target707 target) {
    prefixCopy(source, target);
    remap848(target);
    remap1852(target);
    return true;
}

// Carries the source's paths; only 2888 is new.
bool Convert800To802(Source800 source, Target802 target) {
    prefixCopy(source, target);
    return true;
}

bool Convert802To800(Source802 source, Target800 target) {
    prefixCopy(source, target);
    remap1852(target);
    return true;
}

} // namespace tallowbrook
