#include "tests/support/temp_folder.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

namespace tallowbrook::test {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_path = fs::temp_directory_path() / ("tallowbrook-test-" + std::to_string(random()));
        if (fs::create_directory(m_path)) {
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Read-only files and folders left by a test must not stop the clean-up.
    for (const auto& entry : fs::recursive_directory_iterator(m_path, ignored)) {
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(m_path, ignored);
}

namespace {
// Paths are UTF-8 throughout the program; std::filesystem's string() would use
// the ANSI code page on Windows.
std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}
} // namespace

std::string TempFolder::file(const std::string& name) const { return utf8(m_path / fs::u8path(name)); }

std::string TempFolder::write(const std::string& name, const Bytes& bytes) const {
    const std::string path = file(name);
    writeFile(path, bytes);
    return path;
}

std::vector<std::string> TempFolder::names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(m_path)) {
        found.push_back(utf8(entry.path().filename()));
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> TempFolder::temporaryFiles() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(m_path)) {
        const std::string name = utf8(entry.path().filename());
        if (name.rfind(".tallowbrook-", 0) == 0) {
            found.push_back(name);
        }
    }
    return found;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(fs::u8path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

Bytes readFile(const std::string& path) {
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    Bytes bytes;
    for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) {
        bytes.push_back(static_cast<std::byte>(*it));
    }
    return bytes;
}

bool exists(const std::string& path) { return fs::exists(fs::u8path(path)); }

} // namespace tallowbrook::test
