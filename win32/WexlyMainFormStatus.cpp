// The main window's status bar and title bars, and the status events of the views.
#include "win32/WexlyMainForm.h"
#include "win32/WexlyMainFormParts.h"

#include "app/HandOver.h"
#include "config/SettingsFile.h"
#include "editor/DefaultCommandTables.h"
#include "piles/PileCommands.h"
#include "win32/WexlyApp.h"
#include "win32/controls/ZulGdiCanvas.h"
#include "win32/dialogs/DicChooseDialog.h"
#include "win32/dialogs/DicMaintDialog.h"
#include "win32/dialogs/ToolListDialog.h"
#include "win32/dialogs/WindowListDialog.h"
#include "win32/main/GdiSettings.h"
#include "win32/main/HelpPages.h"
#include "win32/platform/WinStrings.h"
#include "win32/print/PrintCommands.h"
#include "win32/res/art/ArtIds.h"

#include "Version.h"
#include "win32/MenuIds.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <utility>
#include <vector>
namespace wexly::win32 {

using namespace mainform;

// ---- Status bar ---------------------------------------------------------------------------

void TWexlyMainForm::CreateStatusBar()
{
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    m_statusFont = CreateFontIndirectW(&metrics.lfStatusFont);
    m_statusBar = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
        Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(m_statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(m_statusFont), FALSE);
    SetWindowSubclass(m_statusBar, StatusBarProc, 0, reinterpret_cast<DWORD_PTR>(this));
    m_statusTextColour = GetSysColor(COLOR_BTNTEXT);
    m_statusBackColour = GetSysColor(COLOR_BTNFACE);
    LayoutStatusBar(true);
}

LRESULT CALLBACK TWexlyMainForm::StatusBarProc(
    HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self)
{
    return GuardedProc([&]() -> LRESULT {
        const auto* form = reinterpret_cast<const TWexlyMainForm*>(self);
        switch (msg) {
        case SB_GETTEXTW:
        case SB_GETTEXTLENGTHW: {
            // Owner-drawn parts keep no text of their own: answer from ours, as a plain bar would.
            const size_t part = LOWORD(wp);
            if (part >= form->m_statusTexts.size())
                return 0;
            const std::wstring text = Utf8ToWide(form->m_statusTexts[part]);
            if (msg == SB_GETTEXTW && lp)
                lstrcpyW(reinterpret_cast<wchar_t*>(lp), text.c_str());
            return static_cast<LRESULT>(MAKELONG(text.size(), SBT_OWNERDRAW));
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, StatusBarProc, 0);
            break;
        default:
            break;
        }
        return DefSubclassProc(hwnd, msg, wp, lp);
    });
}

void TWexlyMainForm::DrawStatusPanel(const DRAWITEMSTRUCT& item)
{
    const size_t part = item.itemID;
    if (part >= m_statusTexts.size())
        return;
    HDC dc = item.hDC;
    HBRUSH back = CreateSolidBrush(m_statusBackColour);
    FillRect(dc, &item.rcItem, back);
    DeleteObject(back);
    HGDIOBJ oldFont = SelectObject(dc, m_statusFont);
    SetTextColor(dc, m_statusTextColour);
    SetBkMode(dc, TRANSPARENT);
    RECT text = item.rcItem;
    text.left += StatusTextMargin;
    std::wstring wide = Utf8ToWide(m_statusTexts[part]);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text,
        DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
}

bool TWexlyMainForm::OnStatusBarNotify(const NMHDR& header)
{
    if (header.hwndFrom != m_statusBar || (header.code != NM_CLICK && header.code != NM_RCLICK))
        return false;
    if (reinterpret_cast<const NMMOUSE&>(header).dwItemSpec != spEncoding)
        return false;
    ShowEncodingMenu();
    return true;
}

void TWexlyMainForm::ShowEncodingMenu()
{
    TEditFile* focus = m_set->FocusFile();
    TEditFile* doc = focus && focus->IsBottomView() ? focus->Source() : focus;
    if (!doc || doc->Binary() || doc->ReadOnly())
        return;
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < kTextEncodings.size(); ++i) {
        const UINT checked = kTextEncodings[i] == doc->Encoding() ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(menu, MF_STRING | checked, i + 1,
            Utf8ToWide(std::string(EncodingName(kTextEncodings[i]))).c_str());
    }
    POINT at {};
    GetCursorPos(&at);
    const int choice
        = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN,
            at.x, at.y, 0, Handle(), nullptr);
    DestroyMenu(menu);
    if (choice <= 0)
        return;
    doc->SetEncoding(kTextEncodings[static_cast<size_t>(choice - 1)]);
    ReportFocusStatus();
}

void TWexlyMainForm::LayoutStatusBar(bool remeasure)
{
    if (!m_statusBar)
        return;
    if (remeasure) {
        HDC dc = GetDC(m_statusBar);
        HGDIOBJ old = SelectObject(dc, m_statusFont);
        auto extent = [dc](const std::string& text) {
            std::wstring wide = Utf8ToWide(text);
            SIZE size {};
            GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
            return size;
        };
        m_statusWidths.bar = extent("|").cy;
        m_statusWidths.caps = extent("Caps").cx;
        m_statusWidths.ovr = extent("Ovr").cx;
        m_statusWidths.line = extent(m_statusTexts[spLine]).cx;
        m_statusWidths.column = extent(m_statusTexts[spColumn]).cx;
        m_statusWidths.encoding = 0;
        for (TTextEncoding e : kTextEncodings)
            m_statusWidths.encoding = std::max(
                m_statusWidths.encoding, static_cast<int>(extent(std::string(EncodingName(e))).cx));
        SelectObject(dc, old);
        ReleaseDC(m_statusBar, dc);
    }
    RECT client {};
    GetClientRect(Handle(), &client);
    TStatusBarLayout layout = wexly::LayoutStatusBar(client.right - client.left, m_statusWidths);
    SendMessageW(m_statusBar, SB_SETMINHEIGHT, static_cast<WPARAM>(layout.panelHeight), 0);
    SendMessageW(m_statusBar, WM_SIZE, 0, 0);
    int rights[kStatusPanelCount];
    for (size_t i = 0; i < kStatusPanelCount; ++i)
        rights[i] = layout.panels[i].Right();
    SendMessageW(m_statusBar, SB_SETPARTS, kStatusPanelCount, reinterpret_cast<LPARAM>(rights));
    for (size_t i = 0; i < kStatusPanelCount; ++i)
        SendMessageW(m_statusBar, SB_SETTEXTW, i | SBT_OWNERDRAW, static_cast<LPARAM>(i));
}

