// The main window "TWexlyMainForm": menu bar, status bar, the hand-over receiver and leaving
// the program. Documents, panes and bars join it as their parts are built.
#pragma once

#include "Win32Window.h"
#include "app/StatusBarLayout.h"

#include <array>
#include <string>

namespace wexly::win32 {

class TWexlyApp;

class TWexlyMainForm final : public TWin32Window
{
public:
    explicit TWexlyMainForm(TWexlyApp& app);
    ~TWexlyMainForm() override;

    bool Create();
    // Shows the window and runs the start-up sequence the first time.
    void Show(int showCommand);
    // Sees every key message for the main window and its children before they are dispatched.
    void PreviewKey(const MSG& msg);

    // Parses text against baseDir and opens what it names.
    void OpenCommandLine(const std::string& baseDir, const std::string& text);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void FormShow();
    void CreateStatusBar();
    void LayoutStatusBar(bool remeasure);
    void SetStatusText(TStatusPanel panel, const std::string& text);
    void RefreshCapsPanel();
    void UpdateMenus();
    bool HasDocuments() const { return false; }

    void OnCommand(int id);
    LRESULT OnHandOver(WPARAM wp, LPARAM lp);
    bool CloseAll();
    bool FormCloseQuery();
    void ExitClick();
    void HelpContentsClick();
    void AboutClick();

    TWexlyApp& m_app;
    bool m_closing = false; // asking to save on exit: the hand-over is refused meanwhile
    bool m_shownOnce = false;
    bool m_insertMode = true; // shared insert mode while no document is open
    HWND m_statusBar = nullptr;
    HFONT m_statusFont = nullptr;
    std::array<std::string, 5> m_statusTexts;
    TStatusTextWidths m_statusWidths;
};

} // namespace wexly::win32
