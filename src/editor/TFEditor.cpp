#include "editor/TFEditor.h"

#include "editor/JoinedText.h"
#include "editor/TextFile.h"

#include <algorithm>
#include <cctype>

namespace wexly {

const std::string_view kTFEditorWordDelimiters("\t\r\n ,./?;:\"<>[]{}-=\\+|()%@&^$!~*");

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x))
            == std::toupper(static_cast<unsigned char>(y));
    });
}

} // namespace

TTFEditor::TTFEditor(TEditorPlatform platform, IFileSystem* fs, ICodePage* codePage)
    : TOvcCustomEditor(platform)
    , m_fs(fs ? *fs : RealFileSystem())
    , m_codePage(codePage ? *codePage : ActiveCodePage())
{
    SetScrollPastEnd(true);
    SetTabType(TTabType::ttFixed);
    SetWantTab(true);
    SetAutoIndent(true);
    SetHideSelection(false);
    SetWordDelimiters(kTFEditorWordDelimiters);
}

void TTFEditor::SetFileName(std::string_view name)
{
    if (SameIgnoringCase(name, m_fileName))
        return;
    m_isOpen = false;
    m_fileName = teFixFileName(name);
}

void TTFEditor::SetIsOpen(bool value)
{
    if (value == m_isOpen || m_fileName.empty())
        return;
    if (value) {
        LoadFromFile(m_fileName);
    } else {
        m_isOpen = false;
        DeleteAll();
    }
}

template <typename Load> void TTFEditor::LoadWith(const std::string& name, Load&& load)
{
    TOperation op(*this);
    m_fileName = teFixFileName(name);
    TLoadResult result;
    try {
        result = load(m_fileName);
    } catch (...) {
        // The text was cleared by the failed load; every view starts over on it.
        m_isOpen = false;
        m_linesSplit = false;
        m_encoding = TTextEncoding::Ansi;
        m_loadNote.clear();
        ResetAllViews();
        throw;
    }
    if (!result.opened)
        return;
    m_linesSplit = result.linesSplit;
    m_encoding = result.encoding;
    TDecodedText note;
    note.found = result.found;
    note.note = result.note;
    m_loadNote = DecodeNoteText(note);
    ResetAllViews();
    m_isOpen = true;
}

void TTFEditor::LoadFromFile(const std::string& name)
{
    LoadWith(name, [&](const std::string& fileName) {
        return LoadTextFile(Buffer(), m_fs, fileName, TrimWhiteSpace(),
            m_convertUnicode ? &m_codePage : nullptr, OnLoadProgress);
    });
}

void TTFEditor::LoadDecoded(const std::string& name, TDecodedText decoded)
{
    LoadWith(name, [&](const std::string& fileName) {
        return LoadDecodedTextFile(
            Buffer(), m_fs, fileName, TrimWhiteSpace(), std::move(decoded), OnLoadProgress);
    });
}

void TTFEditor::LoadJoined(const std::string& name, std::string_view joined, TTextEncoding encoding)
{
    LoadWith(name, [&](const std::string&) {
        if (uint16_t code = LoadJoinedText(Buffer(), joined))
            throw ELoadLimitError(code);
        TLoadResult result;
        result.opened = true;
        result.encoding = result.found = encoding;
        return result;
    });
}

void TTFEditor::SaveToFile(const std::string& name)
{
    if (name.empty())
        return;
    SaveTextFile(Buffer(), m_fs, name, m_makeBackup, m_encoding, &m_codePage);
}

void TTFEditor::NewFile(const std::string& name)
{
    DeleteAll();
    m_linesSplit = false;
    m_encoding = TTextEncoding::Ansi;
    m_loadNote.clear();
    m_fileName = teFixFileName(name);
}

void TTFEditor::Attach(TOvcCustomEditor& other)
{
    TOvcCustomEditor::Attach(other);
    if (auto* tf = dynamic_cast<TTFEditor*>(&other)) {
        m_fileName = tf->m_fileName;
        m_encoding = tf->m_encoding;
    }
}

int32_t TTFEditor::WordCount() const
{
    return wexly::WordCount(Buffer(), DelimiterSet());
}

void TTFEditor::Bracket()
{
    TBracketResult r = wexly::Bracket(Buffer(), { CaretPara(), CaretPos() });
    if (r.notBracket)
        return;
    if (!r.match) {
        Beep();
        return;
    }
    TOperation op(*this);
    MoveCaretTo(r.match->para, r.match->pos, false);
}

std::string TTFEditor::GetLastWord() const
{
    return wexly::GetLastWord(Buffer().ParaText(CaretPara()), CaretPos(), DelimiterSet());
}

int32_t TTFEditor::LastWordStart() const
{
    int32_t start = LastWordStartInPara(Buffer().ParaText(CaretPara()), CaretPos(), DelimiterSet());
    return start < 0 ? -1 : std::max(start - CaretLineStart(), 0);
}

bool TTFEditor::GetNextWord(std::string& word, int32_t& para, int32_t& pos) const
{
    return wexly::GetNextWord(Buffer(), DelimiterSet(), word, para, pos);
}

} // namespace wexly
