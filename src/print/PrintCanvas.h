// What a page is drawn on: the printer's page or the preview's bitmap. Coordinates are printer
// pixels; the font is the fixed-pitch print font, plain or bold.
#pragma once

#include <string_view>

namespace wexly {

class IPrintCanvas
{
public:
    virtual ~IPrintCanvas() = default;
    virtual int TextWidth(std::string_view text) = 0;
    virtual void SetBold(bool bold) = 0;
    // Document text (bytes in the system's code page) with its top-left corner at (x, y).
    virtual void PutText(int x, int y, std::string_view text) = 0;
    // Interface text (UTF-8), such as the document's path in the header.
    virtual void PutPath(int x, int y, std::string_view utf8) = 0;
};

// A print job as the page loop sees it: a canvas for the current sheet and the step to the next.
class IPrintTarget
{
public:
    virtual ~IPrintTarget() = default;
    virtual IPrintCanvas& Canvas() = 0;
    // Ends the current sheet and starts another.
    virtual void NewSheet() = 0;
};

} // namespace wexly
