#include "win32/dialogs/ReplaceDialog.h"

#include "win32/res/dialogs/FindIds.h"
#include "win32/res/dialogs/ReplaceIds.h"

namespace wexly::win32 {

bool TReplaceDialog::Create(HWND owner)
{
    return TModalDialog::Create(owner, IDD_REPLACE);
}

void TReplaceDialog::ModelToControls()
{
    FillCombo(IDC_FIND_TEXT, m_form.findItems, m_form.findBox);
    FillCombo(IDC_REPLACE_TEXT, m_form.replaceItems, m_form.replaceBox);
    SetChecked(IDC_FIND_WHOLEWORD, m_form.wholeWord);
    SetChecked(IDC_FIND_MATCHCASE, m_form.matchCase);
    CheckRadioButton(
        Handle(), IDC_FIND_UP, IDC_FIND_DOWN, m_form.directionUp ? IDC_FIND_UP : IDC_FIND_DOWN);
    CheckRadioButton(Handle(), IDC_FIND_GLOBAL, IDC_FIND_FROMCURSOR,
        m_form.modeGlobal ? IDC_FIND_GLOBAL : IDC_FIND_FROMCURSOR);
    CheckRadioButton(Handle(), IDC_FIND_THISFILE, IDC_FIND_OPENFILES,
        m_form.allOpenFiles ? IDC_FIND_OPENFILES : IDC_FIND_THISFILE);
    UpdateButtons();
}

void TReplaceDialog::OnShow()
{
    m_form.FormShow();
    ModelToControls();
    FocusAndSelect(IDC_FIND_TEXT);
}

void TReplaceDialog::UpdateButtons()
{
    for (int id : { IDC_FIND_NEXT, IDC_REPLACE_ONE, IDC_REPLACE_ALL })
        Enable(id, m_form.buttonsEnabled);
}

void TReplaceDialog::ControlsToModel()
{
    m_form.findBox = ItemText(IDC_FIND_TEXT);
    m_form.replaceBox = ItemText(IDC_REPLACE_TEXT);
    m_form.wholeWord = Checked(IDC_FIND_WHOLEWORD);
    m_form.matchCase = Checked(IDC_FIND_MATCHCASE);
    m_form.directionUp = Checked(IDC_FIND_UP);
    m_form.modeGlobal = Checked(IDC_FIND_GLOBAL);
    m_form.allOpenFiles = Checked(IDC_FIND_OPENFILES);
}

void TReplaceDialog::OnCommand(int id, int code)
{
    switch (id) {
    case IDC_FIND_TEXT:
        // A pick from the list reaches the edit part only after this notification.
        if (code == CBN_EDITCHANGE || code == CBN_SELCHANGE) {
            std::string text = ItemText(id);
            if (code == CBN_SELCHANGE) {
                const LRESULT index = SendMessageW(Item(id), CB_GETCURSEL, 0, 0);
                if (index != CB_ERR && static_cast<size_t>(index) < m_form.findItems.size())
                    text = m_form.findItems[static_cast<size_t>(index)];
            }
            m_form.FindBoxChanged(text);
            UpdateButtons();
        }
        break;
    case IDC_REPLACE_TEXT:
        if (code == CBN_EDITCHANGE)
            m_form.ReplaceBoxChanged(ItemText(id));
        break;
    case IDOK: // Enter in a box
    case IDC_FIND_NEXT:
    case IDC_REPLACE_ONE:
    case IDC_REPLACE_ALL: {
        // The box may have changed without a notification (text set by another program).
        m_form.FindBoxChanged(ItemText(IDC_FIND_TEXT));
        UpdateButtons();
        if (!m_form.buttonsEnabled)
            break;
        const TReplaceButton button = id == IDC_REPLACE_ONE ? TReplaceButton::Replace
            : id == IDC_REPLACE_ALL                         ? TReplaceButton::ReplaceAll
                                                            : TReplaceButton::FindNext;
        ControlsToModel();
        if (m_form.ButtonClick(button)) {
            EndModal(m_form.ModalResult());
            break;
        }
        ModelToControls();
        if (OnSearched)
            OnSearched();
        break;
    }
    case IDCANCEL:
        m_form.CancelClick();
        EndModal(m_form.ModalResult());
        break;
    default:
        break;
    }
}

} // namespace wexly::win32
