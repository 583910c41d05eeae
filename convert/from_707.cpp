// Conversions from 7.07. Every older target gets 0 at 788; 848 and 1852 are
// carried as the source holds them.

#include "convert/converters.h"
#include "records/value_rules.h"

namespace tallowbrook {

bool Convert707To604(Source707 source, Target604 target) {
    fieldWiseCopy(source, target);
    reset788(target);
    reset852(target);
    return true;
}

bool Convert707To700(Source707 source, Target700 target) {
    fieldWiseCopy(source, target);
    reset788(target);
    return true;
}

bool Convert707To705(Source707 source, Target705 target) {
    prefixCopy(source, target);
    reset788(target);
    return true;
}

bool Convert707To800(Source707 source, Target800 target) {
    prefixCopy(source, target);
    return true;
}

bool Convert707To802(Source707 source, Target802 target) {
    prefixCopy(source, target);
    return true;
}

} // namespace tallowbrook
