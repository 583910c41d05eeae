// The Windows file access against the platform's own sharing rules, locks,
// attributes and wide-character names.

#include <gtest/gtest.h>

#include "winapi/windows_prelude.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "files/file_access.h"
#include "files/file_error.h"

namespace tallowbrook {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::byte>;

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

fs::path fromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

Bytes pattern(std::size_t length, unsigned seed) {
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<std::byte>((i * 31u + seed) & 0xFFu);
    }
    return bytes;
}

void writeBytes(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << utf8(path);
}

Bytes readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> chars{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Bytes bytes(chars.size());
    std::transform(chars.begin(), chars.end(), bytes.begin(), [](char c) { return static_cast<std::byte>(c); });
    return bytes;
}

// Wine keeps byte-range locks between lockers only; reads and writes ignore them.
bool runningUnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Another opener of a file, as a second program would be: its own handle with
// its own access and sharing.
class OtherHandle {
public:
    OtherHandle(const fs::path& path, DWORD access, DWORD sharing)
        : m_handle(::CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                 nullptr)) {}
    ~OtherHandle() {
        if (valid()) {
            ::CloseHandle(m_handle);
        }
    }
    OtherHandle(const OtherHandle&) = delete;
    OtherHandle& operator=(const OtherHandle&) = delete;

    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }

private:
    HANDLE m_handle;
};

class WindowsFileAccess : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   (L"tallowbrook-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(s_next++));
        fs::create_directories(m_folder);
    }

    void TearDown() override {
        // Read-only files must lose the attribute before they can be removed.
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder, ignored)) {
            ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        fs::remove_all(m_folder, ignored);
    }

    fs::path at(const std::wstring& name) const { return m_folder / name; }

    // Files left in the folder besides `expected`.
    std::vector<std::wstring> strayFiles(const std::vector<std::wstring>& expected) const {
        std::vector<std::wstring> stray;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            const std::wstring name = entry.path().filename().wstring();
            if (std::find(expected.begin(), expected.end(), name) == expected.end()) {
                stray.push_back(name);
            }
        }
        return stray;
    }

    fs::path m_folder;
    static inline unsigned s_next = 0;
};

FileCause causeOfOpening(const std::string& path) {
    try {
        SourceFile::open(path);
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), std::optional<std::string>(path));
        return error.cause();
    }
    return FileCause::None;
}

FileCause causeOfCreating(const std::string& path) {
    try {
        OutputFile::create(path);
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), std::optional<std::string>(path));
        return error.cause();
    }
    return FileCause::None;
}

struct OpenCase {
    const char* name;
    std::function<std::string(const fs::path& folder)> prepare;
    FileCause expected;
};

