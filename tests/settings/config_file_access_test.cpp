// How the configuration file is read and written: the user's file is respected
// (its links, mode, line ends and byte-order mark), and a file that is no file of
// ours, or that the user may not change, stays exactly as it is.
#include "settings/config_file_access.h"
#include "settings/settings_file.h"
#include "support/fake_window.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string WriteText(const test_support::TempDir& dir, const std::string& name,
                      const std::string& text) {
    return dir.Write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// Writes one key through a store, as "Применить" does.
bool WriteRecentFile(const std::string& path, const std::string& value) {
    SettingsStore store(path);
    store.SetMode(StoreMode::Write);
    store.SetSection(SettingsSection);
    store.ExchangeString("Недавний файл", value);
    return store.Close();
}

std::string ReadRecentFile(const std::string& path) {
    SettingsStore store(path);
    store.SetSection(SettingsSection);
    return store.ExchangeString("Недавний файл", "<absent>");
}

TEST(IniText, TheFilesOwnFormSurvivesARewrite) {
    const struct {
        const char* Name;
        std::string Before;
        std::string After;
    } cases[] = {
        {"byte-order mark", "\xEF\xBB\xBF[Настройки]\nНедавний файл=a\n",
         "\xEF\xBB\xBF[Настройки]\nНедавний файл=/new.spr\n"},
        {"CRLF", "; mine\r\n[Настройки]\r\nНедавний файл=a\r\nx=1\r\n",
         "; mine\r\n[Настройки]\r\nНедавний файл=/new.spr\r\nx=1\r\n"},
        {"mixed line ends", "[Настройки]\r\nНедавний файл=a\nx=1\r\r\n",
         "[Настройки]\r\nНедавний файл=/new.spr\nx=1\r\r\n"},
        {"CRLF without a section", "a=1\r\n", "a=1\r\n[Настройки]\r\nНедавний файл=/new.spr\r\n"},
        {"header with a comment", "[Настройки] ; ours\nНедавний файл=a\n",
         "[Настройки] ; ours\nНедавний файл=/new.spr\n"},
        {"second section of the name", "[Настройки]\nx=1\n[Настройки]\nНедавний файл=a\n",
         "[Настройки]\nx=1\nНедавний файл=/new.spr\n[Настройки]\nНедавний файл=a\n"},
        {"no file yet", "", "[Настройки]\nНедавний файл=/new.spr\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        test_support::TempDir dir;
        const std::string path = dir.Path() + "Кадромир.кфг";
        if (!c.Before.empty()) {
            WriteText(dir, "Кадромир.кфг", c.Before);
        }
        EXPECT_TRUE(WriteRecentFile(path, "/new.spr"));
        EXPECT_EQ(ReadText(path), c.After);
    }
}

// Only the first section of a name counts: a key in a second one is not read.
TEST(IniText, OnlyTheFirstSectionOfANameIsRead) {
    const IniText ini = IniText::Parse("[Настройки]\nx=1\n[Other]\ny=3\n[настройки]\ny=2\nx=9\n");
    EXPECT_EQ(ini.Get(SettingsSection, "x"), "1");
    EXPECT_EQ(ini.Get(SettingsSection, "y"), std::nullopt);
}

TEST(IniText, ValuesReadBackAsTheyWereWritten) {
    const std::string values[] = {"sp.rmb ", " sp.rmb", "\tx\t",     "\"quoted\"",
                                  "\"",      "",        "a \"b\" c", "/путь/к файлу.spr"};
    test_support::TempDir dir;
    const std::string path = dir.Path() + "Кадромир.кфг";
    for (const auto& value : values) {
        ASSERT_TRUE(WriteRecentFile(path, value));
        EXPECT_EQ(ReadRecentFile(path), value) << ReadText(path);
    }
    WriteText(dir, "Кадромир.кфг", "[Настройки]\nНедавний файл=\"\"\n");
    EXPECT_EQ(ReadRecentFile(path), "");
}

// Texts are read up to 4,095 bytes, cut where a character starts.
TEST(IniText, LongTextsAreCutAtACharacterBoundary) {
    test_support::TempDir dir;
    for (const std::size_t ascii : {std::size_t{0}, std::size_t{1}}) {
        std::string value(ascii, 'a');
        while (value.size() < 5000) {
            value += "ж";
        }
        WriteText(dir, "Кадромир.кфг", "[Настройки]\nНедавний файл=" + value + "\n");
        const std::string read = ReadRecentFile(dir.Path() + "Кадромир.кфг");
        EXPECT_EQ(read.size(), ascii == 0 ? 4094u : 4095u);
        EXPECT_EQ(read, value.substr(0, read.size()));
    }
}

TEST(WriteConfigFile, FollowsLinksKeepsModesAndLinks) {
    test_support::TempDir dir;
    const std::string dotfiles = dir.MakeDirectory("dotfiles") + "/";
    const std::string target = WriteText(dir, "dotfiles/kfg", "[Настройки]\nНедавний файл=a\n");
    const std::string link = dir.Path() + "Кадромир.кфг";
    fs::create_symlink("dotfiles/kfg", link); // relative, as dotfile managers make them
    for (const mode_t mode : {0640u, 0600u}) {
        ::chmod(target.c_str(), mode);
        ASSERT_TRUE(WriteRecentFile(link, "/b.spr"));
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(ReadText(target), "[Настройки]\nНедавний файл=/b.spr\n");
        EXPECT_EQ(ModeOf(target), mode);
    }

    // A second name of the same file keeps seeing it.
    const std::string other = dir.Path() + "other-name";
    fs::create_hard_link(target, other);
    ASSERT_TRUE(WriteRecentFile(link, "/c.spr"));
    EXPECT_EQ(ReadText(other), "[Настройки]\nНедавний файл=/c.spr\n");

    // A new file gets 0666 less the umask.
    const mode_t previous = ::umask(077);
    ASSERT_TRUE(WriteRecentFile(dir.Path() + "new.кфг", "/d.spr"));
    ::umask(previous);
    EXPECT_EQ(ModeOf(dir.Path() + "new.кфг"), 0600u);
    // A dangling link gets its target made.
    fs::create_symlink(dotfiles + "later", dir.Path() + "dangling");
    ASSERT_TRUE(WriteRecentFile(dir.Path() + "dangling", "/e.spr"));
    EXPECT_EQ(ReadRecentFile(dotfiles + "later"), "/e.spr");
}

// Files that must stay exactly as they are, whoever runs the viewer.
TEST(WriteConfigFile, FilesThatAreNotOursToChangeStayWhole) {
    test_support::TempDir dir;
    const std::string original = "[Настройки]\nНедавний файл=a\n; keep me\n";
    const struct {
        const char* Name;
        mode_t Mode;
    } cases[] = {{"read-only", 0444}, {"no permissions at all", 0000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::string path = WriteText(dir, "Кадромир.кфг", original);
        ::chmod(path.c_str(), c.Mode);
        EXPECT_FALSE(WriteRecentFile(path, "/b.spr"));
        Settings settings;
        WriteSettings(settings, path);
        ::chmod(path.c_str(), 0600);
        EXPECT_EQ(ReadText(path), original);
        fs::remove(path);
    }
    // A file too large to be ours: nothing read, nothing written.
    std::string large = "[Настройки]\nПоказ слайдов=1\n";
    large.resize(MaxConfigFileSize + 1, ';');
    const std::string path = WriteText(dir, "Кадромир.кфг", large);
    Settings settings;
    test_support::FakeWindow window;
    LoadSettings(settings, path, window);
    EXPECT_FALSE(settings.SlideShow);
    EXPECT_EQ(fs::file_size(path), MaxConfigFileSize + 1);
    EXPECT_EQ(ReadText(path), large);
}

TEST(WriteConfigFile, APipeOfThatNameIsNeitherReadNorWritten) {
    test_support::TempDir dir;
    const std::string path = dir.Path() + "Кадромир.кфг";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    Settings settings;
    test_support::FakeWindow window;
    LoadSettings(settings, path, window); // would block for good on a blocking open
    WriteSettings(settings, path);
    EXPECT_TRUE(fs::is_fifo(path));
    EXPECT_EQ(settings, Settings{});
}

// The cases below depend on file modes, which the superuser ignores: the test command
// runs this suite as an ordinary user too.
class AsOrdinaryUser : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() == 0) {
            GTEST_SKIP() << "the superuser ignores file modes";
        }
    }
};

