#include "print/PrintSource.h"
#include "print/PagePrinter.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(PrintSource, TextDocumentGivesExpandedLinesAndTheSelectionFromZero)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\t.txt", "ab\tcd\r\nline two\r\nthree\r\n");
    TEditFile& doc = env.Open("C:\\w\\t.txt");
    TDocumentPrintSource source(doc);
    EXPECT_EQ(source.LineCount(), 4); // the empty last line counts
    const std::string first = source.PrintableLine(0);
    EXPECT_EQ(first.find('\t'), std::string::npos);
    EXPECT_FALSE(source.HasSelection());
    EXPECT_FALSE(MakePrintRange(source, true).has_value());

    // From "c" on line 1 to inside line 2: the start column lands on "c" of the printed line.
    doc.TextEditor()->SetSelection(1, 4, true, 2, 3);
    ASSERT_TRUE(source.HasSelection());
    const TPrintRange range = *MakePrintRange(source, true);
    EXPECT_EQ(range.start, (TPrintPos { 0, static_cast<int32_t>(first.find('c')) }));
    EXPECT_EQ(range.endLine, 1);
}

TEST(PrintSource, WrappedTextCountsTheSelectionColumnWithinItsDisplayLine)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\w.txt", "alpha beta gamma delta\tepsilon zeta\r\n");
    TEditFile& doc = env.Open("C:\\w\\w.txt");
    TTFEditor& editor = *doc.TextEditor();
    editor.SetWrapToWindow(true);
    editor.SetVisibleSize(10, 19);
    editor.SetWordWrap(true);
    ASSERT_GT(editor.GetLineCount(), 2);
    TDocumentPrintSource source(doc);
    // The display line holding the tab, and the column of "e" after it.
    int32_t line = 1;
    while (source.PrintableLine(line - 1).find("epsilon") == std::string::npos)
        ++line;
    const std::string printed = source.PrintableLine(line - 1);
    int32_t para = line, pos = 1;
    editor.LineToPara(para, pos);
    const std::string_view paraText = editor.GetPara(para);
    const auto rawColumn = static_cast<int32_t>(paraText.find("epsilon")) + 1 - (pos - 1);
    editor.SetSelection(line, rawColumn, true, line, rawColumn + 3);
    const TPrintRange range = *MakePrintRange(source, true);
    EXPECT_EQ(range.start, (TPrintPos { line - 1, static_cast<int32_t>(printed.find("epsilon")) }));
    EXPECT_EQ(range.endLine, line - 1);
}

TEST(PrintSource, BinaryDocumentPrintsItsHexRowsFromLineZero)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\b.bin", std::string("ABCDEFGHIJKLMNOPQRST", 20));
    TEditFile& doc = env.Open("C:\\w\\b.bin", true);
    TDocumentPrintSource source(doc);
    ASSERT_EQ(source.LineCount(), 2);
    EXPECT_EQ(source.PrintableLine(0).substr(0, 8), "00000000");
    EXPECT_EQ(source.PrintableLine(1).substr(0, 8), "00000010");
    EXPECT_NE(source.PrintableLine(1).find("QRST"), std::string::npos);
    const TPrintRange whole = *MakePrintRange(source, false);
    EXPECT_EQ(whole.start, (TPrintPos { 0, 0 }));
    EXPECT_EQ(whole.endLine, 1);

    // A row wider than the paper wraps to column 0 of the same row, then the next row.
    TPageGeometry g;
    g.charsPerLine = 40;
    g.rowsPerPage = 10;
    TPagePrinter printer(source, whole, { g, true, false, doc.FileName() });
    EXPECT_EQ(printer.PageStart(2), (TPrintPos { 2, 0 }));
    EXPECT_EQ(printer.PageCount(), 1); // 75-character rows: 2 rows each

    doc.BinViewer()->SetSelection(1, 12, true, 1, 14);
    ASSERT_TRUE(source.HasSelection());
    const TPrintRange sel = *MakePrintRange(source, true);
    EXPECT_EQ(sel.start, (TPrintPos { 1, 12 }));
    EXPECT_EQ(sel.endLine, 1);
}

} // namespace wexly::test
