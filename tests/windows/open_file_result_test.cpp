// The open-file dialog's result: read by its shape, never past its end, and
// given more room when a selection does not fit.

#include <gtest/gtest.h>

#include "tests/windows/fake_system.h"
#include "win32/open_file_dialog.h"

namespace tallowbrook::win32::test {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::wstring>;

TEST(OpenFileResult, IsOnePathOrAFolderFollowedByNames) {
    const struct {
        const char* name;
        std::wstring result;
        std::size_t fileOffset;
        Paths paths;
    } cases[] = {
        {"one file", L"D:\\cfg\\a.dat\0\0"s, 7, {L"D:\\cfg\\a.dat"}},
        {"one file, the rest of a longer initial name after it", L"D:\\a\0x.dat\0\0"s, 3, {L"D:\\a"}},
        {"two files", L"D:\\cfg\0a.dat\0b.dat\0\0"s, 7, {L"D:\\cfg\\a.dat", L"D:\\cfg\\b.dat"}},
        {"two files in a drive's root", L"D:\\\0b.dat\0a.dat\0\0"s, 4, {L"D:\\b.dat", L"D:\\a.dat"}},
        {"names with blanks", L"D:\\my cfg\0  .dat\0\0"s, 10, {L"D:\\my cfg\\  .dat"}},
        {"nothing", L"\0\0"s, 0, {}},
        {"no final empty text", L"D:\\cfg\0a.dat\0b.dat"s, 7, {L"D:\\cfg\\a.dat", L"D:\\cfg\\b.dat"}},
        {"no terminator at all", L"D:\\cfg\\a.dat"s, 7, {L"D:\\cfg\\a.dat"}},
        {"an offset past the end", L"D:\\cfg\0"s, 7, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseOpenFileResult(c.result, c.fileOffset), c.paths);
    }
}

TEST(OpenFileDialog, AskesAgainWithMoreRoomWhenTheSelectionDoesNotFit) {
    FakeSystem system;
    Paths chosen;
    for (int i = 0; i < 5000; ++i) {
        chosen.push_back(L"C:\\many\\" + std::wstring(40, L'x') + std::to_wstring(i) + L".dat");
    }
    system.chooser.queue(chosen);
    const std::optional<Paths> paths = chooseDataFiles(nullptr, L"   ", system.seams());
    ASSERT_TRUE(paths);
    EXPECT_EQ(*paths, chosen);
    ASSERT_EQ(system.requests.size(), 3u) << "64K, then 128K, then 256K characters";
    for (const FakeSystem::Request& request : system.requests) {
        EXPECT_EQ(request.initialName, L"   ") << "offered the same name each time";
    }
}

TEST(OpenFileDialog, CancelOrAFailureOfTheDialogAddsNothing) {
    FakeSystem system;
    system.chooser.queue(std::nullopt);
    EXPECT_FALSE(chooseDataFiles(nullptr, L"   ", system.seams()));
    // Past the largest room it gives up rather than ask for ever.
    FakeSystem huge;
    huge.chooser.queue(Paths(1, L"C:\\" + std::wstring(kLargestResultRoom, L'x')));
    EXPECT_FALSE(chooseDataFiles(nullptr, L"   ", huge.seams()));
    EXPECT_LE(huge.requests.back().room, kLargestResultRoom);
}

} // namespace
} // namespace tallowbrook::win32::test
