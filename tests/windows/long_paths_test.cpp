// Paths beyond Windows' old limit of 260 characters, and names no ANSI code page holds:
// every call of the system's face takes them.
#include "base/file_system.h"
#include "base/file_writer.h"
#include "base/system.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kadromir {
namespace {

TEST(WindowsPaths, LongPathsAndNamesOfAnyScript) {
    test_support::TempDir dir;
    // A folder chain of some 400 characters, its last name Chinese and Cyrillic.
    std::string folder = dir.Path();
    for (int i = 0; i < 8; ++i) {
        folder += std::string(45, static_cast<char>('a' + i)) + "\\";
        ASSERT_TRUE(MakeDirectory(folder, 0700)) << folder.size();
    }
    folder += "图片 Картинки\\";
    ASSERT_TRUE(MakeDirectory(folder, 0700));
    ASSERT_GT(folder.size(), 400u);
    const std::string picture = folder + "Ёжик 图.spr";
    ASSERT_EQ(WriteFileReplacing(picture, "four bit planes"), 0);
    ASSERT_EQ(WriteFileReplacing(picture, "replaced whole"), 0);

    const auto status = StatusOf(picture);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->Kind, FileKind::Regular);
    EXPECT_EQ(status->Size, 14u);
    EXPECT_TRUE(ExistsAsFile(picture));
    EXPECT_TRUE(ExistsAsDirectory(folder));
    const auto bytes = ReadFileBytes(picture, 1024);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->Bytes().begin(), bytes->Bytes().end()), "replaced whole");

    std::vector<std::string> names;
    ASSERT_TRUE(ListDirectory(folder, [&names](const ListedEntry& entry) {
        names.emplace_back(entry.Name());
        EXPECT_TRUE(entry.IsRegularFile());
    }));
    EXPECT_EQ(names, std::vector<std::string>{"Ёжик 图.spr"});
    // The same file through '/' and a ".." (which Windows takes by the name alone).
    std::string other = picture;
    for (char& c : other) {
        c = c == '\\' ? '/' : c;
    }
    other.insert(dir.Path().size(), "x/../");
    EXPECT_TRUE(ExistsAsFile(other));
    EXPECT_TRUE(ReadFileBytes(other, 1024));
}

} // namespace
} // namespace kadromir
