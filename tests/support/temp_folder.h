#pragma once

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes; plus small file helpers for driver tests.

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/record_builder.h"

namespace tallowbrook::test {

// The constructor and destructor are inline, as are the file helpers below, so
// that the driver fuzzer, which links no test library, uses them too.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path =
                std::filesystem::temp_directory_path() / ("tallowbrook-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(m_path)) {
                return;
            }
        }
        throw std::runtime_error("cannot make a temporary folder");
    }
    ~TempFolder() {
        std::error_code ignored;
        // Read-only files and folders left by a test must not stop the clean-up.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // `name` inside the folder, as a UTF-8 string.
    std::string file(const std::string& name) const;
    // Writes `bytes` (a record, say) as `name` inside the folder; its path.
    std::string write(const std::string& name, const Bytes& bytes) const;
    // Names of everything in the folder, or in its sub-folder `folder`, sorted.
    std::vector<std::string> names(const std::string& folder = {}) const;
    // Names of leftover temporary output files, likewise.
    std::vector<std::string> temporaryFiles(const std::string& folder = {}) const;

private:
    std::filesystem::path m_path;
};

// Each throws when it fails.
inline void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

inline Bytes readFile(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    // Test files are small: their length fits a 32-bit size too.
    Bytes bytes(in ? static_cast<std::size_t>(std::filesystem::file_size(std::filesystem::u8path(path))) : 0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
        throw std::runtime_error("cannot read " + path);
    }
    return bytes;
}

inline bool exists(const std::string& path) {
    return std::filesystem::exists(std::filesystem::u8path(path));
}

} // namespace tallowbrook::test
