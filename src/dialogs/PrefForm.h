// The "Preferences" dialog's logic: working copies of the settings its pages edit, the rules of
// each page, and what OK stores. Nothing reaches the settings record before Ok().
#pragma once

#include "config/Settings.h"
#include "macros/MacroPageModel.h"
#include "piles/PileTree.h"
#include "platform/Ui.h"
#include "search/FindInFilesModel.h"
#include "tools/ToolsPage.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace wexly {

// "General": the edit boxes as typed, the check boxes as set.
struct TGeneralPage
{
    std::string tabSize, rightMargin, reopenCount; // edit texts
    bool autoIndent = false, realTabs = false, backupText = false, backupBinary = false;
    bool binaryCheck = false, showBookmarks = false, startBlank = false, pageHeader = false;
    bool findDialogCloses = false, silentReload = false, verticalCarets = false;
    bool hideCloseDelete = false;
    bool convertUnicode = false;

    static constexpr int kReopenMin = 10;
    static constexpr int kReopenMax = 50;
    // The "Files in reopen" edit losing the focus: below 10 or not a number gives "10", above
    // 50 gives "50", anything else stays.
    static std::string ReopenCountOnExit(const std::string& text);
    // A whole decimal number (optional sign, blanks around allowed) in 32 bits, or none.
    static std::optional<int32_t> ParseNumber(const std::string& text);

    void Load(const TSettings& s);
    void Store(TSettings& s) const;
};

// "Button Bars": the left list of what can be added ("00" the gap, "01".."33" the buttons
// n+1) and the right list, the tool bar's lines. Each selection is an index or -1.
class TToolBarPage
{
public:
    bool showFileButtons = false, flatButtons = false, alternateIcons = false;
    bool showToolBar = false;

    void Load(const TSettings& s);
    void Store(TSettings& s) const;

    const std::vector<std::string>& Left() const { return m_left; }
    const std::vector<std::string>& Right() const { return m_right; }
    int LeftIndex() const { return m_leftIndex; }
    int RightIndex() const { return m_rightIndex; }
    void SetLeftIndex(int index) { m_leftIndex = Clamp(index, m_left); }
    void SetRightIndex(int index) { m_rightIndex = Clamp(index, m_right); }

    void Add();
    void Remove();
    void MoveUp() { Move(-1); }
    void MoveDown() { Move(1); }

    // The button a row draws: its number (the left list's less one); -1 is the gap; -2 is a
    // line that names no button.
    static int LeftButton(const std::string& line);
    static int RightButton(const std::string& line);
    // The row's label: the button's name, or "Seperator" for the gap.
    static std::string RowLabel(int button);

    // Left sorted with "00" present and no line twice.
    bool CheckInvariants() const;

private:
    static int Clamp(int index, const std::vector<std::string>& list);
    void InsertLeft(const std::string& line);
    void Move(int step);

    std::vector<std::string> m_left, m_right;
    int m_leftIndex = -1, m_rightIndex = -1;
};

// "Colours & Fonts": five items over four working fonts and 14 working colours, and the sample
// box that shows the current item.
class TColourFontPage
{
public:
    static constexpr int kItemCount = 5;
    struct TItem
    {
        const char* name;
        int font; // index into the working fonts
        size_t foreground, background; // colour indices
        uint32_t defaultForeground, defaultBackground;
    };
    static const std::array<TItem, kItemCount>& Items();

    struct TSample
    {
        TFontSet font;
        uint32_t text = 0, back = 0;
    };

    void Load(const TSettings& s);
    // Saves the sample back into the shown item first.
    void Store(TSettings& s);

    // Saves the sample into the item shown so far, then shows `item` (-1 shows nothing).
    void Select(int item);
    int Shown() const { return m_shown; }
    const TSample& Sample() const { return m_sample; }
    void SetSampleFont(const TFontSet& font);
    void SetSampleText(uint32_t colour) { m_sample.text = colour; }
    void SetSampleBack(uint32_t colour) { m_sample.back = colour; }
    void DefaultForeground();
    void DefaultBackground();
    // The font dialog offers fixed-pitch fonts only for the editor's items.
    bool FixedPitchOnly() const { return m_shown == 0 || m_shown == 1; }
    // "Reset to Wexly Defaults": Terminal 9 with charset 255 four times and the default colours;
    // the shown item is forgotten, then `selected` is shown again.
    void ResetDefaults(int selected);

