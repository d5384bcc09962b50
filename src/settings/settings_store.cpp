#include "settings_store.h"

#include "base/code_pages.h"
#include "base/path_rules.h"
#include "base/system.h"

#include <algorithm>
#include <climits>

namespace kadromir {
namespace {
// Texts are read up to this many bytes.
constexpr std::size_t MaxText = 4095;
constexpr const char* ConfigFileName = "Кадромир.кфг";

// Whether `bytes` of a Windows-1251 file are a text that code page cannot hold, put
// there in UTF-8: valid UTF-8 with a character outside Windows-1251. Text that was
// written in Windows-1251 almost never reads so.
bool HeldOnlyAsUtf8(const std::string& bytes) {
    return IsValidUtf8(bytes) && !Utf8ToCp1251(bytes);
}
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
#ifdef _WIN32
        // The Windows form writes a new file as the first form does (Windows-1251, CRLF),
        // so that either program reads the other's.
        Windows1251 = Windows1251 || Original.Bytes.empty();
        constexpr bool NewLinesCrLf = true;
#else
        constexpr bool NewLinesCrLf = false;
#endif
        Loaded = IniText::Parse(Windows1251 ? Cp1251ToUtf8(Original.Bytes) : Original.Bytes,
                                NewLinesCrLf);
    }
    return *Loaded;
}

std::optional<std::string> SettingsStore::Read(std::string_view key) {
    auto value = Content().Get(Section, key);
    if (value && Windows1251) {
        // A value written as its UTF-8 bytes, since the code page could not hold it.
        if (auto bytes = Utf8ToCp1251(*value); bytes && HeldOnlyAsUtf8(*bytes)) {
            value = std::move(bytes);
        }
    }
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
    if (Windows1251 && (!IsValidUtf8(value) || !Utf8ToCp1251(value))) {
        // A file name's own bytes, which no code page is sure of, or a text the code
        // page cannot hold: written as its bytes (their Windows-1251 reading goes back
        // to the same bytes), and the text comes back from them when read.
        content.Set(Section, key, Cp1251ToUtf8(value));
        Changed = true;
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
// (the superuser, an administrator), they get no settings file of ours.
bool IsSystemDirectory(const std::string& directory) {
#ifdef _WIN32
    const std::string folded = AsciiUpper(directory);
    for (const char* variable : {"ProgramFiles", "ProgramFiles(x86)", "SystemRoot"}) {
        const auto root = EnvironmentValue(variable);
        if (root && !root->empty() && folded.starts_with(AsciiUpper(JoinPath(*root, "")))) {
            return true;
        }
    }
    return false;
#else
    for (const char* prefix : {"/usr/", "/bin/", "/sbin/", "/lib/", "/opt/", "/etc/"}) {
        if (directory.starts_with(prefix)) {
            return true;
        }
    }
    return false;
#endif
}

// Makes each missing directory of `path` (ending in a delimiter), the last with `mode`.
void MakeDirectories(const std::string& path, std::uint32_t mode) {
    for (std::size_t at = 1; at < path.size(); ++at) {
        if (IsDelimiter(path[at])) {
            MakeDirectory(path.substr(0, at), at + 1 == path.size() ? mode : 0700);
        }
    }
}

// The user's own directory for the file, where the executable's does not take it:
// on Windows %APPDATA%\Кадромир, elsewhere $XDG_CONFIG_HOME/kadromir (~/.config when
// the variable is unset or not absolute). Nothing when there is no such place.
std::optional<std::string> UserConfigDirectory(const char* xdgConfigHome, const char* home) {
#ifdef _WIN32
    (void)xdgConfigHome;
    (void)home;
    const auto appData = EnvironmentValue("APPDATA");
    if (!appData || !IsAbsolutePath(*appData)) {
        return std::nullopt;
    }
    return JoinPath(JoinPath(*appData, "Кадромир"), "");
#else
    std::string base;
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') {
        base = xdgConfigHome;
    } else {
        std::string homePath = home != nullptr ? home : "";
        if (homePath.empty() || homePath[0] != '/') {
            homePath = HomeDirectory().value_or("");
        }
        if (homePath.empty() || homePath[0] != '/') {
            return std::nullopt;
        }
        base = homePath + "/.config";
    }
    return JoinPath(JoinPath(base, "kadromir"), "");
#endif
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
    const auto own = UserConfigDirectory(xdgConfigHome, home);
    if (!own) {
        return beside; // no home at all: the place beside the executable it is
    }
    if (makeDirectory) {
        MakeDirectories(*own, 0700);
    }
    return *own + ConfigFileName;
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
