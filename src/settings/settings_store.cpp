#include "settings_store.h"

#include "formats/file_system.h"

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
        const auto bytes = ReadFileBytes(Path);
        Loaded = bytes ? IniText::Parse(std::string_view(reinterpret_cast<const char*>(bytes->Bytes().data()),
                                                         bytes->size()))
                       : IniText();
    }
    return *Loaded;
}

std::optional<std::string> SettingsStore::Read(std::string_view key) {
    auto value = Content().Get(Section, key);
    if (value && value->size() > MaxText) {
        value->resize(MaxText);
    }
    return value;
}

void SettingsStore::Write(std::string_view key, std::string_view value) {
    Content().Set(Section, key, value);
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
    return ReplaceFileAtomically(Path, Loaded->Serialise(), Writer);
}

std::string ConfigFilePath(const std::string& executablePath) {
    const auto slash = executablePath.rfind('/');
    return (slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1)) + ConfigFileName;
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
    std::uint32_t number = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        number = number * 10 + static_cast<std::uint32_t>(value[i] - '0');
    }
    return static_cast<std::int32_t>(negative ? 0u - number : number);
}

} // namespace kadromir
