#pragma once

#include "config_file_access.h"
#include "ini_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kadromir {

enum class StoreMode { Read, Write };

// The short-lived access object of the configuration file. Opening it does not touch
// the disk: the first exchange reads the file, and the writes reach the disk, all at
// once, when the store is closed (or destroyed), as WriteConfigFile allows. A file
// that could not be read is never written. A write that fails leaves the old file
// whole and is not reported.
// The Windows form writes the file in Windows-1251: a file that is not UTF-8 and does
// not name its section in UTF-8 is read in that code page and written back in it, so
// that form can still read it. A text that code page cannot hold is written as its
// UTF-8 bytes and read back from them (nothing the user set is lost); a file name that
// is not UTF-8 is written as its own bytes. New files are UTF-8 on Linux and
// Windows-1251 on Windows, as the first form writes them.
class SettingsStore {
  public:
    explicit SettingsStore(std::string path, ChunkWriter writer = WriteAllBytes);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    void SetMode(StoreMode mode) { CurrentMode = mode; }
    StoreMode Mode() const { return CurrentMode; }
    void SetSection(std::string section) { Section = std::move(section); }

    // Read mode: the stored value when the key exists, otherwise `current`.
    // Write mode: writes `current` and returns it.
    bool ExchangeBool(std::string_view key, bool current);
    std::int32_t ExchangeInt(std::string_view key, std::int32_t current);
    // A text holding a line break is never written (it would add lines to the file):
    // the key keeps its stored value.
    std::string ExchangeString(std::string_view key, const std::string& current);

    // Writes what was exchanged in Write mode, if anything. Returns false when that
    // write failed.
    bool Close();

  private:
    IniText& Content();
    std::optional<std::string> Read(std::string_view key);
    void Write(std::string_view key, std::string_view value);

    std::string Path;
    ChunkWriter Writer;
    ConfigFileContent Original;
    StoreMode CurrentMode = StoreMode::Read;
    std::string Section;
    std::optional<IniText> Loaded;
    bool Windows1251 = false;
    bool Changed = false;
};

// "Кадромир.кфг" in the directory of the executable at `executablePath`.
std::string ConfigFilePath(const std::string& executablePath);

// Where the configuration file lives, worked out once at start-up: beside the
// executable when it is there already, or when that directory takes new files and is
// none of the system's own; else in the user's configuration directory,
// $XDG_CONFIG_HOME/kadromir (~/.config when the variable is unset or not absolute),
// created with mode 0700 when `makeDirectory` (a start; not a --help, which only names
// the place). `xdgConfigHome` and `home` are the environment's values (null when unset).
std::string ChooseConfigFilePath(const std::string& executablePath, const char* xdgConfigHome,
                                 const char* home, bool makeDirectory = true);

// The one reading of a number, for the file and the dialog's fields alike: an optional
// sign and decimal digits at the start (after blanks); anything else reads 0. Beyond
// the 32-bit range it stays at the range's end.
std::int32_t ParseProfileInt(std::string_view value);

} // namespace kadromir
