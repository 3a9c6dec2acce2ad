// The settings record: every user setting of the editor, held in memory for the whole run.
// `Settings` is the process's one instance; LoadSettings and SaveSettings move it to and from
// the INI file beside the executable.
#pragma once

#include "config/SortedStringList.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wexly {

// Window bounds, signed 32-bit, in the order the file stores them.
struct TRect
{
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

// Bits of TFontSet::Style.
namespace FontStyle {
inline constexpr uint8_t Bold = 1;
inline constexpr uint8_t Italic = 2;
inline constexpr uint8_t Underline = 4;
inline constexpr uint8_t StrikeOut = 8;
}

inline constexpr uint8_t kOemCharset = 255;

struct TFontSet
{
    std::string Name;
    uint8_t Style = 0;
    int32_t Size = 0; // points
    uint8_t Charset = 0;
    // The unused bytes of the stored record (1 to 3 and 9 to 11): carried so that a rewrite
    // gives back what was read.
    std::array<uint8_t, 6> Padding {};
    friend bool operator==(const TFontSet&, const TFontSet&) = default;
};

// Colour values: 0x00BBGGRR, or 0x80000000 plus a system colour index.
inline constexpr size_t kColourCount = 14;
using TColourTable = std::array<uint32_t, kColourCount>;

enum TColourIndex : size_t {
    clNormalText = 0,
    clNormalBack = 1,
    clSelectedText = 2,
    clSelectedBack = 3,
    clFilenameBarText = 4,
    clFilenameBarBack = 5,
    clStatusBarText = 6,
    clStatusBarBack = 7,
    clFileButtonText = 8,
    clFileButtonBack = 9,
    // 10 to 13 have no display use; they are stored and carried unchanged.
};

const TColourTable& DefaultColours();

// Bits of TExternalItem::Flags.
namespace ToolFlag {
inline constexpr uint16_t ReloadNamedFile = 1; // reload FileName rather than the current file
inline constexpr uint16_t ReloadOnCompletion = 2;
inline constexpr uint16_t RecordOutput = 4; // capture console output
}

// One external tool; its name is the list line that holds it.
struct TExternalItem
{
    std::string CommandLine;
    std::string WorkDir;
    uint16_t Flags = 0;
    std::string FileName;
    friend bool operator==(const TExternalItem&, const TExternalItem&) = default;
};

struct TExternalTool
{
    std::string Name;
    TExternalItem Item;
    friend bool operator==(const TExternalTool&, const TExternalTool&) = default;
};

using TStringList = std::vector<std::string>;

// Starts zeroed; LoadSettings fills in the defaults of everything the file lacks.
struct TSettings
{
    TRect MainRect;
    uint8_t MainState = 0; // 0 normal, 1 minimised, 2 maximised
    TFontSet EditFont, TitleFont, BarFont, FileBarFont;
    TColourTable Colours {};
    std::string LastDir;
    int32_t OpenFilterIndex = 0;
    int32_t SaveFilterIndex = 0;
    std::string FilterList;
    TStringList DirHistory, DirFavourites;
    TRect ReopenRect;
    TStringList FileHistory;
    bool WordWrap = false, HexMask = false;
    int32_t TabSize = 0, RightMargin = 0;
    bool AutoIndent = false, RealTabs = false;
    bool BackupText = false, BackupBinary = false;
    bool BinaryCheck = false;
    bool ConvertUnicode = false; // UTF-8 and UTF-16 files are shown in the code page
    bool ShowBookmarks = false;
    bool StartBlank = false;
    int32_t ReopenCount = 0;
    bool PageHeader = false;
    bool FindDialogCloses = false;
    bool SilentReload = false;
    bool VerticalCarets = false;
    bool HideCloseDelete = false;
    TStringList FindHistory, ReplaceHistory, MaskHistory;
    int32_t FindLargeWidth = 0, FindLargeHeight = 0;
    bool ShowFileButtons = false, ShowToolBar = false, FlatButtons = false, AlternateIcons = false;
    TStringList ToolBarLayout; // button numbers 0 to 32, or -1 for a gap, one a line
    TRect WindowListRect, PreviewRect, DicMaintRect, DicChooseRect, ToolListRect;
    int32_t PreviewZoom = 0;
    TSortedStringList Piles, PileFiles;
    TSortedStringList Macros;
    std::string MacroPath;
    std::vector<TExternalTool> Tools;
    std::string DicDir, LastDic;
    bool DicOn = false;

    friend bool operator==(const TSettings&, const TSettings&) = default;
};

// The process's settings.
extern TSettings Settings;

} // namespace wexly
