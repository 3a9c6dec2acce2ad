// The text editor every text document uses: the editor model plus a file name, loading and
// saving through the text file routines, and the word helpers. Borrows the file system.
#pragma once

#include "editor/OvcCustomEditor.h"
#include "editor/TextEncoding.h"
#include "editor/TextFile.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

#include <string>
#include <string_view>

namespace wexly {

// The 32 delimiters of the text editor: no apostrophe, back quote or number sign, so a
// contraction such as don't is one word.
extern const std::string_view kTFEditorWordDelimiters;

class TTFEditor : public TOvcCustomEditor
{
public:
    explicit TTFEditor(
        TEditorPlatform platform = {}, IFileSystem* fs = nullptr, ICodePage* codePage = nullptr);

    const std::string& FileName() const { return m_fileName; }
    // A name that differs (ignoring case) closes the file: IsOpen goes false. Nothing loads.
    void SetFileName(std::string_view name);
    bool IsOpen() const { return m_isOpen; }
    // With a file name: true loads the file, false clears the text.
    void SetIsOpen(bool value);
    bool MakeBackup() const { return m_makeBackup; }
    void SetMakeBackup(bool value) { m_makeBackup = value; }

    // Whether loading converts UTF-8 and UTF-16 files to the code page (off: all are bytes).
    bool ConvertUnicode() const { return m_convertUnicode; }
    void SetConvertUnicode(bool value) { m_convertUnicode = value; }
    // The encoding saving writes: the one the text was last loaded in, or as set.
    TTextEncoding Encoding() const { return m_encoding; }
    void SetEncoding(TTextEncoding encoding) { m_encoding = encoding; }
    // Why the last load left a UTF-8 or UTF-16 file as bytes; empty when it did not.
    const std::string& LoadNote() const { return m_loadNote; }

    // Replaces the text by the file's. A file that cannot be opened leaves everything as it
    // was; a read or limit error clears the text and is raised.
    virtual void LoadFromFile(const std::string& name);
    // The same with the file already read and decoded.
    void LoadDecoded(const std::string& name, TDecodedText decoded);
    // Told how far each load from a file has come.
    TLoadProgress OnLoadProgress;
    // Writes the text in Encoding() (nothing for an empty name) and clears the modified flag;
    // on error the file on disk is untouched and the error is raised.
    virtual void SaveToFile(const std::string& name);
    // Empty text under a new name; nothing is read.
    void NewFile(const std::string& name);
    // Text kept from an earlier run (paragraphs joined by CR LF) under a name, in the encoding
    // saving is to write; nothing is read. Limit errors (ELoadLimitError) clear the text.
    void LoadJoined(const std::string& name, std::string_view joined, TTextEncoding encoding);
    // The last load cut a line longer than the paragraph limit into several paragraphs.
    bool LinesSplitOnLoad() const { return m_linesSplit; }

    // Shares other's text and takes over its file name.
    void Attach(TOvcCustomEditor& other) override;

    // ---- Word helpers ------------------------------------------------------------------
    int32_t WordCount() const;
    // Caret before the bracket matching the one right of the caret; beeps when none.
    void Bracket();
    std::string GetLastWord() const;
    int32_t LastWordStart() const; // 0-based column in the caret's display line, or -1
    bool GetNextWord(std::string& word, int32_t& para, int32_t& pos) const;

private:
    template <typename Load> void LoadWith(const std::string& name, Load&& load);

    IFileSystem& m_fs;
    ICodePage& m_codePage;
    std::string m_fileName;
    bool m_isOpen = false;
    bool m_makeBackup = false;
    bool m_linesSplit = false;
    bool m_convertUnicode = false;
    TTextEncoding m_encoding = TTextEncoding::Ansi;
    std::string m_loadNote;
};

} // namespace wexly
