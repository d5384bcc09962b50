#include "formats/load_picture.h"
#include "formats/picture_formats.h"
#include "navigation/file_navigator.h"
#include "navigation/recent_files.h"
#include "picture_encoder.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace kadromir {
namespace {

class FakeHost : public NavigatorHost {
  public:
    std::string Title = "Кадромир";
    int Enabled = 0;
    int Draws = 0;
    PictureState State;
    bool Released = false;
    void SetTitle(const std::string& title) override { Title = title; }
    void EnableStepButtons() override { ++Enabled; }
    void DrawPicture() override { ++Draws; }
    PictureState* Picture() override { return Released ? nullptr : &State; }
};

// A picture whose border code names it, so a test can tell which file is shown.
std::vector<std::uint8_t> Picture(ColourCode border) {
    std::array<ColourCode, 16> palette{};
    palette[0] = border;
    return encoder::EncodeSpr(palette, PlaneBuffer{});
}

// A directory of pictures named in `names`; picture i has border code i + 1.
struct PictureDir {
    test_support::TempDir Dir;
    explicit PictureDir(const std::vector<std::string>& names) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            Dir.Write(names[i], Picture(static_cast<ColourCode>(i + 1)));
        }
    }
    std::string operator/(const std::string& name) const { return Dir.Path() + name; }
};

std::vector<std::string> Names(const FileNavigator& navigator) {
    std::vector<std::string> names;
    for (const auto& entry : *navigator.FileList()) {
        names.emplace_back(entry.Name);
    }
    return names;
}

TEST(FileList, MasksMatchWholeNamesWithoutRegardToCase) {
    const struct {
        const char* Name;
        const char* Mask;
        bool Matches;
    } cases[] = {
        {"Cat.SPR", "*.spr", true},  {"cat.spr.bak", "*.spr", false},
        {"cat.sp", "*.spr", false},  {"ЁЖ.Spr", "*.spr", true},
        {"ж.spr", "?.spr", true},    {"жж.spr", "?.spr", false},
        {".spr", "*.spr", true},     {"a", "*", true},
        {"ab.rmb", "a*b.r?b", true}, {"\xff\xfe.SCR", "*.scr", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesMask(c.Name, c.Mask), c.Matches) << c.Name << " " << c.Mask;
    }
    EXPECT_EQ(SplitMasks(" *.SPR ;; *.rmb;\t*.scr "),
              (std::vector<std::string>{"*.spr", "*.rmb", "*.scr"}));
}

#ifndef _WIN32 // names alike but for letter case, a byte name and links: a Linux file system's
TEST(FileList, ListsPicturesOnlySortedByLowerCaseName) {
    PictureDir dir({"cat.SPR", "Dog.spr", "ant.Rmb", "cat.spr.bak", "readme.txt", "Ёж.scr",
                    "ель.scr", "Cat.spr", "\xff.spr"});
    dir.Dir.MakeDirectory("old.spr"); // a directory is never listed
    std::filesystem::create_symlink(dir / "Dog.spr", dir / "link.spr");
    std::filesystem::create_directory_symlink(dir / "old.spr", dir / "dirlink.spr");
    FakeHost host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir / "cat.SPR");
    // Ties of the lower-cased name go by bytes: "Cat.spr" < "cat.SPR".
    EXPECT_EQ(Names(navigator),
              (std::vector<std::string>{"ant.Rmb", "Cat.spr", "cat.SPR", "Dog.spr", "link.spr",
                                        "ель.scr", "\xff.spr", "Ёж.scr"}));
    EXPECT_EQ(host.Title, "Кадромир : 3/8  cat.SPR");
    EXPECT_EQ(host.Enabled, 1);
}
#endif

