#include "win32/controls/ZulButton.h"

namespace wexly::win32 {

TZulButton::TZulButton()
    : m_model(*this)
{
}

HWND TZulButton::Create(
    HWND parent, int id, int x, int y, int width, int height, const std::string& caption)
{
    return CreateControl(kClassName, WS_TABSTOP, parent, id, x, y, width, height, caption);
}

TZulKey TZulButton::KeyOf(WPARAM vk)
{
    if (vk == VK_SPACE)
        return TZulKey::Space;
    if (vk == VK_RETURN)
        return TZulKey::Enter;
    return TZulKey::Other;
}

LRESULT TZulButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_GETDLGCODE: {
        // Space and Enter are ours even inside a dialog; everything else is the dialog's.
        const auto* m = reinterpret_cast<const MSG*>(lp);
        const bool ours = m && (m->message == WM_KEYDOWN || m->message == WM_KEYUP)
            && (m->wParam == VK_SPACE || m->wParam == VK_RETURN);
        return DLGC_BUTTON | (ours ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
        if (KeyOf(wp) != TZulKey::Other) {
            m_model.KeyDown(KeyOf(wp));
            return 0;
        }
        break;
    case WM_KEYUP:
        if (KeyOf(wp) != TZulKey::Other) {
            m_model.KeyUp(KeyOf(wp));
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == L' ' || wp == L'\r')
            return 0; // already handled as keys; no beep
        break;
    default:
        break;
    }
    return TZulWindow::HandleMessage(msg, wp, lp);
}

} // namespace wexly::win32
