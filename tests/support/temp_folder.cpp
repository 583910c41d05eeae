#include "tests/support/temp_folder.h"

#include <algorithm>

namespace tallowbrook::test {

namespace fs = std::filesystem;

namespace {
// Paths are UTF-8 throughout the program; std::filesystem's string() would use
// the ANSI code page on Windows.
std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}
} // namespace

std::string TempFolder::file(const std::string& name) const {
    return utf8(m_path / fs::u8path(name));
}

std::string TempFolder::write(const std::string& name, const Bytes& bytes) const {
    const std::string path = file(name);
    writeFile(path, bytes);
    return path;
}

std::vector<std::string> TempFolder::names(const std::string& folder) const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(m_path / fs::u8path(folder))) {
        found.push_back(utf8(entry.path().filename()));
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> TempFolder::temporaryFiles(const std::string& folder) const {
    std::vector<std::string> found = names(folder);
    std::erase_if(found, [](const std::string& name) { return !name.starts_with(".tallowbrook-"); });
    return found;
}

} // namespace tallowbrook::test