TEST_F(AsOrdinaryUser, AnUnreadableFileIsNeverWritten) {
    test_support::TempDir dir;
    const std::string path =
        WriteText(dir, "Кадромир.кфг", "[Настройки]\nНедавний файл=a\n; keep\n");
    ::chmod(path.c_str(), 0200);
    EXPECT_FALSE(WriteRecentFile(path, "/b.spr"));
    ::chmod(path.c_str(), 0600);
    EXPECT_EQ(ReadText(path), "[Настройки]\nНедавний файл=a\n; keep\n");
}

TEST_F(AsOrdinaryUser, AWritableFileInAClosedDirectoryIsRewrittenInPlace) {
    test_support::TempDir dir;
    const std::string folder = dir.MakeDirectory("closed") + "/";
    const std::string path =
        WriteText(dir, "closed/Кадромир.кфг", "[Настройки]\r\nНедавний файл=a\r\n");
    ::chmod(path.c_str(), 0620);
    ::chmod(folder.c_str(), 0555);
    EXPECT_TRUE(WriteRecentFile(path, "/a-longer-name.spr"));
    EXPECT_EQ(ReadText(path), "[Настройки]\r\nНедавний файл=/a-longer-name.spr\r\n");
    EXPECT_TRUE(WriteRecentFile(path, "/b"));
    EXPECT_EQ(ReadText(path), "[Настройки]\r\nНедавний файл=/b\r\n");
    EXPECT_EQ(ModeOf(path), 0620u);
    // A write that fails part-way puts the old bytes back.
    SettingsStore store(path, [](FileHandle fd, std::string_view bytes) {
        WriteAllBytes(fd, bytes.substr(0, 10));
        return false;
    });
    store.SetMode(StoreMode::Write);
    store.SetSection(SettingsSection);
    store.ExchangeString("Недавний файл", "/c-much-longer-than-before.spr");
    EXPECT_FALSE(store.Close());
    EXPECT_EQ(ReadText(path), "[Настройки]\r\nНедавний файл=/b\r\n");
    ::chmod(folder.c_str(), 0755);
}

