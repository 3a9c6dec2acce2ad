// Small types shared by the editor model and its hosts: tab and caret kinds, the editor's
// exceptions with their fixed messages, and the desktop services the model borrows.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace wexly {

class IClipboard;
class IBeeper;

enum class TTabType { ttReal, ttFixed, ttSmart };

enum class TCaretShape { csBlock, csHalfBlock, csVertLine, csHorzLine, csCustom, csBitmap };

// The message the editor shows for a buffer error code (263..268, anything else is unknown).
const char* EditorErrorMessage(uint16_t code);

// A buffer primitive refused a change; the text is as it was before the failing step.
class EEditorError : public std::runtime_error
{
public:
    explicit EEditorError(uint16_t code)
        : std::runtime_error(EditorErrorMessage(code))
        , m_code(code)
    {
    }
    uint16_t Code() const { return m_code; }

private:
    uint16_t m_code;
};

// A line or paragraph number outside the text was passed to the editor.
class EEditorIndexError : public std::out_of_range
{
public:
    EEditorIndexError()
        : std::out_of_range("Invalid line or paragraph index")
    {
    }
};

// Desktop services the editor borrows from its host; either may be null (then copy/paste do
// nothing and the beep is silent).
struct TEditorPlatform
{
    IClipboard* clipboard = nullptr;
    IBeeper* beeper = nullptr;
};

} // namespace wexly
