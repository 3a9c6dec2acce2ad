// The Preferences dialog's "Macros" page over TMacroPageModel: the twelve names, the display
// box that records the keys pressed in it (it takes no typing of its own), its "&Paste" menu
// and the page's buttons.
#pragma once

#include "macros/MacroPageModel.h"
#include "platform/Ui.h"

#include <windows.h>

namespace wexly::win32 {

class TMacroPageView
{
public:
    explicit TMacroPageView(IClipboard& clipboard);
    ~TMacroPageView();
    TMacroPageView(const TMacroPageView&) = delete;
    TMacroPageView& operator=(const TMacroPageView&) = delete;

    // model: may be null, which leaves the page disabled.
    void Attach(HWND dialog, TMacroPageModel* model);
    // The model was shown: the controls show it.
    void Load();
    void Command(int id, int code);

private:
    static LRESULT CALLBACK DisplayProc(
        HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    LRESULT DisplayMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void KeyDown(WPARAM key, LPARAM lp);
    void PasteMenu(LPARAM lp);
    void ShowText();
    void FocusDisplay();

    IClipboard& m_clipboard;
    TMacroPageModel* m_model = nullptr;
    HWND m_dialog = nullptr;
    HWND m_display = nullptr;
};

} // namespace wexly::win32
