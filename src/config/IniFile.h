// INI files read and written the way the Windows profile functions treat them: sections and
// keys matched without regard to case, values trimmed of blanks and of one pair of enclosing
// quotes on reading and cut to what a 2048-byte buffer holds; a value that reading would change
// is written inside double quotes, so it reads back as written. TMemIniFile keeps the whole file
// as lines, so a rewrite keeps the file's order, its unknown sections and keys, and the exact
// text of every line it did not change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wexly {

// The reading side of the profile functions copies a value into a buffer of this size,
// including its terminating NUL.
inline constexpr size_t kIniReadBufferSize = 2048;

// What the settings code reads and writes through; an interface so that failures can be
// injected in tests.
class TCustomIniFile
{
public:
    virtual ~TCustomIniFile() = default;
    // The value of the key, or defaultValue when the section or key is absent.
    virtual std::string ReadString(
        std::string_view section, std::string_view key, std::string_view defaultValue) const = 0;
    virtual void WriteString(std::string_view section, std::string_view key, std::string_view value)
        = 0;

    // A value that is not a whole decimal (or $/0x hexadecimal) 32-bit number reads as
    // defaultValue.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    // Read as an integer: any non-zero value is true. Written as 0 or 1.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
    void WriteBool(std::string_view section, std::string_view key, bool value);
};

// Parses an integer the way the settings reader accepts it; false when the text is not one.
bool ParseIniInteger(std::string_view text, int32_t* value);

// The whole file in memory.
class TMemIniFile final : public TCustomIniFile
{
public:
    TMemIniFile() = default;
    explicit TMemIniFile(std::string_view text) { SetText(text); }

    // Replaces the contents with the parsed text (CR LF, LF or CR end a line).
    void SetText(std::string_view text);
    // The file as it is to be written: every line ended by CR LF.
    std::string Text() const;

    std::string ReadString(std::string_view section, std::string_view key,
        std::string_view defaultValue) const override;
    void WriteString(
        std::string_view section, std::string_view key, std::string_view value) override;

    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    // Section names in file order (duplicates included, as they stand in the file).
    std::vector<std::string> SectionNames() const;
    // Number of key lines of the first section of that name.
    size_t KeyCount(std::string_view section) const;

    // Checks the lookup indexes against the lines; for tests.
    bool CheckInvariants() const;

private:
    struct TLine
    {
        std::string raw; // the line as it stands in the file, without its line end
        std::string key; // the trimmed key; empty for lines that are not key lines
        bool isKey = false; // has an "=" and stands in a section
        size_t valueStart = 0; // offset in raw just after the "="
    };
    struct TSection
    {
        std::string name; // as written between the brackets, trimmed
        std::string header; // the header line as it stands in the file
        std::vector<TLine> lines;
        // Blank lines at the end of the section: new keys go in front of them, so the blank
        // line that separates sections stays where it is.
        std::vector<std::string> trailing;
        std::unordered_map<std::string, size_t> index; // folded key -> first key line
    };

    const TSection* FindSection(std::string_view name) const;
    TSection& AddSection(std::string_view name);
    static const TLine* FindKey(const TSection& section, std::string_view key);
    static void AddLine(TSection& section, TLine line);

    std::vector<std::string> m_prologue; // lines before the first section header
    std::vector<TSection> m_sections;
    std::unordered_map<std::string, size_t> m_sectionIndex; // folded name -> first section
};

// Case folding used for section and key names.
std::string FoldIniName(std::string_view name);

} // namespace wexly
