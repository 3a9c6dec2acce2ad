#include "search/FindForm.h"

#include "config/UtilsBox.h"
#include "search/SearchHistory.h"

namespace wexly {

namespace {

// Room the files range adds below the compact form at least.
constexpr int32_t kLowerPanelMinHeight = 150;

} // namespace

TFindForm::TFindForm(TSettings& settings, TSearchDriver& driver, IDirectorySearch* directorySearch)
    : m_settings(settings)
    , m_driver(driver)
    , m_directorySearch(directorySearch)
{
}

void TFindForm::FormShow(const TFindFormMetrics& designed)
{
    m_preparing = true;
    m_modalResult = 0;
    if (!m_sizesTaken) {
        m_sizesTaken = true;
        m_compactClientWidth = designed.clientWidth;
        m_compactClientHeight = designed.upperPanelHeight;
        m_compactOuterWidth = designed.outerWidth;
        m_compactOuterHeight = designed.outerHeight;
        if (m_settings.FindLargeWidth == 0) {
            m_settings.FindLargeWidth = designed.clientWidth;
            m_settings.FindLargeHeight = designed.upperPanelHeight + kLowerPanelMinHeight;
        }
    }
    findBox = EscapeText(m_findText);
    maskBox = m_mask;
    wholeWord = m_options.Has(soWholeWord);
    matchCase = m_options.Has(soMatchCase);
    directionUp = m_options.Has(soBackward);
    modeGlobal = m_options.Has(soGlobal);
    thisFileEnabled = true;
    openFilesEnabled = true;
    rangeChecked = m_range == TFindRange::OpenFiles || m_range == TFindRange::Files
        ? m_range
        : TFindRange::ThisFile;
    if (m_noDocuments) {
        rangeChecked = TFindRange::Files;
        thisFileEnabled = false;
        openFilesEnabled = false;
    }
    m_range = rangeChecked;
    ApplyRange();
    findItems = m_settings.FindHistory;
    maskItems = m_settings.MaskHistory;
    m_searching = false;
    UpdateFindNext();
}

TFindLayout TFindForm::Layout() const
{
    TFindLayout layout;
    if (rangeChecked == TFindRange::Files) {
        layout.clientWidth = m_settings.FindLargeWidth;
        layout.clientHeight = m_settings.FindLargeHeight;
        layout.resizable = true;
        layout.minOuterWidth = m_compactOuterWidth;
        layout.minClientHeight = m_compactClientHeight + kLowerPanelMinHeight;
    } else {
        layout.clientWidth = m_compactClientWidth;
        layout.clientHeight = m_compactClientHeight;
    }
    return layout;
}

void TFindForm::StoreLargeSize(int32_t clientWidth, int32_t clientHeight)
{
    m_settings.FindLargeWidth = clientWidth;
    m_settings.FindLargeHeight = clientHeight;
}

void TFindForm::RangeClick(TFindRange range, int32_t clientWidth, int32_t clientHeight)
{
    if (range != TFindRange::Files && clientHeight > m_compactClientHeight && !m_preparing)
        StoreLargeSize(clientWidth, clientHeight);
    rangeChecked = range;
    ApplyRange();
}

void TFindForm::ApplyRange()
{
    const bool files = rangeChecked == TFindRange::Files;
    directionEnabled = !files;
    modeEnabled = !files;
    lowerPanelEnabled = files;
    UpdateFindNext();
}

void TFindForm::UpdateFindNext()
{
    if (m_searching)
        return;
    if (rangeChecked == TFindRange::Files)
        findNextEnabled = !findBox.empty() && !maskBox.empty();
    else
        findNextEnabled = !findBox.empty();
}

void TFindForm::FindBoxChanged(const std::string& text)
{
    findBox = text;
    UpdateFindNext();
}

void TFindForm::MaskBoxChanged(const std::string& text)
{
    maskBox = text;
    UpdateFindNext();
}

TSearchOptions TFindForm::OptionsFromControls() const
{
    TSearchOptions o;
    if (wholeWord)
        o = o | soWholeWord;
    if (matchCase)
        o = o | soMatchCase;
    if (modeGlobal)
        o = o | soGlobal;
    if (directionUp)
        o = o | soBackward;
    return (o | soFind).Without(soReplace).Without(soReplaceAll);
}

TFindRange TFindForm::RangeFromControls() const
{
    if (rangeChecked == TFindRange::OpenFiles)
        return TFindRange::OpenFiles;
    if (rangeChecked == TFindRange::Files)
        return TFindRange::Files;
    return TFindRange::ThisFile;
}

TFindNextAction TFindForm::FindNextClick()
{
    // The button is disabled then; a stray press (Enter in a box) must not search for nothing.
    if (!findNextEnabled || m_searching)
        return TFindNextAction::StayOpen;
    m_findText = UnescapeText(findBox);
    m_options = OptionsFromControls();
    m_range = RangeFromControls();
    AddToHistory(findItems, findBox);
    m_settings.FindHistory = findItems;
    if (!maskBox.empty()) {
        AddToHistory(maskItems, maskBox);
        m_settings.MaskHistory = maskItems;
    }
    if (m_range == TFindRange::Files) {
        m_mask = maskBox;
        if (m_directorySearch)
            m_directorySearch->SearchFiles(*this);
        return TFindNextAction::StayOpen;
    }
    if (m_settings.FindDialogCloses) {
        m_modalResult = 1;
        return TFindNextAction::CloseAccepted;
    }
    // This search keeps soGlobal; the next one continues from the caret.
    modeGlobal = false;
    m_driver.RunSearch(static_cast<TSearchKind>(m_range), m_findText, m_options, std::string());
    return TFindNextAction::StayOpen;
}

void TFindForm::CancelClick(int32_t clientWidth, int32_t clientHeight)
{
    if (rangeChecked == TFindRange::Files)
        StoreLargeSize(clientWidth, clientHeight);
    m_modalResult = 2;
}

void TFindForm::OpenClick(int32_t clientWidth, int32_t clientHeight)
{
    m_range = TFindRange::Files;
    StoreLargeSize(clientWidth, clientHeight);
    m_modalResult = 1;
}

} // namespace wexly
