#include "search/SearchCommands.h"

namespace wexly {

TSearchCommands::TSearchCommands(TDocumentSet& set, TSettings& settings, IAsker& asker,
    ISearchDialogs& dialogs, IDirectorySearch* directorySearch, IFindInFilesOpener* opener)
    : m_set(set)
    , m_dialogs(dialogs)
    , m_opener(opener)
    , m_driver(set, asker)
    , m_findForm(settings, m_driver, directorySearch)
    , m_replaceForm(settings, m_driver)
{
}

void TSearchCommands::ShowFind(TFindRange range, const std::string& mask)
{
    TLastSearch& last = m_driver.LastSearch();
    m_findForm.SetRange(range);
    m_findForm.SetOptions(last.options);
    m_findForm.SetFindText(last.text);
    m_findForm.SetMask(mask);
    m_findForm.SetNoDocuments(m_set.Empty());
    m_driver.SetStartDocument(m_set.CurFile());
    if (m_dialogs.ShowFind(m_findForm) != 1)
        return;
    if (m_findForm.Range() == TFindRange::Files) {
        if (m_opener)
            m_opener->OpenChosenFiles(m_findForm);
        last.kind = TSearchKind::FindInFiles;
        last.text = m_findForm.FindText();
        last.options = m_findForm.Options();
        last.mask = m_findForm.Mask();
        return;
    }
    m_driver.RunSearch(static_cast<TSearchKind>(m_findForm.Range()), m_findForm.FindText(),
        m_findForm.Options(), std::string());
}

void TSearchCommands::Find()
{
    ShowFind(TFindRange::ThisFile, m_driver.LastSearch().mask);
}

void TSearchCommands::FindInDirectory(const std::string& dir)
{
    ShowFind(TFindRange::Files, dir + "*.*");
}

void TSearchCommands::Replace()
{
    if (!m_set.CurFile())
        return;
    TLastSearch& last = m_driver.LastSearch();
    m_replaceForm.SetKind(TSearchKind::ReplaceInFile);
    m_replaceForm.SetOptions(last.options);
    m_replaceForm.SetFindText(last.text);
    m_replaceForm.SetReplaceText(last.replacement);
    m_driver.SetStartDocument(m_set.CurFile());
    if (m_dialogs.ShowReplace(m_replaceForm) != 1)
        return;
    last.replacement = m_replaceForm.ReplaceText();
    m_driver.RunSearch(m_replaceForm.Kind(), m_replaceForm.FindText(), m_replaceForm.Options(),
        m_replaceForm.ReplaceText());
}

void TSearchCommands::RepeatLastFind()
{
    if (!m_set.CurFile())
        return;
    TLastSearch& last = m_driver.LastSearch();
    m_driver.SetStartDocument(m_set.CurFile());
    last.options = last.options.Without(soGlobal);
    if (last.kind == TSearchKind::FindInFiles) {
        Find();
        return;
    }
    // Copies: RunSearch writes LastSearch while it reads these.
    const std::string text = last.text;
    const std::string replacement = last.replacement;
    m_driver.RunSearch(last.kind, text, last.options, replacement);
}

} // namespace wexly
