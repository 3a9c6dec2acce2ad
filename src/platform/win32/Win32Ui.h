// The desktop services of Ui.h on Windows: message boxes, the CF_TEXT clipboard and the beep.
// Each borrows the window that owns what it shows or holds (may be null).
#pragma once

#include "platform/Ui.h"

struct HWND__;

namespace wexly {

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