// Capital Cyrillic letters fold as small ones do, Я (the last) and Ё (outside the
// block) among them.
TEST(FileList, CyrillicCapitalsSortAsTheirSmallLetters) {
    PictureDir dir({"ящик.spr", "Яблоко.spr", "Юла.spr", "Ёж.spr", "ель.spr", "Абв.spr"});
    FakeHost host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir / "Юла.spr");
    EXPECT_EQ(Names(navigator), (std::vector<std::string>{"Абв.spr", "ель.spr", "Юла.spr",
                                                          "Яблоко.spr", "ящик.spr", "Ёж.spr"}));
}

#ifndef _WIN32 // names as bytes of an old code page: a Linux file system's
// Names unpacked from old archives, in Windows-1251 or DOS 866: shown and sorted by
// the letters they stand for, opened by their own bytes.
TEST(FileList, NamesInOldCodePagesShowAndSortAsTheirLetters) {
    const std::string cat1251 = "\xca\xee\xf2.spr"; // Кот.spr
    const std::string fir866 = "\x85\xab\xec.SPR";  // Ель.SPR
    const std::string hedgehog = "ёж.spr";          // UTF-8
    PictureDir dir({cat1251, fir866, hedgehog, "Bear.spr"});
    FakeHost host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir / cat1251);
    EXPECT_EQ(Names(navigator), (std::vector<std::string>{"Bear.spr", fir866, cat1251, hedgehog}));
    EXPECT_EQ(host.Title, "Кадромир : 3/4  Кот.spr");
    EXPECT_EQ(host.State.BorderColour, 1);
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 4/4  ёж.spr");
    navigator.StepPrevious();
    EXPECT_EQ(host.Title, "Кадромир : 3/4  Кот.spr");
    EXPECT_EQ(navigator.CurrentFile(), dir / cat1251); // the bytes on disk, untouched
    EXPECT_EQ(host.State.BorderColour, 1);
    navigator.StepPrevious();
    EXPECT_EQ(host.Title, "Кадромир : 2/4  Ель.SPR");
    EXPECT_EQ(host.State.BorderColour, 2);
}
#endif

// Scans held back until the test lets them end, as a worker thread would.
class DeferredRunner : public ScanRunner {
  public:
    std::vector<std::pair<Scan, Done>> Jobs;
    void Run(Scan scan, Done done) override { Jobs.emplace_back(std::move(scan), std::move(done)); }
    void Finish(std::size_t i) { Jobs[i].second(Jobs[i].first()); }
};

TEST(FileNavigator, ScansThatEndLaterLeaveListTitleAndButtonsUntilTheyDo) {
    PictureDir dir({"a.spr", "b.spr", "c.spr"});
    PictureDir other({"x.spr", "y.spr"});
    FakeHost host;
    DeferredRunner runner;
    FileNavigator navigator(host, UtcTimeOfDayMs, &runner);
    navigator.OpenFile(dir / "b.spr");
    // The picture is there at once; the title names it; the list is not yet.
    EXPECT_EQ(host.State.BorderColour, 2);
    EXPECT_EQ(host.Title, "Кадромир  b.spr");
    EXPECT_EQ(host.Enabled, 0);
    navigator.StepNext();
    EXPECT_EQ(navigator.CurrentFile(), dir / "b.spr");
    // A rebuild (a refresh tick) while the scan is under way starts no second one.
    navigator.RebuildFileList();
    ASSERT_EQ(runner.Jobs.size(), 1u);
    runner.Finish(0);
    EXPECT_EQ(host.Title, "Кадромир : 2/3  b.spr");
    EXPECT_EQ(host.Enabled, 1);

    // Another directory opened while a scan of the first is under way: the first
    // result is dropped, and the steps wait for the new list.
    navigator.RebuildFileList();
    navigator.OpenFile(other / "y.spr");
    ASSERT_EQ(runner.Jobs.size(), 3u);
    navigator.StepNext();
    EXPECT_EQ(navigator.CurrentFile(), other / "y.spr");
    runner.Finish(1);
    EXPECT_EQ(host.Title, "Кадромир  y.spr");
    runner.Finish(2);
    EXPECT_EQ(host.Title, "Кадромир : 2/2  y.spr");
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 1/2  x.spr");

    // After the close a late result changes nothing.
    navigator.RebuildFileList();
    navigator.ReleaseFileList();
    runner.Finish(3);
    EXPECT_FALSE(navigator.FileList());
}

