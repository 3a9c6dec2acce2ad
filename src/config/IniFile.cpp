#include "config/IniFile.h"

#include "platform/Ui.h"

#include <limits>

namespace wexly {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

bool IsBlankLine(std::string_view s)
{
    return Trim(s).empty();
}

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// A UTF-8 byte order mark does not belong to the first line's text.
std::string_view SkipBom(std::string_view line)
{
    if (line.size() >= 3 && line.substr(0, 3) == "\xEF\xBB\xBF")
        return line.substr(3);
    return line;
}

// What reading would change: blanks at either end are trimmed and one pair of enclosing quotes
// is dropped. Such a value (a find text or macro ending in a space, a quoted find text) is
// written inside a pair of double quotes, which both this reader and the profile functions
// take off again.
std::string ProtectedValue(std::string_view value)
{
    const bool changedByReading = !value.empty()
        && (IsBlank(value.front()) || IsBlank(value.back())
            || (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
                && value.back() == value.front()));
    if (!changedByReading)
        return std::string(value);
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    quoted += value;
    quoted += '"';
    return quoted;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string FoldIniName(std::string_view name)
{
    const TUpperTable& upper = SystemUpperTable();
    std::string folded(name);
    for (char& c : folded)
        c = static_cast<char>(upper[static_cast<uint8_t>(c)]);
    return folded;
}

bool ParseIniInteger(std::string_view text, int32_t* value)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return false;
    // Hexadecimal covers the full 32 bits (so $FFFFFFFF is -1); decimal stays in range.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t n = 0;
    for (char c : text) {
        int d = HexDigit(c);
        if (d < 0 || d >= base)
            return false;
        n = n * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (n > limit)
            return false;
    }
    uint32_t bits = static_cast<uint32_t>(n);
    if (negative)
        bits = 0u - bits;
    *value = static_cast<int32_t>(bits);
    return true;
}

int32_t TCustomIniFile::ReadInteger(
    std::string_view section, std::string_view key, int32_t defaultValue) const
{
    int32_t value = 0;
    return ParseIniInteger(ReadString(section, key, ""), &value) ? value : defaultValue;
}

void TCustomIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

bool TCustomIniFile::ReadBool(
    std::string_view section, std::string_view key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TMemIniFile::SetText(std::string_view text)
{
    m_prologue.clear();
    m_sections.clear();
    m_sectionIndex.clear();
    bool first = true;
    for (std::string_view raw : SplitLines(text)) {
        std::string_view line = first ? SkipBom(raw) : raw;
        first = false;
        std::string_view t = Trim(line);
        if (!t.empty() && t[0] == '[') {
            size_t close = t.find(']');
            std::string_view name = Trim(
                t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            TSection section;
            section.name = std::string(name);
            section.header = std::string(raw);
            m_sectionIndex.try_emplace(FoldIniName(name), m_sections.size());
            m_sections.push_back(std::move(section));
            continue;
        }
        if (m_sections.empty()) {
            m_prologue.emplace_back(raw);
            continue;
        }
        TSection& section = m_sections.back();
        if (t.empty()) {
            section.trailing.emplace_back(raw);
            continue;
        }
        // Blank lines followed by more text are inside the section, not at its end.
        for (std::string& blank : section.trailing) {
            TLine b;
            b.raw = std::move(blank);
            section.lines.push_back(std::move(b));
        }
        section.trailing.clear();
        TLine entry;
        entry.raw = std::string(raw);
        size_t eq = entry.raw.find('=');
        if (eq != std::string::npos) {
            entry.isKey = true;
            entry.key = std::string(Trim(std::string_view(entry.raw).substr(0, eq)));
            entry.valueStart = eq + 1;
        }
        AddLine(section, std::move(entry));
    }
}

void TMemIniFile::AddLine(TSection& section, TLine line)
{
    if (line.isKey)
        section.index.try_emplace(FoldIniName(line.key), section.lines.size());
    section.lines.push_back(std::move(line));
}

std::string TMemIniFile::Text() const
{
    std::string out;
    auto put = [&out](const std::string& line) {
        out += line;
        out += "\r\n";
    };
    for (const std::string& line : m_prologue)
        put(line);
    for (const TSection& section : m_sections) {
        put(section.header);
        for (const TLine& line : section.lines)
            put(line.raw);
        for (const std::string& line : section.trailing)
            put(line);
    }
    return out;
}

const TMemIniFile::TSection* TMemIniFile::FindSection(std::string_view name) const
{
    auto it = m_sectionIndex.find(FoldIniName(Trim(name)));
    return it == m_sectionIndex.end() ? nullptr : &m_sections[it->second];
}

const TMemIniFile::TLine* TMemIniFile::FindKey(const TSection& section, std::string_view key)
{
    auto it = section.index.find(FoldIniName(Trim(key)));
    return it == section.index.end() ? nullptr : &section.lines[it->second];
}

std::string TMemIniFile::ReadString(
    std::string_view section, std::string_view key, std::string_view defaultValue) const
{
    const TSection* s = FindSection(section);
    const TLine* line = s ? FindKey(*s, key) : nullptr;
    if (!line)
        return std::string(defaultValue);
    std::string_view value = Trim(std::string_view(line->raw).substr(line->valueStart));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'')
        && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kIniReadBufferSize - 1));
}