class SourceOpenFailure : public WindowsFileAccess, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(SourceOpenFailure, RaisesItsCause) {
    EXPECT_EQ(causeOfOpening(GetParam().prepare(m_folder)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, SourceOpenFailure,
    ::testing::Values(
        OpenCase{"MissingFile", [](const fs::path& f) { return utf8(f / L"absent.dat"); }, FileCause::FileNotFound},
        OpenCase{"MissingFolder", [](const fs::path& f) { return utf8(f / L"absent" / L"a.dat"); },
                 FileCause::BadPath},
        OpenCase{"Folder",
                 [](const fs::path& f) {
                     fs::create_directory(f / L"folder.dat");
                     return utf8(f / L"folder.dat");
                 },
                 FileCause::AccessDenied},
        OpenCase{"ReservedCharacter", [](const fs::path& f) { return utf8(f) + "\\a<b>.dat"; }, FileCause::BadPath},
        OpenCase{"NotUtf8", [](const fs::path& f) { return utf8(f) + "\\\xC3(.dat"; }, FileCause::BadPath},
        OpenCase{"EmbeddedZero", [](const fs::path& f) { return utf8(f) + std::string("\\a\0b.dat", 8); },
                 FileCause::BadPath},
        OpenCase{"Device", [](const fs::path&) { return std::string("NUL"); }, FileCause::AccessDenied}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// A program holding the source for writing keeps us out, whatever it shares:
// reading it then could see a half-written record.
TEST_F(WindowsFileAccess, SourceHeldForWritingIsASharingViolation) {
    const fs::path source = at(L"held.dat");
    writeBytes(source, pattern(1472, 1));
    for (const DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
        const OtherHandle writer(source, GENERIC_WRITE, sharing);
        ASSERT_TRUE(writer.valid());
        EXPECT_EQ(causeOfOpening(utf8(source)), FileCause::SharingViolation) << "sharing " << sharing;
    }
}

TEST_F(WindowsFileAccess, OpenSourceLetsOthersReadButNotWrite) {
    const fs::path source = at(L"shared.dat");
    writeBytes(source, pattern(1480, 2));
    SourceFile file = SourceFile::open(utf8(source));

    const OtherHandle reader(source, GENERIC_READ, FILE_SHARE_READ);
    EXPECT_TRUE(reader.valid());
    const OtherHandle writer(source, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_FALSE(writer.valid());
    EXPECT_EQ(::GetLastError(), DWORD{ERROR_SHARING_VIOLATION});

    Bytes buffer(1480);
    EXPECT_EQ(file.length(), 1480u);
    EXPECT_EQ(file.read(buffer), 1480u);
    EXPECT_EQ(buffer, pattern(1480, 2));
}

TEST_F(WindowsFileAccess, ReadStopsAtTheEndAndAnEmptyBufferReadsNothing) {
    const fs::path source = at(L"short.dat");
    writeBytes(source, pattern(1000, 3));
    SourceFile file = SourceFile::open(utf8(source));
    Bytes empty;
    EXPECT_EQ(file.read(empty), 0u);
    Bytes buffer(4000);
    EXPECT_EQ(file.read(buffer), 1000u);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 1000, pattern(1000, 3).begin()));
}

TEST_F(WindowsFileAccess, ReadOfALockedRangeIsALockViolation) {
    if (runningUnderWine()) {
        GTEST_SKIP() << "Wine does not enforce byte-range locks on reads";
    }
    const fs::path source = at(L"locked.dat");
    writeBytes(source, pattern(1852, 4));
    const OtherHandle locker(source, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(locker.valid());
    OVERLAPPED whole{};
    ASSERT_TRUE(::LockFileEx(locker.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 4096, 0, &whole));

    SourceFile file = SourceFile::open(utf8(source));
    Bytes buffer(1852);
    try {
        file.read(buffer);
        ADD_FAILURE() << "read a locked range";
    } catch (const FileError& error) {
        EXPECT_EQ(error.cause(), FileCause::LockViolation);
        EXPECT_FALSE(error.path().has_value());
    }
    ::UnlockFileEx(locker.get(), 0, 4096, 0, &whole);
}

TEST_F(WindowsFileAccess, OutputAppearsOnlyOnCommitAndLeavesNoTemporaryFile) {
    const fs::path output = at(L"out_802.dat");
    {
        OutputFile file = OutputFile::create(utf8(output));
        file.write(pattern(2892, 5));
        EXPECT_FALSE(fs::exists(output));
        // The bytes being written are closed to every other program.
        const std::vector<std::wstring> pending = strayFiles({});
        ASSERT_EQ(pending.size(), 1u);
        const OtherHandle reader(at(pending.front()), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        EXPECT_FALSE(reader.valid());
        EXPECT_EQ(::GetLastError(), DWORD{ERROR_SHARING_VIOLATION});
        file.commit();
    }
    EXPECT_EQ(readBytes(output), pattern(2892, 5));
    EXPECT_TRUE(strayFiles({L"out_802.dat"}).empty());
}

TEST_F(WindowsFileAccess, UncommittedOutputLeavesTheOldFileAsItWas) {
    const fs::path output = at(L"out_705.dat");
    writeBytes(output, pattern(100, 6));
    {
        OutputFile file = OutputFile::create(utf8(output));
        file.write(pattern(1852, 7));
    }
    EXPECT_EQ(readBytes(output), pattern(100, 6));
    EXPECT_TRUE(strayFiles({L"out_705.dat"}).empty());
}

TEST_F(WindowsFileAccess, ExistingOutputIsReplacedAndKeepsItsHiddenAttribute) {
    const fs::path output = at(L"out_700.dat");
    writeBytes(output, pattern(100, 8));
    ASSERT_TRUE(::SetFileAttributesW(output.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    OutputFile file = OutputFile::create(utf8(output));
    file.write(pattern(1480, 9));
    file.commit();
    EXPECT_EQ(readBytes(output), pattern(1480, 9));
    EXPECT_NE(::GetFileAttributesW(output.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(WindowsFileAccess, ReadOnlyOutputOrFolderIsRefusedAndLeftAlone) {
    const fs::path readOnly = at(L"ro_604.dat");
    writeBytes(readOnly, pattern(100, 10));
    ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(causeOfCreating(utf8(readOnly)), FileCause::AccessDenied);
    EXPECT_EQ(readBytes(readOnly), pattern(100, 10));

    fs::create_directory(at(L"dir_604.dat"));
    EXPECT_EQ(causeOfCreating(utf8(at(L"dir_604.dat"))), FileCause::AccessDenied);
    EXPECT_TRUE(fs::is_directory(at(L"dir_604.dat")));
    EXPECT_TRUE(strayFiles({L"ro_604.dat", L"dir_604.dat"}).empty());
}

TEST_F(WindowsFileAccess, OutputInAMissingFolderIsAnInvalidPath) {
    EXPECT_EQ(causeOfCreating(utf8(at(L"absent") / L"out_604.dat")), FileCause::BadPath);
}

// A program holding the old output open without letting it be deleted keeps the
// rename from happening: the run stops there and the old output stays whole.
TEST_F(WindowsFileAccess, OutputHeldByAnotherProgramFailsOnCommit) {
    const fs::path output = at(L"busy_707.dat");
    writeBytes(output, pattern(100, 11));
    const OtherHandle holder(output, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(holder.valid());
    OutputFile file = OutputFile::create(utf8(output));
    file.write(pattern(1856, 12));
    try {
        file.commit();
        ADD_FAILURE() << "replaced a file that another program holds";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.cause() == FileCause::SharingViolation || error.cause() == FileCause::AccessDenied)
            << error.description();
        EXPECT_EQ(error.path(), std::optional<std::string>(utf8(output)));
    }
    EXPECT_EQ(readBytes(output), pattern(100, 11));
}

TEST_F(WindowsFileAccess, PathsAreUtf8AndBothSeparatorsWork) {
    const std::wstring name = L"Gr\u00FC\u00DFe \u8A2D\u5B9A \U0001F525.dat";
    const Bytes record = pattern(2888, 13);
    writeBytes(at(name), record);

    // Forward slashes as well as backslashes separate folders.
    std::string source = utf8(at(name));
    std::replace(source.begin(), source.end(), '\\', '/');
    SourceFile file = SourceFile::open(source);
    Bytes buffer(record.size());
    EXPECT_EQ(file.read(buffer), record.size());
    EXPECT_EQ(buffer, record);

    const std::string output = utf8(m_folder) + "\\Gr\xC3\xBC\xC3\x9F" "e_802.dat";
    OutputFile out = OutputFile::create(output);
    out.write(record);
    out.commit();
    EXPECT_EQ(readBytes(at(L"Gr\u00FC\u00DFe_802.dat")), record);
    EXPECT_EQ(fromUtf8(output), at(L"Gr\u00FC\u00DFe_802.dat"));
}

} // namespace
} // namespace tallowbrook
