// One open document: its names and time stamps, the view that shows it (a text editor or a
// binary viewer, owned here) and the state of its file button. The second pane's view is a
// TEditFile too: it owns both kinds of view, has no button, and shows another document's text
// through AttachView. Borrows the services.
#pragma once

#include "documents/DocumentServices.h"
#include "editor/AFViewer.h"
#include "editor/TFEditor.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace wexly {

// Pictures of the file button, by document state.
enum TGlyphIndex : int {
    giNone = -1,
    giText = 0,
    giModified = 1,
    giReadOnlyText = 2,
    giBinary = 3,
    giReadOnlyBinary = 4,
};

// What the file button shows; the window paints from it.
struct TFileButtonState
{
    std::string caption; // the short name with every "&" doubled
    std::string hint; // full path followed by "|"
    int glyph = giNone; // changed only when the state changes
    bool alternateIcons = false;
    bool down = false;
    bool swapped = false; // text and face colours exchanged: the document wants attention
    int width = 0;
    int height = 0;
};

struct TEditState
{
    bool canUndo = false;
    bool canRedo = false;
    bool cutAllowed = false;
    bool copyAllowed = false;
    bool isText = false;
    bool operator==(const TEditState&) const = default;
};

// The user was told about a load that split over-long lines.
inline constexpr const char* kLinesSplitMessage
    = "Some lines of this file were longer than 32767 characters\r"
      "and have been split. Saving will write the extra line breaks.";
inline constexpr const char* kLoadFailedMessage = "Exception Occured while opening file";

// Whether the text of the file at path is judged too large to hold (TextTooLarge); decodedFirst:
// the whole file is read and decoded before the text is made, so both are held at once. With
// checkMemory false only the buffer's limits count. size receives the file's size. False when
// the file cannot be opened: the load then reports that.
bool FileTooLargeForText(TDocumentServices& services, const std::string& path, bool decodedFirst,
    bool checkMemory, int64_t& size);

class TEditFile
{
public:
    // A document in the top pane. load: read the file now (else a new, empty text).
    // preloaded: the file as the opener already read and decoded it, loaded instead of reading
    // it again.
    TEditFile(TDocumentServices& services, const std::string& path, bool load, bool named,
        bool readOnlyWanted, bool binary, TDecodedText* preloaded = nullptr);
    // The second pane's view.
    explicit TEditFile(TDocumentServices& services);
    ~TEditFile();
    TEditFile(const TEditFile&) = delete;
    TEditFile& operator=(const TEditFile&) = delete;

    bool IsBottomView() const { return m_isBottomView; }
    bool Named() const { return m_named; }
    const std::string& FileName() const { return m_fileName; }
    const std::string& ShortName() const { return m_shortName; }
    const std::string& Ext() const { return m_ext; }
    TFileTime FileTime() const { return m_fileTime; }
    // The file's size when it was loaded or last saved; -1 when unknown.
    int64_t FileSize() const { return m_fileSize; }
    double LoadedAt() const { return m_loadedAt; }
    bool LoadFailed() const { return m_loadFailed; }
    // The load failed because the text did not fit (memory ran out, or the buffer's size
    // limits); nothing was said yet, the opener offers the hex viewer.
    bool LoadTooLarge() const { return m_loadTooLarge; }
    bool Binary() const { return m_binary; }
    bool ReadOnlyWanted() const { return m_readOnlyWanted; }
    TEditFile* Source() const { return m_source; }
    TTFEditor* TextEditor() const { return m_textEditor.get(); }
    TAFViewer* BinViewer() const { return m_binViewer.get(); }
    // The text's encoding on disk; ANSI for binary documents.
    TTextEncoding Encoding() const;
    // Saving writes encoding from now on; the text counts as modified when it changed.
    void SetEncoding(TTextEncoding encoding);
    // Why the last load left a UTF-8 or UTF-16 file as bytes; empty when it did not.
    std::string LoadNote() const;
    bool ToolBusy() const { return m_toolBusy; }
    void SetToolBusy(bool busy) { m_toolBusy = busy; }
    int64_t SavedTopLine() const { return m_savedTopLine; }
    int64_t SavedCaretLine() const { return m_savedCaretLine; }
    int32_t SavedCaretCol() const { return m_savedCaretCol; }
    const TFileButtonState& Button() const { return m_button; }
    int ButtonWidth() const { return m_button.width; }
    int ButtonHeight() const { return m_button.height; }

