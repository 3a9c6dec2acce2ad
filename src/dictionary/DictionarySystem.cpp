#include "dictionary/DictionarySystem.h"

#include "dictionary/LineFile.h"
#include "documents/EditFile.h"
#include "editor/LineReader.h"
#include "editor/TextFile.h"

namespace wexly {

TDictionarySystem::TDictionarySystem(TSettings& settings, IFileSystem& fs, IAsker& asker)
    : m_settings(settings)
    , m_fs(fs)
    , m_asker(asker)
{
}

void TDictionarySystem::ShowError(const std::string& text)
{
    m_asker.Ask(ErrorBox(text));
}

TDictionarySystem::TLoad TDictionarySystem::Load()
{
    if (m_settings.LastDic.empty())
        return TLoad::Loaded;
    std::vector<std::string> lines;
    try {
        lines = ReadLineFile(m_fs, m_settings.LastDic);
    } catch (const EInOutError& e) {
        ShowError(e.what());
        return TLoad::Unreadable;
    }
    auto contents = ParseDicFile(lines);
    if (!contents) {
        ShowError(kDictionaryCorrupt);
        return TLoad::Corrupt;
    }
    m_dictionary.Assign(m_settings.LastDic, *contents);
    return TLoad::Loaded;
}

bool TDictionarySystem::LoadCurrent()
{
    return Load() == TLoad::Loaded;
}

void TDictionarySystem::StartUp()
{
    LoadCurrent();
}

bool TDictionarySystem::Choose(const std::string& path)
{
    std::string previous = m_settings.LastDic;
    m_settings.LastDic = path;
    switch (Load()) {
    case TLoad::Loaded:
        m_settings.DicOn = true;
        return true;
    case TLoad::Unreadable:
        // Nothing was read, so the dictionary in use stays in use, as it was.
        m_settings.LastDic = std::move(previous);
        return false;
    case TLoad::Corrupt:
        break;
    }
    m_settings.LastDic.clear();
    m_settings.DicOn = false;
    return false;
}

void TDictionarySystem::MaintenanceClosed()
{
    if (!m_settings.LastDic.empty())
        LoadCurrent();
}

TDicMenu TDictionarySystem::Menu() const
{
    TDicMenu menu;
    menu.current.caption = m_settings.LastDic.empty()
        ? std::string("Current: None")
        : "Current: " + DoubleAmpersands(m_settings.LastDic);
    menu.current.hint = "Currently active dictionary";
    menu.active
        = { "Active", "Switches on and off the dictionary system", "Ctrl+D", m_settings.DicOn };
    menu.maintain = { "&Maintain...", "Edit your dictionaries", "", false };
    return menu;
}

void TDictionarySystem::EdKeyPress(TEditFile* focusFile, char ch)
{
    if (!focusFile || focusFile->Binary() || !focusFile->TextEditor())
        return;
    ReplaceWordBeforeCaret(*focusFile->TextEditor(), ch);
}

bool TDictionarySystem::ReplaceWordBeforeCaret(TOvcCustomEditor& editor, char ch)
{
    if (m_settings.LastDic.empty() || !m_settings.DicOn || editor.CaretCol() <= 1)
        return false;
    if (!IsDicTrigger(ch) || editor.ReadOnly())
        return false;
    // Only the part of the word left of the caret is the word just finished: a trigger typed
    // inside a word splits it, and the part right of the caret is not replaced.
    std::string_view para = editor.GetPara(editor.CaretPara());
    const TCharSet& delims = editor.DelimiterSet();
    int32_t start = LastWordStartInPara(para, editor.CaretPos(), delims);
    int32_t end = editor.CaretPos() - 1; // 0-based caret offset in the paragraph
    if (start < 0 || start >= end)
        return false;
    std::string word(para.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
    auto replacement = m_dictionary.Lookup(word);
    if (!replacement)
        return false;
    // Paragraph positions, so a word that wrapped onto the caret's display line is still
    // selected whole.
    int32_t line1 = editor.CaretPara();
    int32_t col1 = start + 1;
    editor.ParaToLine(line1, col1);
    // One status update for the selection and the replacement, also when the editor raises a
    // limit error.
    struct TUpdateGuard
    {
        TOvcCustomEditor& e;
        explicit TUpdateGuard(TOvcCustomEditor& ed)
            : e(ed)
        {
            e.BeginUpdate();
        }
        ~TUpdateGuard() { e.EndUpdate(); }
    } guard(editor);
    editor.SetSelection(line1, col1, true, editor.CaretLine(), editor.CaretCol());
    editor.SetSelTextBuf(*replacement);
    return true;
}

} // namespace wexly
