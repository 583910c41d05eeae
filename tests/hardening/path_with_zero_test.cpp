// A list entry is any text the host hands over. An embedded zero byte cuts the
// path short at the system call, so "dir/laser.dat\0abcd" opens dir/laser.dat
// while its output path, with the suffix put in front of "abcd", is cut short
// to the very same name. Such a path must be refused as invalid (cause 3), on
// both the source and the output side, and no file may change.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "convert/file_access.h"
#include "convert/file_error.h"
#include "convert/merge.h"
#include "records/version_table.h"

namespace tallowbrook {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "tallowbrook-hardening-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary folder");
        }
        m_path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    std::string file(const std::string& name) const { return (m_path / name).string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_path)) {
            found.push_back(entry.path().filename().string());
        }
        return found;
    }

private:
    fs::path m_path;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A 6.04 record whose bytes are easy to tell from any converted record.
std::string record604() {
    std::string bytes(kLength604, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>('A' + i % 23);
    }
    return bytes;
}

class OneEntryHost : public DialogHost {
public:
    explicit OneEntryHost(std::string entry) : m_entry(std::move(entry)) {}
    std::size_t entryCount() const override { return 1; }
    std::string entryText(std::size_t /*index*/) const override { return m_entry; }
    std::optional<std::size_t> chooserIndex() const override { return indexOf(Version::V802); }
    void disableMerge() override {}
    void showMessage(const std::string& text) override { messages.push_back(text); }

    std::vector<std::string> messages;

private:
    std::string m_entry;
};

TEST(PathWithZero, MergeNeverWritesOverTheSourceItReads) {
    const Folder folder;
    const std::string source = folder.file("laser.dat");
    writeAll(source, record604());

    OneEntryHost host(source + "\0abcd"s);
    runMerge(host);

    // Compared as a flag: a failure would otherwise print two whole records.
    EXPECT_TRUE(readAll(source) == record604()) << "the source was overwritten by its own conversion";
    EXPECT_EQ(folder.names(), std::vector<std::string>{"laser.dat"});
}

TEST(PathWithZero, SourceOpenRefusesItAsAnInvalidPath) {
    const Folder folder;
    const std::string source = folder.file("laser.dat");
    writeAll(source, record604());
    try {
        SourceFile::open(source + "\0abcd"s);
        FAIL() << "a path with a zero byte was opened";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileCause::BadPath);
    }
}

TEST(PathWithZero, OutputCreateRefusesItAsAnInvalidPath) {
    const Folder folder;
    const std::string existing = folder.file("laser.dat");
    writeAll(existing, record604());
    try {
        OutputFile::create(existing + "\0_802abcd"s);
        FAIL() << "a path with a zero byte was created";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileCause::BadPath);
    }
    EXPECT_TRUE(readAll(existing) == record604()) << "the existing file was replaced";
    EXPECT_EQ(folder.names(), std::vector<std::string>{"laser.dat"});
}

} // namespace
} // namespace tallowbrook
