#include "recent_files.h"

#include "settings/settings_file.h"

namespace kadromir {
namespace {
void WriteIfChanged(SettingsStore& store, const char* key, const std::string& value) {
    // A missing key reads back as the new value, so it is not added.
    if (store.ExchangeString(key, value) != value) {
        store.SetMode(StoreMode::Write);
        store.ExchangeString(key, value);
    }
    store.SetMode(StoreMode::Read);
}
} // namespace

void SaveRecent(Settings& settings, const std::string& configPath, const std::string& currentFile,
                const std::string& currentDirectory, const ChunkWriter& writer) {
    settings.RecentFile = currentFile;
    settings.RecentDir = currentDirectory;
    if (!settings.OpenRecentFile && !settings.OpenFromRecentDir) {
        return;
    }
    SettingsStore store(configPath, writer);
    store.SetMode(StoreMode::Read);
    store.SetSection(SettingsSection);
    if (settings.OpenRecentFile) {
        WriteIfChanged(store, "Недавний файл", settings.RecentFile);
    }
    if (settings.OpenFromRecentDir) {
        WriteIfChanged(store, "Недавняя директория", settings.RecentDir);
    }
}

} // namespace kadromir
