// A folder handed over in place of files stands for its ".dat" files.

#include <gtest/gtest.h>

#include <filesystem>

#include "files/file_error.h"
#include "files/folder_files.h"
#include "files/path_syntax.h"
#include "tests/support/expect_file_error.h"
#include "tests/support/temp_folder.h"
#include "text/case_blind_order.h"

namespace tallowbrook::test {
namespace {

TEST(FolderFiles, TakesDatFilesInAnyCaseAndNothingElse) {
    TempFolder folder;
    for (const char* name : {"b.dat", "A.DAT", "c.Dat", "notes.txt", "dat", "x.dat.bak", "设定.dat"}) {
        folder.write(name, Bytes(3));
    }
    std::filesystem::create_directory(folder.path() / "sub.dat");
    folder.write("sub.dat/inner.dat", Bytes(3));

    const std::string prefix = folder.file(""); // the folder and its separator
    ASSERT_EQ(prefix.back(), kFolderSeparator);
    const std::vector<std::string> expected{prefix + "A.DAT", prefix + "b.dat", prefix + "c.Dat",
                                            prefix + "设定.dat"};
    EXPECT_TRUE(isFolder(folder.file("sub.dat")));
    EXPECT_FALSE(isFolder(folder.file("b.dat")));
    EXPECT_EQ(dataFilesIn(prefix.substr(0, prefix.size() - 1)), expected);
    EXPECT_EQ(dataFilesIn(prefix), expected) << "a trailing separator is not doubled";
}

TEST(FolderFiles, AMissingFolderIsAFileErrorNamingIt) {
    TempFolder folder;
    const std::string missing = folder.file("absent");
    EXPECT_FALSE(isFolder(missing));
    expectFileError([&] { dataFilesIn(missing); }, FileCause::FileNotFound, missing);
}

TEST(ListOrder, LetterCaseDoesNotCountAndTiesKeepByteOrder) {
    const std::pair<std::vector<std::string>, std::vector<std::string>> cases[] = {
        {{"E:\\b\\x.dat", "d:\\a"}, {"d:\\a", "E:\\b\\x.dat"}},
        {{"b.DAT", "A1.dat", "a.dat", "c.Dat"}, {"a.dat", "A1.dat", "b.DAT", "c.Dat"}},
        {{"a.dat", "A.DAT", "A.dat", "a.DAT"}, {"A.DAT", "A.dat", "a.DAT", "a.dat"}}, // any input order
        {{"A.dat", "a.DAT", "a.dat", "A.DAT"}, {"A.DAT", "A.dat", "a.DAT", "a.dat"}},
        {{"[x]", "Zx"}, {"[x]", "Zx"}}, // '[' sorts after 'Z' but before 'z'
        {{"x", "x"}, {"x", "x"}},
    };
    for (auto [paths, sorted] : cases) {
        sortInListOrder(paths);
        EXPECT_EQ(paths, sorted);
    }
}

} // namespace
} // namespace tallowbrook::test