TEST(FileNavigator, StepsWrapAroundBothWays) {
    PictureDir dir({"a.spr", "b.spr", "c.spr"});
    FakeHost host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir / "c.spr");
    EXPECT_EQ(host.Title, "Кадромир : 3/3  c.spr");
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 1/3  a.spr");
    EXPECT_EQ(navigator.CurrentFile(), dir / "a.spr");
    EXPECT_EQ(host.State.BorderColour, 1);
    navigator.StepPrevious();
    EXPECT_EQ(host.Title, "Кадромир : 3/3  c.spr");
    EXPECT_EQ(host.State.BorderColour, 3);
    navigator.StepPrevious();
    EXPECT_EQ(host.Title, "Кадромир : 2/3  b.spr");
    EXPECT_EQ(host.Draws, 4); // the open and every step draw at once
}

TEST(FileNavigator, OnePictureReloadsItself) {
    PictureDir dir({"only.rmb.spr"});
    FakeHost host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir / "only.rmb.spr");
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 1/1  only.rmb.spr");
    navigator.StepPrevious();
    EXPECT_EQ(host.Title, "Кадромир : 1/1  only.rmb.spr");
}

TEST(FileNavigator, AVanishedEntryRebuildsAndStaysOnThePicture) {
    PictureDir dir({"a.spr", "b.spr", "c.spr"});
    FakeHost host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir / "a.spr");
    dir.Dir.Write("aa.spr", Picture(9)); // not seen until a rebuild
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 2/3  b.spr");
    std::filesystem::remove(dir / "c.spr");
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 3/3  b.spr");
    EXPECT_EQ(navigator.CurrentFile(), dir / "b.spr");
    EXPECT_EQ(host.State.BorderColour, 2);
}

TEST(FileNavigator, MissingDirectoryAndFileMessagesKeepTheList) {
    PictureDir dir({"a.spr", "b.spr"});
    FakeHost host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir / "nothere.spr");
    EXPECT_EQ(host.Title, "Кадромир - Файлы не найдены!");
    EXPECT_FALSE(navigator.FileList());
    navigator.OpenFile(dir / "a.spr");
    navigator.OpenFile(dir / "gone/a.spr");
    EXPECT_EQ(host.Title, "Кадромир - Отсутствует директория!");
    EXPECT_EQ(navigator.EntryCount(), 2u);
    EXPECT_EQ(navigator.CountText(), "2");
    // A bare name has no directory part.
    navigator.OpenFile("a.spr");
    EXPECT_EQ(host.Title, "Кадромир - Отсутствует директория!");
}

TEST(FileNavigator, RejectedFileMovesTheTitleButKeepsThePicture) {
    PictureDir dir({"a.spr"});
    dir.Dir.Write("b.rmb", std::vector<std::uint8_t>(100, 0));
    FakeHost host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir / "a.spr");
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 2/2  b.rmb-Несоответствие в заголовке!");
    EXPECT_EQ(host.State.BorderColour, 1);
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 1/2  a.spr");
}

TEST(FileNavigator, ACurrentFileOutsideTheListIsNamedAtPositionZero) {
    PictureDir dir({"a.spr", "b.spr", "c.spr"});
    dir.Dir.Write("photo.png", {1, 2, 3});
    FakeHost host;
    FileNavigator navigator(host);
    // The kept index (of b.spr) says nothing of where the user is: Next goes to the
    // first entry, Previous to the last.
    navigator.OpenFile(dir / "b.spr");
    navigator.OpenFile(dir / "photo.png");
    EXPECT_EQ(host.Title, "Кадромир : 0/3  photo.png");
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 1/3  a.spr");
    navigator.OpenFile(dir / "photo.png");
    navigator.StepPrevious();
    EXPECT_EQ(host.Title, "Кадромир : 3/3  c.spr");
}

