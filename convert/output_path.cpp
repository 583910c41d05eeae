#include "convert/output_path.h"

namespace tallowbrook {

namespace {

constexpr std::size_t kCharactersKeptBehind = 4;

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}

} // namespace

std::string outputPathFor(std::string_view path, std::string_view suffix, PathStyle style) {
    const std::size_t nameStart = fileNameStart(path, style);
    std::size_t at = path.size();
    for (std::size_t characters = 0; characters < kCharactersKeptBehind && at > nameStart; ++characters) {
        // Step back over one code point: its continuation bytes, then its lead byte.
        do {
            --at;
        } while (at > nameStart && isContinuationByte(path[at]));
    }
    std::string output;
    output.reserve(path.size() + suffix.size());
    output.append(path.substr(0, at)).append(suffix).append(path.substr(at));
    return output;
}

} // namespace tallowbrook