TEST(ChooseConfigFilePath, BesideTheProgramOrInTheUsersConfiguration) {
    test_support::TempDir dir;
    const std::string program = dir.MakeDirectory("portable") + "/kadromir";
    const std::string home = dir.MakeDirectory("home");
    const std::string config = dir.Path() + "config";
    // A writable directory of the program's own: portable use.
    EXPECT_EQ(ChooseConfigFilePath(program, config.c_str(), home.c_str()),
              dir.Path() + "portable/Кадромир.кфг");
    // The system's program directories never get a file.
    EXPECT_EQ(ChooseConfigFilePath("/usr/bin/kadromir", config.c_str(), home.c_str()),
              config + "/kadromir/Кадромир.кфг");
    EXPECT_EQ(ModeOf(config + "/kadromir"), 0700u);
    // Unset or relative: ~/.config.
    for (const char* xdg : {static_cast<const char*>(nullptr), "relative/config"}) {
        EXPECT_EQ(ChooseConfigFilePath("/usr/bin/kadromir", xdg, home.c_str()),
                  home + "/.config/kadromir/Кадромир.кфг");
    }
}

TEST_F(AsOrdinaryUser, AClosedProgramDirectoryKeepsAnExistingFile) {
    test_support::TempDir dir;
    const std::string folder = dir.MakeDirectory("installed") + "/";
    const std::string config = dir.Path() + "config";
    ::chmod(folder.c_str(), 0555);
    EXPECT_EQ(ChooseConfigFilePath(folder + "kadromir", config.c_str(), nullptr),
              config + "/kadromir/Кадромир.кфг");
    ::chmod(folder.c_str(), 0755);
    WriteText(dir, "installed/Кадромир.кфг", "");
    ::chmod(folder.c_str(), 0555);
    EXPECT_EQ(ChooseConfigFilePath(folder + "kadromir", config.c_str(), nullptr),
              folder + "Кадромир.кфг");
    ::chmod(folder.c_str(), 0755);
}

} // namespace
} // namespace kadromir
