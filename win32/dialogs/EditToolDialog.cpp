#include "win32/dialogs/EditToolDialog.h"

#include "win32/dialogs/ShellFolderBrowser.h"
#include "win32/platform/WinStrings.h"
#include "win32/res/dialogs/EditToolIds.h"

namespace wexly::win32 {

namespace {

std::string TextOf(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return WideToUtf8(text);
}

void SetTextOf(HWND dialog, int id, const std::string& text)
{
    SetDlgItemTextW(dialog, id, Utf8ToWide(text).c_str());
}

bool IsChecked(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

} // namespace

TEditToolDialog::TEditToolDialog(HWND owner, IFileDialogs& dialogs, const std::string& lastDir)
    : m_owner(owner)
    , m_dialogs(dialogs)
    , m_lastDir(lastDir)
{
}

bool TEditToolDialog::ShowModal(TEditToolForm& form)
{
    m_form = &form;
    const int answer = RunModal(m_owner, IDD_EDITTOOL);
    m_form = nullptr;
    m_dialog = nullptr;
    return answer == IDOK;
}

void TEditToolDialog::WriteFields()
{
    SetTextOf(m_dialog, IDC_ET_NAME, m_form->name);
    SetTextOf(m_dialog, IDC_ET_COMMAND, m_form->commandLine);
    SetTextOf(m_dialog, IDC_ET_DIR, m_form->workDir);
    SetTextOf(m_dialog, IDC_ET_FILENAME, m_form->fileName);
    CheckDlgButton(m_dialog, IDC_ET_RECORD, m_form->recordOutput ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(
        m_dialog, IDC_ET_RELOAD, m_form->reloadOnCompletion ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(
        m_dialog, IDC_ET_CURRENT, IDC_ET_NAMED, m_form->namedFile ? IDC_ET_NAMED : IDC_ET_CURRENT);
}

void TEditToolDialog::ReadFields()
{
    m_form->name = TextOf(m_dialog, IDC_ET_NAME);
    m_form->commandLine = TextOf(m_dialog, IDC_ET_COMMAND);
    m_form->workDir = TextOf(m_dialog, IDC_ET_DIR);
    m_form->fileName = TextOf(m_dialog, IDC_ET_FILENAME);
    m_form->recordOutput = IsChecked(m_dialog, IDC_ET_RECORD);
    m_form->reloadOnCompletion = IsChecked(m_dialog, IDC_ET_RELOAD);
    m_form->namedFile = IsChecked(m_dialog, IDC_ET_NAMED);
}

void TEditToolDialog::UpdateEnabling()
{
    ReadFields();
    EnableWindow(GetDlgItem(m_dialog, IDC_ET_CURRENT), m_form->RadiosEnabled());
    EnableWindow(GetDlgItem(m_dialog, IDC_ET_NAMED), m_form->RadiosEnabled());
    EnableWindow(GetDlgItem(m_dialog, IDC_ET_FILENAME), m_form->FileNameEnabled());
}

void TEditToolDialog::Init()
{
    WriteFields();
    UpdateEnabling();
    HWND name = GetDlgItem(m_dialog, IDC_ET_NAME);
    SetFocus(name);
    SendMessageW(name, EM_SETSEL, 0, -1);
}

void TEditToolDialog::BrowseProgram()
{
    ReadFields();
    const TProgramBrowseRequest browse = m_form->ProgramBrowse(m_lastDir);
    TOpenDialogRequest request;
    request.initialDir = browse.initialDir;
    request.filterList = browse.filter;
    request.filterIndex = 1;
    request.fileName = browse.fileName;
    const TOpenDialogResult result = m_dialogs.ShowOpen(request);
    if (!result.confirmed || result.files.empty())
        return;
    m_form->ProgramChosen(result.files.front());
    WriteFields();
}

void TEditToolDialog::BrowseFolder()
{
    ReadFields();
    TShellFolderBrowser browser(m_dialog);
    if (auto folder
        = browser.BrowseForFolder(TEditToolForm::kFolderTitle, m_form->FolderBrowseStart())) {
        m_form->FolderChosen(*folder);
        SetTextOf(m_dialog, IDC_ET_DIR, m_form->workDir);
    }
}

bool TEditToolDialog::Command(int id, int code)
{
    switch (id) {
    case IDOK:
        ReadFields();
        EndModal(IDOK);
        return true;
    case IDCANCEL:
        EndModal(IDCANCEL);
        return true;
    case IDC_ET_RELOAD:
    case IDC_ET_CURRENT:
    case IDC_ET_NAMED:
        if (code == BN_CLICKED)
            UpdateEnabling();
        return true;
    case IDC_ET_COMMAND_BROWSE:
        BrowseProgram();
        return true;
    case IDC_ET_DIR_BROWSE:
        BrowseFolder();
        return true;
    default:
        return false;
    }
}

bool TEditToolDialog::OnInit()
{
    m_dialog = Handle();
    Init();
    return false; // the name box has the focus
}

void TEditToolDialog::OnCommand(int id, int code)
{
    if (m_form)
        Command(id, code);
}

} // namespace wexly::win32
