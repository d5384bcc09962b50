#include "ini_text.h"

#include "formats/text_case.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kadromir {
namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
        return Trim(line.substr(1, line.size() - 2));
    }
    return std::nullopt;
}

struct KeyValue {
    std::string_view Key;
    std::string_view Value;
};

std::optional<KeyValue> SplitKeyLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#' || trimmed.front() == '[') {
        return std::nullopt;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return KeyValue{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

} // namespace

std::string FoldCase(std::string_view text) {
    return LowerCaseUtf8(text);
}

IniText IniText::Parse(std::string_view text) {
    IniText ini;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        ini.TextLines.emplace_back(line);
        start = end + 1;
    }
    return ini;
}

std::string IniText::Serialise() const {
    std::string text;
    for (const auto& line : TextLines) {
        text += line;
        text += '\n';
    }
    return text;
}

IniText::Found IniText::Find(std::string_view section, std::string_view key) const {
    const std::string wantedSection = FoldCase(section);
    const std::string wantedKey = FoldCase(key);
    Found found;
    bool inSection = false;
    for (std::size_t i = 0; i < TextLines.size(); ++i) {
        if (const auto name = SectionName(TextLines[i])) {
            if (found.SectionFound && inSection) {
                break; // only the first section of that name counts
            }
            inSection = FoldCase(*name) == wantedSection;
            if (inSection) {
                found.SectionFound = true;
                found.SectionLine = i;
                found.InsertAt = i + 1;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (const auto pair = SplitKeyLine(TextLines[i])) {
            found.InsertAt = i + 1;
            if (FoldCase(pair->Key) == wantedKey) {
                found.KeyLine = i;
                return found;
            }
        }
    }
    return found;
}

std::optional<std::string> IniText::Get(std::string_view section, std::string_view key) const {
    const Found found = Find(section, key);
    if (!found.KeyLine) {
        return std::nullopt;
    }
    std::string_view value = SplitKeyLine(TextLines[*found.KeyLine])->Value;
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
    // Built by appending: GCC 12 misreports chained string additions at -O3.
    std::string line(key);
    line += '=';
    line.append(value);
    const Found found = Find(section, key);
    if (found.KeyLine) {
        TextLines[*found.KeyLine] = std::move(line);
    } else if (found.SectionFound) {
        TextLines.insert(TextLines.begin() + static_cast<std::ptrdiff_t>(found.InsertAt), std::move(line));
    } else {
        std::string header(1, '[');
        header.append(section);
        header += ']';
        TextLines.push_back(std::move(header));
        TextLines.push_back(std::move(line));
    }
}

bool WriteAllChunks(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view content, const ChunkWriter& write) {
    const auto slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string temporary = directory + ".kadromir-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    // The new file keeps the old one's permissions; a new one gets the usual 0644.
    struct stat old {};
    ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    bool ok = write(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
    }
    return ok;
}

} // namespace kadromir
