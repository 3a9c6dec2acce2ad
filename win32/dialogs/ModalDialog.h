// Base of the search dialogs: the dialog is created hidden once at start-up and shown modally
// as often as needed, so its controls keep what the user last set between showings.
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

protected:
    // Copies the model into the controls before each showing.
    virtual void OnShow() = 0;
    virtual void OnCommand(int id, int code) = 0;
    void EndModal(int result) { m_result = result; }
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

    HWND m_hwnd = nullptr;
    HWND m_owner = nullptr;
    int m_result = 0;
};

} // namespace wexly::win32
