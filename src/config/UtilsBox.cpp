#include "config/UtilsBox.h"

#include <array>

namespace wexly {
namespace {

constexpr std::array<const char*, kToolButtonCount> kButtonNames = {
    "New",
    "Open Text",
    "Open Binary",
    "Reopen",
    "Revert",
    "Save",
    "Save As",
    "Save Copy As",
    "Save All",
    "Print",
    "Close",
    "Close All",
    "Undo",
    "Redo",
    "Cut",
    "Copy",
    "Paste",
    "Select All",
    "Find",
    "Find Again",
    "Replace",
    "Goto Line",
    "Statistics",
    "Split Window",
    "Sync",
    "Hide Bars",
    "Previous File",
    "Next File",
    "Window List",
    "Settings",
    "Help Contents",
    "About Wexly",
    "Exit",
};

constexpr int kOpenBinaryButton = 2;

} // namespace

std::string EscapeText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else
            out += c;
    }
    return out;
}

std::string UnescapeText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            if (text[i + 1] == 't') {
                out += '\t';
                ++i;
                continue;
            }
            if (text[i + 1] == '\\') {
                out += '\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string EscapeAmpersands(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '&')
            out += '&';
    }
    return out;
}

std::string UnescapeAmpersands(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '&')
            ++i;
    }
    return out;
}

std::string ToolButtonName(int n)
{
    if (n < 0 || n >= kToolButtonCount)
        return {};
    return kButtonNames[static_cast<size_t>(n)];
}

int ToolButtonTag(int n)
{
    return n == kOpenBinaryButton ? 1 : 0;
}

std::string DefaultToolBarLayout()
{
    return "0,1,2,5,6,10,-1,12,14,15,16,-1,18,21,-1,23,25,28,29,-1,30,31,-1,32,-1";
}

} // namespace wexly
