#include "editor/paint/ViewRows.h"

#include "editor/EditorTestSupport.h"
#include "support/FakeFileSystem.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

TEST(ViewRows, EditorRowsExpandTabsFromTheLeftColumnWithSelectionAndBookmark)
{
    TOvcCustomEditor e;
    SetText(e, "|a\tbcdef\nsecond\nthird");
    e.SetVisibleSize(4, 12);
    e.SetLeftColumn(1);
    e.SetSelection(1, 3, true, 2, 3);
    e.SetMarkerAt(7, 2, 1);
    e.SetMarkerAt(2, 2, 4);
    std::vector<TGridRow> rows = EditorGridRows(e, 4);
    ASSERT_EQ(rows.size(), 4u);
    // "a", a tab to column 9, then "bcdef"; the first cell is scrolled off.
    EXPECT_EQ(rows[0].text, "       bcdef");
    EXPECT_EQ(rows[0].selFirst, 7); // 'b' is screen column 9
    EXPECT_EQ(rows[0].selLast, 12); // to the line break, clipped at the window
    EXPECT_EQ(rows[1].text, "econd");
    EXPECT_EQ(rows[1].text, "econd");
    EXPECT_EQ(rows[1].selFirst, 0);
    EXPECT_EQ(rows[1].selLast, 1);
    EXPECT_EQ(rows[1].bookmark, 2); // the lowest number on the line
    EXPECT_EQ(rows[2].selFirst, -1);
    EXPECT_FALSE(rows[3].exists);
}

TEST(ViewRows, ViewerRowsFollowTheLeftColumnAndClipTheSelection)
{
    TFakeFileSystem fs;
    fs.SetFile("f.bin", std::string(40, 'A'));
    TOvcCustomFileViewer v(fs);
    v.SetFileName("f.bin");
    v.SetIsOpen(true);
    v.SetVisibleRows(4);
    v.SetVisibleColumns(20);
    v.SetLeftColumn(8);
    v.SetSelection(0, 5, true, 1, 12);
    v.SetMarkerAt(4, 2, 0);
    std::vector<TGridRow> rows = ViewerGridRows(v, 4);
    EXPECT_EQ(rows[0].text, "  41 41 41 41 41 41 ");
    EXPECT_EQ(rows[0].selFirst, 0);
    EXPECT_EQ(rows[0].selLast, 20);
    EXPECT_EQ(rows[1].text.substr(0, 4), "  41");
    EXPECT_EQ(rows[1].selFirst, 0);
    EXPECT_EQ(rows[1].selLast, 4);
    EXPECT_EQ(rows[2].bookmark, 4);
    EXPECT_EQ(rows[2].text.substr(0, 8), "  41 41 ");
    EXPECT_FALSE(rows[3].exists); // 40 bytes make three rows
}

} // namespace
} // namespace wexly::test
