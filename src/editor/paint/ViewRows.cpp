#include "editor/paint/ViewRows.h"

#include <algorithm>

namespace wexly {

TGridRow EditorGridRow(const TOvcCustomEditor& editor, int row)
{
    TEdPaintRow r = editor.GetPaintRow(row);
    TGridRow g;
    g.exists = r.exists;
    if (!r.exists)
        return g;
    g.text = std::move(r.text);
    g.selFirst = r.selFirst;
    g.selLast = r.selLast;
    g.bookmark = r.bookmark;
    return g;
}

std::vector<TGridRow> EditorGridRows(const TOvcCustomEditor& editor, int rows)
{
    std::vector<TGridRow> out;
    out.reserve(static_cast<size_t>(std::max(rows, 0)));
    for (int i = 0; i < rows; ++i)
        out.push_back(EditorGridRow(editor, i));
    return out;
}

TGridRow ViewerGridRow(TOvcCustomFileViewer& viewer, int row)
{
    TGridRow g;
    int64_t line = viewer.GetTopLine() + row;
    if (row < 0 || line >= viewer.LineCount())
        return g;
    g.exists = true;
    const int32_t left = viewer.LeftColumn();
    const int32_t width = viewer.VisibleColumns();
    std::string_view text = viewer.GetLine(line);
    if (static_cast<size_t>(left) < text.size())
        g.text = std::string(text.substr(static_cast<size_t>(left), static_cast<size_t>(width)));
    int32_t from = 0;
    int32_t to = 0;
    if (viewer.SelectedColumns(line, from, to)) {
        from = std::clamp(from - left, 0, width);
        to = std::clamp(to - left, 0, width);
        if (to > from) {
            g.selFirst = from;
            g.selLast = to;
        }
    }
    g.bookmark = viewer.BookmarkOnLine(line);
    return g;
}

std::vector<TGridRow> ViewerGridRows(TOvcCustomFileViewer& viewer, int rows)
{
    std::vector<TGridRow> out;
    out.reserve(static_cast<size_t>(std::max(rows, 0)));
    for (int i = 0; i < rows; ++i)
        out.push_back(ViewerGridRow(viewer, i));
    return out;
}

} // namespace wexly
