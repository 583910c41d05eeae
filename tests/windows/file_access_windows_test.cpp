// The Windows file access against the platform's own sharing rules, locks,
// attributes and wide-character names.

#include <gtest/gtest.h>

#include "winapi/windows_prelude.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "files/file_access.h"
#include "files/file_error.h"
#include "tests/support/expect_file_error.h"
#include "tests/support/temp_folder.h"

namespace tallowbrook::test {
namespace {

namespace fs = std::filesystem;

// Wine keeps byte-range locks between lockers only; reads and writes ignore them.
bool runningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Another opener of a file, as a second program would be: its own handle with
// its own access and sharing; empty, with the thread's last error, when refused.
FileHandle openedByAnother(const std::string& path, DWORD access, DWORD sharing) {
    return FileHandle(::CreateFileW(fs::u8path(path).c_str(), access, sharing, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

class WindowsFileAccess : public ::testing::Test {
protected:
    const TempFolder m_folder;
};

// A path a test makes in the folder, and what opening or creating it raises.
struct FailureCase {
    const char* name;
    std::string (*prepare)(const TempFolder& folder);
    FileCause expected;
};

std::string nameOf(const ::testing::TestParamInfo<FailureCase>& info) {
    return info.param.name;
}

// A folder made as `name` in the folder; its path.
std::string madeFolder(const TempFolder& folder, const std::string& name) {
    fs::create_directory(folder.path() / name);
    return folder.file(name);
}

class SourceOpenFailure : public WindowsFileAccess, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SourceOpenFailure, RaisesItsCause) {
    const std::string path = GetParam().prepare(m_folder);
    expectFileError([&] { SourceFile::open(path); }, GetParam().expected, path);
}

const FailureCase kOpenFailures[] = {
    {"MissingFile", [](const TempFolder& f) { return f.file("absent.dat"); }, FileCause::FileNotFound},
    {"MissingFolder", [](const TempFolder& f) { return f.file("absent\\a.dat"); }, FileCause::BadPath},
    {"Folder", [](const TempFolder& f) { return madeFolder(f, "folder.dat"); }, FileCause::AccessDenied},
    {"ReservedCharacter", [](const TempFolder& f) { return f.file("a") + "<b>.dat"; }, FileCause::BadPath},
    {"NotUtf8", [](const TempFolder& f) { return f.file("a") + "\xC3(.dat"; }, FileCause::BadPath},
    {"EmbeddedZero", [](const TempFolder& f) { return f.file("a") + std::string("\0b.dat", 6); },
     FileCause::BadPath},
    {"Device", [](const TempFolder&) { return std::string("NUL"); }, FileCause::AccessDenied},
};

INSTANTIATE_TEST_SUITE_P(Causes, SourceOpenFailure, ::testing::ValuesIn(kOpenFailures), nameOf);

// An existing output that must not be replaced, or a folder that is not there,
// is refused, and what stood at the path stays as it was.
class OutputCreateFailure : public WindowsFileAccess, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OutputCreateFailure, RaisesItsCauseAndLeavesThePathAlone) {
    const std::string path = GetParam().prepare(m_folder);
    const std::vector<std::string> before = m_folder.names();
    const fs::file_type type = fs::status(fs::u8path(path)).type();
    const std::optional<Bytes> bytes =
        type == fs::file_type::regular ? std::optional(readFile(path)) : std::nullopt;

    expectFileError([&] { OutputFile::create(path); }, GetParam().expected, path);
    EXPECT_EQ(m_folder.names(), before);
    EXPECT_EQ(fs::status(fs::u8path(path)).type(), type);
    if (bytes) {
        EXPECT_EQ(readFile(path), *bytes);
    }
}

const FailureCase kCreateFailures[] = {
    {"ReadOnly",
     [](const TempFolder& f) {
         const std::string path = f.write("ro_604.dat", randomBytes(100, 10));
         EXPECT_TRUE(::SetFileAttributesW(fs::u8path(path).c_str(), FILE_ATTRIBUTE_READONLY));
         return path;
     },
     FileCause::AccessDenied},
    {"Folder", [](const TempFolder& f) { return madeFolder(f, "dir_604.dat"); }, FileCause::AccessDenied},
    {"MissingFolder", [](const TempFolder& f) { return f.file("absent\\out_604.dat"); }, FileCause::BadPath},
};

INSTANTIATE_TEST_SUITE_P(Causes, OutputCreateFailure, ::testing::ValuesIn(kCreateFailures), nameOf);

// A program holding the source for writing keeps us out, whatever it shares:
// reading it then could see a half-written record.
TEST_F(WindowsFileAccess, SourceHeldForWritingIsASharingViolation) {
    const std::string source = m_folder.write("held.dat", randomBytes(1472, 1));
    for (const DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        SCOPED_TRACE("sharing " + std::to_string(sharing));
        const FileHandle writer = openedByAnother(source, GENERIC_WRITE, sharing);
        ASSERT_TRUE(writer);
        expectFileError([&] { SourceFile::open(source); }, FileCause::SharingViolation, source);
    }
}

TEST_F(WindowsFileAccess, OpenSourceLetsOthersReadButNotWrite) {
    const Bytes record = randomBytes(1480, 2);
    const std::string source = m_folder.write("shared.dat", record);
    SourceFile file = SourceFile::open(source);

    const FileHandle reader = openedByAnother(source, GENERIC_READ, FILE_SHARE_READ);
    EXPECT_TRUE(reader);
    EXPECT_FALSE(openedByAnother(source, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_SHARING_VIOLATION});

    Bytes buffer(1480);
    EXPECT_EQ(file.length(), 1480u);
    EXPECT_EQ(file.read(buffer), 1480u);
    EXPECT_EQ(buffer, record);
}

TEST_F(WindowsFileAccess, ReadStopsAtTheEndAndAnEmptyBufferReadsNothing) {
    const Bytes record = randomBytes(1000, 3);
    SourceFile file = SourceFile::open(m_folder.write("short.dat", record));
    Bytes empty;
    EXPECT_EQ(file.read(empty), 0u);
    Bytes buffer(4000);
    EXPECT_EQ(file.read(buffer), 1000u);
    EXPECT_TRUE(std::equal(record.begin(), record.end(), buffer.begin()));
}

TEST_F(WindowsFileAccess, ReadOfALockedRangeIsALockViolation) {
    if (runningUnderWine()) {
        GTEST_SKIP() << "Wine does not enforce byte-range locks on reads";
    }
    const std::string source = m_folder.write("locked.dat", randomBytes(1852, 4));
    const FileHandle locker = openedByAnother(source, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(locker);
    OVERLAPPED whole{};
    ASSERT_TRUE(
        ::LockFileEx(locker.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 4096, 0, &whole));

    SourceFile file = SourceFile::open(source);
    Bytes buffer(1852);
    expectFileError([&] { file.read(buffer); }, FileCause::LockViolation, std::nullopt);
    ::UnlockFileEx(locker.get(), 0, 4096, 0, &whole);
}

TEST_F(WindowsFileAccess, OutputAppearsOnlyOnCommitAndLeavesNoTemporaryFile) {
    const std::string output = m_folder.file("out_802.dat");
    const Bytes record = randomBytes(2892, 5);
    {
        OutputFile file = OutputFile::create(output);
        file.write(record);
        EXPECT_FALSE(exists(output));
        // The bytes being written are closed to every other program.
        const std::vector<std::string> pending = m_folder.temporaryFiles();
        ASSERT_EQ(pending.size(), 1u);
        EXPECT_EQ(m_folder.names(), pending);
        EXPECT_FALSE(openedByAnother(m_folder.file(pending.front()), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE));
        EXPECT_EQ(::GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
        file.commit();
    }
    EXPECT_EQ(readFile(output), record);
    EXPECT_EQ(m_folder.names(), std::vector<std::string>{"out_802.dat"});
}

TEST_F(WindowsFileAccess, UncommittedOutputLeavesTheOldFileAsItWas) {
    const Bytes old = randomBytes(100, 6);
    const std::string output = m_folder.write("out_705.dat", old);
    {
        OutputFile file = OutputFile::create(output);
        file.write(randomBytes(1852, 7));
    }
    EXPECT_EQ(readFile(output), old);
    EXPECT_EQ(m_folder.names(), std::vector<std::string>{"out_705.dat"});
}

TEST_F(WindowsFileAccess, ExistingOutputIsReplacedAndKeepsItsHiddenAttribute) {
    const std::string output = m_folder.write("out_700.dat", randomBytes(100, 8));
    const std::wstring wide = fs::u8path(output).wstring();
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    const Bytes record = randomBytes(1480, 9);
    OutputFile file = OutputFile::create(output);
    file.write(record);
    file.commit();
    EXPECT_EQ(readFile(output), record);
    EXPECT_NE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// A program holding the old output open without letting it be deleted keeps the
// rename from happening: the run stops there and the old output stays whole.
TEST_F(WindowsFileAccess, OutputHeldByAnotherProgramFailsOnCommit) {
    const Bytes old = randomBytes(100, 11);
    const std::string output = m_folder.write("busy_707.dat", old);
    const FileHandle holder = openedByAnother(output, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(holder);
    OutputFile file = OutputFile::create(output);
    file.write(randomBytes(1856, 12));
    const std::optional<FileError> error = expectFileError([&] { file.commit(); });
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->cause() == FileCause::SharingViolation || error->cause() == FileCause::AccessDenied)
        << error->what();
    EXPECT_EQ(error->path(), output);
    EXPECT_EQ(readFile(output), old);
}

TEST_F(WindowsFileAccess, PathsAreUtf8AndBothSeparatorsWork) {
    const Bytes record = randomBytes(2888, 13);
    // "Grüße 設定 🔥.dat", in UTF-8.
    std::string source = m_folder.write("Gr\u00FC\u00DFe \u8A2D\u5B9A \U0001F525.dat", record);
    // Forward slashes as well as backslashes separate folders.
    std::replace(source.begin(), source.end(), '\\', '/');
    SourceFile file = SourceFile::open(source);
    Bytes buffer(record.size());
    EXPECT_EQ(file.read(buffer), record.size());
    EXPECT_EQ(buffer, record);

    const std::string output = m_folder.file("Gr\u00FC\u00DFe_802.dat");
    OutputFile out = OutputFile::create(output);
    out.write(record);
    out.commit();
    EXPECT_EQ(readFile(output), record);
    EXPECT_EQ(fs::u8path(output), m_folder.path() / L"Gr\u00FC\u00DFe_802.dat");
}

} // namespace
} // namespace tallowbrook::test
