#include "config/SettingsFile.h"

#include "platform/FileReplace.h"
#include "config/HexBlob.h"
#include "config/UtilsBox.h"

#include <memory>
#include <new>

namespace wexly {
namespace {

constexpr const char* W = kMainSection;

// A group of keys: when anything inside fails the rest of it is skipped and its fallback
// applied, and the caller goes on with the next group.
template <class Body, class Fallback> void Guarded(Body&& body, Fallback&& fallback)
{
    try {
        body();
    } catch (...) {
        fallback();
    }
}

template <class Body> void Guarded(Body&& body)
{
    Guarded(std::forward<Body>(body), [] {});
}

std::string DropBackTo(std::string_view path, bool (*stop)(char))
{
    size_t n = path.size();
    while (n > 0 && !stop(path[n - 1]))
        --n;
    return std::string(path.substr(0, n));
}

TRect ReadRect(const TCustomIniFile& ini, const char* key, const TRect& design)
{
    std::string value = ini.ReadString(W, key, "");
    return value.empty() ? design : DecodeRect(value);
}

void ReadFont(const TCustomIniFile& ini, const char* nameKey, const char* key, TFontSet& font)
{
    font.Name = ini.ReadString(W, nameKey, kDefaultFontName);
    if (font.Name.empty())
        font.Name = kDefaultFontName;
    std::string value = ini.ReadString(W, key, "");
    if (value.empty()) {
        // Style and padding stay as they were.
        font.Size = kDefaultFontSize;
        font.Charset = kOemCharset;
    } else {
        DecodeFont(value, font);
    }
}

void WriteFont(TCustomIniFile& ini, const char* nameKey, const char* key, const TFontSet& font)
{
    ini.WriteString(W, nameKey, font.Name);
    ini.WriteString(W, key, EncodeFont(font));
}

std::string ReadText(const TCustomIniFile& ini, const char* key, std::string_view fallback)
{
    std::string value = ini.ReadString(W, key, fallback);
    return value.empty() ? std::string(fallback) : value;
}

template <class List>
void ReadLines(const TCustomIniFile& ini, std::string_view section, List&& add)
{
    int32_t count = ini.ReadInteger(section, "#", 0);
    if (count > kMaxListLines)
        count = kMaxListLines;
    for (int32_t i = 0; i < count; ++i)
        add(ini.ReadString(section, std::to_string(i), ""));
}

template <class Lines>
void WriteLines(TCustomIniFile& ini, std::string_view section, const Lines& lines)
{
    ini.WriteInteger(section, "#", static_cast<int32_t>(lines.size()));
    int32_t i = 0;
    for (const std::string& line : lines)
        ini.WriteString(section, std::to_string(i++), line);
}

TSettingsFileResult LowMemory()
{
    TSettingsFileResult result;
    result.Ok = false;
    result.Message = ErrorBox("Danger: Low on memory");
    return result;
}

// The whole file; a file that does not exist reads as empty.
bool ReadWholeFile(IFileSystem& fs, const std::string& path, std::string* text, TFileError* error)
{
    text->clear();
    TFileError openError;
    auto file = fs.Open(
        path, TFileAccess::Read, TFileShare::DenyNone, TFileCreate::OpenExisting, &openError);
    if (!file) {
        if (openError.code == FileErrorCode::FileNotFound
            || openError.code == FileErrorCode::PathNotFound)
            return true;
        *error = { openError.code, path };
        return false;
    }
    char buffer[16384];
    for (;;) {
        int64_t n = file->Read(buffer, sizeof buffer);
        if (n < 0) {
            *error = { file->LastError() ? file->LastError() : FileErrorCode::ReadFault, path };
            return false;
        }
        if (n == 0)
            return true;
        text->append(buffer, static_cast<size_t>(n));
    }
}

bool IsDot(char c)
{
    return c == '.';
}

// Loading, group by group in the order the file has always been read.

void ReadWindowGroup(TSettings& s, const TCustomIniFile& ini, const TSettingsEnv& env)
{
    Guarded(
        [&] {
            s.MainRect = ReadRect(ini, "Dimensions", env.Design.MainWindow);
            int32_t state = ini.ReadInteger(W, "State", 0);
            // Only normal, minimised and maximised exist; anything else opens normal.
            s.MainState = state >= 0 && state <= 2 ? static_cast<uint8_t>(state) : 0;
        },
        [&] {
            s.MainRect = env.Design.MainWindow;
            s.MainState = 0;
        });
}

void ReadFontGroup(TSettings& s, const TCustomIniFile& ini)
{
    Guarded(
        [&] {
            ReadFont(ini, "EditFontName", "EditFont", s.EditFont);
            ReadFont(ini, "TitleFontName", "TitleFont", s.TitleFont);
            ReadFont(ini, "BarFontName", "BarFont", s.BarFont);
            ReadFont(ini, "FBarFontName", "FBarFont", s.FileBarFont);
        },
        [&] {
            s.EditFont.Name = kDefaultFontName;
            s.EditFont.Size = kDefaultFontSize;
            s.EditFont.Charset = kOemCharset;
            s.TitleFont = s.BarFont = s.FileBarFont = s.EditFont;
        });
}

void ReadColourGroup(TSettings& s, const TCustomIniFile& ini)
{
    Guarded(
        [&] {
            std::string value = ini.ReadString(W, "Colours", "");
            s.Colours = value.empty() ? DefaultColours() : DecodeColours(value);
        },
        [&] { s.Colours = DefaultColours(); });
}

void ReadFileDialogGroup(TSettings& s, const TCustomIniFile& ini)
{
    Guarded(
        [&] {
            s.LastDir = ini.ReadString(W, "fdLastDir", "");
            s.OpenFilterIndex = ini.ReadInteger(W, "fdOFilter", 1);
            s.SaveFilterIndex = ini.ReadInteger(W, "fdSFilter", 1);
            s.FilterList = ReadText(ini, "fdFilterList", kDefaultFilterList);
            ReadStringList(ini, "FDHistory", s.DirHistory);
            ReadStringList(ini, "FDFaves", s.DirFavourites);
        },
        [&] {
            s.OpenFilterIndex = s.SaveFilterIndex = 1;
            s.FilterList = kDefaultFilterList;
        });
}

void ReadGeneralKeys(TSettings& s, const TCustomIniFile& ini)
{
    s.WordWrap = ini.ReadBool(W, "genWordWrap", false);
    s.HexMask = ini.ReadBool(W, "genHexMask", false);
    s.TabSize = ini.ReadInteger(W, "genTabSize", 8);
    s.RightMargin = ini.ReadInteger(W, "genRightMargin", 80);
    s.AutoIndent = ini.ReadBool(W, "genAutoIndent", true);
    s.RealTabs = ini.ReadBool(W, "genRealTabs", false);
    s.BackupText = ini.ReadBool(W, "genBackupText", true);
    s.BackupBinary = ini.ReadBool(W, "genBackupBin", true);
    s.BinaryCheck = ini.ReadBool(W, "genBinCheck", true);
    // Files from before the conversion have no such key: it means on.
    s.ConvertUnicode = ini.ReadBool(W, "genUnicode", true);
    s.ShowBookmarks = ini.ReadBool(W, "genBookmarks", true);
    s.StartBlank = ini.ReadBool(W, "genStartBlank", false);
    s.ReopenCount = ini.ReadInteger(W, "genReopen", 20);
    s.PageHeader = ini.ReadBool(W, "genPageHeader", true);
    s.SilentReload = ini.ReadBool(W, "genSilentReload", false);
    s.VerticalCarets = ini.ReadBool(W, "genWinCarets", false);
    s.HideCloseDelete = ini.ReadBool(W, "genHideCloseDelete", false);
}

void ReadGeneralGroup(TSettings& s, const TCustomIniFile& ini)
{
    Guarded(
        [&] {
            s.ReopenRect = ReadRect(ini, "ReopenDim", TRect {});
            ReadStringList(ini, "FileHistory", s.FileHistory);
            ReadGeneralKeys(s, ini);
        },
        [&] {
            s.TabSize = 8;
            s.RightMargin = 80;
            s.AutoIndent = s.BackupText = s.BackupBinary = true;
            s.BinaryCheck = s.ShowBookmarks = s.ConvertUnicode = true;
            s.ReopenCount = 20;
            s.PageHeader = true;
            s.VerticalCarets = s.HideCloseDelete = false;
        });
}

void ReadFindGroup(TSettings& s, const TCustomIniFile& ini)
{
    Guarded(
        [&] {
            ReadStringList(ini, "frFind", s.FindHistory);
            ReadStringList(ini, "frReplace", s.ReplaceHistory);
            ReadStringList(ini, "frMask", s.MaskHistory);
            s.FindDialogCloses = ini.ReadBool(W, "genFindDialog", true);
            s.FindLargeWidth = ini.ReadInteger(W, "findLargeWidth", 0);
            s.FindLargeHeight = ini.ReadInteger(W, "findLargeHeight", 0);
        },
        [&] { s.FindLargeWidth = 0; });
}

void ReadButtonGroup(TSettings& s, const TCustomIniFile& ini)
{
    Guarded(
        [&] {
            s.ShowFileButtons = ini.ReadBool(W, "btnFBtns", true);
            s.FlatButtons = ini.ReadBool(W, "btnFlat", false);
            s.AlternateIcons = ini.ReadBool(W, "btnAlt", false);
            s.ShowToolBar = ini.ReadBool(W, "btnTool", true);
            s.ToolBarLayout
                = CommaTextToLayout(ReadText(ini, "btnToolBtns", DefaultToolBarLayout()));
        },
        [&] {
            s.ShowFileButtons = s.ShowToolBar = true;
            s.ToolBarLayout = CommaTextToLayout(DefaultToolBarLayout());
        });
}

void ReadWindowRects(TSettings& s, const TCustomIniFile& ini, const TSettingsEnv& env)
{
    Guarded([&] { s.WindowListRect = ReadRect(ini, "winRect", env.Design.WindowList); },
        [&] { s.WindowListRect = env.Design.WindowList; });
    Guarded(
        [&] {
            s.PreviewRect = ReadRect(ini, "prevRect", env.Design.Preview);
            s.PreviewZoom = ini.ReadInteger(W, "prevMagLevel", 1);
        },
        [&] {
            s.PreviewRect = env.Design.Preview;
            s.PreviewZoom = 1;
        });
}

void ReadListGroups(TSettings& s, const TCustomIniFile& ini, const TSettingsEnv& env)
{
    Guarded([&] {
        ReadStringList(ini, "Piles", s.Piles);
        ReadStringList(ini, "PFiles", s.PileFiles);
        s.MacroPath = ini.ReadString(W, "MacPath", "");
        ReadStringList(ini, "Macros", s.Macros);
    });
    Guarded(
        [&] {
            ReadToolList(ini, "External", s.Tools);
            s.DicDir = ini.ReadString(W, "DicDir", "");
            s.LastDic = ini.ReadString(W, "LastDic", "");
            s.DicOn = ini.ReadBool(W, "DicOn", false);
            s.DicMaintRect = ReadRect(ini, "DDRect1", env.Design.DicMaint);
            s.DicChooseRect = ReadRect(ini, "DDRect2", env.Design.DicChoose);
        },
        [&] {
            s.DicMaintRect = env.Design.DicMaint;
            s.DicChooseRect = env.Design.DicChoose;
        });
}

// Saving: the same groups, without fallbacks.

void WriteLeadingKeys(const TSettings& s, TCustomIniFile& ini)
{
    Guarded([&] {
        ini.WriteString(W, "Dimensions", EncodeRect(s.MainRect));
        ini.WriteInteger(W, "State", s.MainState);
    });
    Guarded([&] {
        WriteFont(ini, "EditFontName", "EditFont", s.EditFont);
        WriteFont(ini, "TitleFontName", "TitleFont", s.TitleFont);
        WriteFont(ini, "BarFontName", "BarFont", s.BarFont);
        WriteFont(ini, "FBarFontName", "FBarFont", s.FileBarFont);
    });
    Guarded([&] { ini.WriteString(W, "Colours", EncodeColours(s.Colours)); });
    Guarded([&] {
        ini.WriteString(W, "fdLastDir", s.LastDir);
        ini.WriteInteger(W, "fdOFilter", s.OpenFilterIndex);
        ini.WriteInteger(W, "fdSFilter", s.SaveFilterIndex);
        ini.WriteString(W, "fdFilterList", s.FilterList);
        WriteStringList(ini, "FDHistory", s.DirHistory);
        WriteStringList(ini, "FDFaves", s.DirFavourites);
    });
}

void WriteGeneralGroup(const TSettings& s, TCustomIniFile& ini)
{
    Guarded([&] {
        ini.WriteString(W, "ReopenDim", EncodeRect(s.ReopenRect));
        WriteStringList(ini, "FileHistory", s.FileHistory);
        ini.WriteBool(W, "genWordWrap", s.WordWrap);
        ini.WriteBool(W, "genHexMask", s.HexMask);
        ini.WriteInteger(W, "genTabSize", s.TabSize);
        ini.WriteInteger(W, "genRightMargin", s.RightMargin);
        ini.WriteBool(W, "genAutoIndent", s.AutoIndent);
        ini.WriteBool(W, "genRealTabs", s.RealTabs);
        ini.WriteBool(W, "genBackupText", s.BackupText);
        ini.WriteBool(W, "genBackupBin", s.BackupBinary);
        ini.WriteBool(W, "genBinCheck", s.BinaryCheck);
        ini.WriteBool(W, "genUnicode", s.ConvertUnicode);
        ini.WriteBool(W, "genBookmarks", s.ShowBookmarks);
        ini.WriteBool(W, "genStartBlank", s.StartBlank);
        ini.WriteInteger(W, "genReopen", s.ReopenCount);
        ini.WriteBool(W, "genPageHeader", s.PageHeader);
        ini.WriteBool(W, "genSilentReload", s.SilentReload);
        ini.WriteBool(W, "genWinCarets", s.VerticalCarets);
        ini.WriteBool(W, "genHideCloseDelete", s.HideCloseDelete);
    });
}

void WriteMiddleKeys(const TSettings& s, TCustomIniFile& ini)
{
    Guarded([&] {
        WriteStringList(ini, "frFind", s.FindHistory);
        WriteStringList(ini, "frReplace", s.ReplaceHistory);
        WriteStringList(ini, "frMask", s.MaskHistory);
        ini.WriteBool(W, "genFindDialog", s.FindDialogCloses);
        ini.WriteInteger(W, "findLargeWidth", s.FindLargeWidth);
        ini.WriteInteger(W, "findLargeHeight", s.FindLargeHeight);
    });
    Guarded([&] {
        ini.WriteBool(W, "btnFBtns", s.ShowFileButtons);
        ini.WriteBool(W, "btnFlat", s.FlatButtons);
        ini.WriteBool(W, "btnAlt", s.AlternateIcons);
        ini.WriteBool(W, "btnTool", s.ShowToolBar);
        ini.WriteString(W, "btnToolBtns", LayoutToCommaText(s.ToolBarLayout));
    });
    Guarded([&] { ini.WriteString(W, "winRect", EncodeRect(s.WindowListRect)); });
    Guarded([&] {
        ini.WriteString(W, "prevRect", EncodeRect(s.PreviewRect));
        ini.WriteInteger(W, "prevMagLevel", s.PreviewZoom);
    });
}

void WriteTrailingKeys(const TSettings& s, TCustomIniFile& ini)
{
    Guarded([&] {
        WriteStringList(ini, "Piles", s.Piles);
        WriteStringList(ini, "PFiles", s.PileFiles);
        ini.WriteString(W, "MacPath", s.MacroPath);
        WriteStringList(ini, "Macros", s.Macros);
    });
    Guarded([&] {
        WriteToolList(ini, "External", s.Tools);
        ini.WriteString(W, "DDRect1", EncodeRect(s.DicMaintRect));
        ini.WriteString(W, "DDRect2", EncodeRect(s.DicChooseRect));
        ini.WriteString(W, "DicDir", s.DicDir);
        ini.WriteString(W, "LastDic", s.LastDic);
        ini.WriteBool(W, "DicOn", s.DicOn);
    });
    Guarded([&] { ini.WriteString(W, "toolRect", EncodeRect(s.ToolListRect)); });
}

} // namespace

std::string IniFileName(std::string_view exePath)
{
    std::string base = DropBackTo(exePath, IsDot);
    bool dotInName = !base.empty();
    for (size_t i = base.size(); i < exePath.size(); ++i)
        dotInName = dotInName && !IsPathSeparator(exePath[i]);
    // Without an extension the cut would land in a directory name (or eat the whole path).
    if (!dotInName)
        return std::string(exePath) + ".ini";
    return base + "ini";
}

std::string ExeDirectory(std::string_view exePath)
{
    return DropBackTo(exePath, IsPathSeparator);
}

std::string LayoutToCommaText(const TStringList& layout)
{
    std::string text;
    for (const std::string& item : layout) {
        if (!text.empty())
            text += ',';
        text += item;
    }
    return text;
}

TStringList CommaTextToLayout(std::string_view text)
{
    TStringList items;
    std::string item;
    for (char c : text) {
        if (c == ',' || static_cast<unsigned char>(c) <= ' ') {
            if (!item.empty())
                items.push_back(std::move(item));
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.empty())
        items.push_back(std::move(item));
    return items;
}

void ReadStringList(const TCustomIniFile& ini, std::string_view section, TStringList& list)
{
    ReadLines(ini, section, [&list](std::string line) { list.push_back(std::move(line)); });
}

void ReadStringList(const TCustomIniFile& ini, std::string_view section, TSortedStringList& list)
{
    ReadLines(ini, section, [&list](const std::string& line) { list.Add(line); });
}

void WriteStringList(TCustomIniFile& ini, std::string_view section, const TStringList& list)
{
    WriteLines(ini, section, list);
}

void WriteStringList(TCustomIniFile& ini, std::string_view section, const TSortedStringList& list)
{
    WriteLines(ini, section, list.Lines());
}

void ReadToolList(
    const TCustomIniFile& ini, std::string_view section, std::vector<TExternalTool>& tools)
{
    int32_t count = ini.ReadInteger(section, "#", 0);
    if (count > kMaxListLines)
        count = kMaxListLines;
    for (int32_t i = 0; i < count; ++i) {
        std::string n = std::to_string(i);
        TExternalTool tool;
        tool.Name = ini.ReadString(section, n, "");
        tool.Item.CommandLine = ini.ReadString(section, n + "cl", "");
        tool.Item.WorkDir = ini.ReadString(section, n + "dir", "");
        tool.Item.Flags = static_cast<uint16_t>(ini.ReadInteger(section, n + "flg", 0));
        tool.Item.FileName = ini.ReadString(section, n + "fname", "");
        tools.push_back(std::move(tool));
    }
}

void WriteToolList(
    TCustomIniFile& ini, std::string_view section, const std::vector<TExternalTool>& tools)
{
    ini.WriteInteger(section, "#", static_cast<int32_t>(tools.size()));
    for (size_t i = 0; i < tools.size(); ++i) {
        std::string n = std::to_string(i);
        const TExternalTool& tool = tools[i];
        ini.WriteString(section, n, tool.Name);
        ini.WriteString(section, n + "cl", tool.Item.CommandLine);
        ini.WriteString(section, n + "dir", tool.Item.WorkDir);
        ini.WriteInteger(section, n + "flg", tool.Item.Flags);
        ini.WriteString(section, n + "fname", tool.Item.FileName);
    }
}

TSettingsFileResult LoadSettings(TSettings& settings, const TSettingsEnv& env)
{
    IFileSystem& fs = env.Files ? *env.Files : RealFileSystem();
    std::string path = IniFileName(env.ExePath);
    TSettingsFileResult result;
    std::unique_ptr<TMemIniFile> ini;
    try {
        std::string text;
        if (!ReadWholeFile(fs, path, &text, &result.Error)) {
            result.Ok = false;
            result.Message = ErrorBox("The settings file\r" + path + "\rcould not be read: "
                + FileErrorText(result.Error.code) + "\rThe default settings are used.");
            text.clear();
        }
        ini = std::make_unique<TMemIniFile>(text);
    } catch (const std::bad_alloc&) {
        return LowMemory();
    }
    ReadSettings(settings, *ini, env);
    return result;
}

TSettingsFileResult SaveSettings(const TSettings& settings, const TSettingsEnv& env)
{
    IFileSystem& fs = env.Files ? *env.Files : RealFileSystem();
    std::string path = IniFileName(env.ExePath);
    TSettingsFileResult result;
    auto fail = [&](const TFileError& error) {
        result.Ok = false;
        result.Error = error;
        result.Message = ErrorBox("The settings could not be saved to\r" + path + "\r"
            + FileErrorText(error.code) + "\rThe previous settings file was left unchanged.");
        return result;
    };
    std::string data;
    try {
        std::string text;
        TFileError error;
        // Rewriting a file that could not be read would drop everything else it holds.
        if (!ReadWholeFile(fs, path, &text, &error))
            return fail(error);
        TMemIniFile ini(text);
        WriteSettings(settings, ini);
        data = ini.Text();
    } catch (const std::bad_alloc&) {
        return LowMemory();
    }
    TFileError error;
    if (!ReplaceFileContents(fs, path, data, &error))
        return fail(error);
    return result;
}

void ReadSettings(TSettings& settings, const TCustomIniFile& ini, const TSettingsEnv& env)
{
    ReadWindowGroup(settings, ini, env);
    ReadFontGroup(settings, ini);
    ReadColourGroup(settings, ini);
    ReadFileDialogGroup(settings, ini);
    ReadGeneralGroup(settings, ini);
    ReadFindGroup(settings, ini);
    ReadButtonGroup(settings, ini);
    ReadWindowRects(settings, ini, env);
    ReadListGroups(settings, ini, env);
    if (settings.DicDir.empty())
        settings.DicDir = ExeDirectory(env.ExePath);
    Guarded([&] { settings.ToolListRect = ReadRect(ini, "toolRect", env.Design.ToolList); },
        [&] { settings.ToolListRect = env.Design.ToolList; });
}

void WriteSettings(const TSettings& settings, TCustomIniFile& ini)
{
    WriteLeadingKeys(settings, ini);
    WriteGeneralGroup(settings, ini);
    WriteMiddleKeys(settings, ini);
    WriteTrailingKeys(settings, ini);
}

} // namespace wexly
