// What the models ask of the desktop: message boxes, the clipboard, the beep and the
// code page's upper-case table. The win32 build implements these with the real services; tests
// script them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

namespace wexly {

enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };
enum class TMsgIcon { None, Error, Warning, Information, Question };
enum class TMsgResult { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

struct TMessage
{
    std::string text; // "\r" separates lines, as in the program's fixed texts
    std::string caption;
    TMsgButtons buttons = TMsgButtons::Ok;
    TMsgIcon icon = TMsgIcon::None;
    int defaultButton = 1; // 1-based
    bool taskModal = true;
};

// The program's usual error box: caption "Error", OK and the exclamation icon.
inline TMessage ErrorBox(std::string text)
{
    TMessage m;
    m.text = std::move(text);
    m.caption = "Error";
    m.icon = TMsgIcon::Warning;
    return m;
}

class IAsker
{
public:
    virtual ~IAsker() = default;
    virtual TMsgResult Ask(const TMessage& message) = 0;
};

// Text clipboard (CF_TEXT): bytes of the ANSI code page, without the terminating NUL.
class IClipboard
{
public:
    virtual ~IClipboard() = default;
    virtual bool SetText(const std::string& text) = 0;
    virtual bool HasText() = 0;
    virtual std::string GetText() = 0;
};

class IBeeper
{
public:
    virtual ~IBeeper() = default;
    virtual void Beep() = 0;
};

// 256-entry upper-case map of the system's ANSI code page.
using TUpperTable = std::array<uint8_t, 256>;
const TUpperTable& SystemUpperTable();
// The Windows-1252 upper-casing: what SystemUpperTable gives natively, so tests match Windows.
const TUpperTable& Windows1252UpperTable();

} // namespace wexly
