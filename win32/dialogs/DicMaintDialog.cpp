#include "win32/dialogs/DicMaintDialog.h"

#include "win32/res/dialogs/DicMaintIds.h"

#include "win32/Win32Window.h"

#include "win32/MenuIds.h"
#include "win32/controls/ZulGdiCanvas.h"
#include "win32/main/GdiSettings.h"
#include "win32/platform/WinStrings.h"
#include "win32/res/art/ArtIds.h"

#include <commctrl.h>

#include <vector>

namespace wexly::win32 {

namespace {
constexpr int ButtonSize = 24;
constexpr int TopBand = 30; // buttons, "Match Case" and the file label
// Pictures of the main toolbar strip: Open Text, Save, Save As.
constexpr int ButtonPictures[3] = { 1, 5, 6 };
constexpr const char* ButtonHints[3] = { "Open|", "Save|", "Save As|" };
constexpr int ButtonIds[3] = { IDC_DICMAINT_OPEN, IDC_DICMAINT_SAVE, IDC_DICMAINT_SAVEAS };

std::wstring TextOf(HWND window)
{
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
    GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}
} // namespace

TDicMaintDialog::TDicMaintDialog(HWND owner, TSettings& settings, TDicMaintModel& model)
    : m_owner(owner)
    , m_settings(settings)
    , m_model(model)
{
}

TDicMaintDialog::~TDicMaintDialog() = default;

void TDicMaintDialog::ShowModal()
{
    RunModal(m_owner, IDD_DICMAINT);
    m_dialog = m_grid = m_editor = nullptr;
    for (auto& button : m_buttons)
        button.reset();
}

void TDicMaintDialog::Init(HWND dialog)
{
    m_dialog = dialog;
    m_grid = GetDlgItem(dialog, IDC_DICMAINT_GRID);
    SetWindowTextW(dialog, Utf8ToWide(TDicMaintModel::kCaption).c_str());
    ApplyStoredBounds(dialog, m_settings.DicMaintRect);

    TBitmapImage strip = LoadBitmapImage(IDB_TOOLBAR);
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        auto button = std::make_unique<TZulSpeed>();
        button->Create(
            dialog, ButtonIds[i], 4 + static_cast<int>(i) * ButtonSize, 3, ButtonSize, ButtonSize);
        if (strip.width > 0)
            button->SetGlyph(StripPicture(strip, ButtonPictures[i], ART_TOOLBAR_WIDTH));
        button->SetHint(Utf8ToWide(ButtonHints[i]));
        const int id = ButtonIds[i];
        button->OnClick = [dialog, id] { PostMessageW(dialog, WM_COMMAND, id, 0); };
        m_buttons[i] = std::move(button);
    }

