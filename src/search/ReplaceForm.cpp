#include "search/ReplaceForm.h"

#include "config/UtilsBox.h"
#include "search/SearchHistory.h"

namespace wexly {

TReplaceForm::TReplaceForm(TSettings& settings, TSearchDriver& driver)
    : m_settings(settings)
    , m_driver(driver)
{
}

void TReplaceForm::FormShow()
{
    m_modalResult = 0;
    findBox = EscapeText(m_findText);
    replaceBox = EscapeText(m_replaceText);
    wholeWord = m_options.Has(soWholeWord);
    matchCase = m_options.Has(soMatchCase);
    directionUp = m_options.Has(soBackward);
    modeGlobal = m_options.Has(soGlobal);
    allOpenFiles = m_kind == TSearchKind::ReplaceInOpenFiles;
    findItems = m_settings.FindHistory;
    replaceItems = m_settings.ReplaceHistory;
    buttonsEnabled = !findBox.empty();
}

void TReplaceForm::FindBoxChanged(const std::string& text)
{
    findBox = text;
    buttonsEnabled = !findBox.empty();
}

bool TReplaceForm::ButtonClick(TReplaceButton button)
{
    if (!buttonsEnabled)
        return false;
    m_findText = UnescapeText(findBox);
    m_replaceText = UnescapeText(replaceBox);
    TSearchOptions o;
    if (wholeWord)
        o = o | soWholeWord;
    if (matchCase)
        o = o | soMatchCase;
    if (modeGlobal)
        o = o | soGlobal;
    if (directionUp)
        o = o | soBackward;
    const uint8_t range = allOpenFiles ? 1 : 0;
    switch (button) {
    case TReplaceButton::FindNext:
        o = o | soFind;
        m_kind = TSearchKind::FindInFile;
        break;
    case TReplaceButton::Replace:
        o = o | soReplace;
        m_kind = static_cast<TSearchKind>(4 + range);
        break;
    case TReplaceButton::ReplaceAll:
        o = o | soReplaceAll | soGlobal;
        m_kind = static_cast<TSearchKind>(6 + range);
        break;
    }
    m_options = o;
    AddToHistory(findItems, findBox);
    m_settings.FindHistory = findItems;
    AddToHistory(replaceItems, replaceBox);
    m_settings.ReplaceHistory = replaceItems;
    if (m_settings.FindDialogCloses) {
        m_modalResult = 1;
        return true;
    }
    modeGlobal = false;
    m_driver.LastSearch().replacement = m_replaceText;
    m_driver.RunSearch(m_kind, m_findText, m_options, m_replaceText);
    return false;
}

} // namespace wexly