// Entries that can show no picture are never listed, so a step or a slide show
// always gets past them; opening them never blocks.
#ifndef _WIN32 // FIFOs, and links to devices: Windows has neither in a folder
TEST(FileList, OnlyRegularFilesAndLinksToThemAreListed) {
    PictureDir dir({"a.spr", "c.spr"});
    namespace fs = std::filesystem;
    ASSERT_EQ(::mkfifo((dir / "b.spr").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "b.scr").c_str(), 0600), 0);
    fs::create_symlink(dir / "nowhere.spr", dir / "d.rmb"); // dangling
    fs::create_symlink(dir / "loop.spr", dir / "loop.spr"); // a loop
    fs::create_symlink("/dev/zero", dir / "z.spr");         // a device
    fs::create_symlink(dir / "a.spr", dir / "e.spr");       // a picture
    dir.Dir.MakeDirectory("sub.spr");
    FakeHost host;
    FileNavigator navigator(host);
    navigator.OpenFile(dir / "a.spr");
    EXPECT_EQ(Names(navigator), (std::vector<std::string>{"a.spr", "c.spr", "e.spr"}));
    const std::vector<std::string> titles = {"Кадромир : 2/3  c.spr", "Кадромир : 3/3  e.spr",
                                             "Кадромир : 1/3  a.spr"};
    for (const auto& title : titles) {
        navigator.StepNext();
        EXPECT_EQ(host.Title, title);
    }
    // A picture that became a pipe since the scan is never opened: the step rebuilds.
    fs::remove(dir / "c.spr");
    ASSERT_EQ(::mkfifo((dir / "c.spr").c_str(), 0600), 0);
    navigator.StepNext();
    EXPECT_EQ(host.Title, "Кадромир : 1/2  a.spr");
    // Opened directly, a pipe loads nothing and is no file of the list.
    navigator.OpenFile(dir / "b.spr");
    EXPECT_EQ(host.State.LoadMessage, " - Неподходящий файл!");
    EXPECT_EQ(host.Title, "Кадромир - Файлы не найдены!");
}

// An empty directory text is no directory, not the working one.
#endif

TEST(FileList, AnEmptyDirectoryTextListsNothing) {
    PictureDir dir({"a.spr", "b.spr"});
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Dir.Path());
    const auto entries = ScanDirectory("", SplitMasks(PictureMasks()));
    std::filesystem::current_path(previous);
    EXPECT_TRUE(entries.empty());
}

TEST(FileNavigator, NothingHappensWithoutAList) {
    FakeHost host;
    FileNavigator navigator(host, [] { return 5u; });
    navigator.StepNext();
    navigator.StepPrevious();
    navigator.StepToRandom();
    EXPECT_EQ(host.Title, "Кадромир");
    EXPECT_EQ(host.Draws, 0);
    EXPECT_EQ(host.Enabled, 0);
}

