// The output-path rule on arbitrary strings, in both path styles.
//
// Input: byte 0 picks the version whose suffix is inserted; the rest is the
// source path, any bytes at all.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "convert/output_path.h"
#include "fuzz/fuzz_check.h"
#include "records/version_table.h"
#include "text/utf8.h"

namespace {

using namespace tallowbrook;

constexpr std::size_t kCharactersKeptBehind = 4;

// The number of code points of `text`, or none when it is not well-formed UTF-8.
std::optional<std::size_t> utf8CodePoints(std::string_view text) {
    std::size_t codePoints = 0;
    for (std::size_t at = 0; at < text.size(); ++codePoints) {
        const std::size_t length = utf8SequenceLength(text.substr(at));
        if (length == 0) {
            return std::nullopt;
        }
        at += length;
    }
    return codePoints;
}

// Where a Windows path's drive letter stands: at its start, or behind "\\?\" or
// "\\.\" (either slash); npos when it has none.
std::size_t driveColonAt(std::string_view path) {
    const auto slash = [path](std::size_t i) { return path[i] == '/' || path[i] == '\\'; };
    const std::size_t letter =
        path.size() >= 4 && slash(0) && slash(1) && (path[2] == '?' || path[2] == '.') && slash(3) ? 4 : 0;
    if (path.size() <= letter + 1 || path[letter + 1] != ':') {
        return std::string_view::npos;
    }
    const char c = path[letter];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? letter + 1 : std::string_view::npos;
}

// "/" separates folders everywhere, "\\" on Windows; on Windows a drive's ":"
// ends the drive, and no other ":" separates anything.
bool isSeparatorAt(std::string_view path, std::size_t i, PathStyle style) {
    return path[i] == '/' ||
           (style == PathStyle::Windows && (path[i] == '\\' || (path[i] == ':' && i == driveColonAt(path))));
}

// Index of the last separator, or npos.
std::size_t lastSeparator(std::string_view path, PathStyle style) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isSeparatorAt(path, i - 1, style)) {
            return i - 1;
        }
    }
    return std::string_view::npos;
}

// Any ":" but a drive's names a data stream on Windows; none does on POSIX.
bool hasStreamColon(std::string_view path, PathStyle style) {
    const std::ptrdiff_t driveColons = driveColonAt(path) == std::string_view::npos ? 0 : 1;
    return style == PathStyle::Windows && std::count(path.begin(), path.end(), ':') > driveColons;
}

// A position at which taking `suffix` out of `output` gives `path`. With
// `wantedTail` set, the position must also lie in the file name (at or behind
// `nameStart`) and have exactly that many code points of the path behind it.
// Repeated characters can make several positions fit, so each is tried.
std::optional<std::size_t> insertionPoint(std::string_view path, std::string_view output,
                                          std::string_view suffix, std::size_t nameStart,
                                          std::optional<std::size_t> wantedTail) {
    if (output.size() != path.size() + suffix.size()) {
        return std::nullopt;
    }
    // How far the two agree from the start, and from the end.
    const auto prefix = static_cast<std::size_t>(
        std::mismatch(path.begin(), path.end(), output.begin(), output.end()).first - path.begin());
    const auto tail = static_cast<std::size_t>(
        std::mismatch(path.rbegin(), path.rend(), output.rbegin(), output.rend()).first - path.rbegin());
    const std::size_t lowest = path.size() > tail ? path.size() - tail : 0;
    for (std::size_t at = lowest; at <= std::min(prefix, path.size()); ++at) {
        if (output.substr(at, suffix.size()) == suffix &&
            (!wantedTail || (at >= nameStart && utf8CodePoints(path.substr(at)) == wantedTail))) {
            return at;
        }
    }
    return std::nullopt;
}

void checkStyle(std::string_view path, std::string_view suffix, PathStyle style) {
    const std::string output = outputPathFor(path, suffix, style);

    // Taking the suffix out again gives back the source path.
    FUZZ_CHECK(insertionPoint(path, output, suffix, 0, std::nullopt).has_value());

    // A path is refused for naming a data stream exactly when it has a ":" other
    // than a drive's, and giving it a suffix never makes or hides one.
    FUZZ_CHECK(namesDataStream(path, style) == hasStreamColon(path, style));
    FUZZ_CHECK(namesDataStream(output, style) == hasStreamColon(path, style));

    // The output stays in the source's folder.
    const std::size_t separator = lastSeparator(path, style);
    FUZZ_CHECK(lastSeparator(output, style) == separator);
    FUZZ_CHECK(separator == std::string_view::npos ||
               output.compare(0, separator + 1, path, 0, separator + 1) == 0);

    // Valid UTF-8 stays valid, and the suffix stands in front of the name's
    // last four characters (or the whole name when it is shorter).
    if (utf8CodePoints(path)) {
        FUZZ_CHECK(utf8CodePoints(output).has_value());
        const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
        const std::size_t nameCodePoints = *utf8CodePoints(path.substr(nameStart));
        const std::size_t wanted = std::min(kCharactersKeptBehind, nameCodePoints);
        FUZZ_CHECK(insertionPoint(path, output, suffix, nameStart, wanted).has_value());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view suffix = kVersionTable[data[0] % kVersionCount].suffix;
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): libFuzzer hands over raw bytes
    const std::string_view path(reinterpret_cast<const char*>(data + 1), size - 1);
    checkStyle(path, suffix, PathStyle::Posix);
    checkStyle(path, suffix, PathStyle::Windows);
    return 0;
}
