// The visible rows of the editor and viewer models in the painter's terms.
#pragma once

#include "editor/OvcCustomEditor.h"
#include "editor/OvcCustomFileViewer.h"
#include "editor/paint/GridPainter.h"

#include <vector>

namespace wexly {

TGridRow EditorGridRow(const TOvcCustomEditor& editor, int row);
std::vector<TGridRow> EditorGridRows(const TOvcCustomEditor& editor, int rows);

// Rows start at the viewer's left column and hold at most its visible columns.
TGridRow ViewerGridRow(TOvcCustomFileViewer& viewer, int row);
std::vector<TGridRow> ViewerGridRows(TOvcCustomFileViewer& viewer, int rows);

} // namespace wexly
