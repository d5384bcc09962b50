#include "base/code_pages.h"
#include "settings/settings_file.h"
#include "support/fake_window.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace kadromir {
namespace {

using test_support::FakeWindow;

std::string ReadText(const std::string& path) {
    std::ifstream in(test_support::NativePath(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string WriteText(const test_support::TempDir& dir, const std::string& text) {
    return dir.Write("Кадромир.кфг", std::vector<std::uint8_t>(text.begin(), text.end()));
}

// A new file as this system's form writes it: UTF-8 with LF on Linux; on Windows in
// Windows-1251 with CRLF, as the first form writes it.
std::string AsNewFile(const std::string& utf8) {
#ifdef _WIN32
    std::string crlf;
    for (const char c : utf8) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return *Utf8ToCp1251(crlf);
#else
    return utf8;
#endif
}

const std::string FirstStartFile = "[Настройки]\n"
                                   "Сохранять координаты главного окна=0\n"
                                   "Использовать сохранённые координаты=0\n"
                                   "Файлы из недавней директории=0\n"
                                   "Случайное открытие из недавней директории=0\n"
                                   "Недавняя директория=\n"
                                   "Запуск недавнего файла=0\n"
                                   "Недавний файл=\n"
                                   "Показ слайдов=0\n"
                                   "Интервал слайдов=0\n"
                                   "Случайные слайды=0\n"
                                   "Автообновление пути файлов=0\n"
                                   "Интервал автообновления пути файлов=0\n";

TEST(LoadSettings, FirstStartCreatesTheFileAndCentresAbove) {
    // Centred on the primary display wherever it lies on the desktop: at its origin,
    // right of a second display, or left of and below it.
    for (const ScreenBounds screen :
         {ScreenBounds{0, 0, 1280, 1024}, ScreenBounds{1920, 0, 1280, 1024},
          ScreenBounds{-1280, 300, 1280, 1024}}) {
        SCOPED_TRACE(screen.Left);
        test_support::TempDir dir;
        Settings settings;
        FakeWindow window;
        window.Screen = screen;
        LoadSettings(settings, dir.Path() + "Кадромир.кфг", window);
        EXPECT_EQ(window.Calls, (std::vector<std::string>{
                                    "top " + std::to_string(screen.Top + (1024 - 423) / 2 - 15),
                                    "left " + std::to_string(screen.Left + (1280 - 304) / 2)}));
    }
    test_support::TempDir dir;
    const std::string path = dir.Path() + "Кадромир.кфг";
    Settings settings;
    FakeWindow window;
    LoadSettings(settings, path, window);
    EXPECT_EQ(ReadText(path), AsNewFile(FirstStartFile));
    EXPECT_EQ(settings, Settings{});
    // The second start reads what the first wrote, and writes nothing.
    const auto written = std::filesystem::last_write_time(test_support::NativePath(path));
    LoadSettings(settings, path, window);
    EXPECT_EQ(settings, Settings{});
    EXPECT_EQ(std::filesystem::last_write_time(test_support::NativePath(path)), written);
}

TEST(LoadSettings, ValuesReadAsTheFileHoldsThem) {
    test_support::TempDir dir;
    const auto path = WriteText(dir, "; kept comment\r\n"
                                     "[другой]\r\n"
                                     "Показ слайдов=0\r\n"
                                     " [НАСТРОЙКИ] \r\n"
                                     "  показ СЛАЙДОВ  =  7  \r\n"
                                     "Случайные слайды=abc\r\n"
                                     "Интервал слайдов=260\r\n"
                                     "Автообновление пути файлов=-3\r\n"
                                     "Интервал автообновления пути файлов= -12x\r\n"
                                     "Недавний файл=\"/pics/с пробелом.spr\"\r\n"
                                     "Недавняя директория=\r\n");
    Settings settings;
    settings.RandomSlides = true;
    settings.RecentDir = "/before/";
    settings.OpenRecentFile = true; // no key: stays
    FakeWindow window;
    LoadSettings(settings, path, window);
    EXPECT_TRUE(settings.SlideShow);      // 7 is set
    EXPECT_FALSE(settings.RandomSlides);  // letters read 0
    EXPECT_EQ(settings.SlideInterval, 4); // 260: the low 8 bits
    EXPECT_TRUE(settings.AutoRefresh);    // any non-zero number
    EXPECT_EQ(settings.AutoRefreshInterval, -12);
    EXPECT_EQ(settings.RecentFile, "/pics/с пробелом.spr");
    EXPECT_EQ(settings.RecentDir, ""); // present and empty
    EXPECT_TRUE(settings.OpenRecentFile);
}

TEST(LoadSettings, StoredGeometryIsAppliedUnlessTheHeightIsBelow20) {
    test_support::TempDir dir;
    const struct {
        const char* Name;
        std::string Keys;
        std::vector<std::string> Calls;
        std::int32_t Left;
    } cases[] = {
        // The file holds the outer height less 29, as the Windows form writes it.
        {"applied, the outer height 29 more than the stored one",
         "x=10\ny=-20\nВысота=400\nШирина=300\n",
         {"left 10", "top -20", "height 429", "width 300"},
         10},
        {"height 20: applied",
         "x=10\ny=20\nВысота=20\nШирина=300\n",
         {"left 10", "top 20", "height 49", "width 300"},
         10},
        {"height 19: nothing read or moved", "x=10\ny=20\nВысота=19\nШирина=300\n", {}, 0},
        {"only the first section of the name counts",
         "x=10\ny=20\nВысота=400\nШирина=300\n[Настройки]\nx=99\nВысота=10\n",
         {"left 10", "top 20", "height 429", "width 300"},
         10},
        {"no height key: 0 is below 20", "x=10\n", {}, 0},
        {"the largest height: held there, not wrapped",
         "x=1\ny=2\nВысота=2147483647\nШирина=300\n",
         {"left 1", "top 2", "height 2147483647", "width 300"},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto path =
            WriteText(dir, "[Настройки]\nСохранять координаты главного окна=1\n" + c.Keys);
        Settings settings;
        FakeWindow window;
        LoadSettings(settings, path, window);
        EXPECT_EQ(window.Calls, c.Calls);
        EXPECT_EQ(settings.WindowLeft, c.Left);
    }
}

TEST(SaveWindowGeometry, WritesOnlyWhatDiffersFromTheLastRead) {
    test_support::TempDir dir;
    const auto path = WriteText(dir, "[Настройки]\nИспользовать сохранённые координаты=1\n"
                                     "x=10\ny=20\nВысота=400\nШирина=300\n");
    Settings settings;
    FakeWindow window;
    LoadSettings(settings, path, window);
    ASSERT_EQ(window.Calls.size(), 4u);
    const std::string unchanged = ReadText(path);

    SaveWindowGeometry(settings, path, window); // nothing moved: nothing written
    EXPECT_EQ(ReadText(path), unchanged);

    window.Top = 25;
    window.Height = 450;
    SaveWindowGeometry(settings, path, window);
    const std::string moved = "[Настройки]\nИспользовать сохранённые координаты=1\n"
                              "x=10\ny=25\nВысота=421\nШирина=300\n";
    EXPECT_EQ(ReadText(path), moved);
    // The record keeps what was read: the next save compares against 20 and 429 again.
    EXPECT_EQ(settings.WindowTop, 20);
    window.Top = 20;
    window.Height = 429;
    SaveWindowGeometry(settings, path, window);
    EXPECT_EQ(ReadText(path), moved);
}

TEST(SaveWindowGeometry, NewKeysGoAtTheEndOfTheSection) {
    test_support::TempDir dir;
    const auto path = WriteText(dir, "[Настройки]\nПоказ слайдов=1\n\n[Другое]\nключ=значение\n");
    FakeWindow window;
    SaveWindowGeometry(Settings{}, path, window);
    EXPECT_EQ(ReadText(path), "[Настройки]\nПоказ слайдов=1\nx=100\ny=50\nВысота=394\nШирина=304\n"
                              "\n[Другое]\nключ=значение\n");
}

TEST(WriteSettings, ReplacesLinesInPlaceAndKeepsTheRest) {
    test_support::TempDir dir;
    const auto path =
        WriteText(dir, "; comment\n[Настройки]\nинтервал слайдов=9\nНеизвестный=1\nx=5\n");
    Settings settings;
    settings.SlideInterval = 3;
    settings.SlideShow = true;
    settings.AutoRefreshInterval = -7;
    settings.RecentFile = "/p/ф.spr";
    WriteSettings(settings, path);
    EXPECT_EQ(ReadText(path), "; comment\n[Настройки]\nИнтервал слайдов=3\nНеизвестный=1\nx=5\n"
                              "Сохранять координаты главного окна=0\n"
                              "Использовать сохранённые координаты=0\n"
                              "Файлы из недавней директории=0\n"
                              "Случайное открытие из недавней директории=0\n"
                              "Недавняя директория=\n"
                              "Запуск недавнего файла=0\n"
                              "Недавний файл=/p/ф.spr\n"
                              "Показ слайдов=1\n"
                              "Случайные слайды=0\n"
                              "Автообновление пути файлов=0\n"
                              "Интервал автообновления пути файлов=-7\n");
}

TEST(WriteSettings, AFailedWriteLeavesTheOldFileWhole) {
    test_support::TempDir dir;
    const auto path = WriteText(dir, FirstStartFile);
    Settings settings;
    settings.SlideShow = true;
    // Half the content reaches the disk, then the disk is full.
    const ChunkWriter failing = [](FileHandle fd, std::string_view bytes) {
        WriteAllBytes(fd, bytes.substr(0, bytes.size() / 2));
        return false;
    };
    WriteSettings(settings, path, failing);
    EXPECT_EQ(ReadText(path), FirstStartFile);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(test_support::NativePath(dir.Path()))) {
        ++files;
    }
    EXPECT_EQ(files, 1u) << "the temporary file is gone";
}

TEST(SettingsStore, TextsWithLineBreaksAreNeverWritten) {
    test_support::TempDir dir;
    const auto path = WriteText(dir, "[Настройки]\nНедавний файл=/old.spr\n");
    for (const std::string& text :
         {std::string("/a\nПоказ слайдов=1.spr"), std::string("/a\r.spr")}) {
        SettingsStore store(path);
        store.SetMode(StoreMode::Write);
        store.SetSection(SettingsSection);
        EXPECT_EQ(store.ExchangeString("Недавний файл", text), text);
        store.Close();
        EXPECT_EQ(ReadText(path), "[Настройки]\nНедавний файл=/old.spr\n");
    }
}

TEST(SettingsStore, ReadsWhatItWroteAndMissingKeysGiveTheCurrentValue) {
    test_support::TempDir dir;
    SettingsStore store(dir.Path() + "new.кфг");
    store.SetSection(SettingsSection);
    EXPECT_EQ(store.ExchangeInt("Ширина", 33), 33);
    EXPECT_EQ(store.ExchangeString("Недавний файл", "keep"), "keep");
    store.SetMode(StoreMode::Write);
    store.ExchangeString("Недавний файл", "/x.spr");
    store.SetMode(StoreMode::Read);
    EXPECT_EQ(store.ExchangeString("Недавний файл", "other"), "/x.spr");
    EXPECT_TRUE(store.Close());
    EXPECT_EQ(ReadText(dir.Path() + "new.кфг"), AsNewFile("[Настройки]\nНедавний файл=/x.spr\n"));
}

TEST(SettingsValues, NumbersClampsAndPath) {
    const struct {
        const char* Text;
        std::int32_t Value;
    } numbers[] = {{"42", 42},
                   {"-7", -7},
                   {"+5", 5},
                   {"  12abc", 12},
                   {"abc", 0},
                   {"", 0},
                   {"- 3", 0},
                   // Beyond the range: its end, never a wrapped small number.
                   {"2147483647", 2147483647},
                   {"2147483648", 2147483647},
                   {"4294967301", 2147483647},
                   {"-2147483648", -2147483647 - 1},
                   {"-99999999999999999999", -2147483647 - 1}};
    for (const auto& n : numbers) {
        EXPECT_EQ(ParseProfileInt(n.Text), n.Value) << n.Text;
    }
    const struct {
        int In, Slide, Refresh;
    } clamps[] = {{0, 1, 1},   {-5, 1, 1},  {3, 3, 3},   {9, 4, 9},
                  {45, 4, 45}, {51, 4, 50}, {255, 4, 50}};
    for (const auto& c : clamps) {
        Settings settings;
        settings.SlideInterval = static_cast<std::uint8_t>(c.In < 0 ? 0 : c.In);
        settings.AutoRefreshInterval = c.In;
        ClampSlideInterval(settings);
        ClampRefreshInterval(settings);
        EXPECT_EQ(settings.SlideInterval, c.Slide) << c.In;
        EXPECT_EQ(settings.AutoRefreshInterval, c.Refresh) << c.In;
    }
    EXPECT_EQ(ConfigFilePath("/opt/k/bin/kadromir"), "/opt/k/bin/Кадромир.кфг");
}

} // namespace
} // namespace kadromir

namespace kadromir {
namespace {

// The Windows form's file: Windows-1251 text. Every key is read, and a rewrite keeps
// the code page so that form can still read the file.
TEST(SettingsFile, AWindows1251FileIsReadAndWrittenInItsCodePage) {
    test_support::TempDir dir;
    const std::string utf8 = "; от Windows-версии\r\n[Настройки]\r\n"
                             "Сохранять координаты главного окна=1\r\n"
                             "Использовать сохранённые координаты=0\r\n"
                             "Файлы из недавней директории=1\r\n"
                             "Случайное открытие из недавней директории=1\r\n"
                             "Недавняя директория=C:\\Картинки\\\r\n"
                             "Запуск недавнего файла=1\r\n"
                             "Недавний файл=C:\\Картинки\\Ёжик.SPR\r\n"
                             "Показ слайдов=1\r\n"
                             "Интервал слайдов=3\r\n"
                             "Случайные слайды=1\r\n"
                             "Автообновление пути файлов=1\r\n"
                             "Интервал автообновления пути файлов=12\r\n"
                             "x=10\r\ny=20\r\nВысота=300\r\nШирина=400\r\n";
    const std::string windows = *Utf8ToCp1251(utf8);
    const auto path = WriteText(dir, windows);
    Settings settings;
    FakeWindow window;
    LoadSettings(settings, path, window);
    EXPECT_TRUE(settings.SaveWindowOnClose);
    EXPECT_FALSE(settings.UseFrozenGeometry);
    EXPECT_TRUE(settings.OpenFromRecentDir && settings.RandomFromRecentDir);
    EXPECT_EQ(settings.RecentDir, "C:\\Картинки\\");
    EXPECT_TRUE(settings.OpenRecentFile);
    EXPECT_EQ(settings.RecentFile, "C:\\Картинки\\Ёжик.SPR");
    EXPECT_TRUE(settings.SlideShow && settings.RandomSlides && settings.AutoRefresh);
    EXPECT_EQ(settings.SlideInterval, 3);
    EXPECT_EQ(settings.AutoRefreshInterval, 12);
    EXPECT_EQ(window.Calls,
              (std::vector<std::string>{"left 10", "top 20", "height 329", "width 400"}));
    WriteSettings(settings, path); // the same values: the same bytes
    EXPECT_EQ(ReadText(path), windows);

    // A Cyrillic value goes in as Windows-1251; one the code page cannot hold goes in as
    // its UTF-8 bytes, and comes back from them.
    settings.RecentDir = "/home/пользователь/картинки/";
    settings.RecentFile = "/home/user/图.spr";
    settings.SlideInterval = 2;
    WriteSettings(settings, path);
    std::string expected = utf8;
    const auto replace = [&expected](const std::string& from, const std::string& to) {
        expected.replace(expected.find(from), from.size(), to);
    };
    replace("=C:\\Картинки\\\r", "=/home/пользователь/картинки/\r");
    replace("Интервал слайдов=3", "Интервал слайдов=2");
    replace("=C:\\Картинки\\Ёжик.SPR", "=" + Cp1251ToUtf8("/home/user/图.spr"));
    EXPECT_EQ(Cp1251ToUtf8(ReadText(path)), expected);
    EXPECT_FALSE(IsValidUtf8(ReadText(path)));
    Settings reread;
    LoadSettings(reread, path, window);
    EXPECT_EQ(reread.RecentFile, "/home/user/图.spr");
    EXPECT_EQ(reread.RecentDir, "/home/пользователь/картинки/");
    WriteSettings(reread, path); // and it stays so
    EXPECT_EQ(Cp1251ToUtf8(ReadText(path)), expected);

#ifndef _WIN32 // Windows names files in UTF-16: no name is bytes of a code page there
    // A picture and a folder whose names on disk are in Windows-1251 themselves: stored
    // as their bytes, and the next load gives those bytes back, since they name them.
    const std::string onDisk = dir.Write("\xca\xee\xf2.spr", {1}); // Кот.spr
    const std::string folder = dir.MakeDirectory("\xca\xe0\xf0\xf2\xe8\xed\xea\xe8") + "/";
    settings.RecentFile = onDisk;
    settings.RecentDir = folder; // Картинки/
    WriteSettings(settings, path);
    EXPECT_NE(ReadText(path).find("=" + onDisk + "\r\n"), std::string::npos);
    EXPECT_NE(ReadText(path).find("=" + folder + "\r\n"), std::string::npos);
    Settings again;
    LoadSettings(again, path, window);
    EXPECT_EQ(again.RecentFile, onDisk);
    EXPECT_EQ(again.RecentDir, folder);
#endif
}

// A UTF-8 file keeps a file name that is not UTF-8 byte for byte: it still names its
// section in UTF-8 (in any letter case, as section names match), so it is not taken
// for the Windows form's file.
TEST(SettingsFile, AUtf8FileKeepsANameInAnotherCodePage) {
    const std::string name = "/pics/\xca\xee\xf2.spr"; // a Windows-1251 name on disk
    for (const std::string section : {"[Настройки]", "[НАСТРОЙКИ]", "[настройки]"}) {
        SCOPED_TRACE(section);
        test_support::TempDir dir;
        const auto path = WriteText(dir, section + "\nЗапуск недавнего файла=1\n");
        Settings settings;
        settings.OpenRecentFile = true;
        settings.RecentFile = name;
        WriteSettings(settings, path);
        Settings read;
        FakeWindow window;
        LoadSettings(read, path, window);
        EXPECT_TRUE(read.OpenRecentFile);
        EXPECT_EQ(read.RecentFile, name);
        // Read and written as UTF-8: one section, the Cyrillic keys in UTF-8, the name's
        // own bytes.
        read.SlideInterval = 3;
        WriteSettings(read, path);
        const std::string text = ReadText(path);
        EXPECT_EQ(text.find('['), text.rfind('[')) << text;
        EXPECT_EQ(text.rfind(section + "\n", 0), 0u) << text;
        EXPECT_NE(text.find("Недавний файл=" + name + "\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Интервал слайдов=3\n"), std::string::npos) << text;
    }
}

} // namespace
} // namespace kadromir
