// The loaded dictionary: words to replace as they are typed, with their replacements, the
// options of the file they came from, and the ".ydc" file format.
#pragma once

#include "platform/Files.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wexly {

inline constexpr const char* kDictionaryHeader = "[Wexly2 Dictionary File V1]";
inline constexpr const char* kDictionaryCorrupt = "Unable to load file!  May be corrupt";
inline constexpr const char* kDictionaryFilter = "Dictionary Files (*.ydc)|*.ydc";
inline constexpr int kDicMatchCase = 1; // options bit: adapt the replacement's case

// The 31 characters whose typing ends a word for the dictionary. No TAB and no apostrophe,
// so contractions stay whole and indenting never replaces.
extern const std::string_view kDicTriggerChars;
bool IsDicTrigger(char ch);

struct TDicEntry
{
    std::string word; // empty when the line had no ".."; never matches
    std::string replacement;
};

// Splits a file line at its first "..".
TDicEntry ParseDicEntry(std::string_view line);
// The options line: a decimal integer, 0 when it is not one.
int ParseDicOptions(std::string_view line);

// What a ".ydc" file holds once its header has been checked.
struct TDicFileContents
{
    int options = 0;
    std::vector<TDicEntry> entries; // in file order
};

// The file's lines parsed; none when there are fewer than two or the header is wrong (the
// header is compared with letter case).
std::optional<TDicFileContents> ParseDicFile(const std::vector<std::string>& lines);
// The lines a file is written with: header, options, then the entries as given.
std::vector<std::string> DicFileLines(int options, const std::vector<TDicEntry>& entries);

// Case adaptation of "Match Case": no capital in the typed word gives lower case, exactly one
// a capital first letter, more all capitals.
std::string AdaptCase(std::string_view typed, std::string_view replacement);

class TDictionary
{
public:
    const std::string& FileName() const { return m_fileName; }
    int Options() const { return m_options; }
    const std::vector<std::string>& Words() const { return m_words; }
    const std::vector<std::string>& Replacements() const { return m_replacements; }

    // Replaces the contents by a parsed file's.
    void Assign(const std::string& fileName, const TDicFileContents& contents);
    // The first entry equal to word without regard to case gives the replacement, adapted to
    // the typed word's case when the options ask for it.
    std::optional<std::string> Lookup(std::string_view word) const;

    bool CheckInvariants() const { return m_words.size() == m_replacements.size(); }

private:
    std::string m_fileName;
    int m_options = 0;
    std::vector<std::string> m_words; // parallel to m_replacements
    std::vector<std::string> m_replacements;
};

} // namespace wexly
