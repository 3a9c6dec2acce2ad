// Moving `Settings` to and from the INI file named after the executable: the key table, the
// list sections, the external tool list, and the groups that fall back to defaults when
// something inside them fails.
#pragma once

#include "config/IniFile.h"
#include "config/Settings.h"
#include "platform/Files.h"
#include "platform/Ui.h"

#include <string>
#include <string_view>

namespace wexly {

// Bounds the windows have before they are first shown (their design bounds): the defaults of
// the rectangle keys.
struct TDesignBounds
{
    TRect MainWindow, WindowList, Preview, DicMaint, DicChoose, ToolList;
};

// What loading and saving need from the running program.
struct TSettingsEnv
{
    std::string ExePath; // full path of the executable
    TDesignBounds Design;
    IFileSystem* Files = nullptr; // RealFileSystem() when null
};

inline constexpr const char* kMainSection = "Wexly";
inline constexpr const char* kDefaultFontName = "Terminal";
inline constexpr int32_t kDefaultFontSize = 9;
inline constexpr const char* kDefaultFilterList = "All Files (*.*)|*.*";

// The executable's path up to its last ".", then "ini" (wexly.exe -> wexly.ini). A name
// without an extension gets ".ini" appended.
std::string IniFileName(std::string_view exePath);
// The executable's directory with its trailing separator.
std::string ExeDirectory(std::string_view exePath);

// The outcome of loading or saving; when Ok is false, Message is what the caller shows
// ("Danger: Low on memory" when the INI object could not be built; the file and the reason
// when it could not be read or replaced).
struct TSettingsFileResult
{
    bool Ok = true;
    TFileError Error;
    TMessage Message;
};

// Reads the file into settings. A missing file reads as empty, so everything takes its
// default. An existing file that cannot be read also leaves the defaults, and is reported.
TSettingsFileResult LoadSettings(TSettings& settings, const TSettingsEnv& env);
// Writes settings into the file, keeping what else it holds. The file is replaced whole or not
// at all; on failure the old file stays and the result carries the message to show.
TSettingsFileResult SaveSettings(const TSettings& settings, const TSettingsEnv& env);

// The key-by-key parts of the two, on an INI object.
void ReadSettings(TSettings& settings, const TCustomIniFile& ini, const TSettingsEnv& env);
void WriteSettings(const TSettings& settings, TCustomIniFile& ini);

// List sections: "#" holds the count, keys "0" to count-1 the lines. Reading appends; writing
// erases nothing, so keys left over from a longer list stay (and are not read back).
void ReadStringList(const TCustomIniFile& ini, std::string_view section, TStringList& list);
void ReadStringList(const TCustomIniFile& ini, std::string_view section, TSortedStringList& list);
void WriteStringList(TCustomIniFile& ini, std::string_view section, const TStringList& list);
void WriteStringList(TCustomIniFile& ini, std::string_view section, const TSortedStringList& list);

// The tool list: the name under the key n, its fields under n + "cl", "dir", "flg", "fname".
void ReadToolList(
    const TCustomIniFile& ini, std::string_view section, std::vector<TExternalTool>& tools);
void WriteToolList(
    TCustomIniFile& ini, std::string_view section, const std::vector<TExternalTool>& tools);

// The tool bar layout's comma text: numbers joined by ",".
std::string LayoutToCommaText(const TStringList& layout);
// Splits at commas and blanks; empty items are dropped.
TStringList CommaTextToLayout(std::string_view text);

// A count larger than this in a list section is taken as damage and cut to it, so that a
// corrupt "#" cannot make loading build millions of empty lines.
inline constexpr int32_t kMaxListLines = 100000;

} // namespace wexly
