// A plain reference for the text buffer: paragraphs as strings, bookmarks moved by the
// documented rules, wrapping computed from scratch. Randomized tests compare against it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace wexly::test {

// Line starts of a paragraph wrapped from scratch (wrapColumn 0: no wrap).
std::vector<int> ReferenceWrap(const std::string& s, int wrapColumn, int tabSize);

struct TModelMark
{
    int para = 0;
    int pos = 0;
    bool operator==(const TModelMark&) const = default;
};

class TParaListModel
{
public:
    std::vector<std::string> paras { "" };
    std::array<TModelMark, 10> marks {};
    int maxParaLen = 32767;
    bool track = true;

    int Len(int p) const { return static_cast<int>(paras[static_cast<size_t>(p - 1)].size()); }
    std::string& Para(int p) { return paras[static_cast<size_t>(p - 1)]; }

    int InsertText(int p, int pos, const std::string& s);
    void DeleteText(int p, int pos, int count);
    int ReplaceText(int p, int pos, int oldLen, const std::string& s);
    int InsertPara(int p, const std::string& s); // before p
    void DeletePara(int p);
    int BreakPara(int p, bool trim, int& indent, int tabSize, int pos);
    int JoinWithNext(int p, int pos);
    int DeleteBlock(int p1, int pos1, int p2, int pos2);
    int InsertBlock(int& p, int& pos, const std::string& s);
};

} // namespace wexly::test
