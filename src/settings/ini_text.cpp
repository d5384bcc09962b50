#include "ini_text.h"

#include "base/text_case.h"

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

constexpr std::string_view ByteOrderMarkBytes = "\xEF\xBB\xBF";

bool IsComment(std::string_view trimmed) {
    return !trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '#');
}

// The section name of a "[name]" line, which may end in a comment.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    const auto close = line.find(']');
    if (line.empty() || line.front() != '[' || close == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rest = Trim(line.substr(close + 1));
    if (!rest.empty() && !IsComment(rest)) {
        return std::nullopt;
    }
    return Trim(line.substr(1, close - 1));
}

bool HasOuterBlank(std::string_view value) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !value.empty() && (blank(value.front()) || blank(value.back()));
}

bool IsQuoted(std::string_view value) {
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

struct KeyValue {
    std::string_view Key;
    std::string_view Value;
};

std::optional<KeyValue> SplitKeyLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || IsComment(trimmed) || trimmed.front() == '[') {
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

IniText IniText::Parse(std::string_view text, bool crLfWhenUnknown) {
    IniText ini;
    ini.CrLf = crLfWhenUnknown;
    if (text.starts_with(ByteOrderMarkBytes)) {
        ini.ByteOrderMark = true;
        text.remove_prefix(ByteOrderMarkBytes.size());
    }
    if (const auto end = text.find('\n'); end != std::string_view::npos) {
        ini.CrLf = end > 0 && text[end - 1] == '\r';
    }
    // A line keeps its CR, so that every line is written back with the end it had.
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ini.TextLines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return ini;
}

std::string IniText::Serialise() const {
    std::string text(ByteOrderMark ? ByteOrderMarkBytes : std::string_view());
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
    if (IsQuoted(value)) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

void IniText::Set(std::string_view section, std::string_view key, std::string_view value) {
    // Built by appending: GCC 12 misreports chained string additions at -O3.
    std::string line(key);
    line += '=';
    // Quoted, a value keeps blanks at its ends, and one in quotes of its own keeps them.
    const bool quote = HasOuterBlank(value) || IsQuoted(value);
    if (quote) {
        line += '"';
    }
    line.append(value);
    if (quote) {
        line += '"';
    }
    const Found found = Find(section, key);
    // A replaced line keeps its own end; a new one takes the text's.
    const bool crLf = found.KeyLine ? TextLines[*found.KeyLine].ends_with('\r') : CrLf;
    if (crLf) {
        line += '\r';
    }
    if (found.KeyLine) {
        TextLines[*found.KeyLine] = std::move(line);
    } else if (found.SectionFound) {
        TextLines.insert(TextLines.begin() + static_cast<std::ptrdiff_t>(found.InsertAt),
                         std::move(line));
    } else {
        std::string header(1, '[');
        header.append(section);
        header += ']';
        if (CrLf) {
            header += '\r';
        }
        TextLines.push_back(std::move(header));
        TextLines.push_back(std::move(line));
    }
}

} // namespace kadromir
