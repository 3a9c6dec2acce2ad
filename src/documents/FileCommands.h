// The File menu's work on the document set: new, open (dialog, command line, reopen), revert,
// save, save as, save all, close, close all and close & delete, with every question and error
// message. Borrows the document set, the settings, the reopen history and the host hooks.
#pragma once

#include "config/Settings.h"
#include "documents/CommandLine.h"
#include "documents/DocumentSet.h"
#include "documents/ReopenHistory.h"
#include "editor/TextEncoding.h"

#include <optional>
#include <string>
#include <vector>

namespace wexly {

struct TOpenDialogRequest
{
    bool openBinary = false; // preset of the dialog's binary choice
    std::string initialDir;
    int32_t filterIndex = 0;
    std::string filterList;
    std::vector<std::string> recentDirs;
    std::vector<std::string> favouriteDirs;
    std::string fileName {}; // proposed in the file name box
};

struct TOpenDialogResult
{
    bool confirmed = false;
    std::vector<std::string> files; // full paths in the dialog's order
    bool openBinary = false;
    bool openReadOnly = false;
    int32_t filterIndex = 0;
    std::string searchDir; // cancelled with a directory picked for find in files
    bool favouritesChanged = false; // "+" was used, accepted or not
    std::vector<std::string> favouriteDirs {};
};

struct TSaveDialogRequest
{
    std::string fileName;
    bool overwritePrompt = true;
    int32_t filterIndex = 0;
    std::string filterList;
    std::vector<std::string> recentDirs;
    std::vector<std::string> favouriteDirs;
};

struct TSaveDialogResult
{
    bool confirmed = false;
    std::string fileName;
    int32_t filterIndex = 0;
    bool favouritesChanged = false;
    std::vector<std::string> favouriteDirs {};
};

// The platform's open and save dialogs and the reopen dialog, shown modally.
class IFileDialogs
{
public:
    virtual ~IFileDialogs() = default;
    virtual TOpenDialogResult ShowOpen(const TOpenDialogRequest& request) = 0;
    virtual TSaveDialogResult ShowSave(const TSaveDialogRequest& request) = 0;
    // The reopen dialog over the history; the command line it returns, or none on Cancel.
    virtual std::optional<std::string> ShowReopen(std::vector<std::string>& history) = 0;
};

// What the file commands ask of the main window and the shell.
class IFileCommandHost
{
public:
    virtual ~IFileCommandHost() = default;
    // UpdateMenus, LayoutFileButtons and RebuildWindowMenu, in that order.
    virtual void RefreshDocumentBars() = 0;
    virtual void RefreshTitles() = 0;
    // In the status line, with the status timer started.
    virtual void ShowStatusMessage(const std::string& text) = 0;
    // After a close: a status message whose time has run out gives way to the hint.
    virtual void RestoreHintIfExpired() = 0;
    // The shell's delete to the recycle bin (undo allowed, no confirmation).
    virtual bool SendToRecycleBin(const std::string& path) = 0;
    virtual void StartFindInFiles(const std::string& directory, const std::string& mask) = 0;
};

// "2 File(s) opened... 5 Total".
std::string FilesOpenedMessage(int added, int total);
// ".txt" appended when the last name part has no dot.
std::string WithDefaultExtension(const std::string& name);
// A full path: relative names are taken from baseDir; "." and ".." parts resolved.
std::string ExpandFileName(const std::string& path, const std::string& baseDir);

class TFileCommands
{
public:
    TFileCommands(TDocumentSet& set, TDocumentServices& services, TSettings& settings,
        TReopenHistory& history, IFileDialogs& dialogs, IFileCommandHost& host);

    const std::string& StartDir() const { return m_startDir; }
    void SetStartDir(const std::string& dir) { m_startDir = dir; }
    int UntitledCounter() const { return m_untitledCounter; }

    // ---- menu commands ----
    TEditFile* New();
    void OpenDialog(bool binary); // Open Text / Open Binary
    void Reopen();
    void Revert();
    void Save();
    void SaveAs();
    void SaveCopyAs();
    void SaveAll();
    void Close();
    void CloseAndDelete();
    // The file button's "&Save": nothing for read-only or binary documents.
    void SaveDocument(TEditFile& doc);
    // A pane's close button or the file button's "&Close": close doc, asking to save.
    void CloseDocument(TEditFile& doc);

    // ---- the operations under them ----
    TEditFile* OpenFileSpec(
        const std::string& spec, const TCaretRequest& caret, bool binary, bool readOnly);
    // A file too large to edit as text is not opened as text: the user is offered the hex
    // viewer instead (judged before reading, or found while reading).
    TEditFile* OpenFile(const std::string& path, bool readOnly, bool binary);
    // A document rebuilt from text kept by a run that ended without saving it (paragraphs
    // joined by CR LF): under its old name, modified, the caret at paragraph para, position
    // pos; the file is not read. An untitled name's number is not given out again. Null when
    // the document could not be made.
    TEditFile* OpenRecovered(const std::string& name, bool named, std::string_view joined,
        TTextEncoding encoding, int32_t para, int32_t pos);
    // Parses text as a command line against baseDir and opens what it names; returns the
    // number of documents added.
    int OpenCommandLine(const std::string& baseDir, const std::string& text);
    // False when the user cancelled, or a save that was asked for did not happen.
    bool CloseFile(TEditFile& doc, bool deleteFile, bool ask);
    bool SaveAllModified(bool ask);
    bool CloseAll();
    // False when the dialog was cancelled or the save failed.
    bool SaveFileAs(TEditFile& doc, bool rename);
    void AddRecentDir(const std::string& directory);

private:
    // Says that the file (size bytes) is too large to edit as text; opens it in the hex viewer
    // when the answer is Yes.
    TEditFile* OfferHexViewer(const std::string& full, int64_t size, bool readOnly);
    bool SaveNamedOrAs(TEditFile& doc);
    void ShowSaveError(const std::exception& e, const std::string& path);
    void ApplyCaret(TEditFile& doc, const TCaretRequest& caret);
    // The file read and decoded before the binary test; none when it cannot be read.
    std::optional<TDecodedText> DecodeForOpen(const std::string& path);
    // FilesOpenedMessage and, when a UTF-8 or UTF-16 file stayed bytes, why.
    std::string OpenedMessage(int added, int total) const;
    void ReopenNewest(const TCommandLineAction& action);
    TMsgResult Ask(const std::string& text, const std::string& caption, TMsgButtons buttons,
        TMsgIcon icon, int defaultButton = 1);

    TDocumentSet& m_set;
    TDocumentServices& m_services;
    TSettings& m_settings;
    TReopenHistory& m_history;
    IFileDialogs& m_dialogs;
    IFileCommandHost& m_host;
    std::string m_startDir;
    int m_untitledCounter = 1; // never reset
    std::string m_openNote; // the last file opened as bytes although it looked like Unicode
};

} // namespace wexly
