#include "dialogs/FindDialog.h"

#include "dialogs/SearchIds.h"
#include "platform/win32/WinStrings.h"

namespace wexly::win32 {

bool TFindDialog::Create(HWND owner)
{
    return TModalDialog::Create(owner, IDD_FIND);
}

void TFindDialog::ClientSize(int32_t& width, int32_t& height) const
{
    RECT client {};
    GetClientRect(Handle(), &client);
    width = client.right;
    height = client.bottom;
}

void TFindDialog::OnShow()
{
    TFindFormMetrics metrics;
    RECT client {};
    RECT outer {};
    GetClientRect(Handle(), &client);
    GetWindowRect(Handle(), &outer);
    metrics.clientWidth = client.right;
    metrics.clientHeight = client.bottom;
    metrics.upperPanelHeight = client.bottom;
    metrics.outerWidth = outer.right - outer.left;
    metrics.outerHeight = outer.bottom - outer.top;
    m_form.FormShow(metrics);

    FillCombo(IDC_FIND_TEXT, m_form.findItems, m_form.findBox);
    FillCombo(IDC_FIND_MASK, m_form.maskItems, m_form.maskBox);
    SetChecked(IDC_FIND_WHOLEWORD, m_form.wholeWord);
    SetChecked(IDC_FIND_MATCHCASE, m_form.matchCase);
    CheckRadioButton(
        Handle(), IDC_FIND_UP, IDC_FIND_DOWN, m_form.directionUp ? IDC_FIND_UP : IDC_FIND_DOWN);
    CheckRadioButton(Handle(), IDC_FIND_GLOBAL, IDC_FIND_FROMCURSOR,
        m_form.modeGlobal ? IDC_FIND_GLOBAL : IDC_FIND_FROMCURSOR);
    const int range = m_form.rangeChecked == TFindRange::OpenFiles ? IDC_FIND_OPENFILES
        : m_form.rangeChecked == TFindRange::Files                 ? IDC_FIND_SPECIFYFILES
                                                                   : IDC_FIND_THISFILE;
    CheckRadioButton(Handle(), IDC_FIND_THISFILE, IDC_FIND_SPECIFYFILES, range);
    ModelToEnables();
    FocusAndSelect(IDC_FIND_TEXT);
    m_form.Shown();
}

void TFindDialog::ModelToEnables()
{
    Enable(IDC_FIND_THISFILE, m_form.thisFileEnabled);
    Enable(IDC_FIND_OPENFILES, m_form.openFilesEnabled);
    // The search over files on disk has no panel in this window yet: its range stays off.
    Enable(IDC_FIND_SPECIFYFILES, false);
    Enable(IDC_FIND_MASK, false);
    for (int id : { IDC_FIND_UP, IDC_FIND_DOWN })
        Enable(id, m_form.directionEnabled);
    for (int id : { IDC_FIND_GLOBAL, IDC_FIND_FROMCURSOR })
        Enable(id, m_form.modeEnabled);
    const bool filesRange = m_form.rangeChecked == TFindRange::Files;
    Enable(IDC_FIND_NEXT, m_form.findNextEnabled && !filesRange);
}

// On a pick from the drop-down list the edit part changes only after the notification.
std::string TFindDialog::ComboText(int id, int code) const
{
    if (code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) {
            const LRESULT length
                = SendMessageW(Item(id), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
            std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
            SendMessageW(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(index),
                reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<size_t>(length > 0 ? length : 0));
            return WideToUtf8(text);
        }
    }
    return ItemText(id);
}

void TFindDialog::ControlsToModel()
{
    m_form.findBox = ItemText(IDC_FIND_TEXT);
    m_form.maskBox = ItemText(IDC_FIND_MASK);
    m_form.wholeWord = Checked(IDC_FIND_WHOLEWORD);
    m_form.matchCase = Checked(IDC_FIND_MATCHCASE);
    m_form.directionUp = Checked(IDC_FIND_UP);
    m_form.modeGlobal = Checked(IDC_FIND_GLOBAL);
}

void TFindDialog::OnCommand(int id, int code)
{
    int32_t width = 0;
    int32_t height = 0;
    ClientSize(width, height);
    switch (id) {
    case IDC_FIND_TEXT:
        if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE) {
            m_form.FindBoxChanged(ComboText(id, code));
            ModelToEnables();
        }
        break;
    case IDC_FIND_MASK:
        if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE) {
            m_form.MaskBoxChanged(ComboText(id, code));
            ModelToEnables();
        }
        break;
    case IDC_FIND_THISFILE:
    case IDC_FIND_OPENFILES:
    case IDC_FIND_SPECIFYFILES:
        if (code == BN_CLICKED) {
            const TFindRange range = id == IDC_FIND_OPENFILES ? TFindRange::OpenFiles
                : id == IDC_FIND_SPECIFYFILES                 ? TFindRange::Files
                                                              : TFindRange::ThisFile;
            m_form.RangeClick(range, width, height);
            ModelToEnables();
        }
        break;
    case IDOK: // Enter in the find box
    case IDC_FIND_NEXT: {
        // The boxes may have changed without a notification (text set by another program).
        m_form.FindBoxChanged(ItemText(IDC_FIND_TEXT));
        m_form.MaskBoxChanged(ItemText(IDC_FIND_MASK));
        ModelToEnables();
        if (!IsWindowEnabled(Item(IDC_FIND_NEXT)))
            break;
        ControlsToModel();
        if (m_form.FindNextClick() == TFindNextAction::CloseAccepted) {
            EndModal(m_form.ModalResult());
            break;
        }
        // Staying open: the mode may have turned to "From Cursor" and the history grew.
        FillCombo(IDC_FIND_TEXT, m_form.findItems, m_form.findBox);
        CheckRadioButton(Handle(), IDC_FIND_GLOBAL, IDC_FIND_FROMCURSOR,
            m_form.modeGlobal ? IDC_FIND_GLOBAL : IDC_FIND_FROMCURSOR);
        break;
    }
    case IDCANCEL:
        m_form.CancelClick(width, height);
        EndModal(m_form.ModalResult());
        break;
    default:
        break;
    }
}

} // namespace wexly::win32