    // ---- views and button ----
    void ShowView();
    void AttachView(TEditFile& doc);
    void DetachView();
    void MarkCurrent();
    // Another document's button went down (the buttons form one exclusive group).
    void ReleaseButton();
    void MarkAttention();
    bool ViewFocused() const;
    void UpdateGlyph();
    // The view refuses changes.
    bool ReadOnly() const;
    // Also refreshes the button picture.
    bool IsModified();
    bool HasSelection() const;
    TEditState GetEditState() const;
    int64_t CaretLine() const;
    int32_t CaretColumn() const;
    int64_t TopLine() const;
    void SetCaret(int64_t line, int32_t column);
    int64_t LineTotal() const;

    // ---- files ----
    // Text only. Errors (EInOutError) propagate; the document then stays modified.
    void Save();
    void SaveAs(const std::string& name, bool rename);
    bool CheckDiskChange();
    void Reload();
    // Text kept from a run that ended without saving it (paragraphs joined by CR LF): shown
    // modified, in its encoding, the caret at paragraph para, position pos. The file is not
    // read; its present time stamp is taken, so no reload is offered. False (nothing
    // changed but the text being cleared) when the text breaks the editor's limits.
    bool LoadRecovered(std::string_view joined, TTextEncoding encoding, int32_t para, int32_t pos);
    void GotoLine(int64_t n);
    void ScrollOneLine(bool down, bool keepCaretInView);
    // Hex typing in the top pane's viewer; write errors (EInOutError) propagate.
    bool HexTyped(char ch);

    // ---- editing ----
    void Undo();
    void Redo();
    // False when nothing reached the clipboard.
    bool Copy();
    void Cut();
    void Paste();
    void Clear();
    void SelectAll();

    // ---- search ----
    bool Search(std::string_view text, TSearchOptions options);
    // Refused (-1) for binary and read-only documents; else as the editor's Replace.
    int32_t Replace(std::string_view text, std::string_view with, TSearchOptions options);
    // Text only: a line added at the end (tool output); 0 or the editor's error code.
    uint16_t AppendPara(std::string_view text);

    // ---- settings ----
    void SetTabs(bool realTabs, int32_t size);
    void SetBackups(bool text, bool binary);
    void SetAutoIndent(bool on);
    void SetShowBookmarks(bool on);
    void SetWordWrap(bool on);
    void SetHexMask(bool on);
    void ApplyCaretShapes(bool verticalCarets);
    void ApplySettings();

    void CheckInvariants() const;

private:
    void SetNames(const std::string& path);
    void CreateTextEditor();
    void CreateBinViewer();
    void LoadText(TDecodedText* preloaded);
    void LoadBinary();
    void NoteSplitLines();
    void RefreshButton();
    void ShowLoadError();
    // Runs a load of the text; false when it failed, with tooLarge set when the text did not
    // fit. Other errors are shown here.
    bool RunTextLoad(const std::function<void()>& load, bool& tooLarge);
    bool FileWritable() const;
    void NoteDiskStamp();
    void AttachBinary(TEditFile& doc);
    void AttachText(TEditFile& doc);

    TDocumentServices& m_services;
    bool m_isBottomView = false;
    bool m_named = false;
    std::string m_fileName;
    std::string m_shortName;
    std::string m_ext;
    TFileTime m_fileTime = 0;
    int64_t m_fileSize = -1;
    double m_loadedAt = 0;
    bool m_loadFailed = false;
    bool m_loadTooLarge = false;
    bool m_binary = false;
    bool m_readOnlyWanted = false;
    TEditFile* m_source = nullptr; // only in the second pane's view
    std::unique_ptr<TTFEditor> m_textEditor;
    std::unique_ptr<TAFViewer> m_binViewer;
    bool m_toolBusy = false;
    // Rows of a binary file may run past 32 bits.
    int64_t m_savedTopLine = 1;
    int64_t m_savedCaretLine = 1;
    int32_t m_savedCaretCol = 1;
    bool m_splitNoticeShown = false;
    TFileButtonState m_button;
};

// "&" doubled, so that a menu or button shows it instead of underlining the next character.
std::string DoubleAmpersands(const std::string& text);
// The name part of a path (after the last "\" or "/") and its extension with the dot.
std::string PathNamePart(const std::string& path);
std::string PathExtension(const std::string& path);
// The path up to and including its last "\" or "/"; empty when there is none.
std::string PathDirectory(const std::string& path);

} // namespace wexly