TEST(RandomPick, GeneratorAndSeed) {
    const struct {
        std::uint32_t Seed, N, Expected;
    } cases[] = {{0, 10, 0},          {1, 10, 0},  {43200000, 5, 1}, {86399999, 2, 1},
                 {12345678, 100, 62}, {999, 1, 0}, {12345678, 0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(RandomPick(c.N, c.Seed), c.Expected) << c.Seed << " " << c.N;
    }
    EXPECT_LT(UtcTimeOfDayMs(), 86400000u);
}

TEST(FileNavigator, RandomStepsReachEveryEntry) {
    PictureDir dir({"a.spr", "b.spr", "c.spr"});
    FakeHost host;
    // A slide show's clock: ten in the morning, a tick a second, give or take.
    std::uint32_t clock = 36000000, tick = 0;
    FileNavigator navigator(host, [&] { return clock += 1000 + (++tick % 7); });
    navigator.OpenFile(dir / "a.spr");
    std::set<std::string> shown;
    // In-order stepping would always move on to the next name; random steps do not.
    const auto next = [&](const std::string& file) {
        return file == dir / "a.spr"   ? dir / "b.spr"
               : file == dir / "b.spr" ? dir / "c.spr"
                                       : dir / "a.spr";
    };
    int outOfOrder = 0;
    for (int step = 0; step < 60; ++step) {
        const std::string before = navigator.CurrentFile();
        navigator.StepToRandom();
        shown.insert(navigator.CurrentFile());
        outOfOrder += navigator.CurrentFile() != next(before);
    }
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_GT(outOfOrder, 10);
}

struct StartupCase {
    const char* Name;
    bool SlideShow, RandomSlides, RandomFromRecentDir;
    std::string Expected;
};

TEST(StartupOpen, RecentDirectoryChoices) {
    PictureDir dir({"1.spr", "2.spr", "3.spr", "4.spr", "5.spr"});
    const StartupCase cases[] = {
        {"slide show in order: the last", true, false, false, "5.spr"},
        {"random slides", true, true, false, "2.spr"},
        {"random start", false, false, true, "2.spr"},
        {"plain: the first", false, false, false, "1.spr"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Settings settings;
        settings.OpenFromRecentDir = true;
        settings.OpenRecentFile = true; // the directory takes precedence
        settings.RecentFile = dir / "3.spr";
        settings.RecentDir = dir.Dir.Path();
        settings.SlideShow = c.SlideShow;
        settings.RandomSlides = c.RandomSlides;
        settings.RandomFromRecentDir = c.RandomFromRecentDir;
        FakeHost host;
        FileNavigator navigator(host, [] { return 43200000u; }); // RandomPick(5, it) is 1
        navigator.StartupOpen({"kadromir"}, settings, "/");
        EXPECT_EQ(navigator.CurrentFile(), dir / c.Expected);
        EXPECT_EQ(host.Draws, 1);
    }
}

TEST(StartupOpen, CommandLineThenRecentFileThenNothing) {
    PictureDir dir({"a.spr", "b.spr"});
    dir.Dir.MakeDirectory("sub");
    Settings recent;
    recent.OpenRecentFile = true;
    recent.RecentFile = dir / "b.spr";
    {
        SCOPED_TRACE("a relative argument is taken from the working directory");
        FakeHost host;
        FileNavigator navigator(host);
        navigator.StartupOpen({"kadromir", "a.spr"}, recent, dir.Dir.Path());
        EXPECT_EQ(navigator.CurrentFile(), dir / "a.spr");
        EXPECT_EQ(host.Title, "Кадромир : 1/2  a.spr");
    }
    for (const std::string& argument : {dir / "sub", dir / "missing.spr", std::string()}) {
        SCOPED_TRACE("not a file: " + argument);
        FakeHost host;
        FileNavigator navigator(host);
        navigator.StartupOpen({"kadromir", argument}, recent, "/");
        EXPECT_EQ(navigator.CurrentFile(), dir / "b.spr");
    }
    {
        SCOPED_TRACE("the recent file is opened even when gone");
        Settings gone = recent;
        gone.RecentFile = dir / "gone.spr";
        FakeHost host;
        FileNavigator navigator(host);
        navigator.StartupOpen({"kadromir"}, gone, "/");
        EXPECT_EQ(host.Title, "Кадромир - Файлы не найдены!");
    }
    {
        SCOPED_TRACE("nothing to open");
        FakeHost host;
        FileNavigator navigator(host);
        navigator.StartupOpen({"kadromir"}, Settings{}, "/");
        EXPECT_EQ(host.Title, "Кадромир");
        EXPECT_EQ(host.Enabled, 0);
        EXPECT_EQ(host.Draws, 0);
    }
}

TEST(StartupOpen, RecentDirectoryMissingOrEmpty) {
    test_support::TempDir empty;
    const struct {
        std::string Directory;
        const char* Title;
    } cases[] = {{empty.Path() + "gone/", "Кадромир - Отсутствует директория!"},
                 {empty.Path(), "Кадромир - Файлы не найдены!"},
                 {"", "Кадромир - Отсутствует директория!"}};
    for (const auto& c : cases) {
        Settings settings;
        settings.OpenFromRecentDir = true;
        settings.RecentDir = c.Directory;
        FakeHost host;
        FileNavigator navigator(host);
        navigator.StartupOpen({"kadromir"}, settings, "/");
        EXPECT_EQ(navigator.CurrentFile(), "");
        EXPECT_EQ(host.Title, c.Title) << c.Directory;
    }
}

TEST(DropFiles, TheFirstPictureOfTheDropOpens) {
    PictureDir dir({"a.spr", "b.Spr", "c.rmb"});
    FakeHost host;
    FileNavigator navigator(host);
    navigator.DropFiles(dir / "x.png");
    EXPECT_EQ(host.Title, "Кадромир");
    navigator.DropFiles(dir / "x.png\r" + dir / "b.Spr\r" + dir / "c.rmb");
    EXPECT_EQ(navigator.CurrentFile(), dir / "b.Spr");
    EXPECT_EQ(host.Title, "Кадромир : 2/3  b.Spr");
    // A folder named like a picture is passed over, alone or first in the drop.
    dir.Dir.MakeDirectory("sub.spr");
    navigator.DropFiles(dir / "sub.spr");
    EXPECT_EQ(navigator.CurrentFile(), dir / "b.Spr");
    navigator.DropFiles(dir / "sub.spr\r" + dir / "c.rmb");
    EXPECT_EQ(navigator.CurrentFile(), dir / "c.rmb");
    EXPECT_EQ(host.Title, "Кадромир : 3/3  c.rmb-Несоответствие в заголовке!"); // SPR bytes
}

std::string ReadText(const std::string& path) {
    std::ifstream in(test_support::NativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(SaveRecent, WritesOnlyChangedKeysOfSetOptions) {
    test_support::TempDir dir;
    const std::string config = dir.Path() + "Кадромир.кфг";
    const std::string start = "[Настройки]\nНедавний файл=/p/a.spr\nНедавняя директория=/p/\n";
    const struct {
        const char* Name;
        bool RecentFile, RecentDir;
        std::string File, Directory;
        std::string Expected;
    } cases[] = {
        {"neither option: untouched", false, false, "/q/b.spr", "/q/", start},
        {"same values: untouched", true, true, "/p/a.spr", "/p/", start},
        {"file option: the file key", true, false, "/q/b.spr", "/q/",
         "[Настройки]\nНедавний файл=/q/b.spr\nНедавняя директория=/p/\n"},
        {"both", true, true, "/q/b.spr", "/q/",
         "[Настройки]\nНедавний файл=/q/b.spr\nНедавняя директория=/q/\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        dir.Write("Кадромир.кфг", std::vector<std::uint8_t>(start.begin(), start.end()));
        Settings settings;
        settings.OpenRecentFile = c.RecentFile;
        settings.OpenFromRecentDir = c.RecentDir;
        SaveRecent(settings, config, c.File, c.Directory);
        EXPECT_EQ(settings.RecentFile, c.File);
        EXPECT_EQ(settings.RecentDir, c.Directory);
        EXPECT_EQ(ReadText(config), c.Expected);
    }
    // A missing key reads back as the new value: it is not added.
    const std::string bare = "[Настройки]\n";
    dir.Write("Кадромир.кфг", std::vector<std::uint8_t>(bare.begin(), bare.end()));
    Settings settings;
    settings.OpenRecentFile = true;
    SaveRecent(settings, config, "/q/b.spr", "/q/");
    EXPECT_EQ(ReadText(config), bare);
}

} // namespace
} // namespace kadromir
