// Conversions from 7.05. Nothing is remapped: 788 and 848 are carried into
// every target, and later versions get the default 2 at 1852.

#include "convert/converters.h"
#include "records/value_rules.h"

namespace tallowbrook {

bool Convert705To604(Source705 source, Target604 target) {
    fieldWiseCopy(source, target);
    reset852(target);
    return true;
}

bool Convert705To700(Source705 source, Target700 target) {
    fieldWiseCopy(source, target);
    return true;
}

bool Convert705To707(Source705 source, Target707 target) {
    prefixCopy(source, target);
    return true;
}

bool Convert705To800(Source705 source, Target800 target) {
    prefixCopy(source, target);
    return true;
}

bool Convert705To802(Source705 source, Target802 target) {
    prefixCopy(source, target);
    return true;
}

} // namespace tallowbrook
