#include "win32/views/ViewerWindow.h"

#include "editor/paint/ViewRows.h"
#include "platform/Files.h"

#include <algorithm>

namespace wexly::win32 {

TViewerWindow::TViewerWindow(TOvcCustomFileViewer& viewer, TOvcCommandProcessor& processor)
    : TCellGridWindow(processor)
    , m_viewer(&viewer)
    , m_empty(RealFileSystem())
{
    m_viewer->SetObserver(&m_observer);
}

TViewerWindow::~TViewerWindow()
{
    m_viewer->SetObserver(nullptr);
}

void TViewerWindow::Bind(TOvcCustomFileViewer& viewer)
{
    if (&viewer == m_viewer)
        return;
    EndDrag();
    m_viewer->SetObserver(nullptr);
    m_viewer = &viewer;
    m_viewer->SetObserver(&m_observer);
    m_anchor = {};
    m_mouseMargin = false;
    // As for the editor: the caret may have moved while the model was not shown.
    int32_t col = 0;
    const int64_t line = m_viewer->GetCaretPosition(col);
    StatusChanged(line, col);
    ModelReplaced();
}

void TViewerWindow::Unbind(TOvcCustomFileViewer& viewer)
{
    if (&viewer != m_viewer)
        return;
    Bind(m_empty);
    // They spoke for the document that is going.
    OnShowStatus = nullptr;
    OnUserCommand = nullptr;
    OnKeyPress = nullptr;
}

void TViewerWindow::LendViewSize(TOvcCustomFileViewer& viewer) const
{
    if (m_viewer->GetVisibleRows() > 0 && m_viewer->VisibleColumns() > 0) {
        viewer.SetVisibleRows(m_viewer->GetVisibleRows());
        viewer.SetVisibleColumns(m_viewer->VisibleColumns());
    }
}

bool TViewerWindow::ProcessCommand(TCommandCode command, char ch)
{
    bool handled = m_viewer->ProcessCommand(command, ch);
    Refresh();
    return handled;
}

void TViewerWindow::SetCaretShape(TCaretShape shape)
{
    m_caretShape = shape;
    Refresh();
}

void TViewerWindow::SetLeftMargin(int pixels)
{
    m_leftMargin = std::max(0, pixels);
    SetLeftMarginLine(false);
}

std::vector<TGridRow> TViewerWindow::ModelRows(int rows)
{
    return ViewerGridRows(*m_viewer, rows);
}

bool TViewerWindow::ModelCaretCell(int& row, int& col)
{
    int32_t r = 0, c = 0;
    bool visible = m_viewer->CaretCell(r, c);
    row = r;
    col = c;
    return visible;
}

void TViewerWindow::ModelViewSize(int rows, int columns)
{
    m_viewer->SetVisibleRows(rows);
    m_viewer->SetVisibleColumns(columns);
}

TCellGridWindow::TBar TViewerWindow::ModelVertBar()
{
    TViewerScrollInfo info = m_viewer->VerticalScroll();
    return { 0, static_cast<int>(info.max), static_cast<int>(info.page),
        static_cast<int>(info.pos) };
}

void TViewerWindow::ModelScrollRows(int delta)
{
    m_viewer->SetTopLine(m_viewer->GetTopLine() + delta);
}

TCellGridWindow::TBar TViewerWindow::ModelHorzBar()
{
    return { 0, m_viewer->FullLineLength(), std::max(1, m_viewer->VisibleColumns()),
        m_viewer->LeftColumn() };
}

bool TViewerWindow::ModelCommand(TCommandCode command, char ch)
{
    return m_viewer->ProcessCommand(command, ch);
}

void TViewerWindow::ModelChar(char ch)
{
    if (OnKeyPress)
        OnKeyPress(ch);
}

// The row and column under a cell, scrolling one row when the cell is outside the window.
TViewerPos TViewerWindow::CellPos(int row, int col)
{
    if (row < 0)
        ModelScrollRows(-1);
    else if (row >= m_viewer->GetVisibleRows())
        ModelScrollRows(1);
    row = std::clamp(row, 0, m_viewer->GetVisibleRows() - 1);
    TViewerPos pos;
    pos.line = std::clamp<int64_t>(
        m_viewer->GetTopLine() + row, 0, std::max<int64_t>(0, m_viewer->LineCount() - 1));
    pos.col
        = std::clamp(m_viewer->LeftColumn() + std::max(col, 0), 0, m_viewer->GetLineLength(pos.line));
    return pos;
}

void TViewerWindow::ModelMouseDown(int row, int col, bool shift, bool margin)
{
    if (!m_viewer->IsOpen())
        return;
    TViewerPos pos = CellPos(row, margin ? 0 : col);
    m_mouseMargin = margin;
    if (margin) {
        if (!shift)
            m_anchor = { pos.line, 0 };
        bool down = pos.line >= m_anchor.line;
        TViewerPos end { pos.line, down ? m_viewer->GetLineLength(pos.line) : 0 };
        m_viewer->SetSelection(m_anchor.line, down ? 0 : m_viewer->GetLineLength(m_anchor.line), true,
            end.line, end.col);
        return;
    }
    if (shift && m_viewer->HasSelection()) {
        int64_t l1 = 0, l2 = 0;
        int32_t c1 = 0, c2 = 0;
        m_viewer->GetSelection(l1, c1, l2, c2);
        // Keep the end away from the caret fixed.
        TViewerPos caret = m_viewer->Caret();
        m_anchor = caret == TViewerPos { l1, c1 } ? TViewerPos { l2, c2 } : TViewerPos { l1, c1 };
    } else if (!shift) {
        m_anchor = pos;
    } else {
        m_anchor = m_viewer->Caret();
    }
    m_viewer->SetSelection(m_anchor.line, m_anchor.col, true, pos.line, pos.col);
}

void TViewerWindow::ModelMouseDrag(int row, int col)
{
    if (!m_viewer->IsOpen())
        return;
    TViewerPos pos = CellPos(row, m_mouseMargin ? 0 : col);
    if (m_mouseMargin) {
        bool down = pos.line >= m_anchor.line;
        m_viewer->SetSelection(m_anchor.line, down ? 0 : m_viewer->GetLineLength(m_anchor.line), true,
            pos.line, down ? m_viewer->GetLineLength(pos.line) : 0);
        return;
    }
    m_viewer->SetSelection(m_anchor.line, m_anchor.col, true, pos.line, pos.col);
}

// A double click selects the run of non-blank cells under the pointer (one hex pair, the
// offset, or the character column); in the margin, the whole row.
void TViewerWindow::ModelDoubleClick(int row, int col, bool, bool margin)
{
    if (!m_viewer->IsOpen())
        return;
    TViewerPos pos = CellPos(row, margin ? 0 : col);
    std::string text(m_viewer->GetLine(pos.line));
    auto len = static_cast<int32_t>(text.size());
    int32_t from = margin ? 0 : pos.col;
    int32_t to = margin ? len : pos.col;
    auto blank = [&](int32_t i) { return text[static_cast<size_t>(i)] == ' '; };
    if (!margin && pos.col < len && !blank(pos.col)) {
        while (from > 0 && !blank(from - 1))
            --from;
        while (to < len && !blank(to))
            ++to;
    }
    m_viewer->SetSelection(pos.line, from, true, pos.line, to);
}

void TViewerWindow::TObserver::OnTopLineChanged(int64_t topLine)
{
    if (m_w.OnTopLineChanged)
        m_w.OnTopLineChanged(topLine);
}

void TViewerWindow::TObserver::OnUserCommand(TCommandCode command)
{
    if (m_w.OnUserCommand)
        m_w.OnUserCommand(command);
}

} // namespace wexly::win32
