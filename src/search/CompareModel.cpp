#include "search/CompareModel.h"

namespace wexly {

TCompareModel::TCompareModel(TDocumentSet& set, IBeeper& beeper)
    : m_set(set)
    , m_beeper(beeper)
{
}

bool TCompareModel::Available() const
{
    return !m_set.Empty() && m_set.SplitOn() && m_set.TopFile() && m_set.BottomView();
}

TCompareModel::TWalk TCompareModel::StartAt(TEditFile* doc)
{
    TWalk walk;
    if (doc && !doc->Binary() && doc->TextEditor()) {
        walk.editor = doc->TextEditor();
        walk.para = walk.editor->CaretPara();
        walk.pos = walk.editor->CaretPos();
    }
    return walk;
}

void TCompareModel::Step(TWalk& walk)
{
    walk.found = false;
    walk.word.clear();
    if (!walk.editor)
        return;
    walk.found = walk.editor->GetNextWord(walk.word, walk.para, walk.pos);
    // At the end the walk reports the last paragraph's length as its position; the caret
    // belongs after the last character (and an empty last paragraph has no position 0).
    if (!walk.found)
        walk.pos += 1;
}

void TCompareModel::Show(const TWalk& walk)
{
    if (!walk.editor)
        return;
    TTFEditor& ed = *walk.editor;
    int32_t line1 = walk.para;
    int32_t col1 = walk.pos;
    ed.ParaToLine(line1, col1);
    if (walk.word.empty()) {
        ed.SetCaretPosition(line1, col1);
        return;
    }
    int32_t line2 = walk.para;
    int32_t col2 = walk.pos + static_cast<int32_t>(walk.word.size());
    ed.ParaToLine(line2, col2);
    ed.SetSelection(line1, col1, false, line2, col2);
}

bool TCompareModel::NextDifferentWord()
{
    if (!Available())
        return false;
    TWalk top = StartAt(m_set.TopFile());
    TWalk bottom = StartAt(m_set.BottomView());
    for (;;) {
        Step(top);
        Step(bottom);
        if (!top.found && !bottom.found) {
            m_beeper.Beep();
            return false;
        }
        if (top.word != bottom.word)
            break;
    }
    Show(top);
    Show(bottom);
    return true;
}

} // namespace wexly
