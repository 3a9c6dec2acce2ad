#include "win32/views/EditorWindow.h"

#include "editor/paint/ViewRows.h"

#include <algorithm>

namespace wexly::win32 {

TEditorWindow::TEditorWindow(TOvcCustomEditor& editor, TOvcCommandProcessor& processor)
    : TCellGridWindow(processor)
    , m_editor(&editor)
{
    Hook();
}

TEditorWindow::~TEditorWindow()
{
    m_editor->OnShowStatus = nullptr;
}

void TEditorWindow::Hook()
{
    m_editor->OnShowStatus = [this](int32_t line, int32_t col) { StatusChanged(line, col); };
}

void TEditorWindow::Bind(TOvcCustomEditor& editor)
{
    if (&editor == m_editor)
        return;
    EndDrag();
    m_editor->OnShowStatus = nullptr;
    m_editor = &editor;
    Hook();
    // A model reports its caret only when it moves, and it may have moved while not shown; the
    // status of the model shown before is no longer news.
    StatusChanged(m_editor->CaretLine(), m_editor->CaretScreenCol());
    ModelReplaced();
}

void TEditorWindow::Unbind(TOvcCustomEditor& editor)
{
    if (&editor != m_editor)
        return;
    Bind(m_empty);
    // They spoke for the document that is going.
    OnShowStatus = nullptr;
    OnKeyPress = nullptr;
}

void TEditorWindow::LendViewSize(TOvcCustomEditor& editor) const
{
    if (m_editor->VisibleRows() > 0 && m_editor->VisibleColumns() > 0)
        editor.SetVisibleSize(m_editor->VisibleRows(), m_editor->VisibleColumns());
}

bool TEditorWindow::ProcessCommand(TCommandCode command, char ch)
{
    bool handled = m_editor->ProcessCommand(command, ch);
    Refresh();
    return handled;
}

std::vector<TGridRow> TEditorWindow::ModelRows(int rows)
{
    return EditorGridRows(*m_editor, rows);
}

bool TEditorWindow::ModelCaretCell(int& row, int& col)
{
    int32_t r = 0, c = 0;
    bool visible = m_editor->CaretCell(r, c);
    row = r;
    col = c;
    return visible;
}

void TEditorWindow::ModelViewSize(int rows, int columns)
{
    m_editor->SetVisibleSize(rows, columns);
}

TCellGridWindow::TBar TEditorWindow::ModelVertBar()
{
    TEdScrollInfo info = m_editor->VertScrollInfo();
    return { info.min, info.max, info.page, info.pos };
}

// The widest paragraph is not tracked, so the bar spans the longest possible line.
TCellGridWindow::TBar TEditorWindow::ModelHorzBar()
{
    int columns = std::max(1, m_editor->VisibleColumns());
    return { 0, m_editor->ParaLengthLimit(), columns, m_editor->LeftColumn() };
}

void TEditorWindow::ModelLeftColumnTo(int column)
{
    int last = std::max(0, m_editor->ParaLengthLimit() - m_editor->VisibleColumns() + 1);
    m_editor->SetLeftColumn(std::clamp(column, 0, last));
}

// Enter is carried out as a command at key down, so its character never comes as a typed one:
// the key-press hook hears of it here, before the line breaks.
bool TEditorWindow::ModelCommand(TCommandCode command, char ch)
{
    if (command == ccNewLine && OnKeyPress)
        OnKeyPress('\r');
    return m_editor->ProcessCommand(command, ch);
}

bool TEditorWindow::ModelUntranslatedKey(UINT vk)
{
    if (vk == VK_RETURN) {
        if (m_editor->WantEnter() && OnKeyPress)
            OnKeyPress('\r');
        return m_editor->ProcessUntranslatedEnter();
    }
    if (vk == VK_TAB)
        return m_editor->ProcessUntranslatedTab();
    return false;
}

void TEditorWindow::ModelChar(char ch)
{
    if (OnKeyPress)
        OnKeyPress(ch);
    m_editor->ProcessCommand(ccTypedChar, ch);
}

void TEditorWindow::ModelMouseDown(int row, int col, bool shift, bool margin)
{
    uint8_t state = shift ? kMouseShift : 0;
    if (margin)
        m_editor->MarginMouseDown(row, state);
    else
        m_editor->MouseDown(row, col, state);
}

void TEditorWindow::ModelDoubleClick(int row, int col, bool shift, bool margin)
{
    if (margin)
        m_editor->MarginDoubleClick(row);
    else
        m_editor->MouseDoubleClick(row, col, shift ? kMouseShift : 0);
}

UINT TEditorWindow::DialogCode() const
{
    UINT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_editor->WantTab())
        code |= DLGC_WANTTAB;
    if (m_editor->WantEnter())
        code |= DLGC_WANTALLKEYS;
    return code;
}

bool TEditorWindow::IsLongCommand(TCommandCode command) const
{
    return command == ccPaste || command == ccUndo || command == ccRedo || command == ccCut;
}

bool TEditorWindow::CustomDrawRow(HDC dc, int row, const RECT& rect)
{
    int32_t line = m_editor->TopLine() + row;
    if (!OnDrawLine || line > m_editor->GetLineCount())
        return false;
    return OnDrawLine(dc, rect, line);
}

} // namespace wexly::win32
