#include "win32/dialogs/PrefDialog.h"

#include "config/UtilsBox.h"
#include "win32/controls/ZulGdiCanvas.h"
#include "win32/dialogs/ShellFolderBrowser.h"
#include "win32/main/GdiSettings.h"
#include "win32/main/HelpPages.h"
#include "win32/platform/WinStrings.h"
#include "win32/res/art/ArtIds.h"
#include "win32/res/dialogs/PrefIds.h"

#include <commdlg.h>

namespace wexly::win32 {

namespace {

constexpr int kToolRowHeight = 22;

TFontSet FontSetOf(const LOGFONTW& lf, int pointSizeTenths)
{
    TFontSet set;
    set.Name = WideToUtf8(lf.lfFaceName);
    set.Style = static_cast<uint8_t>((lf.lfWeight >= FW_BOLD ? FontStyle::Bold : 0)
        | (lf.lfItalic ? FontStyle::Italic : 0) | (lf.lfUnderline ? FontStyle::Underline : 0)
        | (lf.lfStrikeOut ? FontStyle::StrikeOut : 0));
    set.Size = (pointSizeTenths + 5) / 10;
    set.Charset = lf.lfCharSet;
    return set;
}

} // namespace

TPrefDialog::TPrefDialog(
    TPrefForm& model, const TSettings& settings, IFileDialogs& dialogs, IClipboard& clipboard)
    : m_model(model)
    , m_settings(settings)
    , m_fileDialogs(dialogs)
    , m_piles(model.piles, m_asker)
    , m_macros(clipboard)
{
}

TPrefDialog::~TPrefDialog()
{
    if (m_sampleFont)
        DeleteObject(m_sampleFont);
}

bool TPrefDialog::Create(HWND owner)
{
    if (!TModalDialog::Create(owner, IDD_PREF))
        return false;
    m_asker.SetOwner(Handle());
    m_toolStrip = LoadBitmapImage(IDB_TOOLBAR);
    m_glyphs = LoadBitmapImage(IDB_DIALOGGLYPHS);
    for (int id : { IDC_BAR_LEFT, IDC_BAR_RIGHT })
        SendMessageW(Item(id), LB_SETITEMHEIGHT, 0, kToolRowHeight);
    for (const std::string& line : TPrefForm::PageLines())
        SendMessageW(Item(IDC_PREF_PAGES), LB_ADDSTRING, 0,
            reinterpret_cast<LPARAM>(Utf8ToWide(line).c_str()));
    for (const auto& item : TColourFontPage::Items())
        SendMessageW(Item(IDC_COL_ITEMS), LB_ADDSTRING, 0,
            reinterpret_cast<LPARAM>(Utf8ToWide(item.name).c_str()));
    SendMessageW(Item(IDC_GEN_REOPEN_UPDOWN), UDM_SETRANGE32, TGeneralPage::kReopenMin,
        TGeneralPage::kReopenMax);
    CreateGlyphButtons();
    FitToHelpButton();
    m_piles.Attach(Handle());
    m_editTool = std::make_unique<TEditToolDialog>(Handle(), m_fileDialogs, m_settings.LastDir);
    m_tools = std::make_unique<TToolsPageView>(m_model.tools, m_asker, *m_editTool);
    m_tools->Attach(Handle());
    m_macros.Attach(Handle(), m_model.Macros());
    return true;
}

TZulButton& TPrefDialog::PlaceButton(int id, int glyph, const char* hint)
{
    // The template's hidden placeholder gives the place and the tab order.
    HWND mark = Item(id);
    RECT r {};
    GetWindowRect(mark, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    auto button = std::make_unique<TZulButton>();
    HWND hwnd = button->Create(Handle(), id, r.left, r.top, r.right - r.left, r.bottom - r.top);
    SetWindowPos(hwnd, mark, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(mark);
    if (glyph >= 0 && !m_glyphs.Empty())
        button->SetGlyph(StripPicture(m_glyphs, glyph, ART_DIALOG_GLYPH_WIDTH));
    if (hint)
        button->SetHint(Utf8ToWide(hint));
    m_buttons.push_back(std::move(button));
    return *m_buttons.back();
}

void TPrefDialog::CreateGlyphButtons()
{
    PlaceButton(IDC_BAR_ADD, ART_GLYPH_RIGHT, "Add");
    PlaceButton(IDC_BAR_REMOVE, ART_GLYPH_LEFT, "Remove");
    PlaceButton(IDC_BAR_UP, ART_GLYPH_UP, "Up");
    PlaceButton(IDC_BAR_DOWN, ART_GLYPH_DOWN, "Down");
    m_defForeground = &PlaceButton(IDC_COL_DEFFOREGROUND, -1, nullptr);
    m_defForeground->SetCaption("Default Foreground");
    m_defBackground = &PlaceButton(IDC_COL_DEFBACKGROUND, -1, nullptr);
    m_defBackground->SetCaption("Default Background");
    PlaceButton(IDC_FD_FAVE_BROWSE, ART_GLYPH_BROWSE, "Browse");
    PlaceButton(IDC_FD_FAVE_ADD, ART_GLYPH_ADD, "Add");
    PlaceButton(IDC_FD_FAVE_DELETE, ART_GLYPH_DELETE, "Delete");
    PlaceButton(IDC_FD_FAVE_UP, ART_GLYPH_UP, "Up");
    PlaceButton(IDC_FD_FAVE_DOWN, ART_GLYPH_DOWN, "Down");
    PlaceButton(IDC_FD_FILTER_ADD, ART_GLYPH_ADD, "Add");
    PlaceButton(IDC_FD_FILTER_DELETE, ART_GLYPH_DELETE, "Delete");
    PlaceButton(IDC_FD_FILTER_UP, ART_GLYPH_UP, "Up");
    PlaceButton(IDC_FD_FILTER_DOWN, ART_GLYPH_DOWN, "Down");
    PlaceButton(IDC_TOOL_ADD, ART_GLYPH_ADD, TToolsPage::kAddHint);
    PlaceButton(IDC_TOOL_EDIT, -1, TToolsPage::kEditHint).SetCaption("Edit");
    PlaceButton(IDC_TOOL_DELETE, ART_GLYPH_DELETE, TToolsPage::kDeleteHint);
    PlaceButton(IDC_MAC_BACK, ART_GLYPH_LEFT, "Delete last keypress in macro");
    PlaceButton(IDC_MAC_CLEAR, ART_GLYPH_CLEAR, "Clear this macro");
    PlaceButton(IDC_PREF_HELP, ART_GLYPH_HELP, "Help");
}

void TPrefDialog::FitToHelpButton()
{
    RECT help {};
    GetWindowRect(Item(IDC_PREF_HELP), &help);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&help), 2);
    RECT outer { 0, 0, help.right + 4, help.bottom + 4 };
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
        static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TPrefDialog::ShowPage(int page)
{
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id < IDC_PREF_PAGE_FIRST)
            continue;
        const int owner = (id - IDC_PREF_PAGE_FIRST) / IDC_PREF_PAGE_BLOCK;
        ShowWindow(child, owner == page ? SW_SHOW : SW_HIDE);
    }
}

