// The viewer's command line: what it reads, and the real binary answering --help,
// --version and a mistyped option without any display.
#include "app/command_line.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "ui/qt/platform_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

using test_support::RunCommand;
using Request = CommandLine::Request;

TEST(CommandLine, PicturesQtOptionsAndTheEndOfOptions) {
    const struct {
        std::vector<std::string> Argv;
        Request Asked;
        std::vector<std::string> Arguments;
        std::vector<std::string> PlatformArguments;
    } cases[] = {
        {{"k"}, Request::Run, {"k"}, {"k"}},
        {{"k", "pic.spr"}, Request::Run, {"k", "pic.spr"}, {"k"}},
        {{"k", "-", "-reverse"}, Request::Run, {"k", "-"}, {"k", "-reverse"}},
        // Qt's options go to Qt, in each of the forms Qt takes.
        {{"k", "-platform", "offscreen", "--style=fusion", "pic.spr"},
         Request::Run,
         {"k", "pic.spr"},
         {"k", "-platform", "offscreen", "--style=fusion"}},
        // After --, anything is a picture, even a name Qt would take as its option.
        {{"k", "--", "-x.spr", "-reverse"}, Request::Run, {"k", "-x.spr", "-reverse"}, {"k"}},
        {{"k", "pic.spr", "--help"}, Request::Help, {"k", "pic.spr"}, {"k"}},
        {{"k", "-h"}, Request::Help, {"k"}, {"k"}},
        {{"k", "--version", "--bogus"}, Request::Version, {"k"}, {"k"}},
        {{"k", "--bogus", "--version"}, Request::Mistake, {"k"}, {"k"}},
        {{"k", "-x.spr"}, Request::Mistake, {"k"}, {"k"}},
        {{"k", "-reverse=1"}, Request::Mistake, {"k"}, {"k"}},
        {{"k", "-style"}, Request::Mistake, {"k"}, {"k"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Argv));
        const CommandLine line = ReadCommandLine(c.Argv);
        EXPECT_EQ(line.Asked, c.Asked);
        EXPECT_EQ(line.Arguments, c.Arguments);
        EXPECT_EQ(line.PlatformArguments, c.PlatformArguments);
        EXPECT_EQ(line.Mistake.empty(), c.Asked != Request::Mistake);
    }
    EXPECT_NE(ReadCommandLine({"k", "-x.spr"}).Mistake.find("'-x.spr'"), std::string::npos);
}

// X11 wherever an X display is there, unless the user has named a window system.
TEST(CommandLine, X11IsChosenWhereTheUserNamesNoWindowSystem) {
    const struct {
        std::vector<std::string> Argv;
        const char* ChosenPlatform;
        const char* XDisplay;
        std::optional<std::string> Platform;
    } cases[] = {
        {{"k", "pic.spr"}, nullptr, ":1", "xcb;wayland"},
        {{"k"}, "", ":0", "xcb;wayland"},
        {{"k"}, nullptr, nullptr, std::nullopt},
        {{"k"}, nullptr, "", std::nullopt},
        {{"k"}, "wayland", ":0", std::nullopt},
        {{"k", "-platform", "wayland"}, nullptr, ":0", std::nullopt},
        {{"k", "--platform=wayland"}, nullptr, ":0", std::nullopt},
        // A value that looks like the option is a value, and a picture is a picture.
        {{"k", "-title", "-platform"}, nullptr, ":0", "xcb;wayland"},
        {{"k", "--", "-platform"}, nullptr, ":0", "xcb;wayland"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Argv));
        EXPECT_EQ(ui::DefaultPlatform(ReadCommandLine(c.Argv).PlatformArguments, c.ChosenPlatform,
                                      c.XDisplay),
                  c.Platform);
    }
}

TEST(CommandLine, APictureThatCannotBeShownIsNamedWithTheReason) {
    test_support::TempDir dir;
    const auto picture = dir.Write("pic.spr", {1, 2, 3});
    const auto pipe = dir.Path() + "pipe.spr";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(PictureProblem(picture), std::nullopt);
    EXPECT_EQ(PictureProblem(dir.Path() + "missing.spr"), "No such file or directory");
    EXPECT_EQ(PictureProblem(dir.MakeDirectory("sub.spr")), "a directory, not a picture");
    EXPECT_EQ(PictureProblem(pipe), "not a regular file");
    if (::geteuid() != 0) { // the superuser reads any file
        ::chmod(picture.c_str(), 0);
        EXPECT_EQ(PictureProblem(picture), "Permission denied");
    }
}

// The viewer as a user runs it, with no display of any kind.
test_support::CommandResult RunViewer(std::vector<std::string> arguments) {
    std::vector<std::string> argv{"/usr/bin/env",    "-u", "DISPLAY",         "-u",
                                  "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", KADROMIR_VIEWER};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return RunCommand(argv);
}

TEST(ViewerCommandLine, HelpVersionAndMistakesNeedNoDisplay) {
    const auto help = RunViewer({"--help"});
    EXPECT_EQ(help.ExitCode, 0) << help.Error;
    for (const char* part : {"usage: kadromir [--] [PICTURE]", "Right, Space", "Left, Backspace",
                             "Экран х2", "Settings: /", "Кадромир.кфг"}) {
        EXPECT_NE(help.Output.find(part), std::string::npos) << part;
    }
    // The keys as a block, every description in one column, a continued one too.
    const std::string keys =
        "Keys:\n"
        "  Right, Space       next picture (after the last, the first)\n"
        "  Left, Backspace    previous picture\n"
        "  O                  open a picture (Открыть)\n"
        "  1                  window for the picture at its own size (Экран х1)\n"
        "  2                  window for the picture at twice its size (Экран х2)\n"
        "  C                  window to the middle of the screen (Поцентру)\n"
        "  R                  settings read again from the file (Обновить из сохранённых\n"
        "                     настроек)\n"
        "  Enter              every picture of the folder at a glance (Обзор папки)\n"
        "\n"
        "In the overview of the folder:\n"
        "  arrows, Home, End, Page Up, Page Down\n"
        "                     move the selection\n"
        "  letters            the next picture whose name starts with them\n"
        "  Enter, double click  open the selected picture\n"
        "  Esc                back to the picture as it was\n"
        "  +, -               larger or smaller tiles (64, 128, 256 pixels)\n"
        "\n";
    EXPECT_NE(help.Output.find(keys), std::string::npos) << help.Output;
    const auto version = RunViewer({"--version"});
    EXPECT_EQ(version.ExitCode, 0);
    EXPECT_EQ(version.Output, std::string("Кадромир (kadromir) ") + KADROMIR_VERSION + "\n");
    for (const char* mistake : {"--bogus", "-x.spr"}) {
        const auto run = RunViewer({mistake});
        EXPECT_EQ(run.ExitCode, 2) << mistake;
        EXPECT_TRUE(run.Output.empty());
        EXPECT_NE(run.Error.find(std::string("'") + mistake + "'"), std::string::npos) << run.Error;
        EXPECT_EQ(std::count(run.Error.begin(), run.Error.end(), '\n'), 1) << run.Error;
    }
}

} // namespace
} // namespace kadromir
