#include "editor/EdSearch.h"

#include "editor/OvcParaList.h"

#include <gtest/gtest.h>

#include <random>

namespace wexly::test {
namespace {

constexpr size_t npos = TEdSearchPattern::npos;

size_t NaiveFind(const std::string& text, const std::string& pat, size_t from, size_t to,
    bool backward, bool matchCase, const TCharSet* delims)
{
    const auto& up = Windows1252UpperTable();
    auto eq = [&](char a, char b) {
        return matchCase ? a == b : up[static_cast<uint8_t>(a)] == up[static_cast<uint8_t>(b)];
    };
    size_t found = npos;
    for (size_t at = from; at + pat.size() <= to; ++at) {
        bool ok = true;
        for (size_t i = 0; i < pat.size() && ok; ++i)
            ok = eq(text[at + i], pat[i]);
        if (ok && delims) {
            ok = (at == 0 || delims->Contains(text[at - 1]))
                && (at + pat.size() == text.size() || delims->Contains(text[at + pat.size()]));
        }
        if (ok) {
            found = at;
            if (!backward)
                return found;
        }
    }
    return found;
}

} // namespace

TEST(EdSearch, OptionsCombineAsASet)
{
    TSearchOptions o = soGlobal | soMatchCase;
    EXPECT_TRUE(o.Has(soGlobal));
    EXPECT_TRUE(o.Has(soMatchCase));
    EXPECT_FALSE(o.Has(soBackward));
    EXPECT_FALSE(o.Without(soGlobal).Has(soGlobal));
}

TEST(EdSearch, CaseInsensitiveUsesTheCodePageTable)
{
    const auto& up = Windows1252UpperTable();
    TEdSearchPattern p("caf\xE9", false, up);
    EXPECT_EQ(p.Find("Le CAF\xC9 noir", 0, 100, false), 3u);
    EXPECT_TRUE(p.Equals("CaF\xC9"));
    EXPECT_FALSE(p.Equals("cafe"));
    TEdSearchPattern exact("caf\xE9", true, up);
    EXPECT_EQ(exact.Find("Le CAF\xC9 noir", 0, 100, false), npos);
}

TEST(EdSearch, MatchesStayInsideTheRangeBothWays)
{
    TEdSearchPattern p("ab", true, Windows1252UpperTable());
    std::string t = "ab ab ab";
    EXPECT_EQ(p.Find(t, 1, t.size(), false), 3u);
    EXPECT_EQ(p.Find(t, 0, 4, false), 0u); // "ab" at 3 would end past 4
    EXPECT_EQ(p.Find(t, 0, 4, true), 0u);
    EXPECT_EQ(p.Find(t, 0, 5, true), 3u); // last match ending at or before 5
    EXPECT_EQ(p.Find(t, 4, 8, true), 6u);
    EXPECT_EQ(p.Find(t, 7, 8, true), npos);
    EXPECT_EQ(TEdSearchPattern("", true).Find(t, 0, 8, false), npos);
}

TEST(EdSearch, WholeWordLooksAtTheParagraphNotTheRange)
{
    TCharSet delims(" ,.");
    TEdSearchPattern in("in", false, Windows1252UpperTable());
    EXPECT_EQ(in.Find("print in", 0, 8, false, &delims), 6u); // not inside "print"
    EXPECT_EQ(in.Find("print in", 0, 8, true, &delims), 6u);
    EXPECT_EQ(in.Find("in print", 0, 8, true, &delims), 0u);
    // Starting the range inside a word does not make a word start.
    EXPECT_EQ(in.Find("xin", 1, 3, false, &delims), npos);
}

TEST(EdSearch, AgreesWithNaiveSearchOnRandomText)
{
    std::mt19937 rng(42);
    TCharSet delims(" ,");
    const char letters[] = { 'a', 'A', 'b', ' ', ',', '\xE9', '\xC9' };
    auto pick = [&] { return letters[std::uniform_int_distribution<size_t>(0, 6)(rng)]; };
    for (int round = 0; round < 3000; ++round) {
        std::string text, pat;
        size_t n = std::uniform_int_distribution<size_t>(0, 40)(rng);
        size_t m = std::uniform_int_distribution<size_t>(1, 4)(rng);
        for (size_t i = 0; i < n; ++i)
            text += pick();
        for (size_t i = 0; i < m; ++i)
            pat += pick();
        size_t from = std::uniform_int_distribution<size_t>(0, n)(rng);
        size_t to = std::uniform_int_distribution<size_t>(from, n)(rng);
        bool matchCase = round % 2 == 0, backward = round % 3 == 0;
        const TCharSet* d = round % 5 == 0 ? &delims : nullptr;
        TEdSearchPattern p(pat, matchCase, Windows1252UpperTable());
        ASSERT_EQ(p.Find(text, from, to, backward, d),
            NaiveFind(text, pat, from, to, backward, matchCase, d))
            << "text '" << text << "' pat '" << pat << "' " << from << ".." << to;
    }
}

TEST(EdSearch, AgreesWithNaiveSearchOnLongerTextWithHighBytes)
{
    // Texts past the 16 starts the quick scan tests at once, patterns taken from the text
    // (so that they are found) or not, up to the longest search text.
    std::mt19937 rng(7);
    TCharSet delims(" ,");
    const char letters[] = { 'a', 'A', 'z', 'Z', ' ', ',', '\xE9', '\xC9', '\xFF', '\x9F', 'x' };
    auto pick = [&] { return letters[std::uniform_int_distribution<size_t>(0, 10)(rng)]; };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const size_t n = std::uniform_int_distribution<size_t>(0, round % 50 == 0 ? 700 : 90)(rng);
        for (size_t i = 0; i < n; ++i)
            text += pick();
        const size_t m = round % 50 == 0 ? kMaxSearchLength
                                         : std::uniform_int_distribution<size_t>(1, 12)(rng);
        std::string pat;
        if (round % 2 == 0 && m <= n)
            pat = text.substr(std::uniform_int_distribution<size_t>(0, n - m)(rng), m);
        else
            for (size_t i = 0; i < m; ++i)
                pat += pick();
        const size_t from = std::uniform_int_distribution<size_t>(0, n / 3)(rng);
        const size_t to = std::uniform_int_distribution<size_t>(from, n)(rng);
        const bool matchCase = round % 4 < 2, backward = round % 3 == 0;
        const TCharSet* d = round % 5 < 2 ? &delims : nullptr;
        TEdSearchPattern p(pat, matchCase, Windows1252UpperTable());
        ASSERT_EQ(p.Find(text, from, to, backward, d),
            NaiveFind(text, pat, from, to, backward, matchCase, d))
            << "round " << round << " text '" << text << "' pat '" << pat << "' " << from << ".."
            << to;
    }
}