TMemIniFile::TSection& TMemIniFile::AddSection(std::string_view name)
{
    // A blank line between sections, as the profile functions leave it.
    bool hasText = !m_sections.empty() || !m_prologue.empty();
    if (hasText) {
        bool endsBlank = m_sections.empty() ? IsBlankLine(m_prologue.back())
                                            : !m_sections.back().trailing.empty()
                || (m_sections.back().lines.empty()
                        ? false
                        : IsBlankLine(m_sections.back().lines.back().raw));
        if (!endsBlank) {
            if (m_sections.empty())
                m_prologue.emplace_back();
            else
                m_sections.back().trailing.emplace_back();
        }
    }
    TSection section;
    section.name = std::string(Trim(name));
    section.header = "[" + section.name + "]";
    m_sectionIndex.try_emplace(FoldIniName(section.name), m_sections.size());
    m_sections.push_back(std::move(section));
    return m_sections.back();
}

void TMemIniFile::WriteString(
    std::string_view section, std::string_view key, std::string_view value)
{
    const TSection* found = FindSection(section);
    TSection& s
        = found ? m_sections[static_cast<size_t>(found - m_sections.data())] : AddSection(section);
    auto it = s.index.find(FoldIniName(Trim(key)));
    if (it != s.index.end()) {
        // Keep the line's own spacing after the "=".
        TLine& line = s.lines[it->second];
        size_t at = line.valueStart;
        while (at < line.raw.size() && IsBlank(line.raw[at]))
            ++at;
        line.raw.resize(at);
        line.raw += ProtectedValue(value);
        return;
    }
    TLine line;
    line.key = std::string(Trim(key));
    line.raw = line.key + "=";
    line.valueStart = line.raw.size();
    line.raw += ProtectedValue(value);
    line.isKey = true;
    AddLine(s, std::move(line));
}

bool TMemIniFile::SectionExists(std::string_view section) const
{
    return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(std::string_view section, std::string_view key) const
{
    const TSection* s = FindSection(section);
    return s && FindKey(*s, key);
}

std::vector<std::string> TMemIniFile::SectionNames() const
{
    std::vector<std::string> names;
    for (const TSection& s : m_sections)
        names.push_back(s.name);
    return names;
}

size_t TMemIniFile::KeyCount(std::string_view section) const
{
    const TSection* s = FindSection(section);
    size_t n = 0;
    if (s)
        for (const TLine& line : s->lines)
            n += line.isKey ? 1 : 0;
    return n;
}

bool TMemIniFile::CheckInvariants() const
{
    for (size_t i = 0; i < m_sections.size(); ++i) {
        auto it = m_sectionIndex.find(FoldIniName(m_sections[i].name));
        if (it == m_sectionIndex.end() || it->second > i)
            return false;
        const TSection& s = m_sections[i];
        for (const std::string& blank : s.trailing)
            if (!IsBlankLine(blank))
                return false;
        for (size_t k = 0; k < s.lines.size(); ++k) {
            const TLine& line = s.lines[k];
            if (!line.isKey)
                continue;
            auto ki = s.index.find(FoldIniName(line.key));
            if (ki == s.index.end() || ki->second > k || line.valueStart > line.raw.size())
                return false;
        }
        for (const auto& [folded, k] : s.index)
            if (k >= s.lines.size() || !s.lines[k].isKey || FoldIniName(s.lines[k].key) != folded)
                return false;
    }
    for (const auto& [folded, i] : m_sectionIndex)
        if (i >= m_sections.size() || FoldIniName(m_sections[i].name) != folded)
            return false;
    return true;
}

} // namespace wexly
