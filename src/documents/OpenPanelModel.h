// The panel docked into the open and save dialogs: recent and favourite directories, the
// read-only and binary choices, the clean-up of backup files and the hand-over to find in
// files. Holds copies of the two directory lists; borrows the asker and the file system.
#pragma once

#include "platform/Files.h"
#include "platform/Ui.h"

#include <optional>
#include <string>
#include <vector>

namespace wexly {

// Moves directory to the top of the recent list (dropping an equal line, case ignored) and
// keeps at most 10 lines.
void AddRecentDir(std::vector<std::string>& dirs, const std::string& directory);

// The directory a standard dialog shows, from the full path it reports and the text of its
// file name box; none unless it is a drive or network path. Always ends in a backslash.
std::optional<std::string> DialogDirectory(const std::string& filePath, const std::string& boxText);

// One child window of the standard dialog, as the panel sees it when looking for controls.
struct TDialogChild
{
    int id = 0;
    std::string className;
    std::string text;
    bool direct = true; // a direct child (control identifiers only count for those)
};

// Indexes into the children; -1 when not found.
struct TDialogControls
{
    int fileNameBox = -1; // found by identifier only
    int jumpBox = -1; // the identifier, or else the first "Edit"
    int okButton = -1; // identifier 1, or else the "&Open" button
    int cancelButton = -1;
};
TDialogControls FindDialogControls(const std::vector<TDialogChild>& children);

enum class TPanelAction { AddFavourite, Clean, Search };

class TOpenPanelModel
{
public:
    static constexpr int kMaxRecentDirs = 10;
    static constexpr const char* kBackupMask = "*.~*";

    TOpenPanelModel(IAsker& asker, IFileSystem& fs)
        : m_asker(asker)
        , m_fs(fs)
    {
    }

    // Before each showing of a dialog: the lists it shows and the binary preset. The read-only
    // choice is kept from the last showing.
    void Show(bool isSaveDialog, std::vector<std::string> recentDirs,
        std::vector<std::string> favouriteDirs, bool openBinary);

    bool IsSaveDialog() const { return m_isSaveDialog; }
    // The check boxes and "&Search Dir" only mean something when opening.
    bool OpenChoicesEnabled() const { return !m_isSaveDialog; }
    const std::vector<std::string>& RecentDirs() const { return m_recentDirs; }
    const std::vector<std::string>& FavouriteDirs() const { return m_favouriteDirs; }
    bool FavouritesChanged() const { return m_favouritesChanged; }
    bool OpenReadOnly() const { return m_openReadOnly; }
    void SetOpenReadOnly(bool on) { m_openReadOnly = on; }
    bool OpenBinary() const { return m_openBinary; }
    void SetOpenBinary(bool on) { m_openBinary = on; }
    const std::string& SearchDir() const { return m_searchDir; }

    // Where line `index` of a drop-down list jumps to; none for no real selection or an empty
    // line. Always ends in a backslash, so that the dialog cannot take a directory that has
    // gone for a file name and close with it.
    std::optional<std::string> RecentDir(int index) const
    {
        return JumpTarget(m_recentDirs, index);
    }
    std::optional<std::string> FavouriteDir(int index) const
    {
        return JumpTarget(m_favouriteDirs, index);
    }
    // The jump could not find the dialog's file name box or its OK button.
    void ReportMissingControl();

    // The dialog's current directory for one of the buttons; a folder outside the file system
    // is reported, anything else unusable is ignored silently.
    std::optional<std::string> CurrentDir(
        TPanelAction action, const std::string& filePath, const std::string& boxText);

    // "+": the directory goes to the top of the favourites; no duplicate test. Returns it.
    std::optional<std::string> AddFavourite(
        const std::string& filePath, const std::string& boxText);
    // "&Clean Dir": after confirmation, the backup files of the current directory to send to
    // the recycle bin (full paths; directories are never included).
    std::vector<std::string> CleanDir(const std::string& filePath, const std::string& boxText);
    // "&Search Dir": true when a directory was taken for find in files (the dialog then closes
    // as cancelled).
    bool SearchDirectory(const std::string& filePath, const std::string& boxText);

private:
    static std::optional<std::string> JumpTarget(const std::vector<std::string>& lines, int index);
    void Error(const std::string& text);

    IAsker& m_asker;
    IFileSystem& m_fs;
    bool m_isSaveDialog = false;
    std::vector<std::string> m_recentDirs;
    std::vector<std::string> m_favouriteDirs;
    bool m_favouritesChanged = false;
    bool m_openReadOnly = false; // kept between showings
    bool m_openBinary = false;
    std::string m_searchDir; // emptied at each showing
};

} // namespace wexly