    const std::array<TFontSet, 4>& Fonts() const { return m_fonts; }
    const TColourTable& Colours() const { return m_colours; }

private:
    void SaveSample();

    std::array<TFontSet, 4> m_fonts {};
    TColourTable m_colours {};
    int m_shown = -1;
    TSample m_sample;
};

// "File Dialog": favourite directories and the filters, each list with the line its edit
// boxes are bound to (-1 none) and its selection.
class TFileDialogPage
{
public:
    struct TFilter
    {
        std::string name, mask;
        friend bool operator==(const TFilter&, const TFilter&) = default;
    };
    static constexpr const char* kAllFiles = "All Files (*.*)|*.*";

    void Load(const TSettings& s);
    void Store(TSettings& s) const;
    // FilterList split into pairs; a trailing name without "|" is dropped.
    static std::vector<TFilter> SplitFilters(const std::string& filterList);
    static std::string JoinFilters(const std::vector<TFilter>& filters);

    // ---- favourites ----
    const std::vector<std::string>& Favourites() const { return m_faves; }
    int FavouriteIndex() const { return m_faveIndex; }
    int FavouriteBound() const { return m_faveBound; }
    const std::string& FavouriteText() const { return m_faveText; }
    void SelectFavourite(int index);
    void FavouriteEdited(const std::string& text);
    void AddFavourite();
    void DeleteFavourite(IAsker& asker);
    // "...": the chosen folder goes into the edit box, as if typed.
    void BrowseFavourite(IFolderBrowser& browser);
    void MoveFavourite(int step);

    // ---- filters ----
    const std::vector<TFilter>& Filters() const { return m_filters; }
    int FilterIndex() const { return m_filterIndex; }
    int FilterBound() const { return m_filterBound; }
    const std::string& NameText() const { return m_nameText; }
    const std::string& MaskText() const { return m_maskText; }
    void SelectFilter(int index);
    void FilterEdited(const std::string& name, const std::string& mask);
    void AddFilter();
    void DeleteFilter(IAsker& asker);
    void MoveFilter(int step);

private:
    std::vector<std::string> m_faves;
    int m_faveIndex = -1, m_faveBound = -1;
    std::string m_faveText;
    std::string m_browseFolder; // where the folder browser starts when the edit box is empty
    std::vector<TFilter> m_filters;
    int m_filterIndex = -1, m_filterBound = -1;
    std::string m_nameText, m_maskText;
};

inline constexpr const char* kPreferencesCaption = "Preferences";
inline constexpr int kPrefHelpTopic = 20;

// The dialog as a whole: its pages, the page list and the page remembered from the last OK,
// which lives as long as the object. The macro page needs files, dialogs and the settings
// record itself (the macro path changes at once), so its owner attaches it.
class TPrefForm
{
public:
    enum TPageIndex : int {
        pgGeneral,
        pgButtonBars,
        pgColours,
        pgFileDialog,
        pgPiles,
        pgTools,
        pgMacros
    };

    TGeneralPage general;
    TToolBarPage buttonBars;
    TColourFontPage colours;
    TFileDialogPage fileDialog;
    TPileTree piles;
    TToolsPage tools;

    // Borrowed; without it the macro page is left alone.
    void AttachMacros(TMacroPageModel* macros) { m_macros = macros; }
    TMacroPageModel* Macros() const { return m_macros; }

    // FormShow: every page loaded from the settings; the remembered page selected.
    void Show(const TSettings& s);
    // The lines of the page list, in order.
    static const std::vector<std::string>& PageLines();
    int Page() const { return m_page; }
    void SelectPage(int page);
    // The help topic of the selected page.
    int HelpTopic() const { return kPrefHelpTopic + m_page; }
    // OKButtonClick: the pages stored in order, the selected page remembered. Call it only
    // when OkEndsLabelEdit() said no.
    void Ok(TSettings& s);
    // OK pressed while a pile label is being edited only ends that edit (with the edit box's
    // text): true then, and the dialog stays open.
    bool OkEndsLabelEdit(const std::string& editText) { return !piles.OkPressed(editText); }
    // CancelButtonClick: the working copies go; the settings are untouched.
    void Cancel();

private:
    TMacroPageModel* m_macros = nullptr;
    int m_page = 0;
    int m_remembered = 0;
};

} // namespace wexly
