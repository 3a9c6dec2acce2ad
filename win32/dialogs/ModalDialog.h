// The dialog base and the keyboard handling every dialog shares.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace wexly::win32 {

// IsDialogMessageW, and when the keyboard (Tab, Shift+Tab, a label's letter) moved the focus
// into a one-line edit box, the box's whole text is selected so that typing replaces it. The
// dialog manager does that itself only for some boxes, and not for the edit part of a combo box
// entered a second time.
bool DialogMessage(HWND dialog, MSG& msg);

// The one base of the program's dialogs. The dialog stores `this` at WM_INITDIALOG, routes its
// messages to the virtual handlers below and catches whatever they throw (shown, never lost and
// never let out of the dialog procedure). Two ways to run one:
// - Create once hidden, then ShowModal as often as needed: the controls keep what the user
//   last set between showings (the search and preferences dialogs);
// - RunModal: a fresh system modal dialog box each time (the smaller dialogs).
class TModalDialog
{
public:
    TModalDialog() = default;
    TModalDialog(const TModalDialog&) = delete;
    TModalDialog& operator=(const TModalDialog&) = delete;
    virtual ~TModalDialog();

    // Creates the hidden dialog from its template.
    bool Create(HWND owner, int templateId);
    HWND Handle() const { return m_hwnd; }
    // Runs OnShow, shows the dialog with the owner disabled and returns the modal result.
    int ShowModal();
    // Runs the template as a system modal dialog box; OnInit prepares it. The result of
    // EndModal, or IDCANCEL when the box could not be made.
    int RunModal(HWND owner, int templateId);

protected:
    // WM_INITDIALOG: true lets the dialog manager focus the first control.
    virtual bool OnInit() { return false; }
    // Copies the model into the controls before each showing of a created dialog.
    virtual void OnShow() { }
    virtual void OnCommand(int id, int code) = 0;
    // The handlers below return true when they handled the message, with `result` the value the
    // message expects.
    virtual bool OnNotify(const NMHDR& header, LRESULT& result);
    virtual bool OnSize(int width, int height);
    virtual bool OnDrawItem(const DRAWITEMSTRUCT& item);
    // The close box and Alt+F4: as Cancel unless overridden.
    virtual void OnClose() { OnCommand(IDCANCEL, BN_CLICKED); }
    // Any other message.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

    void EndModal(int result);
    HWND Item(int id) const { return GetDlgItem(m_hwnd, id); }

    // Helpers over the controls, in UTF-8.
    std::string ItemText(int id) const;
    void SetItemText(int id, const std::string& text);
    bool Checked(int id) const;
    void SetChecked(int id, bool on);
    void Enable(int id, bool on);
    void FillCombo(int id, const std::vector<std::string>& items, const std::string& text);
    void FocusAndSelect(int id);

private:
    static INT_PTR CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Route(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND m_hwnd = nullptr;
    HWND m_owner = nullptr;
    int m_result = 0;
    bool m_systemModal = false; // running inside DialogBoxParamW
};

} // namespace wexly::win32