    ListView_SetExtendedListViewStyle(m_grid, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    LVCOLUMNW column {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = TDicMaintModel::kDefaultColWidth;
    for (int col = 0; col < 2; ++col) {
        std::wstring caption = Utf8ToWide(m_model.Cell(0, col));
        column.pszText = caption.data();
        SendMessageW(
            m_grid, LVM_INSERTCOLUMNW, static_cast<WPARAM>(col), reinterpret_cast<LPARAM>(&column));
    }
    m_editor = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
        0, 0, 10, 10, m_grid, reinterpret_cast<HMENU>(IDC_DICMAINT_EDITOR),
        GetModuleHandleW(nullptr), nullptr);
    SendMessageW(m_editor, WM_SETFONT, SendMessageW(m_grid, WM_GETFONT, 0, 0), FALSE);
    SetWindowSubclass(m_editor, EditProc, 0, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(m_grid, GridProc, 0, reinterpret_cast<DWORD_PTR>(this));

    m_model.Show();
    CheckDlgButton(dialog, IDC_DICMAINT_MATCHCASE, m_model.MatchCase() ? BST_CHECKED : 0);
    FillGrid();
    RECT client {};
    GetClientRect(dialog, &client);
    SendMessageW(dialog, WM_SIZE, 0, MAKELPARAM(client.right, client.bottom));
    SetFocus(m_editor);
}

void TDicMaintDialog::Layout()
{
    RECT client {};
    GetClientRect(m_dialog, &client);
    const int left = 4 + 3 * ButtonSize + 8;
    MoveWindow(GetDlgItem(m_dialog, IDC_DICMAINT_MATCHCASE), left, 6, 90, 20, TRUE);
    MoveWindow(GetDlgItem(m_dialog, IDC_DICMAINT_LABEL), left + 96, 8,
        std::max(0, static_cast<int>(client.right) - left - 100), 18, TRUE);
    MoveWindow(m_grid, 0, TopBand, client.right, std::max(0L, client.bottom - TopBand), TRUE);
    RECT inner {};
    GetClientRect(m_grid, &inner);
    const int width = TDicMaintModel::ColumnWidth(inner.right);
    ListView_SetColumnWidth(m_grid, 0, width);
    ListView_SetColumnWidth(m_grid, 1, width);
    PlaceEditor();
}

void TDicMaintDialog::SetRowText(int row)
{
    for (int col = 0; col < 2; ++col) {
        std::wstring text = Utf8ToWide(m_model.Cell(row, col));
        LVITEMW item {};
        item.iSubItem = col;
        item.pszText = text.data();
        SendMessageW(m_grid, LVM_SETITEMTEXTW, static_cast<WPARAM>(row - 1),
            reinterpret_cast<LPARAM>(&item));
    }
}

void TDicMaintDialog::FillGrid()
{
    SendMessageW(m_grid, WM_SETREDRAW, FALSE, 0);
    const int rows = m_model.RowCount() - 1;
    int shown = static_cast<int>(SendMessageW(m_grid, LVM_GETITEMCOUNT, 0, 0));
    while (shown > rows)
        SendMessageW(m_grid, LVM_DELETEITEM, static_cast<WPARAM>(--shown), 0);
    for (; shown < rows; ++shown) {
        LVITEMW item {};
        item.mask = LVIF_TEXT;
        item.iItem = shown;
        item.pszText = const_cast<wchar_t*>(L"");
        SendMessageW(m_grid, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    for (int row = 1; row <= rows; ++row)
        SetRowText(row);
    SendMessageW(m_grid, WM_SETREDRAW, TRUE, 0);
    SetDlgItemTextW(m_dialog, IDC_DICMAINT_LABEL, Utf8ToWide(m_model.Label()).c_str());
    PlaceEditor();
}

// The editor sits over the current cell and holds its text.
void TDicMaintDialog::PlaceEditor()
{
    if (!m_editor)
        return;
    const int index = m_model.CurrentRow() - 1;
    ListView_SetItemState(
        m_grid, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(m_grid, index, FALSE);
    PositionEditor();
    m_settingEditor = true;
    SetWindowTextW(
        m_editor, Utf8ToWide(m_model.Cell(m_model.CurrentRow(), m_model.CurrentCol())).c_str());
    m_settingEditor = false;
    SendMessageW(m_editor, EM_SETSEL, 0, -1);
}

void TDicMaintDialog::PositionEditor()
{
    const int index = m_model.CurrentRow() - 1;
    RECT cell {};
    cell.top = m_model.CurrentCol();
    cell.left = LVIR_BOUNDS;
    SendMessageW(
        m_grid, LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
    if (m_model.CurrentCol() == 0) // the first sub-item's bounds span the whole row
        cell.right = cell.left + ListView_GetColumnWidth(m_grid, 0);
    MoveWindow(
        m_editor, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top + 1, TRUE);
}

void TDicMaintDialog::MoveTo(int row, int col)
{
    const int before = m_model.RowCount();
    m_model.SelectCell(row, col);
    if (m_model.RowCount() != before)
        FillGrid();
    else
        PlaceEditor();
}

void TDicMaintDialog::CellEdited()
{
    if (m_settingEditor)
        return;
    const std::wstring typed = TextOf(m_editor);
    const std::string kept
        = m_model.SetCell(m_model.CurrentRow(), m_model.CurrentCol(), WideToUtf8(typed));
    const std::wstring keptWide = Utf8ToWide(kept);
    if (keptWide != typed) {
        // A trigger character was removed: put the caret where the typing was.
        DWORD caret = 0;
        SendMessageW(m_editor, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
        m_settingEditor = true;
        SetWindowTextW(m_editor, keptWide.c_str());
        m_settingEditor = false;
        const auto at
            = static_cast<DWORD>(DicCaretAfterFilter(caret, typed.size(), keptWide.size()));
        SendMessageW(m_editor, EM_SETSEL, at, at);
    }
    SetRowText(m_model.CurrentRow());
}

namespace {

bool GridKeyOf(WPARAM key, TDicGridKey& out)
{
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
    case VK_UP:
        out = TDicGridKey::Up;
        return true;
    case VK_DOWN:
        out = TDicGridKey::Down;
        return true;
    case VK_PRIOR:
        out = TDicGridKey::PageUp;
        return true;
    case VK_NEXT:
        out = TDicGridKey::PageDown;
        return true;
    case VK_TAB:
        out = shift ? TDicGridKey::ShiftTab : TDicGridKey::Tab;
        return true;
    case VK_RETURN:
        out = TDicGridKey::Enter;
        return true;
    case VK_LEFT:
        out = TDicGridKey::Left;
        return true;
    case VK_RIGHT:
        out = TDicGridKey::Right;
        return true;
    case VK_DELETE:
        out = TDicGridKey::CtrlDelete;
        return ctrl;
    case VK_ESCAPE:
        out = TDicGridKey::Escape;
        return true;
    default:
        return false;
    }
}

} // namespace

// Keys the editor gives to the grid: true when used.
bool TDicMaintDialog::EditorKey(WPARAM key)
{
    TDicGridKey gridKey {};
    if (!GridKeyOf(key, gridKey))
        return false;
    DWORD start = 0, end = 0;
    SendMessageW(
        m_editor, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const auto length = static_cast<DWORD>(GetWindowTextLengthW(m_editor));
    const TDicGridStep step = DicGridKeyStep(gridKey, m_model.CurrentRow(), m_model.CurrentCol(),
        m_model.RowCount(), start == 0 && end == 0, start == length && end == length);
    switch (step.action) {
    case TDicGridAction::None:
        return false;
    case TDicGridAction::Move:
        MoveTo(step.row, step.col);
        return true;
    case TDicGridAction::DeleteRow: {
        const int before = m_model.RowCount();
        m_model.DeleteCurrentRow();
        if (m_model.RowCount() != before)
            FillGrid();
        return true;
    }
    case TDicGridAction::Close:
        TryClose();
        return true;
    }
    return false;
}

LRESULT CALLBACK TDicMaintDialog::EditProc(
    HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    return GuardedProc([&]() -> LRESULT {
        auto* self = reinterpret_cast<TDicMaintDialog*>(data);
        switch (msg) {
        case WM_GETDLGCODE:
            // The grid's keys are the editor's: Tab, Enter and Esc do not go to the dialog.
            return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, msg, wp, lp);
        case WM_KEYDOWN:
            if (self->EditorKey(wp))
                return 0;
            break;
        case WM_CHAR:
            if (wp == VK_TAB || wp == VK_RETURN || wp == VK_ESCAPE || wp == 0x7F)
                return 0; // used as keys above, not typed
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, EditProc, 0);
            break;
        default:
            break;
        }
        return DefSubclassProc(hwnd, msg, wp, lp);
    });
}

// The editor is the list view's child, so its notifications arrive here.
LRESULT CALLBACK TDicMaintDialog::GridProc(
    HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data)
{
    return GuardedProc([&]() -> LRESULT {
        auto* self = reinterpret_cast<TDicMaintDialog*>(data);
        switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wp) == IDC_DICMAINT_EDITOR && HIWORD(wp) == EN_CHANGE) {
                self->CellEdited();
                return 0;
            }
            break;
        case WM_VSCROLL:
        case WM_MOUSEWHEEL: {
            const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
            self->PositionEditor();
            return result;
        }
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, GridProc, 0);
            break;
        default:
            break;
        }
        return DefSubclassProc(hwnd, msg, wp, lp);
    });
}

void TDicMaintDialog::TryClose()
{
    if (!m_model.CloseQuery())
        return;
    m_settings.DicMaintRect = WindowBounds(m_dialog);
    EndModal(IDOK);
}

void TDicMaintDialog::AfterFileCommand()
{
    CheckDlgButton(m_dialog, IDC_DICMAINT_MATCHCASE, m_model.MatchCase() ? BST_CHECKED : 0);
    FillGrid();
    SetFocus(m_editor);
}

bool TDicMaintDialog::OnInit()
{
    Init(Handle());
    return false;
}

bool TDicMaintDialog::OnSize(int, int)
{
    if (m_grid)
        Layout();
    return true;
}

// A click on a cell moves the editor onto it.
bool TDicMaintDialog::OnNotify(const NMHDR& header, LRESULT&)
{
    if (header.hwndFrom == m_grid && header.code == NM_CLICK) {
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        LVHITTESTINFO hit {};
        hit.pt = click.ptAction;
        if (ListView_SubItemHitTest(m_grid, &hit) >= 0)
            MoveTo(hit.iItem + 1, hit.iSubItem);
        SetFocus(m_editor);
    }
    return false;
}

void TDicMaintDialog::OnCommand(int id, int)
{
    switch (id) {
    case IDC_DICMAINT_MATCHCASE:
        m_model.SetMatchCase(Checked(IDC_DICMAINT_MATCHCASE));
        break;
    case IDC_DICMAINT_OPEN:
        m_model.Open();
        AfterFileCommand();
        break;
    case IDC_DICMAINT_SAVE:
        m_model.Save();
        AfterFileCommand();
        break;
    case IDC_DICMAINT_SAVEAS:
        m_model.SaveAs();
        AfterFileCommand();
        break;
    case IDCANCEL:
        TryClose();
        break;
    default:
        break;
    }
}

} // namespace wexly::win32
