#include "settings_file.h"

#include "base/code_pages.h"
#include "base/file_system.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace kadromir {
namespace {

// The twelve setting keys in their order, exchanged the same way for reading and
// writing.
void ExchangeSettings(SettingsStore& store, Settings& s) {
    s.SaveWindowOnClose =
        store.ExchangeBool("Сохранять координаты главного окна", s.SaveWindowOnClose);
    s.UseFrozenGeometry =
        store.ExchangeBool("Использовать сохранённые координаты", s.UseFrozenGeometry);
    s.OpenFromRecentDir = store.ExchangeBool("Файлы из недавней директории", s.OpenFromRecentDir);
    s.RandomFromRecentDir =
        store.ExchangeBool("Случайное открытие из недавней директории", s.RandomFromRecentDir);
    s.RecentDir = store.ExchangeString("Недавняя директория", s.RecentDir);
    s.OpenRecentFile = store.ExchangeBool("Запуск недавнего файла", s.OpenRecentFile);
    s.RecentFile = store.ExchangeString("Недавний файл", s.RecentFile);
    s.SlideShow = store.ExchangeBool("Показ слайдов", s.SlideShow);
    // Only the low 8 bits of the number remain.
    s.SlideInterval =
        static_cast<std::uint8_t>(store.ExchangeInt("Интервал слайдов", s.SlideInterval));
    s.RandomSlides = store.ExchangeBool("Случайные слайды", s.RandomSlides);
    s.AutoRefresh = store.ExchangeBool("Автообновление пути файлов", s.AutoRefresh);
    s.AutoRefreshInterval =
        store.ExchangeInt("Интервал автообновления пути файлов", s.AutoRefreshInterval);
}

// A path read from a Windows-1251 file comes as UTF-8; where only its Windows-1251
// bytes name something on disk (a name unpacked from an old archive), those bytes are
// the path.
std::string AsOnDisk(const std::string& path) {
    if (path.empty() || StatusOf(path, false)) {
        return path;
    }
    const auto bytes = Utf8ToCp1251(path);
    return bytes && *bytes != path && StatusOf(*bytes, false) ? *bytes : path;
}

constexpr int CentreLift = 15;

// The outer height a stored height stands for, held at the range's end for a stored
// value so large that adding the offset would overflow.
int AppliedHeight(std::int32_t stored) {
    return static_cast<int>(
        std::min<std::int64_t>(std::int64_t{stored} + StoredHeightOffset, INT32_MAX));
}

} // namespace

void LoadSettings(Settings& settings, const std::string& configPath, WindowGeometry& window,
                  const ChunkWriter& writer) {
    SettingsStore store(configPath, writer);
    // Without a file every exchange writes the field's value, which creates the file.
    store.SetMode(ExistsAsFile(configPath) ? StoreMode::Read : StoreMode::Write);
    store.SetSection(SettingsSection);
    ExchangeSettings(store, settings);
    if (store.Mode() == StoreMode::Read) {
        settings.OverviewTileSide = store.ExchangeInt(OverviewScaleKey, settings.OverviewTileSide);
    }
    settings.RecentFile = AsOnDisk(settings.RecentFile);
    settings.RecentDir = AsOnDisk(settings.RecentDir);
    if (settings.UseFrozenGeometry || settings.SaveWindowOnClose) {
        settings.WindowHeight = store.ExchangeInt("Высота", settings.WindowHeight);
        if (settings.WindowHeight < MinimumStoredHeight) {
            return;
        }
        settings.WindowLeft = store.ExchangeInt("x", settings.WindowLeft);
        window.SetOuterLeft(settings.WindowLeft);
        settings.WindowTop = store.ExchangeInt("y", settings.WindowTop);
        window.SetOuterTop(settings.WindowTop);
        // The file holds the outer height less the offset (the Windows form's files too):
        // the offset is added back here, so that start-up and a reload give one height.
        window.SetOuterHeight(AppliedHeight(settings.WindowHeight));
        settings.WindowWidth = store.ExchangeInt("Ширина", settings.WindowWidth);
        window.SetOuterWidth(settings.WindowWidth);
    } else {
        // On the primary display, wherever it lies on the desktop.
        const ScreenBounds screen = window.PrimaryScreen();
        const Position at = CentredPosition(screen, window.OuterWidth(), window.OuterHeight());
        window.SetOuterTop(at.Top - CentreLift);
        window.SetOuterLeft(at.Left);
    }
}

void WriteSettings(const Settings& settings, const std::string& configPath,
                   const ChunkWriter& writer) {
    SettingsStore store(configPath, writer);
    store.SetMode(StoreMode::Write);
    store.SetSection(SettingsSection);
    Settings copy = settings;
    ExchangeSettings(store, copy);
}

void SaveOverviewScale(int tileSide, const std::string& configPath, const ChunkWriter& writer) {
    SettingsStore store(configPath, writer);
    store.SetMode(StoreMode::Write);
    store.SetSection(SettingsSection);
    store.ExchangeInt(OverviewScaleKey, tileSide);
}

void SaveWindowGeometry(const Settings& settings, const std::string& configPath,
                        const WindowGeometry& window, const ChunkWriter& writer) {
    SettingsStore store(configPath, writer);
    store.SetMode(StoreMode::Write);
    store.SetSection(SettingsSection);
    if (window.OuterLeft() != settings.WindowLeft) {
        store.ExchangeInt("x", window.OuterLeft());
    }
    if (window.OuterTop() != settings.WindowTop) {
        store.ExchangeInt("y", window.OuterTop());
    }
    // Compared with the height the load applied: an unresized window leaves the key
    // alone.
    if (window.OuterHeight() != AppliedHeight(settings.WindowHeight)) {
        store.ExchangeInt("Высота", window.OuterHeight() - StoredHeightOffset);
    }
    if (window.OuterWidth() != settings.WindowWidth) {
        store.ExchangeInt("Ширина", window.OuterWidth());
    }
}

} // namespace kadromir
