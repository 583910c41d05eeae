// Conversions from 6.04. Nothing is remapped: the values at 788, 848 and 852
// reach every target as the source holds them.

#include "convert/converters.h"

namespace tallowbrook {

// A whole copy: every source byte, text slots and unused entries included;
// the 17th entry and the trailing bytes of the target are left alone.
bool Convert604To700(Source604 source, Target700 target) {
    prefixCopy(source, target);
    return true;
}

// Into the newer family: entries widened with 2500 at entry offset 8, then
// the defaults of whatever the target appends.
bool Convert604To705(Source604 source, Target705 target) {
    fieldWiseCopy(source, target);
    return true;
}

bool Convert604To707(Source604 source, Target707 target) {
    fieldWiseCopy(source, target);
    return true;
}

bool Convert604To800(Source604 source, Target800 target) {
    fieldWiseCopy(source, target);
    return true;
}

bool Convert604To802(Source604 source, Target802 target) {
    fieldWiseCopy(source, target);
    return true;
}

} // namespace tallowbrook