TEST(EdSearch, FindsMatchesAtTheEndsOfLongParagraphs)
{
    const auto& up = Windows1252UpperTable();
    std::string text(100, '.');
    text.replace(0, 3, "Q\xE9q");
    text.replace(97, 3, "q\xC9Q");
    TEdSearchPattern p("q\xE9q", false, up);
    EXPECT_EQ(p.Find(text, 0, 100, false), 0u);
    EXPECT_EQ(p.Find(text, 1, 100, false), 97u);
    EXPECT_EQ(p.Find(text, 0, 100, true), 97u);
    EXPECT_EQ(p.Find(text, 0, 99, true), 0u);
    TEdSearchPattern one("Q", true, up);
    EXPECT_EQ(one.Find(text, 0, 100, true), 99u);
    EXPECT_EQ(one.Find(text, 1, 100, false), 99u);
    // The longest search text, filling a paragraph and one byte short of it.
    std::string longest(kMaxSearchLength, 'k');
    longest[kMaxSearchLength - 1] = 'z';
    TEdSearchPattern whole(longest, true, up);
    EXPECT_EQ(whole.Find(longest, 0, longest.size(), false), 0u);
    EXPECT_EQ(whole.Find(longest, 0, longest.size(), true), 0u);
    EXPECT_EQ(whole.Find(longest, 0, longest.size() - 1, false), npos);
    EXPECT_EQ(whole.Find("k" + longest, 0, longest.size() + 1, true), 1u);
}

