// Path rules on Windows: either delimiter, drives and network shares.
#include "base/path_rules.h"

#include <gtest/gtest.h>

namespace kadromir {
namespace {

TEST(WindowsPathRules, PartsOfPathsWithEitherDelimiter) {
    struct Case {
        const char* Path;
        const char* Directory;
        const char* Name;
        bool Absolute;
    };
    const Case cases[] = {
        {"C:\\Картинки\\Кот.SPR", "C:\\Картинки\\", "Кот.SPR", true},
        {"C:/pictures/a.spr", "C:/pictures/", "a.spr", true},
        {"C:\\mixed/dir\\b.rmb", "C:\\mixed/dir\\", "b.rmb", true},
        {"\\\\server\\share\\c.scr", "\\\\server\\share\\", "c.scr", true},
        {"Z:\\", "Z:\\", "", true},
        {"C:pic.spr", "C:", "pic.spr", false},
        {"\\root-of-this-drive.spr", "\\", "root-of-this-drive.spr", false},
        {"pic.spr", "", "pic.spr", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DirectoryPart(c.Path), c.Directory) << c.Path;
        EXPECT_EQ(FileNamePart(c.Path), c.Name) << c.Path;
        EXPECT_EQ(IsAbsolutePath(c.Path), c.Absolute) << c.Path;
    }
    EXPECT_EQ(JoinPath("C:\\dir", "a.spr"), "C:\\dir\\a.spr");
    EXPECT_EQ(JoinPath("C:\\dir\\", "a.spr"), "C:\\dir\\a.spr");
    EXPECT_EQ(JoinPath("C:/dir/", "a.spr"), "C:/dir/a.spr");
}

TEST(WindowsPathRules, DeviceNamesAreNoFiles) {
    for (const char* name :
         {"CON", "con.spr", "Aux.SPR", "NUL", "nul.tar.gz", "PRN.rmb", "COM1.spr", "lpt9.scr",
          "COM\xC2\xB9.spr", "CONIN$", "conout$.spr", "AUX .spr"}) {
        EXPECT_TRUE(IsWindowsDeviceName(name)) << name;
    }
    for (const char* name : {"CONSOLE.spr", "auxiliary.spr", "COM0.spr", "COM10.spr", "LPT.spr",
                             "nul_.spr", "xCON.spr", "Кот.spr", ".con", ""}) {
        EXPECT_FALSE(IsWindowsDeviceName(name)) << name;
    }
}

} // namespace
} // namespace kadromir
