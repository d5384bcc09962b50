#include "settings_store.h"

#include "base/code_pages.h"
#include "base/path_rules.h"
#include "base/system.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace kadromir {
namespace {
// Texts are read up to this many bytes.
constexpr std::size_t MaxText = 4095;
constexpr const char* ConfigFileName = "Кадромир.кфг";
} // namespace

SettingsStore::SettingsStore(std::string path, ChunkWriter writer)
    : Path(std::move(path)), Writer(std::move(writer)) {}

SettingsStore::~SettingsStore() {
    Close();
}

IniText& SettingsStore::Content() {
    if (!Loaded) {
        Original = ReadConfigFile(Path);
        // A UTF-8 file may hold a file name that is not UTF-8 (its bytes are kept as
        // they are), but it names its section in UTF-8; the Windows form's file does not.
        Windows1251 =
            !IsValidUtf8(Original.Bytes) &&
            FoldCase(Original.Bytes).find("[" + FoldCase(Section) + "]") == std::string::npos;
        Loaded = IniText::Parse(Windows1251 ? Cp1251ToUtf8(Original.Bytes) : Original.Bytes);
    }
    return *Loaded;
}

std::optional<std::string> SettingsStore::Read(std::string_view key) {
    auto value = Content().Get(Section, key);
    if (value && value->size() > MaxText) {
        // Cut at a character's start, never inside one.
        std::size_t cut = MaxText;
        while (cut > 0 && (static_cast<unsigned char>((*value)[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        value->resize(cut);
    }
    return value;
}

void SettingsStore::Write(std::string_view key, std::string_view value) {
    IniText& content = Content();
    if (Windows1251 && !IsValidUtf8(value)) {
        // A file name's own bytes, which no code page is sure of: written as they are
        // (their Windows-1251 reading goes back to the same bytes).
        content.Set(Section, key, Cp1251ToUtf8(value));
        Changed = true;
        return;
    }
    if (Windows1251 && !Utf8ToCp1251(value)) {
        std::fprintf(stderr,
                     "%s: \"%.*s\" not written: the file is in Windows-1251, which cannot hold "
                     "\"%.*s\"\n",
                     Path.c_str(), static_cast<int>(key.size()), key.data(),
                     static_cast<int>(value.size()), value.data());
        return;
    }
    content.Set(Section, key, value);
    Changed = true;
}

bool SettingsStore::ExchangeBool(std::string_view key, bool current) {
    if (CurrentMode == StoreMode::Write) {
        Write(key, current ? "1" : "0");
        return current;
    }
    const auto stored = Read(key);
    return stored ? ParseProfileInt(*stored) != 0 : current;
}

std::int32_t SettingsStore::ExchangeInt(std::string_view key, std::int32_t current) {
    if (CurrentMode == StoreMode::Write) {
        Write(key, std::to_string(current));
        return current;
    }
    const auto stored = Read(key);
    return stored ? ParseProfileInt(*stored) : current;
}

std::string SettingsStore::ExchangeString(std::string_view key, const std::string& current) {
    if (CurrentMode == StoreMode::Write) {
        if (current.find_first_of("\r\n") == std::string::npos) {
            Write(key, current);
        }
        return current;
    }
    auto stored = Read(key);
    return stored ? std::move(*stored) : current;
}

bool SettingsStore::Close() {
    if (!Changed) {
        return true;
    }
    Changed = false;
    if (Original.State == ConfigFileState::Unusable) {
        return false;
    }
    const std::string text = Loaded->Serialise();
    // Every line came from the file or passed the check in Write, so it converts.
    const auto bytes = Windows1251 ? Utf8ToCp1251(text) : std::optional<std::string>(text);
    return bytes && WriteConfigFile(Path, *bytes, Original.Bytes, Writer);
}

std::string ConfigFilePath(const std::string& executablePath) {
    return DirectoryPart(executablePath) + ConfigFileName;
}

namespace {

bool IsWritableDirectory(const std::string& directory) {
    return MayAccess(directory.empty() ? "." : directory, Access::WriteAndEnter);
}

// Program directories of the system itself: even where this process may write there
// (the superuser), they get no settings file of ours.
bool IsSystemDirectory(const std::string& directory) {
    for (const char* prefix : {"/usr/", "/bin/", "/sbin/", "/lib/", "/opt/", "/etc/"}) {
        if (directory.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

// Makes each missing directory of `path` (ending in '/'), the last with `mode`.
void MakeDirectories(const std::string& path, std::uint32_t mode) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        MakeDirectory(path.substr(0, slash), slash + 1 == path.size() ? mode : 0700);
    }
}

} // namespace

std::string ChooseConfigFilePath(const std::string& executablePath, const char* xdgConfigHome,
                                 const char* home, bool makeDirectory) {
    const std::string beside = ConfigFilePath(executablePath);
    const std::string directory = DirectoryPart(beside);
    if (StatusOf(beside, false) ||
        (IsWritableDirectory(directory) && !IsSystemDirectory(directory))) {
        return beside;
    }
    std::string base;
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        base = xdgConfigHome;
    } else {
        std::string homePath = home != nullptr ? home : "";
        if (homePath.empty() || homePath[0] != '/') {
            homePath = HomeDirectory().value_or("");
        }
        if (homePath.empty() || homePath[0] != '/') {
            return beside; // no home at all: the place beside the executable it is
        }
        base = homePath + "/.config";
    }
    if (base.back() != '/') {
        base += '/';
    }
    const std::string own = base + "kadromir/";
    if (makeDirectory) {
        MakeDirectories(own, 0700);
    }
    return own + ConfigFileName;
}

std::int32_t ParseProfileInt(std::string_view value) {
    std::size_t i = 0;
    while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
        negative = value[i] == '-';
        ++i;
    }
    // As large as the digits say, up to the 32-bit range: a pasted or mistyped huge
    // number stays huge, it never wraps round to a small one.
    constexpr std::int64_t Ceiling = std::int64_t{INT32_MAX} + 1;
    std::int64_t number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = std::min(Ceiling, number * 10 + (value[i] - '0'));
    }
    return static_cast<std::int32_t>(negative ? -number
                                              : std::min<std::int64_t>(number, INT32_MAX));
}

} // namespace kadromir
