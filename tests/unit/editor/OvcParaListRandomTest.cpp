// Seeded random edits against the plain model, then undo back and redo forward.
#include "ParaListModel.h"

#include "editor/OvcParaList.h"

#include <gtest/gtest.h>

#include <random>

namespace wexly::test {

namespace {

struct TState
{
    std::vector<std::string> paras;
    bool modified = false;
};

class TRandomRun
{
public:
    TRandomRun(unsigned seed, bool wrap)
        : m_rng(seed)
    {
        m_list.SetUndoSize(65535);
        m_list.SetWordWrap(wrap);
        m_list.SetWrapColumn(Pick(6, 20));
        m_list.SetTabSize(Pick(2, 8));
        m_list.SetMaxParaLen(Pick(40, 90));
        m_model.maxParaLen = m_list.MaxParaLen();
    }

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }

    std::string Text(int maxLen)
    {
        static const char kChars[] = "abcde  -\txyz";
        std::string s(size_t(Pick(0, maxLen)), ' ');
        for (char& c : s)
            c = kChars[Pick(0, sizeof(kChars) - 2)];
        return s;
    }

    int Paras() const { return m_list.ParaCount(); }

    void Step()
    {
        int p = Pick(1, Paras());
        int len = m_model.Len(p);
        int err = 0;
        int expected = 0;
        switch (Pick(0, 11)) {
        case 0:
        case 1: {
            std::string s = Text(8);
            int pos = Pick(1, len + 3);
            expected = m_model.InsertText(p, pos, s);
            err = m_list.InsertTextPrim(p, pos, s.data(), int32_t(s.size()));
            break;
        }
        case 2: {
            int pos = Pick(1, len + 1);
            int count = Pick(1, 6);
            m_model.DeleteText(p, pos, count);
            m_list.DeleteText(p, pos, count);
            break;
        }
        case 3: {
            std::string s = Text(5);
            int pos = Pick(1, len + 1);
            int old = Pick(0, 5);
            expected = m_model.ReplaceText(p, pos, old, s);
            err = m_list.ReplaceText(p, pos, old, s.data(), int32_t(s.size()));
            break;
        }
        case 4: {
            std::string s = Text(30);
            if (Pick(0, 1)) {
                int at = Pick(1, Paras() + 1);
                expected = m_model.InsertPara(at, s);
                err = m_list.InsertParaPrim(at, s.data(), int32_t(s.size()));
            } else {
                expected = m_model.InsertPara(p + 1, s);
                err = m_list.PlaceParaPrim(p, s.data(), int32_t(s.size()));
            }
            break;
        }
        case 5:
            m_model.DeletePara(p);
            m_list.DeletePara(p);
            break;
        case 6:
        case 7: {
            int pos = Pick(1, len + 2);
            int tab = Pick(0, 1) ? m_list.TabSize() : 0;
            bool trim = Pick(0, 1);
            int indent1 = Pick(0, 10);
            int indent2 = indent1;
            expected = m_model.BreakPara(p, trim, indent1, tab, pos);
            err = m_list.BreakPara(p, trim, indent2, tab, pos);
            EXPECT_EQ(indent1, indent2);
            break;
        }
        case 8: {
            int pos = len == 0 && Pick(0, 1) ? 1 : len + 1 + Pick(0, 1) * Pick(0, 3);
            expected = m_model.JoinWithNext(p, pos);
            err = m_list.JoinWithNext(p, pos);
            break;
        }
        case 9: {
            int p2 = std::min(Paras(), p + Pick(0, 3));
            int pos1 = Pick(1, len + 1);
            int pos2 = Pick(1, m_model.Len(p2) + 1);
            if (p2 == p && pos2 < pos1)
                std::swap(pos1, pos2);
            expected = m_model.DeleteBlock(p, pos1, p2, pos2);
            err = m_list.DeleteBlock(p, pos1, p2, pos2);
            break;
        }
        case 10: {
            std::string s = Text(6) + (Pick(0, 1) ? "\r\n" : "\n") + Text(6);
            if (Pick(0, 1))
                s += "\n" + Text(4);
            int pos = Pick(1, len + 2);
            int mp = p, mpos = pos, lp = p, lpos = pos;
            expected = m_model.InsertBlock(mp, mpos, s);
            err = m_list.InsertBlock(lp, lpos, s.data(), int32_t(s.size()));
            EXPECT_EQ(mp, lp);
            EXPECT_EQ(mpos, lpos);
            break;
        }
        case 11: {
            int n = Pick(0, 9);
            int pos = Pick(1, len + 1);
            m_model.marks[size_t(n)] = { p, pos };
            m_list.SetMarker(n, p, pos);
            if (Pick(0, 3) == 0) {
                m_list.SetModified(false);
                m_saves.push_back(int(m_states.size()) - 1);
            }
            if (Pick(0, 5) == 0)
                m_list.SetWrapColumn(Pick(6, 20));
            break;
        }
        }
        ASSERT_EQ(expected, err);
        Compare();
        m_states.push_back({ m_model.paras, m_list.Modified() });
    }

