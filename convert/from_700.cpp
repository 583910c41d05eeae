// Conversions from 7.00-7.04. Into the newer family every widened entry takes
// the source's value at 836 at entry offset 8, and up to 17 entries travel.

#include "convert/converters.h"
#include "records/value_rules.h"

namespace tallowbrook {

// The stem field by field, the first 16 entries as one block (the 17th is
// dropped, the count carried), and 0 at 852.
bool Convert700To604(Source700 source, Target604 target) {
    fieldWiseCopy(source, target);
    reset852(target);
    return true;
}

bool Convert700To705(Source700 source, Target705 target) {
    fieldWiseCopy(source, target);
    return true;
}

bool Convert700To707(Source700 source, Target707 target) {
    fieldWiseCopy(source, target);
    return true;
}

bool Convert700To800(Source700 source, Target800 target) {
    fieldWiseCopy(source, target);
    return true;
}

bool Convert700To802(Source700 source, Target802 target) {
    fieldWiseCopy(source, target);
    return true;
}

} // namespace tallowbrook
