#include "editor/OvcCustomEditor.h"

#include "platform/Ui.h"

#include <algorithm>
#include <cassert>

namespace wexly {

const std::string_view kDefaultWordDelimiters("\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*");

// ---- Operations and events -----------------------------------------------------------

TOvcCustomEditor::TOperation::TOperation(TOvcCustomEditor& e)
    : m_e(e)
{
    ++m_e.m_opDepth;
}

TOvcCustomEditor::TOperation::~TOperation()
{
    if (--m_e.m_opDepth == 0) {
        try {
            m_e.FlushEvents();
        } catch (...) {
            // A handler failing must not unwind a destructor; the next operation reports.
        }
    }
}

void TOvcCustomEditor::EndUpdate()
{
    if (m_opDepth > 0 && --m_opDepth == 0)
        FlushEvents();
}

void TOvcCustomEditor::FlushEvents()
{
    if (m_topLine != m_reportedTopLine) {
        m_reportedTopLine = m_topLine;
        if (OnTopLineChanged)
            OnTopLineChanged(m_topLine);
    }
    if (m_statusPending) {
        m_statusPending = false;
        if (OnShowStatus)
            OnShowStatus(m_caret.line, CaretScreenCol());
    }
}

void TOvcCustomEditor::DoOnChange()
{
    if (OnChange)
        OnChange();
}

void TOvcCustomEditor::DoOnError(uint16_t code)
{
    if (OnError)
        OnError(code);
    else
        throw EEditorError(code);
}

void TOvcCustomEditor::DoOnUserCommand(TCommandCode command)
{
    if (OnUserCommand)
        OnUserCommand(command);
}

void TOvcCustomEditor::Beep() const
{
    if (m_platform.beeper)
        m_platform.beeper->Beep();
}

// ---- Construction and sharing --------------------------------------------------------

TOvcCustomEditor::TOvcCustomEditor(TEditorPlatform platform)
    : m_platform(platform)
    , m_list(std::make_shared<TOvcParaList>())
{
    m_list->AddObserver(this);
    SetWordDelimiters(kDefaultWordDelimiters);
}

TOvcCustomEditor::~TOvcCustomEditor()
{
    LeaveBuffer();
}

void TOvcCustomEditor::LeaveBuffer()
{
    m_list->RemoveObserver(this);
    m_ringPrev->m_ringNext = m_ringNext;
    m_ringNext->m_ringPrev = m_ringPrev;
    m_ringNext = m_ringPrev = this;
}

void TOvcCustomEditor::JoinRing(TOvcCustomEditor& other)
{
    m_ringNext = other.m_ringNext;
    m_ringPrev = &other;
    other.m_ringNext->m_ringPrev = this;
    other.m_ringNext = this;
}

void TOvcCustomEditor::Attach(TOvcCustomEditor& other)
{
    if (&other == this || other.m_list == m_list)
        return;
    TOperation op(*this);
    LeaveBuffer();
    m_list = other.m_list;
    JoinRing(other);
    m_list->AddObserver(this);
    m_caret = m_selStart = m_selEnd = TEdPosition {};
    m_movingEndIsEnd = true;
    m_topLine = 1;
    m_topAnchor = { 1, 1 };
    m_leftColumn = 0;
    ApplyWrapToWindow();
    PositionChanged();
}

void TOvcCustomEditor::DeleteAll()
{
    TOperation op(*this);
    if (IsShared()) {
        auto fresh = std::make_shared<TOvcParaList>(m_list->UndoSize());
        fresh->SetByteLimit(m_list->ByteLimit());
        fresh->SetParaLimit(m_list->ParaLimit());
        fresh->SetMaxParaLen(m_list->MaxParaLen());
        fresh->SetTabSize(m_list->TabSize());
        fresh->SetWrapColumn(m_list->WrapColumn());
        fresh->SetWordWrap(m_list->WordWrap());
        LeaveBuffer();
        m_list = std::move(fresh);
        m_list->AddObserver(this);
        edResetPositionInfo();
    } else {
        m_list->Reset();
    }
    ResetAllViews();
}

void TOvcCustomEditor::ResetAllViews()
{
    TOvcCustomEditor* e = this;
    do {
        e->m_caret = e->m_selStart = e->m_selEnd = TEdPosition {};
        e->m_movingEndIsEnd = true;
        e->m_topLine = 1;
        e->m_topAnchor = { 1, 1 };
        e->m_leftColumn = 0;
        e->PositionChanged();
        e = e->m_ringNext;
    } while (e != this);
}

// ---- Properties ------------------------------------------------------------------------

void TOvcCustomEditor::SetWordDelimiters(std::string_view v)
{
    m_wordDelimiters = std::string(v);
    m_delims = TCharSet(v);
}

void TOvcCustomEditor::SetScrollPastEnd(bool v)
{
    m_scrollPastEnd = v;
    if (!v && m_caret.col > MaxCol(m_caret.line)) {
        TOperation op(*this);
        SetCaret(FromLineCol(m_caret.line, MaxCol(m_caret.line)));
        edResetHighlight();
    }
}

void TOvcCustomEditor::SetWrapAtLeft(bool v)
{
    m_wrapAtLeft = v || WordWrap();
}

void TOvcCustomEditor::SetWordWrap(bool v)
{
    TOperation op(*this);
    if (v) {
        m_wrapAtLeft = true;
        SetScrollPastEnd(false);
        ApplyWrapToWindow();
    }
    m_list->SetWordWrap(v);
    ClampTopLine();
}

void TOvcCustomEditor::SetWrapColumn(int32_t v)
{
    m_wrapColumn = std::clamp(v, 1, kMaxParaLen);
    if (!m_wrapToWindow) {
        TOperation op(*this);
        m_list->SetWrapColumn(m_wrapColumn);
        ClampTopLine();
    }
}

void TOvcCustomEditor::SetWrapToWindow(bool v)
{
    TOperation op(*this);
    m_wrapToWindow = v;
    ApplyWrapToWindow();
    ClampTopLine();
}

void TOvcCustomEditor::ApplyWrapToWindow()
{
    if (!m_wrapToWindow)
        m_list->SetWrapColumn(m_wrapColumn);
    else if (m_visibleColumns > 2)
        m_list->SetWrapColumn(m_visibleColumns - 2);
}

void TOvcCustomEditor::SetTabSize(int32_t v)
{
    TOperation op(*this);
    m_list->SetTabSize(v);
}

void TOvcCustomEditor::SetParaLengthLimit(int32_t v)
{
    if (v >= 1 && v <= kMaxParaLen)
        m_list->SetMaxParaLen(v);
}

// ---- Positions -------------------------------------------------------------------------

TEdPosition TOvcCustomEditor::FromParaPos(int32_t para, int32_t pos) const
{
    TEdPosition p;
    p.para = std::clamp(para, 1, m_list->ParaCount());
    p.pos = std::max(pos, 1);
    p.line = m_list->FindLineByPara(p.para, p.pos, p.col);
    return p;
}

TEdPosition TOvcCustomEditor::FromLineCol(int32_t line, int32_t col) const
{
    TEdPosition p;
    p.line = std::clamp(line, 1, m_list->LineCount());
    p.col = std::max(col, 1);
    int32_t offset = 0;
    p.para = m_list->FindParaByLine(p.line, offset);
    p.pos = offset + p.col;
    return p;
}

int32_t TOvcCustomEditor::MaxCol(int32_t line) const
{
    std::string_view text = m_list->NthLine(line);
    auto len = static_cast<int32_t>(text.size());
    if (!m_scrollPastEnd)
        return len + 1;
    int32_t offset = 0;
    int32_t para = m_list->FindParaByLine(line, offset);
    // Only the last display line of a paragraph (the one that runs to its end) has room past
    // its end; an earlier one continues on the next line.
    if (para == 0 || offset + len < m_list->ParaLength(para))
        return len + 1;
    int32_t limit = ParaLengthLimit();
    int32_t byTabs = m_list->ActualCol(text, limit) + 1;
    return std::max(std::min(limit + 1 - offset, byTabs), len + 1);
}

int32_t TOvcCustomEditor::ScreenCol(int32_t line, int32_t col) const
{
    return m_list->EffCol(m_list->NthLine(line), col);
}

int32_t TOvcCustomEditor::ColAtScreen(int32_t line, int32_t screenCol) const
{
    return m_list->ActualCol(m_list->NthLine(line), std::max(screenCol, 1));
}

int32_t TOvcCustomEditor::CaretScreenCol() const
{
    return ScreenCol(m_caret.line, m_caret.col);
}

void TOvcCustomEditor::RefreshPositions()
{
    m_caret = FromParaPos(m_caret.para, m_caret.pos);
    m_selStart = FromParaPos(m_selStart.para, m_selStart.pos);
    m_selEnd = FromParaPos(m_selEnd.para, m_selEnd.pos);
    int32_t col = 0;
    m_topLine = m_list->FindLineByPara(m_topAnchor.Para, m_topAnchor.Pos, col);
    ClampTopLine();
}

// ---- Buffer notifications: positions follow the text ---------------------------------

namespace {

template <class Fix>
void FixPositions(TEdPosition& caret, TEdPosition& s, TEdPosition& e, TMarker& top, Fix fix)
{
    for (TEdPosition* p : { &caret, &s, &e }) {
        TMarker m { p->para, p->pos };
        fix(m);
        p->para = m.Para;
        p->pos = m.Pos;
    }
    fix(top);
}

} // namespace

void TOvcCustomEditor::edUpdateOnInsertedText(int32_t para, int32_t pos, int32_t count)
{
    FixPositions(m_caret, m_selStart, m_selEnd, m_topAnchor, [&](TMarker& m) {
        if (m.Para == para) // text edits move only positions in their paragraph
            FixOnInsertedText(m, TAnchorKind::Selection, para, pos, count);
    });
    if (!m_list->InPositionBatch())
        RefreshPositions();
}

void TOvcCustomEditor::edUpdateOnDeletedText(int32_t para, int32_t pos, int32_t count)
{
    FixPositions(m_caret, m_selStart, m_selEnd, m_topAnchor, [&](TMarker& m) {
        if (m.Para == para)
            FixOnDeletedText(m, TAnchorKind::Selection, para, pos, count);
    });
    if (!m_list->InPositionBatch())
        RefreshPositions();
}

void TOvcCustomEditor::edUpdateOnInsertedPara(int32_t para, int32_t pos, int32_t indent)
{
    FixPositions(m_caret, m_selStart, m_selEnd, m_topAnchor,
        [&](TMarker& m) { FixOnInsertedPara(m, TAnchorKind::Selection, para, pos, indent); });
    if (!m_list->InPositionBatch())
        RefreshPositions();
}

void TOvcCustomEditor::edUpdateOnDeletedPara(int32_t para)
{
    int32_t count = m_list->ParaCount();
    FixPositions(m_caret, m_selStart, m_selEnd, m_topAnchor,
        [&](TMarker& m) { FixOnDeletedPara(m, TAnchorKind::Selection, para, count); });
    if (!m_list->InPositionBatch())
        RefreshPositions();
}

void TOvcCustomEditor::edUpdateOnJoinedParas(int32_t para, int32_t pos)
{
    FixPositions(m_caret, m_selStart, m_selEnd, m_topAnchor,
        [&](TMarker& m) { FixOnJoinedParas(m, TAnchorKind::Selection, para, pos); });
    if (!m_list->InPositionBatch())
        RefreshPositions();
}

void TOvcCustomEditor::edResetPositionInfo()
{
    RefreshPositions();
}

// ---- Viewport --------------------------------------------------------------------------

int32_t TOvcCustomEditor::MaxTopLine() const
{
    return std::max(1, m_list->LineCount() - m_visibleRows + 1);
}

void TOvcCustomEditor::ClampTopLine()
{
    int32_t top = std::clamp(m_topLine, 1, MaxTopLine());
    if (top != m_topLine || m_topAnchor.Para == 0)
        SetTopLine(top);
}

void TOvcCustomEditor::SetTopLine(int32_t line)
{
    m_topLine = std::clamp(line, 1, MaxTopLine());
    int32_t offset = 0;
    int32_t para = m_list->FindParaByLine(m_topLine, offset);
    m_topAnchor = { para, offset + 1 };
}

void TOvcCustomEditor::SetLeftColumn(int32_t col)
{
    m_leftColumn = std::max(col, 0);
}

void TOvcCustomEditor::SetVisibleSize(int32_t rows, int32_t columns)
{
    TOperation op(*this);
    rows = std::max(rows, 1);
    columns = std::max(columns, 1);
    bool widthChanged = columns != m_visibleColumns;
    m_visibleRows = rows;
    m_visibleColumns = columns;
    if (widthChanged && m_wrapToWindow && WordWrap())
        ApplyWrapToWindow();
    ClampTopLine();
}

void TOvcCustomEditor::ScrollLines(int32_t delta)
{
    TOperation op(*this);
    SetTopLine(m_topLine + delta);
}

TEdScrollInfo TOvcCustomEditor::VertScrollInfo() const
{
    TEdScrollInfo info;
    int32_t lines = m_list->LineCount();
    int32_t scrollable = lines - m_visibleRows + 1;
    info.scale = scrollable <= 32767 ? 1 : (scrollable / 32768) * 2;
    info.min = 1;
    info.max = std::max(1, lines / info.scale);
    info.page = m_visibleRows;
    info.pos = m_topLine / info.scale;
    return info;
}

void TOvcCustomEditor::EnsureCaretVisible(bool pageMove, int32_t oldRow)
{
    int32_t line = m_caret.line;
    if (pageMove && (line < m_topLine || line >= m_topLine + m_visibleRows))
        SetTopLine(line - oldRow);
    if (line < m_topLine)
        SetTopLine(line);
    else if (line >= m_topLine + m_visibleRows)
        SetTopLine(line - m_visibleRows + 1);

    int32_t sc = CaretScreenCol();
    if (sc <= m_leftColumn)
        m_leftColumn = std::max(0, sc - 2);
    else if (sc > m_leftColumn + m_visibleColumns)
        m_leftColumn = sc - m_visibleColumns;
}

// ---- Caret and selection ---------------------------------------------------------------

void TOvcCustomEditor::edResetHighlight()
{
    int32_t end = m_list->ParaLength(m_caret.para) + 1;
    m_selStart = m_caret.pos > end ? FromParaPos(m_caret.para, end) : m_caret;
    m_selEnd = m_selStart;
    m_movingEndIsEnd = true;
}

void TOvcCustomEditor::ExtendSelectionToCaret()
{
    (m_movingEndIsEnd ? m_selEnd : m_selStart) = m_caret;
    auto before = [](const TEdPosition& a, const TEdPosition& b) {
        return a.para < b.para || (a.para == b.para && a.pos < b.pos);
    };
    if (before(m_selEnd, m_selStart)) {
        std::swap(m_selStart, m_selEnd);
        m_movingEndIsEnd = !m_movingEndIsEnd;
    }
}

void TOvcCustomEditor::MoveCaretTo(int32_t para, int32_t pos, bool extend)
{
    para = std::clamp(para, 1, m_list->ParaCount());
    int32_t limit = m_scrollPastEnd ? ParaLengthLimit() : m_list->ParaLength(para);
    pos = std::clamp(pos, 1, std::max(limit, m_list->ParaLength(para)) + 1);
    int32_t oldLine = m_caret.line;
    if (extend && !HasSelection())
        edResetHighlight();
    SetCaret(FromParaPos(para, pos));
    if (extend)
        ExtendSelectionToCaret();
    else
        edResetHighlight();
    int32_t oldLeft = m_leftColumn;
    EnsureCaretVisible();
    if (m_caret.line > oldLine && m_leftColumn != oldLeft) {
        // A later line starts from the left edge when the view has to move anyway.
        m_leftColumn = 0;
        EnsureCaretVisible();
    }
}

void TOvcCustomEditor::MoveCaretToLine(int32_t line, int32_t col, bool extend)
{
    line = std::clamp(line, 1, m_list->LineCount());
    col = std::clamp(col, 1, MaxCol(line));
    TEdPosition p = FromLineCol(line, col);
    int32_t oldLine = m_caret.line;
    if (extend && !HasSelection())
        edResetHighlight();
    SetCaret(p);
    if (extend)
        ExtendSelectionToCaret();
    else
        edResetHighlight();
    int32_t oldLeft = m_leftColumn;
    EnsureCaretVisible();
    if (m_caret.line > oldLine && m_leftColumn != oldLeft) {
        m_leftColumn = 0;
        EnsureCaretVisible();
    }
}

bool TOvcCustomEditor::HasSelection() const
{
    return m_selStart.para != m_selEnd.para || m_selStart.pos != m_selEnd.pos;
}

void TOvcCustomEditor::GetSelection(
    int32_t& line1, int32_t& col1, int32_t& line2, int32_t& col2) const
{
    line1 = m_selStart.line;
    col1 = m_selStart.col;
    line2 = m_selEnd.line;
    col2 = m_selEnd.col;
}

void TOvcCustomEditor::SetSelection(
    int32_t line1, int32_t col1, bool caretAtEnd, int32_t line2, int32_t col2)
{
    if (m_list->ByteCount() == 0 && m_list->ParaCount() == 1)
        return;
    TOperation op(*this);
    auto clampEnd = [&](int32_t line, int32_t col) {
        line = std::clamp(line, 1, m_list->LineCount());
        return FromLineCol(line, std::clamp(col, 1, MaxCol(line)));
    };
    TEdPosition a = clampEnd(line1, col1);
    TEdPosition b = clampEnd(line2, col2);
    SetCaret(caretAtEnd ? a : b);
    edResetHighlight();
    SetCaret(caretAtEnd ? b : a);
    ExtendSelectionToCaret();
    EnsureCaretVisible();
}

void TOvcCustomEditor::SelectAll()
{
    int32_t last = m_list->LineCount();
    SetSelection(1, 1, true, last, m_list->LineLength(last) + 1);
}

void TOvcCustomEditor::ClearSelection()
{
    TOperation op(*this);
    edResetHighlight();
}

void TOvcCustomEditor::SetCaretPosition(int32_t line, int32_t col)
{
    if (line < 1 || line > m_list->LineCount() || col < 1)
        throw EEditorIndexError();
    TOperation op(*this);
    MoveCaretToLine(line, col, false);
}

// ---- Invariants ------------------------------------------------------------------------

void TOvcCustomEditor::CheckInvariants() const
{
    auto check = [&](const TEdPosition& p) {
        assert(p.para >= 1 && p.para <= m_list->ParaCount());
        assert(p.pos >= 1 && p.col >= 1);
        int32_t col = 0;
        int32_t line = m_list->FindLineByPara(p.para, p.pos, col);
        // A caret at the end of a wrapped line may sit on that line rather than the next.
        assert((line == p.line && col == p.col) || (line == p.line + 1 && col == 1));
        (void)line;
        (void)col;
    };
    check(m_caret);
    check(m_selStart);
    check(m_selEnd);
    assert(m_selStart.para < m_selEnd.para
        || (m_selStart.para == m_selEnd.para && m_selStart.pos <= m_selEnd.pos));
    assert(m_topLine >= 1 && m_topLine <= MaxTopLine());
    assert(m_leftColumn >= 0);
    (void)check;
}

} // namespace wexly
