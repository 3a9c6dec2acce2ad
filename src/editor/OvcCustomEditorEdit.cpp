// Text-changing commands: typing, Enter, Tab, the deletions, undo and the clipboard.
#include "editor/OvcCustomEditor.h"

#include "platform/Ui.h"

#include <algorithm>
#include <new>
#include <optional>

namespace wexly {

namespace {

constexpr size_t kPasteSlice = 61440;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

bool TOvcCustomEditor::Check(uint16_t code)
{
    if (code == 0)
        return true;
    DoOnError(code);
    return false;
}

void TOvcCustomEditor::AfterEdit(int32_t para, int32_t pos)
{
    MoveCaretTo(para, pos, false);
}

bool TOvcCustomEditor::DoEdit(TCommandCode command, char ch)
{
    switch (command) {
    case ccTypedChar:
        TypeChar(ch);
        break;
    case ccBack:
        Backspace();
        break;
    case ccDel:
        DeleteChar();
        break;
    case ccDelBol:
        DeleteToLineStart();
        break;
    case ccDelEol:
        DeleteToLineEnd();
        break;
    case ccDelLine:
        DeleteLine();
        break;
    case ccDelWord:
        DeleteWord();
        break;
    case ccCut:
        CutToClipboard();
        break;
    case ccPaste:
        PasteFromClipboard();
        break;
    case ccUndo:
        Undo();
        break;
    case ccRedo:
        Redo();
        break;
    case ccTab:
        DoTab();
        break;
    case ccNewLine:
        if (NewLine())
            DoOnChange();
        return true;
    default:
        return false;
    }
    DoOnChange();
    return true;
}

bool TOvcCustomEditor::ProcessUntranslatedEnter()
{
    if (!m_wantEnter)
        return false;
    return ProcessCommand(ccNewLine, 0);
}

bool TOvcCustomEditor::ProcessUntranslatedTab()
{
    if (!m_wantTab)
        return false;
    TOperation op(*this);
    DoTab();
    DoOnChange();
    return true;
}

// ---- Typing ----------------------------------------------------------------------------

void TOvcCustomEditor::TypeChar(char ch)
{
    // A paragraph never holds a line end or a NUL; such characters are not text to insert.
    if (m_readOnly || ch == '\0' || ch == '\r' || ch == '\n')
        return;
    // Only a replaced selection needs its own bracket: a bare character must stay free to
    // merge with the typing before it.
    std::optional<TComplexOp> undo;
    if (HasSelection())
        undo.emplace(m_list->UndoBuffer());
    bool hadSelection = DeleteSelection();
    int32_t para = m_caret.para;
    int32_t pos = m_caret.pos;
    uint16_t code = 0;
    if (hadSelection || m_insertMode || pos > m_list->ParaLength(para))
        code = m_list->InsertTextPrim(para, pos, &ch, 1);
    else
        code = m_list->ReplaceText(para, pos, 1, &ch, 1);
    if (Check(code))
        AfterEdit(para, pos + 1);
}

bool TOvcCustomEditor::NewLine()
{
    if (!m_insertMode || m_readOnly) {
        int32_t para = m_caret.para;
        TOperation op(*this);
        if (para < m_list->ParaCount())
            MoveCaretTo(para + 1, 1, false);
        else
            MoveCaretTo(para, m_list->ParaLength(para) + 1, false);
        return false;
    }
    bool changed = DeleteSelection();
    int32_t indent = 0;
    if (m_autoIndent) {
        std::string_view line = m_list->NthLine(m_caret.line);
        int32_t blanks = 0;
        while (blanks < static_cast<int32_t>(line.size())
            && IsBlank(line[static_cast<size_t>(blanks)]))
            ++blanks;
        int32_t width = m_list->EffCol(line, blanks + 1) - 1;
        indent = std::min(width, CaretScreenCol() - 1);
    }
    int32_t para = m_caret.para;
    int32_t tabSize = m_tabType == TTabType::ttReal ? m_list->TabSize() : 0;
    if (!Check(m_list->BreakPara(para, true, indent, tabSize, m_caret.pos)))
        return changed;
    AfterEdit(para + 1, indent + 1);
    return true;
}

// ---- Tab -------------------------------------------------------------------------------

int32_t TOvcCustomEditor::SmartTabTarget() const
{
    int32_t screen = CaretScreenCol();
    for (int32_t line : { m_caret.line - 1, m_caret.line + 1 }) {
        if (line < 1 || line > m_list->LineCount())
            continue;
        std::string_view text = m_list->NthLine(line);
        auto len = static_cast<int32_t>(text.size());
        int32_t c = m_list->ActualCol(text, screen);
        if (c > len)
            continue;
        // Skip the rest of the word above the caret, then the gap after it.
        while (c <= len && !IsBlank(text[static_cast<size_t>(c - 1)]))
            ++c;
        while (c <= len && IsBlank(text[static_cast<size_t>(c - 1)]))
            ++c;
        if (c <= len)
            return m_list->EffCol(text, c);
    }
    return 0;
}

void TOvcCustomEditor::DoTab()
{
    if (m_readOnly)
        return;
    std::optional<TComplexOp> undo;
    if (HasSelection() || !m_insertMode)
        undo.emplace(m_list->UndoBuffer());
    DeleteSelection();
    if (m_tabType == TTabType::ttReal) {
        TypeChar('\t');
        return;
    }
    int32_t tabSize = m_list->TabSize();
    int32_t n = tabSize * ((m_caret.col - 1) / tabSize + 1) - m_caret.col + 1;
    if (m_tabType == TTabType::ttSmart) {
        int32_t target = SmartTabTarget();
        if (target > CaretScreenCol())
            n = target - CaretScreenCol();
    }
    int32_t para = m_caret.para;
    int32_t pos = m_caret.pos;
    if (!m_insertMode)
        m_list->DeleteText(para, pos, n);
    std::string spaces(static_cast<size_t>(n), ' ');
    if (Check(m_list->InsertTextPrim(para, pos, spaces.data(), n)))
        AfterEdit(para, pos + n);
}

// ---- Deletions ---------------------------------------------------------------------------

bool TOvcCustomEditor::DeleteSelection()
{
    if (!HasSelection())
        return false;
    TEdPosition s = m_selStart;
    TEdPosition e = m_selEnd;
    s.pos = std::min(s.pos, m_list->ParaLength(s.para) + 1);
    e.pos = std::min(e.pos, m_list->ParaLength(e.para) + 1);
    if (s.para == e.para) {
        if (e.pos > s.pos)
            m_list->DeleteText(s.para, s.pos, e.pos - s.pos);
    } else if (!Check(m_list->DeleteBlock(s.para, s.pos, e.para, e.pos))) {
        return false;
    }
    AfterEdit(s.para, s.pos);
    return true;
}

void TOvcCustomEditor::Backspace()
{
    if (m_readOnly) {
        MoveLeft(false);
        return;
    }
    if (DeleteSelection())
        return;
    int32_t para = m_caret.para;
    int32_t pos = m_caret.pos;
    if (pos > 1) {
        if (pos - 1 <= m_list->ParaLength(para))
            m_list->DeleteText(para, pos - 1, 1);
        AfterEdit(para, pos - 1);
    } else if (para > 1) {
        int32_t end = m_list->ParaLength(para - 1) + 1;
        if (Check(m_list->JoinWithNext(para - 1, end)))
            AfterEdit(para - 1, end);
    }
}

void TOvcCustomEditor::DeleteChar()
{
    if (m_readOnly || DeleteSelection())
        return;
    int32_t para = m_caret.para;
    int32_t pos = m_caret.pos;
    if (pos <= m_list->ParaLength(para))
        m_list->DeleteText(para, pos, 1);
    else if (para < m_list->ParaCount() && !Check(m_list->JoinWithNext(para, pos)))
        return;
    AfterEdit(para, pos);
}

void TOvcCustomEditor::DeleteWord()
{
    if (m_readOnly)
        return;
    std::string_view text = m_list->ParaText(m_caret.para);
    auto len = static_cast<int32_t>(text.size());
    int32_t end = m_caret.pos;
    while (end <= len && !edIsWordDelim(text[static_cast<size_t>(end - 1)]))
        ++end;
    while (end <= len && IsBlank(text[static_cast<size_t>(end - 1)]))
        ++end;
    int32_t para = m_caret.para;
    int32_t pos = m_caret.pos;
    if (end > pos)
        m_list->DeleteText(para, pos, end - pos);
    AfterEdit(para, pos);
}

void TOvcCustomEditor::DeleteToLineStart()
{
    if (m_readOnly)
        return;
    int32_t para = m_caret.para;
    int32_t start = CaretLineStart() + 1;
    int32_t count = std::min(m_caret.col - 1, m_list->LineLength(m_caret.line));
    if (count > 0)
        m_list->DeleteText(para, start, count);
    AfterEdit(para, start);
}

void TOvcCustomEditor::DeleteToLineEnd()
{
    if (m_readOnly)
        return;
    int32_t len = m_list->LineLength(m_caret.line);
    if (m_caret.col > len)
        return;
    int32_t para = m_caret.para;
    int32_t pos = m_caret.pos;
    m_list->DeleteText(para, pos, len - m_caret.col + 1);
    AfterEdit(para, pos);
}

void TOvcCustomEditor::DeleteLine()
{
    if (m_readOnly)
        return;
    int32_t line = m_caret.line;
    int32_t screen = CaretScreenCol();
    int32_t para = m_caret.para;
    int32_t start = CaretLineStart() + 1;
    if (line == m_list->LineCount()) {
        m_list->DeleteText(para, start, m_list->LineLength(line));
    } else {
        TEdPosition next = FromLineCol(line + 1, 1);
        if (next.para == para)
            m_list->DeleteText(para, start, next.pos - start);
        else if (!Check(m_list->DeleteBlock(para, start, next.para, next.pos)))
            return;
    }
    line = std::min(line, m_list->LineCount());
    MoveCaretToLine(line, ColAtScreen(line, screen), false);
}

// ---- Undo ------------------------------------------------------------------------------

void TOvcCustomEditor::Undo()
{
    TOperation op(*this);
    int32_t para = 0;
    int32_t pos = 0;
    if (!CanUndo() || !m_list->Undo(para, pos)) {
        Beep();
        return;
    }
    MoveCaretTo(para, pos, false);
}

void TOvcCustomEditor::Redo()
{
    TOperation op(*this);
    int32_t para = 0;
    int32_t pos = 0;
    if (!CanRedo() || !m_list->Redo(para, pos)) {
        Beep();
        return;
    }
    MoveCaretTo(para, pos, false);
}

// ---- Clipboard and block text ------------------------------------------------------------

std::string TOvcCustomEditor::ClipboardBytes() const
{
    std::string text = GetSelTextBuf();
    for (char& c : text) {
        auto b = static_cast<uint8_t>(c);
        if (c == '\r' || c == '\n')
            continue; // the line ends between paragraphs
        if (m_keepClipboardChars ? (b <= 32 && !m_clipboardChars.Contains(c)) : b < 10)
            c = ' ';
    }
    return text;
}

void TOvcCustomEditor::CopyToClipboard()
{
    if (!HasSelection() || !m_platform.clipboard)
        return;
    std::string bytes;
    try {
        bytes = ClipboardBytes();
    } catch (const std::bad_alloc&) {
        DoOnError(oeOutOfMemory);
        return;
    }
    m_platform.clipboard->SetText(bytes);
}

void TOvcCustomEditor::CutToClipboard()
{
    if (!HasSelection())
        return;
    TOperation op(*this);
    CopyToClipboard();
    if (!m_readOnly)
        DeleteSelection();
}

uint16_t TOvcCustomEditor::InsertBlockAtCaret(std::string_view text)
{
    // Text stops at a NUL: a paragraph cannot hold one.
    text = text.substr(0, text.find('\0'));
    int32_t para = m_caret.para;
    int32_t pos = m_caret.pos;
    size_t i = 0;
    while (i < text.size()) {
        size_t end = std::min(text.size(), i + kPasteSlice);
        while (end < text.size() && (text[end] == '\r' || text[end] == '\n'))
            ++end;
        uint16_t code
            = m_list->InsertBlock(para, pos, text.data() + i, static_cast<int32_t>(end - i));
        if (code != 0) {
            AfterEdit(para, pos);
            return code;
        }
        i = end;
    }
    AfterEdit(para, pos);
    return 0;
}

void TOvcCustomEditor::PasteFromClipboard()
{
    if (m_readOnly || !m_platform.clipboard || !m_platform.clipboard->HasText())
        return;
    std::string text = m_platform.clipboard->GetText();
    TOperation op(*this);
    TComplexOp undo(m_list->UndoBuffer());
    DeleteSelection();
    Check(InsertBlockAtCaret(text));
}

void TOvcCustomEditor::SetSelTextBuf(std::string_view text)
{
    TOperation op(*this);
    TComplexOp undo(m_list->UndoBuffer());
    DeleteSelection();
    Check(InsertBlockAtCaret(text));
}

} // namespace wexly
