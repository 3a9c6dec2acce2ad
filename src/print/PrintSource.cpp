#include "print/PrintSource.h"

#include "documents/EditFile.h"

#include <algorithm>

namespace wexly {

int32_t ExpandedColumn(std::string_view raw, int32_t col, int32_t tabSize)
{
    tabSize = std::max(tabSize, 1);
    int32_t out = 0;
    const auto end = std::min<size_t>(raw.size(), static_cast<size_t>(std::max(col, 0)));
    for (size_t i = 0; i < end; ++i)
        out += raw[i] == '\t' ? tabSize - out % tabSize : 1;
    // A column beyond the text stays as far beyond it.
    return out + std::max(col, 0) - static_cast<int32_t>(end);
}

int64_t TDocumentPrintSource::LineCount()
{
    if (m_doc.Binary())
        return m_doc.BinViewer()->LineCount();
    return m_doc.TextEditor()->GetLineCount();
}

std::string TDocumentPrintSource::PrintableLine(int64_t line)
{
    if (m_doc.Binary())
        return m_doc.BinViewer()->GetPrintableLine(line);
    return m_doc.TextEditor()->GetPrintableLine(static_cast<int32_t>(line + 1));
}

bool TDocumentPrintSource::HasSelection()
{
    return m_doc.HasSelection();
}

TPrintPos TDocumentPrintSource::SelectionStart()
{
    if (m_doc.Binary()) {
        TAFViewer& viewer = *m_doc.BinViewer();
        int64_t line1 = 0, line2 = 0;
        int32_t col1 = 0, col2 = 0;
        viewer.GetSelection(line1, col1, line2, col2);
        const std::string raw(viewer.GetLine(line1));
        return { line1, ExpandedColumn(raw, col1, viewer.TabSize()) };
    }
    TTFEditor& editor = *m_doc.TextEditor();
    int32_t line1 = 0, col1 = 0, line2 = 0, col2 = 0;
    editor.GetSelection(line1, col1, line2, col2);
    // The selection counts columns in the stored text, the printed line has its tabs expanded.
    int32_t para = line1, pos = col1;
    editor.LineToPara(para, pos);
    const std::string_view paraText = editor.GetPara(para);
    const auto lineStart = static_cast<size_t>(std::max(pos - col1, 0));
    const std::string_view raw = lineStart < paraText.size()
        ? paraText.substr(lineStart, static_cast<size_t>(editor.GetLineLength(line1)))
        : std::string_view {};
    return { line1 - 1, ExpandedColumn(raw, col1 - 1, editor.TabSize()) };
}

int64_t TDocumentPrintSource::SelectionEndLine()
{
    if (m_doc.Binary()) {
        int64_t line1 = 0, line2 = 0;
        int32_t col1 = 0, col2 = 0;
        m_doc.BinViewer()->GetSelection(line1, col1, line2, col2);
        return line2;
    }
    int32_t line1 = 0, col1 = 0, line2 = 0, col2 = 0;
    m_doc.TextEditor()->GetSelection(line1, col1, line2, col2);
    return line2 - 1;
}

} // namespace wexly
