#include "dictionary/Dictionary.h"

#include "editor/EdSearch.h"
#include "platform/Ui.h"

#include <charconv>

namespace wexly {

const std::string_view kDicTriggerChars("\n\r ,./?;:\"<>[]{}-=\\+|()%@&^$!~*");

bool IsDicTrigger(char ch)
{
    static const TCharSet set(kDicTriggerChars);
    return set.Contains(ch);
}

TDicEntry ParseDicEntry(std::string_view line)
{
    size_t dots = line.find("..");
    if (dots == std::string_view::npos)
        return { {}, std::string(line) };
    return { std::string(line.substr(0, dots)), std::string(line.substr(dots + 2)) };
}

int ParseDicOptions(std::string_view line)
{
    // Leading and trailing blanks are tolerated as a hand-edited file may have them.
    while (!line.empty() && line.front() == ' ')
        line.remove_prefix(1);
    while (!line.empty() && line.back() == ' ')
        line.remove_suffix(1);
    if (!line.empty() && line.front() == '+')
        line.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (ec != std::errc() || end != line.data() + line.size() || line.empty())
        return 0;
    return value;
}

std::optional<TDicFileContents> ParseDicFile(const std::vector<std::string>& lines)
{
    if (lines.size() < 2 || lines[0] != kDictionaryHeader)
        return std::nullopt;
    TDicFileContents contents;
    contents.options = ParseDicOptions(lines[1]);
    for (size_t i = 2; i < lines.size(); ++i)
        contents.entries.push_back(ParseDicEntry(lines[i]));
    return contents;
}

std::vector<std::string> DicFileLines(int options, const std::vector<TDicEntry>& entries)
{
    std::vector<std::string> lines { kDictionaryHeader, std::to_string(options) };
    for (const auto& e : entries)
        lines.push_back(e.word + ".." + e.replacement);
    return lines;
}

namespace {

char Upper(char c)
{
    return static_cast<char>(SystemUpperTable()[static_cast<uint8_t>(c)]);
}

// The code page's lower-case map, as the inverse of its upper-case one.
const TUpperTable& LowerTable()
{
    static const TUpperTable table = [] {
        TUpperTable t {};
        for (int i = 0; i < 256; ++i)
            t[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
        const auto& up = SystemUpperTable();
        for (int i = 255; i >= 0; --i)
            if (up[static_cast<size_t>(i)] != i)
                t[up[static_cast<size_t>(i)]] = static_cast<uint8_t>(i);
        return t;
    }();
    return table;
}

char Lower(char c)
{
    return static_cast<char>(LowerTable()[static_cast<uint8_t>(c)]);
}
bool IsUpper(char c)
{
    return Lower(c) != c;
}

bool SameNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    return true;
}

} // namespace

std::string AdaptCase(std::string_view typed, std::string_view replacement)
{
    int capitals = 0;
    for (char c : typed)
        capitals += IsUpper(c) ? 1 : 0;
    std::string out(replacement);
    for (size_t i = 0; i < out.size(); ++i) {
        bool up = capitals >= 2 || (capitals == 1 && i == 0);
        out[i] = up ? Upper(out[i]) : Lower(out[i]);
    }
    return out;
}

void TDictionary::Assign(const std::string& fileName, const TDicFileContents& contents)
{
    m_fileName = fileName;
    m_options = contents.options;
    m_words.clear();
    m_replacements.clear();
    for (const auto& e : contents.entries) {
        m_words.push_back(e.word);
        m_replacements.push_back(e.replacement);
    }
}

std::optional<std::string> TDictionary::Lookup(std::string_view word) const
{
    if (word.empty())
        return std::nullopt;
    for (size_t i = 0; i < m_words.size(); ++i) {
        if (!SameNoCase(m_words[i], word))
            continue;
        if (m_options & kDicMatchCase)
            return AdaptCase(word, m_replacements[i]);
        return m_replacements[i];
    }
    return std::nullopt;
}

} // namespace wexly
