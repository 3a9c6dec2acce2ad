// The desktop services of Ui.h on Windows: message boxes, the CF_TEXT clipboard and the beep.
// Each borrows the window that owns what it shows or holds (may be null); a message box goes to
// the window the user works in when that is another one.
#pragma once

#include "platform/Ui.h"

struct HWND__;

namespace wexly {

// The window a new message box or dialog is to belong to: the window the user works in on this
// thread (a modal dialog over the main window, say), else the given one. A box owned by a
// window a modal dialog keeps disabled would enable it again when it closes.
HWND__* ModalOwnerFor(HWND__* fallback);

class TWin32Asker final : public IAsker
{
public:
    explicit TWin32Asker(HWND__* owner = nullptr)
        : m_owner(owner)
    {
    }
    void SetOwner(HWND__* owner) { m_owner = owner; }
    TMsgResult Ask(const TMessage& message) override;

private:
    HWND__* m_owner;
};

class TWin32Clipboard final : public IClipboard
{
public:
    explicit TWin32Clipboard(HWND__* owner = nullptr)
        : m_owner(owner)
    {
    }
    void SetOwner(HWND__* owner) { m_owner = owner; }
    bool SetText(const std::string& text) override;
    bool HasText() override;
    std::string GetText() override;

private:
    bool Open();
    HWND__* m_owner;
};

class TWin32Beeper final : public IBeeper
{
public:
    void Beep() override;
};

} // namespace wexly