void TPrefDialog::OnShow()
{
    m_model.Show(m_settings);
    LoadGeneral();
    const TToolBarPage& bars = m_model.buttonBars;
    SetChecked(IDC_BAR_FILEBUTTONS, bars.showFileButtons);
    SetChecked(IDC_BAR_FLAT, bars.flatButtons);
    SetChecked(IDC_BAR_ALTICONS, bars.alternateIcons);
    SetChecked(IDC_BAR_TOOLBAR, bars.showToolBar);
    FillToolBarLists();
    SendMessageW(
        Item(IDC_COL_ITEMS), LB_SETCURSEL, static_cast<WPARAM>(m_model.colours.Shown()), 0);
    ShowColourItem();
    FillFavourites();
    FillFilters();
    SetTextQuietly(IDC_FD_FAVE_EDIT, {});
    SetTextQuietly(IDC_FD_NAME, {});
    SetTextQuietly(IDC_FD_MASK, {});
    m_piles.Load();
    m_macros.Load();
    m_tools->Load();
    SendMessageW(Item(IDC_PREF_PAGES), LB_SETCURSEL, static_cast<WPARAM>(m_model.Page()), 0);
    ShowPage(m_model.Page());
    SetFocus(Item(IDC_PREF_PAGES));
}

// ---- General ----------------------------------------------------------------------------------

