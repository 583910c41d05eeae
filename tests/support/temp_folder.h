#pragma once

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes; plus small file helpers for driver tests.

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/record_builder.h"

namespace tallowbrook::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // `name` inside the folder, as a UTF-8 string.
    std::string file(const std::string& name) const;
    // Writes `bytes` (a record, say) as `name` inside the folder; its path.
    std::string write(const std::string& name, const Bytes& bytes) const;
    // Names of everything in the folder, sorted.
    std::vector<std::string> names() const;
    // Names of leftover temporary output files.
    std::vector<std::string> temporaryFiles() const;

private:
    std::filesystem::path m_path;
};

void writeFile(const std::string& path, const Bytes& bytes);
Bytes readFile(const std::string& path);
bool exists(const std::string& path);

} // namespace tallowbrook::test