void TWexlyMainForm::SetStatusText(TStatusPanel panel, const std::string& text)
{
    std::string& current = m_statusTexts[static_cast<size_t>(panel)];
    if (current == text)
        return;
    const bool widthMayChange
        = (panel == spLine || panel == spColumn) && text.size() != current.size();
    current = text;
    if (widthMayChange) {
        LayoutStatusBar(true);
        return;
    }
    // Setting the part again repaints it; the text comes from m_statusTexts when it is drawn.
    SendMessageW(m_statusBar, SB_SETTEXTW, static_cast<WPARAM>(panel) | SBT_OWNERDRAW,
        static_cast<LPARAM>(panel));
}

void TWexlyMainForm::RefreshCapsPanel()
{
    SetStatusText(spCaps, (GetKeyState(VK_CAPITAL) & 1) ? "Caps" : "");
}

bool TWexlyMainForm::PreviewKey(const MSG& msg)
{
    // F10 always comes as a system key; Shift+F10 would otherwise open the context menu.
    if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F10)
        return PlayMacroForKey(msg);
    if (msg.message != WM_KEYDOWN && msg.message != WM_KEYUP)
        return false;
    if (msg.wParam == VK_CAPITAL) {
        RefreshCapsPanel();
    } else if (msg.wParam == VK_INSERT && msg.message == WM_KEYDOWN && !HasDocuments()) {
        m_insertMode = !m_insertMode;
        SetStatusText(spInsOvr, m_insertMode ? "Ins" : "Ovr");
    } else if (msg.message == WM_KEYDOWN && msg.wParam >= VK_F1 && msg.wParam <= VK_F12) {
        return PlayMacroForKey(msg);
    }
    return false;
}

// Shift+F1..F12 are the shortcuts of the macro items that exist; a key without a stored macro
// keeps its usual meaning (Shift+F10 the context menu).
bool TWexlyMainForm::PlayMacroForKey(const MSG& msg)
{
    const uint8_t shift = static_cast<uint8_t>((GetKeyState(VK_SHIFT) < 0 ? 2 : 0)
        | (GetKeyState(VK_CONTROL) < 0 ? 4 : 0) | (GetKeyState(VK_MENU) < 0 ? 8 : 0));
    const int number = MacroNumberForKey(static_cast<uint8_t>(msg.wParam), shift);
    if (number <= 0 || !m_set->FocusFile() || StoredMacroText(Settings.Macros, number).empty())
        return false;
    Guarded([&] { PlayMacro(number); });
    ReportFocusStatus();
    return true;
}

void TWexlyMainForm::SetTitleBar(int pane, const TTitleText& title)
{
    TTitleText& current = m_titles[static_cast<size_t>(pane)];
    if (current.path != title.path)
        SetWindowTextW(m_titleButton[static_cast<size_t>(pane)], Utf8ToWide(title.path).c_str());
    if (current.state != title.state)
        SetWindowTextW(m_titleState[static_cast<size_t>(pane)], Utf8ToWide(title.state).c_str());
    current = title;
}

void TWexlyMainForm::ApplyStatusUpdate(const TStatusUpdate& update)
{
    SetTitleBar(0, update.top);
    SetTitleBar(1, update.bottom);
    SetStatusText(spLine, update.line);
    SetStatusText(spColumn, update.column);
    SetStatusText(spInsOvr, update.insOvr);
    SetStatusText(spEncoding, update.encoding);
    // Caps Lock may have changed where the main window did not see the key (in a dialog).
    RefreshCapsPanel();
    ApplyMenuState(m_shell->Menus());
    if (update.restoreHint)
        SetStatusText(spMessage, HintPanelText(m_shell->Hint()));
}

// ---- IDocumentViewHost --------------------------------------------------------------------

void TWexlyMainForm::ViewStatus(TEditFile& doc, int64_t line, int32_t column)
{
    TStatusUpdate update;
    if (m_shell->EditStatus(doc.IsBottomView(), m_docWindows->ViewFocused(doc), line, column,
            m_clipboard.HasText(), update))
        ApplyStatusUpdate(update);
    // Typing in one pane shows in the other when both show the same text.
    if (m_set->SplitOn())
        m_docWindows->RefreshViews();
}

void TWexlyMainForm::ReportFocusStatus()
{
    // A view that only came to the front has not moved its caret, so it has not reported.
    TEditFile* focus = m_set->FocusFile();
    // The second pane's hex view keeps its caret to itself; it reports when it moves.
    if (!focus || (focus->IsBottomView() && focus->Source() && focus->Source()->Binary()))
        return;
    ViewStatus(*focus, focus->CaretLine(), focus->CaretColumn());
}

} // namespace wexly::win32
