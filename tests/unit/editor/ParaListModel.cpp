#include "ParaListModel.h"

#include <algorithm>

namespace wexly::test {

std::vector<int> ReferenceWrap(const std::string& s, int wrap, int tab)
{
    std::vector<int> starts { 0 };
    if (wrap <= 0 || wrap >= 32767 || s.empty())
        return starts;
    auto size = static_cast<int>(s.size());
    bool tabs = s.find('\t') != std::string::npos;
    auto blank = [&](int i) { return i < size && (s[size_t(i)] == ' ' || s[size_t(i)] == '\t'); };
    int start = 0;
    for (;;) {
        int rem = size - start;
        int width = std::min(wrap, rem);
        if (tabs) {
            int col = 0;
            width = 0;
            while (col < wrap) {
                if (start + width >= size) {
                    ++width;
                    break;
                }
                col = s[size_t(start + width)] == '\t' ? (col / tab + 1) * tab : col + 1;
                ++width;
            }
        }
        if (width >= rem)
            break;
        int next = width;
        for (int k = width; k >= 0; --k) {
            char c = s[size_t(start + k)];
            if (c == ' ' || c == '\t' || c == '-') {
                next = c == '-' ? k + 1 : k;
                while (blank(start + next))
                    ++next;
                break;
            }
        }
        if (start + next >= size)
            break;
        start += next;
        starts.push_back(start);
    }
    return starts;
}

int TParaListModel::InsertText(int p, int pos, const std::string& s)
{
    int len = Len(p);
    int pad = std::max(0, pos - 1 - len);
    int total = pad + static_cast<int>(s.size());
    if (total == 0)
        return 0;
    if (len + total > maxParaLen)
        return 268;
    int at = std::min(pos, len + 1);
    Para(p).insert(size_t(at - 1), std::string(size_t(pad), ' ') + s);
    if (track) {
        for (auto& m : marks)
            if (m.para == p && m.pos >= at)
                m.pos += total;
    }
    return 0;
}

void TParaListModel::DeleteText(int p, int pos, int count)
{
    int len = Len(p);
    if (pos < 1 || pos > len || count <= 0)
        return;
    count = std::min(count, len - pos + 1);
    Para(p).erase(size_t(pos - 1), size_t(count));
    if (track) {
        for (auto& m : marks) {
            if (m.para != p || m.pos < pos)
                continue;
            if (m.pos >= pos + count)
                m.pos -= count;
            else
                m = {};
        }
    }
}

int TParaListModel::ReplaceText(int p, int pos, int oldLen, const std::string& s)
{
    int len = Len(p);
    auto newLen = static_cast<int>(s.size());
    if (pos > len || oldLen <= 0)
        return InsertText(p, pos, s);
    oldLen = std::min(oldLen, len - pos + 1);
    if (newLen == 0) {
        DeleteText(p, pos, oldLen);
        return 0;
    }
    if (newLen > oldLen && len + newLen - oldLen > maxParaLen)
        return 268;
    Para(p).replace(size_t(pos - 1), size_t(oldLen), s);
    if (track) {
        for (auto& m : marks) {
            if (m.para != p)
                continue;
            if (newLen > oldLen && m.pos >= pos + oldLen)
                m.pos += newLen - oldLen;
            else if (newLen < oldLen && m.pos >= pos + oldLen)
                m.pos -= oldLen - newLen;
            else if (newLen < oldLen && m.pos >= pos + newLen)
                m = {};
        }
    }
    return 0;
}

int TParaListModel::InsertPara(int p, const std::string& s)
{
    if (static_cast<int>(s.size()) > maxParaLen)
        return 268;
    paras.insert(paras.begin() + (p - 1), s);
    if (track) {
        for (auto& m : marks)
            if (m.para >= p)
                ++m.para;
    }
    return 0;
}

void TParaListModel::DeletePara(int p)
{
    if (paras.size() == 1) {
        DeleteText(1, 1, Len(1));
        return;
    }
    paras.erase(paras.begin() + (p - 1));
    if (track) {
        for (auto& m : marks) {
            if (m.para == p)
                m = {};
            else if (m.para > p)
                --m.para;
        }
    }
}

int TParaListModel::BreakPara(int p, bool trim, int& indent, int tabSize, int pos)
{
    int len = Len(p);
    pos = std::clamp(pos, 1, len + 1);
    if (pos == 1) {
        indent = 0;
        return InsertPara(p, "");
    }
    bool saved = track;
    track = false;
    std::string tail = Para(p).substr(size_t(pos - 1));
    InsertPara(p + 1, tail);
    if (!tail.empty()) {
        int blanks = 0;
        while (trim && pos - 2 - blanks >= 0
            && (Para(p)[size_t(pos - 2 - blanks)] == ' '
                || Para(p)[size_t(pos - 2 - blanks)] == '\t'))
            ++blanks;
        DeleteText(p, pos - blanks, len);
    }
    if (indent > 0) {
        std::string s = tabSize > 0 ? std::string(size_t(indent / tabSize), '\t')
                + std::string(size_t(indent % tabSize), ' ')
                                    : std::string(size_t(indent), ' ');
        indent = InsertText(p + 1, 1, s) == 0 ? static_cast<int>(s.size()) : 0;
    } else {
        indent = 0;
    }
    track = saved;
    if (track) {
        for (auto& m : marks) {
            if (m.para > p)
                ++m.para;
            else if (m.para == p && m.pos >= pos)
                m = { p + 1, indent + m.pos - pos + 1 };
        }
    }
    return 0;
}

int TParaListModel::JoinWithNext(int p, int pos)
{
    if (p >= static_cast<int>(paras.size()))
        return 0;
    bool emptyFirst = pos == 1 && Len(p) == 0;
    if (!emptyFirst && Len(p) + std::max(0, pos - 1 - Len(p)) + Len(p + 1) > maxParaLen)
        return 266;
    bool saved = track;
    track = false;
    if (emptyFirst) {
        DeletePara(p);
    } else {
        InsertText(p, pos, Para(p + 1));
        DeletePara(p + 1);
    }
    track = saved;
    if (track) {
        for (auto& m : marks) {
            if (m.para == p + 1)
                m = { p, m.pos + pos - 1 };
            else if (m.para > p + 1)
                --m.para;
        }
    }
    return 0;
}

int TParaListModel::DeleteBlock(int p1, int pos1, int p2, int pos2)
{
    if (p1 == p2) {
        DeleteText(p1, pos1, pos2 - pos1);
        return 0;
    }
    if (pos1 == 1 && pos2 == 1) {
        for (int i = p1; i < p2; ++i)
            DeletePara(p1);
        return 0;
    }
    int len1 = Len(p1);
    int len2 = Len(p2);
    if (std::min(pos1 - 1, len1) + len2 - std::min(pos2 - 1, len2) > maxParaLen)
        return 266;
    DeleteText(p1, pos1, len1 - pos1 + 1);
    DeleteText(p2, 1, pos2 - 1);
    for (int i = p1 + 1; i < p2; ++i)
        DeletePara(p1 + 1);
    return JoinWithNext(p1, Len(p1) + 1);
}

int TParaListModel::InsertBlock(int& p, int& pos, const std::string& s)
{
    std::string text;
    for (char c : s)
        if (c != '\r')
            text.push_back(c);
    if (text.find('\n') == std::string::npos) {
        int err = InsertText(p, pos, text);
        if (err == 0)
            pos += static_cast<int>(text.size());
        return err;
    }
    size_t start = 0;
    int err = 0;
    while (start < text.size() && err == 0) {
        size_t lf = text.find('\n', start);
        bool hasLf = lf != std::string::npos;
        std::string piece = text.substr(start, (hasLf ? lf : text.size()) - start);
        if (hasLf && pos == 1) {
            err = InsertPara(p, piece);
            if (err == 0)
                ++p;
        } else {
            err = InsertText(p, pos, piece);
            if (err == 0)
                pos += static_cast<int>(piece.size());
            int indent = 0;
            if (err == 0 && hasLf)
                err = BreakPara(p, true, indent, 0, pos);
            if (err == 0 && hasLf) {
                ++p;
                pos = 1;
            }
        }
        start = hasLf ? lf + 1 : text.size();
    }
    return err;
}

} // namespace wexly::test
