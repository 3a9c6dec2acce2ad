#include "print/PagePrinter.h"
#include "print/PreviewModel.h"

#include <gtest/gtest.h>

#include <vector>

namespace wexly::test {
namespace {

class TFakeSource final : public IPrintSource
{
public:
    std::vector<std::string> lines;
    bool selected = false;
    TPrintPos selStart;
    int64_t selEnd = 0;
    int reads = 0;

    int64_t LineCount() override { return static_cast<int64_t>(lines.size()); }
    std::string PrintableLine(int64_t line) override
    {
        ++reads;
        return lines.at(static_cast<size_t>(line));
    }
    bool HasSelection() override { return selected; }
    TPrintPos SelectionStart() override { return selStart; }
    int64_t SelectionEndLine() override { return selEnd; }
};

struct TDrawn
{
    int x, y;
    std::string text;
    bool bold;
    friend bool operator==(const TDrawn&, const TDrawn&) = default;
};

// Every character is 10 pixels wide.
class TRecordingCanvas final : public IPrintCanvas
{
public:
    std::vector<TDrawn> drawn;
    bool bold = false;
    int TextWidth(std::string_view text) override { return 10 * static_cast<int>(text.size()); }
    void SetBold(bool on) override { bold = on; }
    void PutText(int x, int y, std::string_view text) override
    {
        drawn.push_back({ x, y, std::string(text), bold });
    }
    void PutPath(int x, int y, std::string_view utf8) override { PutText(x, y, utf8); }
    std::vector<std::string> Texts(bool withBold = false) const
    {
        std::vector<std::string> out;
        for (const TDrawn& d : drawn)
            if (withBold || !d.bold)
                out.push_back(d.text);
        return out;
    }
};

// One sheet per recording canvas.
class TRecordingTarget final : public IPrintTarget
{
public:
    std::vector<TRecordingCanvas> sheets { 1 };
    IPrintCanvas& Canvas() override { return sheets.back(); }
    void NewSheet() override { sheets.emplace_back(); }
    std::vector<std::string> PageNumbers() const
    {
        std::vector<std::string> out;
        for (const TRecordingCanvas& s : sheets)
            out.push_back(s.drawn.at(1).text);
        return out;
    }
};

// A page of 100 x 160 pixels at 40 dpi: margin 20, 6 characters a row, (120 / 20) + 1 = 7 rows.
TPageGeometry SmallPage(bool header)
{
    return ComputePageGeometry({ 100, 160, 40 }, 20, 10, header);
}

TPrintOptions Options(bool wrap, bool header)
{
    return { SmallPage(header), wrap, header, "C:\\docs\\a.txt" };
}

TPrintRange Whole(TFakeSource& s)
{
    return *MakePrintRange(s, false);
}

} // namespace

TEST(PrintPageGeometry, MarginsRowsAndColumnsComeFromThePrinterAndTheFont)
{
    const TPageGeometry g = ComputePageGeometry({ 2400, 3300, 300 }, 42, 25, false);
    EXPECT_EQ(g.margin, 150);
    EXPECT_EQ(g.left, 150);
    EXPECT_EQ(g.top, 150);
    EXPECT_EQ(g.right, 2250);
    EXPECT_EQ(g.bottom, 3150);
    EXPECT_EQ(g.charsPerLine, 84); // 2100 / 25
    EXPECT_EQ(g.rowsPerPage, 72); // 3000 / 42 + 1
    EXPECT_EQ(ComputePageGeometry({ 2400, 3300, 300 }, 42, 25, true).rowsPerPage, 71);
    EXPECT_EQ(PrintFontHeight(10, 300), 42); // 41.67 rounded
    EXPECT_EQ(PrintFontHeight(9, 96), 12);
}

TEST(PrintPageGeometry, APageTooSmallStillPrintsOneRowOfOneCharacter)
{
    // Otherwise printing would never get past the first line.
    const TPageGeometry g = ComputePageGeometry({ 30, 30, 40 }, 20, 50, true);
    EXPECT_EQ(g.charsPerLine, 1);
    EXPECT_EQ(g.rowsPerPage, 1);
}

TEST(PrintPagePrinter, WrappedLineTakesOneRowPerWidthAndAnEmptyLineOne)
{
    TFakeSource s;
    s.lines = { "abcdef", "abcdefg", "", "x" };
    TPagePrinter p(s, Whole(s), Options(true, false));
    TRecordingCanvas c;
    const TPrintPos next = p.RenderPage(1, c, p.PageStart(1));
    EXPECT_EQ(c.Texts(), (std::vector<std::string> { "abcdef", "abcdef", "g", "", "x" }));
    EXPECT_TRUE(p.Finished(next));
    // Rows go down one line height from the top margin, at the left margin.
    EXPECT_EQ(c.drawn[0], (TDrawn { 20, 20, "abcdef", false }));
    EXPECT_EQ(c.drawn[4], (TDrawn { 20, 100, "x", false }));
    EXPECT_EQ(p.PageCount(), 1);
}

TEST(PrintPagePrinter, UnwrappedLinesPrintWholeOneRowEach)
{
    TFakeSource s;
    s.lines = { "abcdefghijkl", "", "z" };
    TPagePrinter p(s, Whole(s), Options(false, false));
    TRecordingCanvas c;
    p.RenderPage(1, c, p.PageStart(1));
    EXPECT_EQ(c.Texts(), (std::vector<std::string> { "abcdefghijkl", "", "z" }));
}

TEST(PrintPagePrinter, HeaderTakesTheFirstRowInBoldAndOneRowLessIsLeft)
{
    TFakeSource s;
    s.lines = std::vector<std::string>(20, "l");
    TPagePrinter withHeader(s, Whole(s), Options(false, true));
    TRecordingCanvas c;
    const TPrintPos next = withHeader.RenderPage(3, c, { 0, 0 });
    ASSERT_GE(c.drawn.size(), 2u);
    EXPECT_EQ(c.drawn[0], (TDrawn { 20, 20, "C:\\docs\\a.txt", true }));
    // "Page: 3" is 70 pixels wide and ends at the right margin (80).
    EXPECT_EQ(c.drawn[1], (TDrawn { 10, 20, "Page: 3", true }));
    EXPECT_EQ(c.drawn[2], (TDrawn { 20, 40, "l", false }));
    EXPECT_FALSE(c.bold);
    EXPECT_EQ(next.line, 6);
    EXPECT_EQ(withHeader.PageCount(), 4); // 20 rows, 6 a page

    TPagePrinter without(s, Whole(s), Options(false, false));
    TRecordingCanvas plain;
    EXPECT_EQ(without.RenderPage(1, plain, { 0, 0 }).line, 7);
    EXPECT_EQ(plain.drawn.size(), 7u);
    EXPECT_EQ(without.PageCount(), 3);
}

TEST(PrintPagePrinter, PageCountRoundsUpAndAWrappedPageEndsInsideALine)
{
    TFakeSource s;
    s.lines = { std::string(45, 'a'), "b" }; // 8 rows + 1, 7 a page
    TPagePrinter p(s, Whole(s), Options(true, false));
    EXPECT_EQ(p.PageCount(), 2);
    EXPECT_EQ(p.PageStart(2), (TPrintPos { 0, 42 }));
    TRecordingCanvas c;
    p.RenderPage(2, c, p.PageStart(2));
    EXPECT_EQ(c.Texts(), (std::vector<std::string> { "aaa", "b" }));
}

TEST(PrintPagePrinter, PageStartsAreComputedOnceAndMatchRenderingPageByPage)
{
    TFakeSource s;
    for (int i = 0; i < 50; ++i)
        s.lines.push_back(std::string(static_cast<size_t>(i % 13), 'x'));
    TPagePrinter p(s, Whole(s), Options(true, true));
    // Render page after page and compare with the stepped starts, out of order.
    std::vector<TPrintPos> rendered { p.Range().start };
    TRecordingCanvas sink;
    while (!p.Finished(rendered.back()))
        rendered.push_back(p.RenderPage(0, sink, rendered.back()));
    const int pages = static_cast<int>(rendered.size()) - 1;
    EXPECT_EQ(p.PageCount(), pages);
    for (int page : { 5, 2, pages, 1, 9 })
        EXPECT_EQ(p.PageStart(page), rendered[static_cast<size_t>(page - 1)]) << page;
    const int readsBefore = s.reads;
    p.PageStart(9);
    p.PageStart(5);
    EXPECT_EQ(s.reads, readsBefore); // cached: no re-scan
}

TEST(PrintPagePrinter, SelectionPrintsWholeLinesWithoutWrapAndFromItsColumnWithWrap)
{
    TFakeSource s;
    s.lines = { "one", "two", "three33", "four", "five55", "six" };
    s.selected = true;
    s.selStart = { 2, 3 };
    s.selEnd = 4;
    const TPrintRange range = *MakePrintRange(s, true);
    TRecordingCanvas plain;
    TPagePrinter unwrapped(s, range, Options(false, false));
    unwrapped.RenderPage(1, plain, unwrapped.PageStart(1));
    EXPECT_EQ(plain.Texts(), (std::vector<std::string> { "three33", "four", "five55" }));

    TRecordingCanvas wrapped;
    TPagePrinter wrapping(s, range, Options(true, false));
    wrapping.RenderPage(1, wrapped, wrapping.PageStart(1));
    EXPECT_EQ(wrapped.Texts(), (std::vector<std::string> { "ee33", "four", "five55" }));
}

TEST(PrintPagePrinter, PagesCountedFromTheSelectionsStartColumnLeaveNoBlankPage)
{
    TFakeSource s;
    s.lines = { std::string(12, 'a') };
    s.selected = true;
    s.selStart = { 0, 7 }; // 5 characters left: one row, not two
    s.selEnd = 0;
    TPrintOptions o = Options(true, false);
    o.geometry.rowsPerPage = 1;
    TPagePrinter p(s, *MakePrintRange(s, true), o);
    EXPECT_EQ(p.PageCount(), 1);
    TRecordingTarget t;
    p.Print(t, 1, true);
    EXPECT_EQ(t.sheets.size(), 1u);
}

TEST(PrintPagePrinter, SelectionAskedForButGoneGivesNoRange)
{
    TFakeSource s;
    s.lines = { "a" };
    EXPECT_FALSE(MakePrintRange(s, true).has_value());
    EXPECT_EQ(MakePrintRange(s, false)->endLine, 0);
}

TEST(PrintPagePrinter, CopiesCollatedRepeatTheRunAndUncollatedRepeatEachPage)
{
    TFakeSource s;
    s.lines = std::vector<std::string>(13, "l"); // 6 rows a page with the header: 3 pages
    TPagePrinter p(s, Whole(s), Options(false, true));
    TRecordingTarget collated;
    EXPECT_TRUE(p.Print(collated, 2, true));
    EXPECT_EQ(collated.PageNumbers(),
        (std::vector<std::string> {
            "Page: 1", "Page: 2", "Page: 3", "Page: 1", "Page: 2", "Page: 3" }));
    EXPECT_EQ(collated.sheets[3].Texts().size(), 6u); // the second run starts again at line 1

    TRecordingTarget uncollated;
    p.Print(uncollated, 2, false);
    EXPECT_EQ(uncollated.PageNumbers(),
        (std::vector<std::string> {
            "Page: 1", "Page: 1", "Page: 2", "Page: 2", "Page: 3", "Page: 3" }));
    EXPECT_EQ(uncollated.sheets[4].Texts(), (std::vector<std::string> { "l" }));
}

TEST(PrintPagePrinter, NothingToPrintStartsNoSheet)
{
    TFakeSource s; // a closed viewer has no rows
    TPagePrinter p(s, Whole(s), Options(true, true));
    TRecordingTarget t;
    EXPECT_FALSE(p.Print(t, 1, true));
    EXPECT_TRUE(t.sheets[0].drawn.empty());
    EXPECT_EQ(p.PageCount(), 0);
}

TEST(PrintSource, SelectionColumnsCountExpandedTabs)
{
    EXPECT_EQ(ExpandedColumn("\tab", 1, 8), 8);
    EXPECT_EQ(ExpandedColumn("a\tb", 2, 4), 4);
    EXPECT_EQ(ExpandedColumn("abc", 2, 8), 2);
    EXPECT_EQ(ExpandedColumn("a\t", 5, 4), 7); // beyond the text: as far beyond it
}

TEST(PrintPreviewModel, ZoomStopsAtBothEndsAndSizesTheImage)
{
    TFakeSource s;
    s.lines = { "a" };
    TPagePrinter p(s, Whole(s), Options(true, true));
    TPreviewModel m(p, 9);
    EXPECT_EQ(m.Zoom(), 5);
    EXPECT_FALSE(m.ChangeZoom(+1));
    EXPECT_EQ(m.ImageSize(100, 160), (TImageSize { 500, 800 }));
    for (int i = 0; i < 20; ++i)
        m.ChangeZoom(-1);
    EXPECT_EQ(m.Zoom(), -5);
    EXPECT_EQ(m.ImageSize(700, 1400), (TImageSize { 100, 200 }));
    EXPECT_EQ(ZoomedSize(100, 160, 0), (TImageSize { 50, 80 }));
    EXPECT_EQ(ZoomedSize(100, 160, 1), (TImageSize { 100, 160 }));
}

TEST(PrintPreviewModel, PagesStayWithinTheRangeAndAnEmptyRangeShowsOneBlankPage)
{
    TFakeSource s;
    s.lines = std::vector<std::string>(13, "l");
    TPagePrinter p(s, Whole(s), Options(false, true));
    TPreviewModel m(p, 1);
    EXPECT_EQ(m.PageCount(), 3);
    EXPECT_FALSE(m.PreviousPage());
    EXPECT_TRUE(m.NextPage());
    EXPECT_TRUE(m.SelectPage(3));
    EXPECT_FALSE(m.NextPage());
    TRecordingCanvas c;
    m.RenderPage(c);
    EXPECT_EQ(c.Texts(), (std::vector<std::string> { "l" }));
    EXPECT_EQ(c.drawn[1].text, "Page: 3");

    TFakeSource empty;
    TPagePrinter none(empty, Whole(empty), Options(false, true));
    EXPECT_EQ(TPreviewModel(none, 1).PageCount(), 1);
}

} // namespace wexly::test
