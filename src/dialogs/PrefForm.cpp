#include "dialogs/PrefForm.h"

#include "config/UtilsBox.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <utility>

namespace wexly {

namespace {

// System colours as colour values: 0x80000000 plus the system colour index.
constexpr uint32_t SystemColour(uint32_t index)
{
    return 0x80000000u + index;
}
constexpr uint32_t kWindowText = SystemColour(8);
constexpr uint32_t kWindow = SystemColour(5);
constexpr uint32_t kHighlightText = SystemColour(14);
constexpr uint32_t kHighlight = SystemColour(13);
constexpr uint32_t kButtonText = SystemColour(18);
constexpr uint32_t kButtonFace = SystemColour(15);

const char* const kDeleteItemText = "Are you sure you want to delete this item?";
const char* const kDeleteFilterText = "Are you sure you want to delete this filter?";

bool AskDelete(IAsker& asker, const char* text)
{
    return asker.Ask({ text, "Attention", TMsgButtons::YesNo, TMsgIcon::Question, 2 })
        == TMsgResult::Yes;
}

bool InRange(int index, size_t size)
{
    return index >= 0 && static_cast<size_t>(index) < size;
}

std::string TwoDigits(int value)
{
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// Exchanges line `index` with its neighbour `step` away; the index follows the line, and so
// does a binding to either of the two lines.
template <typename T> bool MoveLine(std::vector<T>& lines, int& index, int& bound, int step)
{
    const int to = index + step;
    if (!InRange(index, lines.size()) || !InRange(to, lines.size()))
        return false;
    std::swap(lines[static_cast<size_t>(index)], lines[static_cast<size_t>(to)]);
    if (bound == index)
        bound = to;
    else if (bound == to)
        bound = index;
    index = to;
    return true;
}

} // namespace

// ---- General ----------------------------------------------------------------------------------

std::optional<int32_t> TGeneralPage::ParseNumber(const std::string& text)
{
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1])))
        --last;
    if (first < last && text[first] == '+')
        ++first;
    if (first == last)
        return std::nullopt;
    int32_t value = 0;
    const char* end = text.data() + last;
    const auto [ptr, ec] = std::from_chars(text.data() + first, end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::string TGeneralPage::ReopenCountOnExit(const std::string& text)
{
    const std::optional<int32_t> value = ParseNumber(text);
    if (!value || *value < kReopenMin)
        return std::to_string(kReopenMin);
    if (*value > kReopenMax)
        return std::to_string(kReopenMax);
    return text;
}

void TGeneralPage::Load(const TSettings& s)
{
    tabSize = std::to_string(s.TabSize);
    rightMargin = std::to_string(s.RightMargin);
    // The up-down control holds its position inside its range.
    reopenCount = std::to_string(std::clamp(s.ReopenCount, kReopenMin, kReopenMax));
    autoIndent = s.AutoIndent;
    realTabs = s.RealTabs;
    backupText = s.BackupText;
    backupBinary = s.BackupBinary;
    binaryCheck = s.BinaryCheck;
    showBookmarks = s.ShowBookmarks;
    startBlank = s.StartBlank;
    pageHeader = s.PageHeader;
    findDialogCloses = s.FindDialogCloses;
    silentReload = s.SilentReload;
    verticalCarets = s.VerticalCarets;
    hideCloseDelete = s.HideCloseDelete;
    convertUnicode = s.ConvertUnicode;
}

void TGeneralPage::Store(TSettings& s) const
{
    s.TabSize = ParseNumber(tabSize).value_or(8);
    s.RightMargin = ParseNumber(rightMargin).value_or(0);
    s.AutoIndent = autoIndent;
    s.RealTabs = realTabs;
    s.BackupText = backupText;
    s.BackupBinary = backupBinary;
    s.BinaryCheck = binaryCheck;
    s.ShowBookmarks = showBookmarks;
    s.StartBlank = startBlank;
    s.ReopenCount
        = std::clamp(ParseNumber(reopenCount).value_or(kReopenMin), kReopenMin, kReopenMax);
    s.PageHeader = pageHeader;
    s.FindDialogCloses = findDialogCloses;
    s.SilentReload = silentReload;
    s.VerticalCarets = verticalCarets;
    s.HideCloseDelete = hideCloseDelete;
    s.ConvertUnicode = convertUnicode;
}

// ---- Button Bars ------------------------------------------------------------------------------

int TToolBarPage::LeftButton(const std::string& line)
{
    const std::optional<int32_t> n = TGeneralPage::ParseNumber(line);
    return n && *n >= 0 && *n <= kToolButtonCount ? *n - 1 : -2;
}

int TToolBarPage::RightButton(const std::string& line)
{
    const std::optional<int32_t> n = TGeneralPage::ParseNumber(line);
    return n && *n >= kToolBarGap && *n < kToolButtonCount ? *n : -2;
}

std::string TToolBarPage::RowLabel(int button)
{
    return button == kToolBarGap ? "Seperator" : ToolButtonName(button);
}

int TToolBarPage::Clamp(int index, const std::vector<std::string>& list)
{
    return InRange(index, list.size()) ? index : -1;
}

void TToolBarPage::Load(const TSettings& s)
{
    showFileButtons = s.ShowFileButtons;
    flatButtons = s.FlatButtons;
    alternateIcons = s.AlternateIcons;
    showToolBar = s.ShowToolBar;
    m_right = s.ToolBarLayout;
    std::vector<bool> used(kToolButtonCount, false);
    for (const std::string& line : m_right) {
        const int n = RightButton(line);
        if (n >= 0)
            used[static_cast<size_t>(n)] = true;
    }
    m_left = { "00" };
    for (int n = 0; n < kToolButtonCount; ++n)
        if (!used[static_cast<size_t>(n)])
            m_left.push_back(TwoDigits(n + 1));
    m_leftIndex = -1;
    m_rightIndex = -1;
}

void TToolBarPage::Store(TSettings& s) const
{
    s.ShowFileButtons = showFileButtons;
    s.FlatButtons = flatButtons;
    s.AlternateIcons = alternateIcons;
    s.ShowToolBar = showToolBar;
    s.ToolBarLayout = m_right;
}

void TToolBarPage::InsertLeft(const std::string& line)
{
    // A tool bar may name a button twice; its number still shows once on the left.
    auto at = std::lower_bound(m_left.begin(), m_left.end(), line);
    if (at == m_left.end() || *at != line)
        at = m_left.insert(at, line);
    m_leftIndex = static_cast<int>(at - m_left.begin());
}

void TToolBarPage::Add()
{
    if (!InRange(m_leftIndex, m_left.size()))
        return;
    const std::string line = m_left[static_cast<size_t>(m_leftIndex)];
    const int button = LeftButton(line);
    const int at = m_rightIndex >= 0 ? m_rightIndex + 1 : static_cast<int>(m_right.size());
    m_right.insert(m_right.begin() + at, std::to_string(button));
    m_rightIndex = at;
    if (button == kToolBarGap)
        return;
    m_left.erase(m_left.begin() + m_leftIndex);
    m_leftIndex = std::min(m_leftIndex, static_cast<int>(m_left.size()) - 1);
}

void TToolBarPage::Remove()
{
    if (!InRange(m_rightIndex, m_right.size()))
        return;
    const int button = RightButton(m_right[static_cast<size_t>(m_rightIndex)]);
    m_right.erase(m_right.begin() + m_rightIndex);
    m_rightIndex = std::min(m_rightIndex, static_cast<int>(m_right.size()) - 1);
    // Lines that name no button have no place on the left.
    if (button >= 0)
        InsertLeft(TwoDigits(button + 1));
}

void TToolBarPage::Move(int step)
{
    int unbound = -1;
    MoveLine(m_right, m_rightIndex, unbound, step);
}

bool TToolBarPage::CheckInvariants() const
{
    return !m_left.empty() && m_left.front() == "00"
        && std::adjacent_find(m_left.begin(), m_left.end(), std::greater_equal<>()) == m_left.end()
        && (m_leftIndex == -1 || InRange(m_leftIndex, m_left.size()))
        && (m_rightIndex == -1 || InRange(m_rightIndex, m_right.size()));
}

// ---- Colours & Fonts --------------------------------------------------------------------------

const std::array<TColourFontPage::TItem, TColourFontPage::kItemCount>& TColourFontPage::Items()
{
    static const std::array<TItem, kItemCount> items = { {
        { "Normal Text", 0, clNormalText, clNormalBack, kWindowText, kWindow },
        { "Selected Text", 0, clSelectedText, clSelectedBack, kHighlightText, kHighlight },
        { "Filename Bar", 1, clFilenameBarText, clFilenameBarBack, kButtonText, kButtonFace },
        { "Status Bar", 2, clStatusBarText, clStatusBarBack, kButtonText, kButtonFace },
        { "File Button Bar", 3, clFileButtonText, clFileButtonBack, kButtonText, kButtonFace },
    } };
    return items;
}

void TColourFontPage::Load(const TSettings& s)
{
    m_fonts = { s.EditFont, s.TitleFont, s.BarFont, s.FileBarFont };
    m_colours = s.Colours;
    m_shown = -1;
    m_sample = {};
}

void TColourFontPage::Store(TSettings& s)
{
    SaveSample();
    s.EditFont = m_fonts[0];
    s.TitleFont = m_fonts[1];
    s.BarFont = m_fonts[2];
    s.FileBarFont = m_fonts[3];
    // Colours 10 to 13 have no item: they go back as loaded, or as the reset made them.
    s.Colours = m_colours;
}

void TColourFontPage::SaveSample()
{
    if (!InRange(m_shown, kItemCount))
        return;
    const TItem& item = Items()[static_cast<size_t>(m_shown)];
    TFontSet& font = m_fonts[static_cast<size_t>(item.font)];
    // The stored record's padding stays with the font.
    font.Name = m_sample.font.Name;
    font.Style = m_sample.font.Style;
    font.Size = m_sample.font.Size;
    font.Charset = m_sample.font.Charset;
    m_colours[item.foreground] = m_sample.text;
    m_colours[item.background] = m_sample.back;
}

void TColourFontPage::Select(int item)
{
    SaveSample();
    if (!InRange(item, kItemCount)) {
        m_shown = -1;
        return;
    }
    const TItem& shown = Items()[static_cast<size_t>(item)];
    m_sample.font = m_fonts[static_cast<size_t>(shown.font)];
    m_sample.text = m_colours[shown.foreground];
    m_sample.back = m_colours[shown.background];
    m_shown = item;
}

void TColourFontPage::SetSampleFont(const TFontSet& font)
{
    m_sample.font.Name = font.Name;
    m_sample.font.Style = font.Style;
    m_sample.font.Size = font.Size;
    m_sample.font.Charset = font.Charset;
}

void TColourFontPage::DefaultForeground()
{
    if (InRange(m_shown, kItemCount))
        m_sample.text = Items()[static_cast<size_t>(m_shown)].defaultForeground;
}

void TColourFontPage::DefaultBackground()
{
    if (InRange(m_shown, kItemCount))
        m_sample.back = Items()[static_cast<size_t>(m_shown)].defaultBackground;
}

void TColourFontPage::ResetDefaults(int selected)
{
    for (TFontSet& font : m_fonts) {
        font.Name = "Terminal";
        font.Style = 0;
        font.Size = 9;
        font.Charset = kOemCharset;
    }
    m_colours = DefaultColours();
    m_shown = -1;
    Select(selected);
}

// ---- File Dialog ------------------------------------------------------------------------------

std::vector<TFileDialogPage::TFilter> TFileDialogPage::SplitFilters(const std::string& filterList)
{
    std::vector<TFilter> filters;
    size_t pos = 0;
    while (pos < filterList.size()) {
        const size_t bar = filterList.find('|', pos);
        if (bar == std::string::npos)
            break;
        const size_t next = filterList.find('|', bar + 1);
        const size_t maskEnd = next == std::string::npos ? filterList.size() : next;
        filters.push_back(
            { filterList.substr(pos, bar - pos), filterList.substr(bar + 1, maskEnd - bar - 1) });
        if (next == std::string::npos)
            break;
        pos = next + 1;
    }
    return filters;
}

std::string TFileDialogPage::JoinFilters(const std::vector<TFilter>& filters)
{
    if (filters.empty())
        return kAllFiles;
    std::string list;
    for (const TFilter& filter : filters)
        list += filter.name + "|" + filter.mask + "|";
    list.pop_back();
    return list;
}

void TFileDialogPage::Load(const TSettings& s)
{
    m_faves = s.DirFavourites;
    m_faveIndex = m_faveBound = -1;
    m_faveText.clear();
    m_filters = SplitFilters(s.FilterList);
    m_filterIndex = m_filterBound = -1;
    m_nameText.clear();
    m_maskText.clear();
}

void TFileDialogPage::Store(TSettings& s) const
{
    s.DirFavourites = m_faves;
    s.FilterList = JoinFilters(m_filters);
}

void TFileDialogPage::SelectFavourite(int index)
{
    if (!InRange(index, m_faves.size())) {
        m_faveIndex = m_faveBound = -1;
        return;
    }
    m_faveIndex = m_faveBound = index;
    m_faveText = m_faves[static_cast<size_t>(index)];
}

void TFileDialogPage::FavouriteEdited(const std::string& text)
{
    m_faveText = text;
    if (InRange(m_faveBound, m_faves.size()) && !text.empty())
        m_faves[static_cast<size_t>(m_faveBound)] = text;
}

void TFileDialogPage::AddFavourite()
{
    m_faves.push_back("C:\\");
    SelectFavourite(static_cast<int>(m_faves.size()) - 1);
}

void TFileDialogPage::DeleteFavourite(IAsker& asker)
{
    if (!InRange(m_faveIndex, m_faves.size()) || !AskDelete(asker, kDeleteItemText))
        return;
    m_faves.erase(m_faves.begin() + m_faveIndex);
    SelectFavourite(m_faves.empty() ? -1 : 0);
}

void TFileDialogPage::BrowseFavourite(IFolderBrowser& browser)
{
    if (!m_faveText.empty())
        m_browseFolder = m_faveText;
    const std::optional<std::string> folder
        = browser.BrowseForFolder(kSelectFolderTitle, m_browseFolder);
    if (!folder)
        return;
    m_browseFolder = *folder;
    FavouriteEdited(*folder);
}

void TFileDialogPage::MoveFavourite(int step)
{
    MoveLine(m_faves, m_faveIndex, m_faveBound, step);
}

void TFileDialogPage::SelectFilter(int index)
{
    if (!InRange(index, m_filters.size())) {
        m_filterIndex = m_filterBound = -1;
        return;
    }
    m_filterIndex = m_filterBound = index;
    m_nameText = m_filters[static_cast<size_t>(index)].name;
    m_maskText = m_filters[static_cast<size_t>(index)].mask;
}

void TFileDialogPage::FilterEdited(const std::string& name, const std::string& mask)
{
    m_nameText = name;
    m_maskText = mask;
    // A "|" would split the stored pair in two and shift every filter after it.
    const bool usable = !name.empty() && !mask.empty() && name.find('|') == std::string::npos
        && mask.find('|') == std::string::npos;
    if (usable && InRange(m_filterBound, m_filters.size()))
        m_filters[static_cast<size_t>(m_filterBound)] = { name, mask };
}

void TFileDialogPage::AddFilter()
{
    m_filters.push_back({ "All Files", "*.*" });
    SelectFilter(static_cast<int>(m_filters.size()) - 1);
}

void TFileDialogPage::DeleteFilter(IAsker& asker)
{
    if (!InRange(m_filterIndex, m_filters.size()) || !AskDelete(asker, kDeleteFilterText))
        return;
    m_filters.erase(m_filters.begin() + m_filterIndex);
    SelectFilter(m_filters.empty() ? -1 : 0);
}

void TFileDialogPage::MoveFilter(int step)
{
    MoveLine(m_filters, m_filterIndex, m_filterBound, step);
}

// ---- the dialog -------------------------------------------------------------------------------

const std::vector<std::string>& TPrefForm::PageLines()
{
    // "Advanced" has nothing to offer on the systems this runs on.
    static const std::vector<std::string> lines = { "General", "Button Bars", "Colours & Fonts",
        "File Dialog", "Piles", "Tools", "Macros" };
    return lines;
}

void TPrefForm::Show(const TSettings& s)
{
    general.Load(s);
    buttonBars.Load(s);
    colours.Load(s);
    colours.Select(0);
    fileDialog.Load(s);
    piles.Load(s.Piles, s.PileFiles);
    if (m_macros)
        m_macros->Show();
    tools.Load(s.Tools);
    SelectPage(m_remembered);
}

void TPrefForm::SelectPage(int page)
{
    m_page = InRange(page, PageLines().size()) ? page : 0;
}

void TPrefForm::Ok(TSettings& s)
{
    general.Store(s);
    buttonBars.Store(s);
    colours.Store(s);
    fileDialog.Store(s);
    piles.Store(s.Piles, s.PileFiles);
    if (m_macros)
        m_macros->Confirm();
    tools.Confirm(s.Tools);
    tools.Cancel(); // the copies went into the settings; the page holds none until shown again
    m_remembered = m_page;
}

void TPrefForm::Cancel()
{
    tools.Cancel();
}

} // namespace wexly