TEST(EdSearch, WholeWordTriesAgainPastManyPartWords)
{
    TCharSet delims(" ");
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "cats ";
    text += "cat ";
    for (int i = 0; i < 20; ++i)
        text += "scat ";
    TEdSearchPattern cat("CAT", false, Windows1252UpperTable());
    EXPECT_EQ(cat.Find(text, 0, text.size(), false, &delims), 100u);
    EXPECT_EQ(cat.Find(text, 0, text.size(), true, &delims), 100u);
    EXPECT_EQ(cat.Find(text, 101, text.size(), false, &delims), npos);
    EXPECT_EQ(cat.Find(text, 0, 102, true, &delims), npos);
}

TEST(EdSearch, SearchTextIsCutTo255Characters)
{
    TEdSearchPattern p(std::string(300, 'x'), true);
    EXPECT_EQ(p.Length(), 255u);
}

TEST(EdSearch, ScansParagraphRangesWithoutWrapping)
{
    TOvcParaList list;
    for (std::string_view line : { "one cat", "no match", "cat and cat", "tail" })
        ASSERT_EQ(list.AppendPara(line.data(), static_cast<int32_t>(line.size()), true), 0);
    TEdSearchPattern cat("CAT", false, Windows1252UpperTable());
    const TParaPos end { list.ParaCount(), 1 };
    auto find = [&](TParaPos from, TParaPos to, bool backward) {
        return FindInParas(list, cat, from, to, backward);
    };
    EXPECT_EQ(find({ 1, 1 }, end, false), (TParaPos { 1, 5 }));
    EXPECT_EQ(find({ 1, 6 }, end, false), (TParaPos { 3, 1 }));
    EXPECT_EQ(find({ 3, 2 }, end, false), (TParaPos { 3, 9 }));
    EXPECT_EQ(find({ 3, 10 }, end, false), std::nullopt); // no wrap to the top
    // The scope end cuts a match that would run past it.
    EXPECT_EQ(find({ 2, 1 }, { 3, 3 }, false), std::nullopt);
    EXPECT_EQ(find({ 2, 1 }, { 3, 4 }, false), (TParaPos { 3, 1 }));
    // Backwards: the last match that ends before the scope end.
    EXPECT_EQ(find({ 1, 1 }, end, true), (TParaPos { 3, 9 }));
    EXPECT_EQ(find({ 1, 1 }, { 3, 11 }, true), (TParaPos { 3, 1 }));
    EXPECT_EQ(find({ 1, 1 }, { 1, 7 }, true), std::nullopt); // nothing after the caret
    EXPECT_EQ(find({ 1, 6 }, { 3, 3 }, true), std::nullopt);
    TCharSet delims(" ");
    TEdSearchPattern an("an", false, Windows1252UpperTable());
    EXPECT_EQ(FindInParas(list, an, { 1, 1 }, end, false, &delims), std::nullopt);
}

TEST(EdSearch, ScansLongParagraphsToTheirEndsBothWays)
{
    TOvcParaList list;
    std::string first = "harbour" + std::string(60, ' ') + "end";
    std::string middle(80, 'h');
    std::string last = std::string(70, '-') + "Harbour";
    for (const std::string& line : { first, middle, last })
        ASSERT_EQ(list.AppendPara(line.data(), static_cast<int32_t>(line.size()), true), 0);
    TEdSearchPattern word("harbour", false, Windows1252UpperTable());
    const TParaPos end { 3, 78 };
    EXPECT_EQ(FindInParas(list, word, { 1, 1 }, end, false), (TParaPos { 1, 1 }));
    EXPECT_EQ(FindInParas(list, word, { 1, 2 }, end, false), (TParaPos { 3, 71 }));
    EXPECT_EQ(FindInParas(list, word, { 1, 1 }, end, true), (TParaPos { 3, 71 }));
    EXPECT_EQ(FindInParas(list, word, { 1, 1 }, { 3, 77 }, true), (TParaPos { 1, 1 }));
    EXPECT_EQ(FindInParas(list, word, { 1, 2 }, { 3, 77 }, false), std::nullopt);
}

} // namespace wexly::test
