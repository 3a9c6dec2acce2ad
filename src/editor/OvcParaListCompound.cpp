// Compound edits of TOvcParaList (line breaks, joins, blocks), loading, and undo replay.
#include "editor/EdStrings.h"
#include "editor/OvcParaList.h"
#include "editor/OvcParaListIndex.h"

#include <algorithm>
#include <string>

namespace wexly {

uint16_t TOvcParaList::BreakPara(
    int32_t para, bool trimBlanks, int32_t& indent, int32_t tabSize, int32_t pos)
{
    int32_t first = 0;
    TParaNode* node = MutablePara(para, first);
    if (!node)
        return 0;
    int32_t len = node->m_len;
    pos = std::clamp(pos, 1, len + 1);
    if (pos == 1) {
        indent = 0;
        return InsertParaPrim(para, "", 0);
    }
    int32_t tailLen = len - pos + 1;
    if (!m_inUndoRedo) {
        if (uint16_t err = OkToInsert(0, 1, tailLen + 2))
            return err;
    }
    TComplexOp op(*m_undo);
    RecordCaret(para, pos);
    bool track = m_trackMarkers;
    m_trackMarkers = false;
    uint16_t err = PlaceParaPrim(para, node->Text() + pos - 1, tailLen);
    if (err == 0) {
        if (tailLen > 0) {
            int32_t blanks = trimBlanks ? node->CountWhiteSpace(pos) : 0;
            DeleteText(para, pos - blanks, tailLen + blanks);
        }
        if (indent > 0) {
            std::string s = tabSize > 0 ? std::string(static_cast<size_t>(indent / tabSize), '\t')
                    + std::string(static_cast<size_t>(indent % tabSize), ' ')
                                        : std::string(static_cast<size_t>(indent), ' ');
            auto n = static_cast<int32_t>(s.size());
            indent = InsertTextPrim(para + 1, 1, s.data(), n) == 0 ? n : 0;
        } else {
            indent = 0;
        }
        RecordCaret(para + 1, indent + 1);
    }
    m_trackMarkers = track;
    if (err == 0) {
        NotifyInsertedPara(para, pos, indent);
        m_changedFirstLine = first;
        m_changedLastLine = kChangedToEnd;
    }
    return err;
}

uint16_t TOvcParaList::JoinWithNext(int32_t para, int32_t pos)
{
    int32_t first = 0;
    TParaNode* node = MutablePara(para, first);
    if (!node || para >= m_paraCount)
        return 0;
    pos = std::max(pos, 1);
    const TParaNode* next = node->m_next;
    if (!(pos == 1 && node->m_len == 0) && !m_inUndoRedo) {
        int32_t pad = std::max(0, pos - 1 - node->m_len);
        uint16_t err = OkToInsert(para, 0, next->m_len + pad);
        if (err)
            return err == oeParaTooLongInsert ? static_cast<uint16_t>(oeParaTooLong) : err;
    }
    TComplexOp op(*m_undo);
    bool track = m_trackMarkers;
    m_trackMarkers = false;
    uint16_t err = 0;
    if (pos == 1 && node->m_len == 0) {
        DeletePara(para);
    } else {
        err = InsertTextPrim(para, pos, next->Text(), next->m_len);
        if (err == 0) {
            DeletePara(para + 1);
            RecordCaret(para, pos);
        }
    }
    m_trackMarkers = track;
    if (err == 0) {
        NotifyJoinedParas(para, pos);
        m_changedFirstLine = first;
        m_changedLastLine = kChangedToEnd;
    }
    return err;
}

uint16_t TOvcParaList::DeleteBlock(int32_t para1, int32_t pos1, int32_t para2, int32_t pos2)
{
    if (para1 < 1 || para2 > m_paraCount || para1 > para2 || pos1 < 1 || pos2 < 1)
        return 0;
    if (para1 == para2) {
        DeleteText(para1, pos1, pos2 - pos1);
        return 0;
    }
    int32_t first = FirstLineOfPara(para1);
    int32_t len1 = ParaLength(para1);
    int32_t len2 = ParaLength(para2);
    if (pos1 == 1 && pos2 == 1) {
        TComplexOp op(*m_undo);
        for (int32_t i = para1; i < para2; ++i)
            DeletePara(para1);
    } else {
        // Check the join first, so that a refusal leaves the text untouched.
        int32_t joined = std::min(pos1 - 1, len1) + len2 - std::min(pos2 - 1, len2);
        if (joined > m_maxParaLen)
            return oeParaTooLong;
        TComplexOp op(*m_undo);
        DeleteText(para1, pos1, len1 - pos1 + 1);
        DeleteText(para2, 1, pos2 - 1);
        for (int32_t i = para1 + 1; i < para2; ++i)
            DeletePara(para1 + 1);
        JoinWithNext(para1, ParaLength(para1) + 1);
    }
    m_changedFirstLine = first;
    m_changedLastLine = kChangedToEnd;
    return 0;
}

uint16_t TOvcParaList::InsertBlock(int32_t& para, int32_t& pos, const char* s, int32_t len)
{
    std::string text;
    text.reserve(static_cast<size_t>(std::max(len, 0)));
    // The block is text: it ends at a NUL, which a paragraph may never hold.
    for (int32_t i = 0; i < len && s[i] != '\0'; ++i) {
        if (s[i] != '\r')
            text.push_back(s[i]);
    }
    auto size = static_cast<int32_t>(text.size());
    if (text.find('\n') == std::string::npos) {
        uint16_t err = InsertTextPrim(para, pos, text.data(), size);
        if (err == 0)
            pos += size;
        return err;
    }
    int32_t col = 0;
    int32_t firstLine = FindLineByPara(para, pos, col);
    uint16_t err = 0;
    {
        TComplexOp op(*m_undo);
        size_t start = 0;
        while (start < text.size() && err == 0) {
            size_t lf = text.find('\n', start);
            bool hasLf = lf != std::string::npos;
            size_t end = hasLf ? lf : text.size();
            const char* piece = text.data() + start;
            auto n = static_cast<int32_t>(end - start);
            if (hasLf && pos == 1) {
                err = InsertParaPrim(para, piece, n);
                if (err == 0)
                    ++para;
            } else {
                err = InsertTextPrim(para, pos, piece, n);
                if (err == 0)
                    pos += n;
                int32_t indent = 0;
                if (err == 0 && hasLf)
                    err = BreakPara(para, true, indent, 0, pos);
                if (err == 0 && hasLf) {
                    ++para;
                    pos = 1;
                }
            }
            start = hasLf ? lf + 1 : text.size();
        }
    }
    m_changedFirstLine = std::max(1, firstLine - 1);
    m_changedLastLine = kChangedToEnd;
    return err;
}

uint16_t TOvcParaList::AppendParaEof(const char* s, int32_t len, bool trim)
{
    if (len < 0 || len > kMaxParaLen)
        return oeParaTooLongInsert;
    if (trim) {
        while (len > 0 && edWhiteSpace(s[len - 1]))
            --len;
    }
    auto* node = TParaNode::New(m_pool, s, len, m_tabSize, WrapCol());
    LinkBefore(node, m_paraCount);
    m_byteCount += len + 2;
    ++m_changeCount;
    return 0;
}

uint16_t TOvcParaList::AppendPara(const char* s, int32_t len, bool trim)
{
    for (;;) {
        if (uint16_t err = OkToInsert(0, 1, len + 2))
            return err;
        int32_t piece = len > m_maxParaLen ? edBreakPoint(s, m_maxParaLen) : len;
        AppendParaEof(s, piece, trim);
        s += piece;
        len -= piece;
        if (len == 0)
            return 0;
    }
}

// ---- Undo replay -------------------------------------------------------------------------

void TOvcParaList::ReinsertNode(TParaNode* node, int32_t at)
{
    node->Recalc(WrapCol(), m_tabSize); // the wrap settings may have changed meanwhile
    AttachPara(node, at);
}

void TOvcParaList::ApplyUndo(const TUndoRecord& rec, int32_t& para, int32_t& pos)
{
    switch (rec.Type) {
    case TUndoType::Caret:
        break;
    case TUndoType::InsertText:
        DeleteText(rec.Para, rec.Pos, rec.DataLen);
        break;
    case TUndoType::InsertParaBefore:
        DetachPara(rec.Para);
        break;
    case TUndoType::InsertParaAfter:
        DetachPara(rec.Para + 1);
        break;
    case TUndoType::DeleteText:
        InsertTextPrim(rec.Para, rec.Pos, rec.Data, rec.DataLen);
        break;
    case TUndoType::DeletePara:
        ReinsertNode(rec.Node, rec.Para);
        break;
    case TUndoType::ReplaceText:
        ReplaceText(rec.Para, rec.Pos, rec.NewLen(), rec.OldText(), rec.OldLen());
        break;
    }
    para = rec.Para;
    pos = rec.Pos;
}

void TOvcParaList::ApplyRedo(const TUndoRecord& rec, int32_t& para, int32_t& pos)
{
    para = rec.Para;
    pos = rec.Pos;
    switch (rec.Type) {
    case TUndoType::Caret:
        break;
    case TUndoType::InsertText:
        InsertTextPrim(rec.Para, rec.Pos, rec.Data, rec.DataLen);
        pos = rec.Pos + rec.DataLen;
        break;
    case TUndoType::InsertParaBefore:
        ReinsertNode(rec.Node, rec.Para);
        para = rec.Para + 1;
        pos = 1;
        break;
    case TUndoType::InsertParaAfter:
        ReinsertNode(rec.Node, rec.Para + 1);
        para = rec.Para + 1;
        pos = 1;
        break;
    case TUndoType::DeleteText:
        DeleteText(rec.Para, rec.Pos, rec.DataLen);
        break;
    case TUndoType::DeletePara:
        DetachPara(rec.Para);
        para = std::min(rec.Para, m_paraCount);
        pos = 1;
        break;
    case TUndoType::ReplaceText:
        ReplaceText(rec.Para, rec.Pos, rec.OldLen(), rec.NewText(), rec.NewLen());
        pos = rec.Pos + rec.NewLen();
        break;
    }
}

bool TOvcParaList::Undo(int32_t& para, int32_t& pos)
{
    int link = m_undo->PeekUndoLink();
    if (link < 0)
        return false;
    m_inUndoRedo = true;
    bool modified = m_modified;
    TUndoRecord rec;
    while (m_undo->PeekUndoLink() == link && m_undo->GetUndo(rec)) {
        ApplyUndo(rec, para, pos);
        modified = rec.Modified;
    }
    m_inUndoRedo = false;
    m_modified = modified;
    return true;
}

bool TOvcParaList::Redo(int32_t& para, int32_t& pos)
{
    int link = m_undo->PeekRedoLink();
    if (link < 0)
        return false;
    m_inUndoRedo = true;
    TUndoRecord rec;
    while (m_undo->PeekRedoLink() == link && m_undo->GetRedo(rec, m_modified))
        ApplyRedo(rec, para, pos);
    m_inUndoRedo = false;
    return true;
}

} // namespace wexly
