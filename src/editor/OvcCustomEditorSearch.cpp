// Search and replace over the editor's text: scope from the selection, the whole text or the
// caret; the match is selected; replace-all keeps the scope end on the same text.
#include "editor/OvcCustomEditor.h"

#include <algorithm>

namespace wexly {

bool TOvcCustomEditor::Search(std::string_view text, TSearchOptions options)
{
    // An empty text searches nothing, so it finds nothing.
    if (text.empty())
        return false;
    TOperation op(*this);
    options = options.Without(soReplace).Without(soReplaceAll);
    return SearchReplace(text, {}, options) == 0;
}

int32_t TOvcCustomEditor::Replace(
    std::string_view text, std::string_view with, TSearchOptions options)
{
    TOperation op(*this);
    return SearchReplace(text, with, options);
}

void TOvcCustomEditor::SelectMatch(TParaPos at, int32_t length, bool backward)
{
    TEdPosition a = FromParaPos(at.para, at.pos);
    TEdPosition b = FromParaPos(at.para, at.pos + length);
    // The caret goes to the far end in the search direction, so the next search moves on.
    SetCaret(backward ? b : a);
    edResetHighlight();
    SetCaret(backward ? a : b);
    ExtendSelectionToCaret();
    EnsureCaretVisible();
}

int32_t TOvcCustomEditor::SearchReplace(
    std::string_view text, std::string_view with, TSearchOptions options)
{
    text = text.substr(0, std::min(text.size(), kMaxSearchLength));
    with = with.substr(0, std::min(with.size(), kMaxSearchLength));
    // The replacement goes inside one paragraph, which can hold no line end and no NUL.
    with = with.substr(0, std::min(with.size(), with.find_first_of(std::string_view("\r\n\0", 3))));
    if (text.empty())
        return 0;
    const bool backward = options.Has(soBackward);
    const bool replaceAll = options.Has(soReplaceAll);
    const bool replacing = options.Has(soReplace) || replaceAll;
    if (replacing && m_readOnly)
        return -1;
    const TCharSet* whole = options.Has(soWholeWord) ? &m_delims : nullptr;
    TEdSearchPattern pattern(text, options.Has(soMatchCase));
    const auto withLen = static_cast<int32_t>(with.size());
    const auto textLen = static_cast<int32_t>(pattern.Length());

    int32_t count = 0;
    // A selection holding the search text is replaced first. Not for a global or selection
    // replace-all, whose scope covers it anyway: doing it twice would replace the
    // replacement.
    bool scopeCoversSelection = replaceAll && (options.Has(soGlobal) || options.Has(soSelText));
    if (replacing && !scopeCoversSelection && !options.Has(soSelText) && HasSelection()
        && m_selStart.para == m_selEnd.para && pattern.Equals(GetSelTextBuf())) {
        TEdPosition s = m_selStart;
        uint16_t code = m_list->ReplaceText(s.para, s.pos, textLen, with.data(), withLen);
        if (code != 0) {
            DoOnError(code);
            return code;
        }
        ++count;
        MoveCaretTo(s.para, backward ? s.pos : s.pos + withLen, false);
    }

    int32_t lastPara = m_list->ParaCount();
    TParaPos textEnd { lastPara, m_list->ParaLength(lastPara) + 1 };
    TParaPos caret { m_caret.para, m_caret.pos };
    TParaPos from { 1, 1 };
    TParaPos to = textEnd;
    if (options.Has(soSelText)) {
        from = { m_selStart.para, m_selStart.pos };
        to = { m_selEnd.para, m_selEnd.pos };
    } else if (!options.Has(soGlobal)) {
        (backward ? to : from) = caret;
    }

    if (replaceAll) {
        int32_t done
            = ReplaceAllInScope(pattern, with, from, to, backward, whole, options.Has(soSelText));
        if (done < 0)
            return -done;
        count += done;
        return count > 0 ? count : -1;
    }
    auto match = FindInParas(*m_list, pattern, from, to, backward, whole);
    if (!match)
        return count > 0 ? count : -1;
    SelectMatch(*match, textLen, backward);
    return count;
}

// Replacements made, or minus the error code of a failed replace.
int32_t TOvcCustomEditor::ReplaceAllInScope(const TEdSearchPattern& pattern, std::string_view with,
    TParaPos from, TParaPos to, bool backward, const TCharSet* whole, bool selText)
{
    const auto withLen = static_cast<int32_t>(with.size());
    const auto textLen = static_cast<int32_t>(pattern.Length());
    TComplexOp undo(m_list->UndoBuffer());
    // Caret, selection and top line of every view follow each replacement by paragraph and
    // position; their lines are worked out once at the end, not per hit.
    TPositionBatch batch(*m_list);
    int32_t count = 0;
    TParaPos cur = backward ? to : from;
    while (true) {
        auto match = backward ? FindInParas(*m_list, pattern, from, cur, true, whole)
                              : FindInParas(*m_list, pattern, cur, to, false, whole);
        if (!match)
            break;
        uint16_t code = m_list->ReplaceText(match->para, match->pos, textLen, with.data(), withLen);
        if (code != 0) {
            batch.End();
            DoOnError(code);
            return -static_cast<int32_t>(code);
        }
        ++count;
        // The scope end stays on the same text as the paragraph grows or shrinks.
        if (match->para == to.para)
            to.pos += withLen - textLen;
        cur = backward ? *match : TParaPos { match->para, match->pos + withLen };
    }
    batch.End();
    if (selText) {
        TEdPosition a = FromParaPos(from.para, from.pos);
        TEdPosition b = FromParaPos(to.para, to.pos);
        SetCaret(a);
        edResetHighlight();
        SetCaret(b);
        ExtendSelectionToCaret();
    } else {
        edResetHighlight();
    }
    return count;
}

} // namespace wexly
