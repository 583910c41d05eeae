#include "text/case_blind_order.h"

#include <algorithm>

namespace tallowbrook {

namespace {

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool sortsBeforeIgnoringCase(std::string_view left, std::string_view right) {
    return std::lexicographical_compare(
        left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
            return static_cast<unsigned char>(foldCase(a)) < static_cast<unsigned char>(foldCase(b));
        });
}

void sortInListOrder(std::vector<std::string>& paths) {
    std::sort(paths.begin(), paths.end(), [](const std::string& left, const std::string& right) {
        if (sortsBeforeIgnoringCase(left, right)) {
            return true;
        }
        return !sortsBeforeIgnoringCase(right, left) && left < right;
    });
}

} // namespace tallowbrook