namespace {
struct TCheckField
{
    int id;
    bool TGeneralPage::*field;
};
constexpr TCheckField GeneralChecks[] = {
    { IDC_GEN_AUTOINDENT, &TGeneralPage::autoIndent },
    { IDC_GEN_REALTABS, &TGeneralPage::realTabs },
    { IDC_GEN_BACKUPTEXT, &TGeneralPage::backupText },
    { IDC_GEN_BACKUPBIN, &TGeneralPage::backupBinary },
    { IDC_GEN_BINCHECK, &TGeneralPage::binaryCheck },
    { IDC_GEN_BOOKMARKS, &TGeneralPage::showBookmarks },
    { IDC_GEN_STARTBLANK, &TGeneralPage::startBlank },
    { IDC_GEN_PAGEHEADER, &TGeneralPage::pageHeader },
    { IDC_GEN_FINDCLOSES, &TGeneralPage::findDialogCloses },
    { IDC_GEN_SILENTRELOAD, &TGeneralPage::silentReload },
    { IDC_GEN_VCARETS, &TGeneralPage::verticalCarets },
    { IDC_GEN_HIDECLOSEDELETE, &TGeneralPage::hideCloseDelete },
    { IDC_GEN_UNICODE, &TGeneralPage::convertUnicode },
};
}

void TPrefDialog::LoadGeneral()
{
    const TGeneralPage& page = m_model.general;
    SetItemText(IDC_GEN_TABSIZE, page.tabSize);
    SetItemText(IDC_GEN_MARGIN, page.rightMargin);
    SetItemText(IDC_GEN_REOPEN, page.reopenCount);
    for (const TCheckField& check : GeneralChecks)
        SetChecked(check.id, page.*check.field);
}

void TPrefDialog::StoreGeneral()
{
    TGeneralPage& page = m_model.general;
    page.tabSize = ItemText(IDC_GEN_TABSIZE);
    page.rightMargin = ItemText(IDC_GEN_MARGIN);
    page.reopenCount = ItemText(IDC_GEN_REOPEN);
    for (const TCheckField& check : GeneralChecks)
        page.*check.field = Checked(check.id);
}

void TPrefDialog::GeneralCommand(int id, int code)
{
    if (id == IDC_GEN_REOPEN && code == EN_KILLFOCUS) {
        const std::string text = ItemText(id);
        const std::string fixed = TGeneralPage::ReopenCountOnExit(text);
        if (fixed != text)
            SetItemText(id, fixed);
    }
}

// ---- lists ------------------------------------------------------------------------------------

void TPrefDialog::FillList(int id, const std::vector<std::string>& lines, int selected)
{
    HWND list = Item(id);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& line : lines)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(line).c_str()));
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

