#include "files/file_error.h"

#include <array>
#include <string_view>

namespace tallowbrook {

namespace {
constexpr std::array<std::string_view, 15> kCauseTemplates{
    "No error occurred.",
    "An unknown error occurred while accessing %1.",
    "%1 was not found.",
    "%1 contains an invalid path.",
    "%1 could not be opened because there are too many open files.",
    "Access to %1 was denied.",
    "An invalid file handle was associated with %1.",
    "%1 could not be removed because it is the current directory.",
    "%1 could not be created because the directory is full.",
    "Seek failed on %1",
    "A hardware I/O error was reported while accessing %1.",
    "A sharing violation occurred while accessing %1.",
    "A locking violation occurred while accessing %1.",
    "Disk full while accessing %1.",
    "An attempt was made to access %1 past its end.",
};

// The description template of a cause, "%1" standing for the file.
std::string_view causeTemplate(FileCause cause) {
    const auto index = static_cast<std::size_t>(cause);
    return index < kCauseTemplates.size() ? kCauseTemplates[index] : kCauseTemplates[1];
}

std::string render(FileCause cause, const std::optional<std::string>& path,
                   const std::optional<std::string>& leftBehind) {
    std::string text(causeTemplate(cause));
    const std::string::size_type at = text.find("%1");
    if (at != std::string::npos) {
        text.replace(at, 2, path ? *path : std::string("an unnamed file"));
    }
    if (leftBehind) {
        text += " The temporary file " + *leftBehind + " could not be removed.";
    }
    return text;
}
} // namespace

FileError::FileError(FileCause cause, int osError, std::optional<std::string> path,
                     std::optional<std::string> leftBehind)
    : std::runtime_error(render(cause, path, leftBehind)), m_cause(cause), m_osError(osError),
      m_path(std::move(path)), m_leftBehind(std::move(leftBehind)) {}

} // namespace tallowbrook