    void Compare()
    {
        ASSERT_EQ(int(m_model.paras.size()), m_list.ParaCount());
        int bytes = -2;
        int lines = 0;
        int wrap = m_list.WordWrap() ? m_list.WrapColumn() : 0;
        for (int p = 1; p <= m_list.ParaCount(); ++p) {
            const std::string& s = m_model.Para(p);
            ASSERT_EQ(s, std::string(m_list.ParaText(p))) << "paragraph " << p;
            bytes += int(s.size()) + 2;
            std::vector<int> starts = ReferenceWrap(s, wrap, m_list.TabSize());
            const TParaNode* n = m_list.NthPara(p);
            ASSERT_EQ(int(starts.size()), n->LineCount()) << "paragraph " << p << " '" << s << "'";
            for (size_t i = 0; i < starts.size(); ++i) {
                ASSERT_EQ(starts[i], n->LineStart(int32_t(i)));
                int32_t offset = 0;
                ASSERT_EQ(p, m_list.FindParaByLine(lines + int(i) + 1, offset));
                ASSERT_EQ(starts[i], offset);
            }
            int32_t col = 0;
            ASSERT_EQ(lines + 1, m_list.FindLineByPara(p, 1, col));
            lines += int(starts.size());
        }
        ASSERT_EQ(bytes, m_list.ByteCount());
        ASSERT_EQ(lines, m_list.LineCount());
        for (int i = 0; i < 10; ++i) {
            TMarker m = m_list.Marker(i);
            ASSERT_EQ(m_model.marks[size_t(i)], (TModelMark { m.Para, m.Pos })) << "bookmark " << i;
        }
        m_list.CheckInvariants();
    }

    bool SameText(const TState& s) const
    {
        if (int(s.paras.size()) != m_list.ParaCount())
            return false;
        for (int p = 1; p <= m_list.ParaCount(); ++p)
            if (s.paras[size_t(p - 1)] != m_list.ParaText(p))
                return false;
        return true;
    }

    void UndoAndRedo()
    {
        ASSERT_FALSE(m_list.UndoBuffer().UndoCount() == 0 && m_states.size() > 1);
        int at = int(m_states.size()) - 1;
        int32_t para = 0, pos = 0;
        while (m_list.Undo(para, pos)) {
            m_list.CheckInvariants();
            int j = at - 1;
            while (j >= 0 && !SameText(m_states[size_t(j)]))
                --j;
            ASSERT_GE(j, 0) << "undo reached a state never seen";
            bool savedLater = false;
            for (int s : m_saves)
                savedLater = savedLater || s > j;
            ASSERT_EQ(m_states[size_t(j)].modified || savedLater, m_list.Modified()) << j;
            at = j;
        }
        ASSERT_TRUE(SameText(m_states.front()));
        while (m_list.Redo(para, pos)) {
            m_list.CheckInvariants();
            int j = at + 1;
            while (j < int(m_states.size()) && !SameText(m_states[size_t(j)]))
                ++j;
            ASSERT_LT(j, int(m_states.size())) << "redo reached a state never seen";
            ASSERT_TRUE(m_list.Modified());
            at = j;
        }
        ASSERT_TRUE(SameText(m_states.back()));
    }

    std::mt19937 m_rng;
    TOvcParaList m_list;
    TParaListModel m_model;
    std::vector<TState> m_states { { { "" }, false } };
    std::vector<int> m_saves;
};

} // namespace

TEST(OvcParaListRandom, PrimitivesMatchTheModelAndUndoRedoReplayEveryState)
{
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(seed);
        TRandomRun run(seed, seed % 3 != 0);
        for (int i = 0; i < 150; ++i) {
            run.Step();
            if (testing::Test::HasFatalFailure())
                return;
        }
        ASSERT_FALSE(run.m_list.UndoBuffer().Overflowed());
        run.UndoAndRedo();
        if (testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace wexly::test