int TPrefDialog::Selection(int id) const
{
    const LRESULT index = SendMessageW(Item(id), LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? -1 : static_cast<int>(index);
}

void TPrefDialog::FillToolBarLists()
{
    const TToolBarPage& bars = m_model.buttonBars;
    FillList(IDC_BAR_LEFT, bars.Left(), bars.LeftIndex());
    FillList(IDC_BAR_RIGHT, bars.Right(), bars.RightIndex());
}

void TPrefDialog::ToolBarCommand(int id, int code)
{
    TToolBarPage& bars = m_model.buttonBars;
    switch (id) {
    case IDC_BAR_LEFT:
        if (code == LBN_SELCHANGE)
            bars.SetLeftIndex(Selection(id));
        return;
    case IDC_BAR_RIGHT:
        if (code == LBN_SELCHANGE)
            bars.SetRightIndex(Selection(id));
        return;
    case IDC_BAR_ADD:
        bars.Add();
        break;
    case IDC_BAR_REMOVE:
        bars.Remove();
        break;
    case IDC_BAR_UP:
        bars.MoveUp();
        break;
    case IDC_BAR_DOWN:
        bars.MoveDown();
        break;
    default:
        return;
    }
    FillToolBarLists();
}

void TPrefDialog::DrawToolBarRow(const DRAWITEMSTRUCT& item)
{
    if (item.itemID == static_cast<UINT>(-1))
        return;
    const RECT& r = item.rcItem;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    TZulGdiCanvas canvas(
        width, height, reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
    if (!canvas.Ok())
        return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const TColorRef back = kSystemColorFlag | (selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const TColorRef text = kSystemColorFlag | (selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    canvas.FillRect({ 0, 0, width, height }, back);

    const LRESULT length = SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
    std::wstring line(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(line.data()));
    line.resize(static_cast<size_t>(length > 0 ? length : 0));
    const int button = item.CtlID == IDC_BAR_LEFT ? TToolBarPage::LeftButton(WideToUtf8(line))
                                                  : TToolBarPage::RightButton(WideToUtf8(line));
    if (button >= 0) {
        const TBitmapImage glyph = StripPicture(m_toolStrip, button, ART_TOOLBAR_WIDTH);
        canvas.DrawImage(glyph.Columns(0, GlyphHalfWidth(glyph)), 2, 1);
        canvas.FillRect({ 22, 0, width, height }, back);
        canvas.DrawCaption(TToolBarPage::RowLabel(button), 24, 0, text);
    } else if (button == kToolBarGap) {
        canvas.DrawCaption(TToolBarPage::RowLabel(button), 2, 0, text);
    }
    if (item.itemState & ODS_FOCUS)
        canvas.FocusRect({ 0, 0, width, height }, text, back);
    canvas.Present(item.hDC, r.left, r.top);
}

// ---- Colours & Fonts --------------------------------------------------------------------------

void TPrefDialog::ShowColourItem()
{
    const TColourFontPage& page = m_model.colours;
    if (m_sampleFont)
        DeleteObject(m_sampleFont);
    const LOGFONTW lf = LogFontOf(page.Sample().font);
    m_sampleFont = CreateFontIndirectW(&lf);
    InvalidateRect(Item(IDC_COL_SAMPLE), nullptr, TRUE);
    if (page.Shown() < 0)
        return;
    const auto& item = TColourFontPage::Items()[static_cast<size_t>(page.Shown())];
    m_defForeground->SetColor(item.defaultForeground);
    m_defForeground->SetFontColor(item.defaultBackground);
    m_defBackground->SetColor(item.defaultBackground);
    m_defBackground->SetFontColor(item.defaultForeground);
}

void TPrefDialog::DrawSample(const DRAWITEMSTRUCT& item)
{
    const TColourFontPage::TSample& sample = m_model.colours.Sample();
    HBRUSH brush = CreateSolidBrush(ColourOf(sample.back));
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
    if (m_model.colours.Shown() < 0)
        return;
    HGDIOBJ old = SelectObject(item.hDC, m_sampleFont);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, ColourOf(sample.text));
    RECT r = item.rcItem;
    DrawTextW(item.hDC, L"Sample Text", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item.hDC, old);
}

void TPrefDialog::ChooseSampleFont()
{
    TColourFontPage& page = m_model.colours;
    if (page.Shown() < 0)
        return;
    LOGFONTW lf = LogFontOf(page.Sample().font);
    CHOOSEFONTW choose {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = Handle();
    choose.lpLogFont = &lf;
    choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS
        | (page.FixedPitchOnly() ? CF_FIXEDPITCHONLY : 0);
    const COLORREF before = ColourOf(page.Sample().text);
    choose.rgbColors = before;
    if (!ChooseFontW(&choose))
        return;
    page.SetSampleFont(FontSetOf(lf, choose.iPointSize));
    // The font's colour is the sample's text colour; an untouched one keeps a system colour.
    if (choose.rgbColors != before)
        page.SetSampleText(choose.rgbColors & 0xFFFFFF);
    ShowColourItem();
}

void TPrefDialog::ChooseSampleColour(bool foreground)
{
    TColourFontPage& page = m_model.colours;
    if (page.Shown() < 0)
        return;
    static COLORREF custom[16] = {};
    CHOOSECOLORW choose {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = Handle();
    choose.rgbResult = ColourOf(foreground ? page.Sample().text : page.Sample().back);
    choose.lpCustColors = custom;
    choose.Flags = CC_RGBINIT;
    if (!ChooseColorW(&choose))
        return;
    if (foreground)
        page.SetSampleText(choose.rgbResult & 0xFFFFFF);
    else
        page.SetSampleBack(choose.rgbResult & 0xFFFFFF);
    ShowColourItem();
}

void TPrefDialog::ColourCommand(int id, int code)
{
    TColourFontPage& page = m_model.colours;
    switch (id) {
    case IDC_COL_ITEMS:
        if (code != LBN_SELCHANGE)
            return;
        page.Select(Selection(id));
        break;
    case IDC_COL_FONT:
        ChooseSampleFont();
        return;
    case IDC_COL_FOREGROUND:
    case IDC_COL_BACKGROUND:
        ChooseSampleColour(id == IDC_COL_FOREGROUND);
        return;
    case IDC_COL_DEFFOREGROUND:
        page.DefaultForeground();
        break;
    case IDC_COL_DEFBACKGROUND:
        page.DefaultBackground();
        break;
    case IDC_COL_RESET:
        page.ResetDefaults(Selection(IDC_COL_ITEMS));
        break;
    default:
        return;
    }
    ShowColourItem();
}

// ---- File Dialog ------------------------------------------------------------------------------

void TPrefDialog::SetTextQuietly(int id, const std::string& text)
{
    m_quiet = true;
    SetItemText(id, text);
    m_quiet = false;
}

void TPrefDialog::FillFavourites()
{
    const TFileDialogPage& page = m_model.fileDialog;
    FillList(IDC_FD_FAVES, page.Favourites(), page.FavouriteIndex());
}

void TPrefDialog::FillFilters()
{
    const TFileDialogPage& page = m_model.fileDialog;
    std::vector<std::string> names;
    for (const auto& filter : page.Filters())
        names.push_back(filter.name);
    FillList(IDC_FD_FILTERS, names, page.FilterIndex());
}

void TPrefDialog::FileDialogCommand(int id, int code)
{
    TFileDialogPage& page = m_model.fileDialog;
    const bool click = code == BN_CLICKED;
    const bool favourite = id >= IDC_FD_FAVES_GROUP && id < IDC_FD_FILTERS_GROUP;
    if (id == IDC_FD_FAVES && code == LBN_SELCHANGE)
        page.SelectFavourite(Selection(id));
    else if (id == IDC_FD_FAVE_EDIT && code == EN_CHANGE && !m_quiet)
        page.FavouriteEdited(ItemText(id));
    else if (id == IDC_FD_FAVE_BROWSE && click) {
        TShellFolderBrowser browser(Handle());
        page.BrowseFavourite(browser);
    } else if (id == IDC_FD_FAVE_ADD && click)
        page.AddFavourite();
    else if (id == IDC_FD_FAVE_DELETE && click)
        page.DeleteFavourite(m_asker);
    else if ((id == IDC_FD_FAVE_UP || id == IDC_FD_FAVE_DOWN) && click)
        page.MoveFavourite(id == IDC_FD_FAVE_UP ? -1 : 1);
    else if (id == IDC_FD_FILTERS && code == LBN_SELCHANGE)
        page.SelectFilter(Selection(id));
    else if ((id == IDC_FD_NAME || id == IDC_FD_MASK) && code == EN_CHANGE && !m_quiet)
        page.FilterEdited(ItemText(IDC_FD_NAME), ItemText(IDC_FD_MASK));
    else if (id == IDC_FD_FILTER_ADD && click)
        page.AddFilter();
    else if (id == IDC_FD_FILTER_DELETE && click)
        page.DeleteFilter(m_asker);
    else if ((id == IDC_FD_FILTER_UP || id == IDC_FD_FILTER_DOWN) && click)
        page.MoveFilter(id == IDC_FD_FILTER_UP ? -1 : 1);
    else
        return;
    if (favourite) {
        FillFavourites();
        if (ItemText(IDC_FD_FAVE_EDIT) != page.FavouriteText())
            SetTextQuietly(IDC_FD_FAVE_EDIT, page.FavouriteText());
    } else {
        FillFilters();
        if (ItemText(IDC_FD_NAME) != page.NameText())
            SetTextQuietly(IDC_FD_NAME, page.NameText());
        if (ItemText(IDC_FD_MASK) != page.MaskText())
            SetTextQuietly(IDC_FD_MASK, page.MaskText());
    }
}

// ---- frame ------------------------------------------------------------------------------------

void TPrefDialog::OnCommand(int id, int code)
{
    switch (id) {
    case IDOK:
        if (m_piles.EndEditForOk())
            return; // the first OK only ends the label edit
        StoreGeneral();
        m_model.buttonBars.showFileButtons = Checked(IDC_BAR_FILEBUTTONS);
        m_model.buttonBars.flatButtons = Checked(IDC_BAR_FLAT);
        m_model.buttonBars.alternateIcons = Checked(IDC_BAR_ALTICONS);
        m_model.buttonBars.showToolBar = Checked(IDC_BAR_TOOLBAR);
        EndModal(IDOK);
        return;
    case IDCANCEL:
        m_piles.EndEditForOk();
        m_model.Cancel();
        EndModal(IDCANCEL);
        return;
    case IDC_PREF_HELP:
        ShowHelpTopic(Handle(), m_model.HelpTopic());
        return;
    case IDC_PREF_PAGES:
        if (code == LBN_SELCHANGE) {
            m_model.SelectPage(Selection(id));
            ShowPage(m_model.Page());
        }
        return;
    default:
        break;
    }
    if (id < IDC_PREF_PAGE_FIRST)
        return;
    switch ((id - IDC_PREF_PAGE_FIRST) / IDC_PREF_PAGE_BLOCK) {
    case 0:
        GeneralCommand(id, code);
        break;
    case 1:
        ToolBarCommand(id, code);
        break;
    case 2:
        ColourCommand(id, code);
        break;
    case 3:
        FileDialogCommand(id, code);
        break;
    case TPrefForm::pgPiles:
        m_piles.Command(id, code);
        break;
    case TPrefForm::pgTools:
        m_tools->Command(id, code);
        break;
    case TPrefForm::pgMacros:
        m_macros.Command(id, code);
        break;
    default:
        break;
    }
}

bool TPrefDialog::OnNotify(const NMHDR& header, LRESULT& result)
{
    return m_piles.Notify(header, result);
}

bool TPrefDialog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT&)
{
    switch (msg) {
    case WM_CONTEXTMENU:
        m_piles.ContextMenu(reinterpret_cast<HWND>(wp), lp);
        return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        return m_piles.Mouse(msg, lp);
    case TPilesPageView::kRebuildMessage:
        m_piles.Rebuild();
        return true;
    default:
        return false;
    }
}

bool TPrefDialog::OnDrawItem(const DRAWITEMSTRUCT& item)
{
    if (item.CtlID == IDC_BAR_LEFT || item.CtlID == IDC_BAR_RIGHT)
        DrawToolBarRow(item);
    else if (item.CtlID == IDC_COL_SAMPLE)
        DrawSample(item);
    else
        return false;
    return true;
}

} // namespace wexly::win32
