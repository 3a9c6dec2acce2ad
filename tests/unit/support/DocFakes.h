// Fakes for the document and file-command tests: a file system with Windows-style paths
// (backslashes, case-insensitive, directories, files held by another program), a message box
// that plays scripted answers and records what it was asked, the windows a document talks to,
// the file dialogs and the main window's hooks.
#pragma once

#include "config/Settings.h"
#include "documents/DocumentServices.h"
#include "documents/DocumentSet.h"
#include "documents/FileCommands.h"
#include "platform/Files.h"
#include "platform/Ui.h"
#include "platform/Windows1252.h"

#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace wexly::test {

class TDocFileSystem final : public IFileSystem
{
public:
    void AddDir(const std::string& dir);
    // Creates the directories on the way as well.
    void SetFile(const std::string& path, const std::string& data);
    std::string Contents(const std::string& path) const;
    void Touch(const std::string& path); // a newer time stamp, as another program's write
    void Lock(const std::string& path); // held open without sharing by another program
    // A read that takes in byte `at` of the file raises std::bad_alloc, as memory running
    // out while its text is made would.
    void FailAllocationWhileReading(const std::string& path, int64_t at);
    bool HasFile(const std::string& path) const;

    std::unique_ptr<IFile> Open(const std::string& path, TFileAccess access, TFileShare share,
        TFileCreate create, TFileError* error = nullptr) override;
    bool Exists(const std::string& path) override { return HasFile(path); }
    bool IsDirectory(const std::string& path) override;
    bool Delete(const std::string& path, TFileError* error = nullptr) override;
    bool Rename(const std::string& oldPath, const std::string& newPath, bool replace,
        TFileError* error = nullptr) override;
    bool Copy(const std::string& from, const std::string& to, TFileError* error = nullptr) override;
    bool GetWriteTime(const std::string& path, TFileTime* time) override;
    bool IsReadOnly(const std::string& path) override;
    bool SetReadOnly(const std::string& path, bool readOnly) override;
    std::vector<TDirEntry> List(const std::string& directory, const std::string& mask) override;
    std::string TempNameIn(const std::string& directory) override;

    struct TNode
    {
        std::string path; // as first written
        std::string data;
        TFileTime time = 0;
        bool readOnly = false;
        bool locked = false;
        int64_t failReadAt = -1;
    };

private:
    static std::string Key(const std::string& path);
    std::map<std::string, std::shared_ptr<TNode>> m_files;
    std::set<std::string> m_dirs;
    TFileTime m_clock = 100;
    int m_temp = 0;
};

class TDocAsker final : public IAsker
{
public:
    std::deque<TMsgResult> answers; // played in order; Ok/Cancel-less default when exhausted
    std::vector<TMessage> asked;
    TMsgResult Ask(const TMessage& message) override;
    // Texts asked so far, then forgotten.
    std::vector<std::string> TakeTexts();
};

class TDocClipboard final : public IClipboard
{
public:
    std::string text;
    bool failSet = false;
    bool SetText(const std::string& t) override;
    bool HasText() override { return !text.empty(); }
    std::string GetText() override { return text; }
};

class TDocWindows final : public IDocumentWindows, public IPaneWindows
{
public:
    const TEditFile* focused = nullptr;
    int splitChanges = 0;
    bool splitShown = false;
    int titleBarFocused = 0;
    std::vector<const TEditFile*> destroyed;
    int created = 0;

    void DocumentCreated(TEditFile&) override { ++created; }
    void ShowView(TEditFile& doc, bool focus) override;
    bool ViewFocused(const TEditFile& doc) const override { return focused == &doc; }
    void ButtonChanged(TEditFile&) override { }
    TButtonSize MeasureButton(const TEditFile& doc) override;
    void DocumentDestroyed(TEditFile& doc) override;
    void SplitChanged(bool splitOn, bool) override;
    void FocusTopTitleBar() override;
};

class TDocDialogs final : public IFileDialogs
{
public:
    std::deque<TOpenDialogResult> opens;
    std::deque<TSaveDialogResult> saves; // empty: cancelled
    std::deque<std::optional<std::string>> reopens;
    std::vector<TSaveDialogRequest> saveRequests;
    TOpenDialogResult ShowOpen(const TOpenDialogRequest&) override;
    TSaveDialogResult ShowSave(const TSaveDialogRequest& request) override;
    std::optional<std::string> ShowReopen(std::vector<std::string>&) override;
};

class TDocHost final : public IFileCommandHost
{
public:
    int refreshes = 0;
    int titleRefreshes = 0;
    std::vector<std::string> statusMessages;
    std::vector<std::string> recycled;
    std::vector<std::string> findInFiles;
    void RefreshDocumentBars() override { ++refreshes; }
    void RefreshTitles() override { ++titleRefreshes; }
    void ShowStatusMessage(const std::string& text) override { statusMessages.push_back(text); }
    void RestoreHintIfExpired() override { }
    bool SendToRecycleBin(const std::string& path) override;
    void StartFindInFiles(const std::string& dir, const std::string& mask) override
    {
        findInFiles.push_back(dir + mask);
    }
};

// Everything a document set and its file commands need, wired together, with the default
// settings.
struct TDocEnv
{
    TDocFileSystem fs;
    TDocAsker asker;
    TDocClipboard clipboard;
    TDocWindows windows;
    TDocDialogs dialogs;
    TDocHost host;
    TSettings settings;
    TDocumentServices services { fs, asker, windows, settings, &clipboard, nullptr,
        [] { return 45000.0; } };
    std::unique_ptr<TDocumentSet> set;
    std::unique_ptr<TReopenHistory> history;
    std::unique_ptr<TFileCommands> commands;

    TDocEnv();
    ~TDocEnv();
    // Open through the file commands; fails the test when nothing opened.
    TEditFile& Open(const std::string& path, bool binary = false);
    std::vector<std::string> Names() const; // short names in list order
};

// Documents that convert UTF-8 and UTF-16, with the 1252 table whatever the system's code page.
struct TUnicodeEnv : TDocEnv
{
    TWindows1252CodePage cp;
    TUnicodeEnv()
    {
        services.codePage = &cp;
        settings.ConvertUnicode = settings.BinaryCheck = true;
    }
};

} // namespace wexly::test
