// TEditFile: the second pane's sharing, saving and reloading, moving about, editing commands
// and settings.
#include "documents/EditFile.h"

#include "config/Settings.h"
#include "editor/TextFile.h"
#include "editor/TextFit.h"

#include <algorithm>

namespace wexly {

namespace {

TMessage TooLargeToReloadBox(bool kept, const std::string& name)
{
    TMessage m;
    m.text = TooLargeToReloadMessage(kept);
    m.caption = name;
    m.buttons = TMsgButtons::Ok;
    m.icon = TMsgIcon::Warning;
    return m;
}

} // namespace

// ---- the second pane ---------------------------------------------------------------------

void TEditFile::AttachView(TEditFile& doc)
{
    if (!m_isBottomView || doc.m_isBottomView)
        return;
    m_binary = doc.m_binary;
    m_shortName = doc.m_shortName;
    m_fileName = doc.m_fileName;
    m_ext = doc.m_ext;
    if (m_binary)
        AttachBinary(doc);
    else
        AttachText(doc);
    m_readOnlyWanted = doc.ReadOnly() && doc.m_readOnlyWanted;
    m_source = &doc;
    m_services.windows.ShowView(*this, true);
}

void TEditFile::AttachBinary(TEditFile& doc)
{
    if (m_binViewer->IsOpen())
        m_binViewer->SetIsOpen(false);
    m_binViewer->SetFileName(doc.m_fileName);
    // Both views hold the file; the document's own view keeps the write access.
    doc.m_binViewer->Close();
    try {
        m_binViewer->Open(true, false);
    } catch (const std::exception&) {
        ShowLoadError();
    }
    try {
        doc.m_binViewer->Open(false, true);
    } catch (const std::exception&) {
        ShowLoadError();
    }
    const int64_t lastRow = m_binViewer->LineCount() - 1;
    int64_t top = doc.m_savedTopLine > lastRow ? 0 : doc.m_savedTopLine;
    int64_t line = doc.m_savedCaretLine;
    int32_t col = doc.m_savedCaretCol;
    if (line > lastRow) {
        line = 0;
        col = 0;
    }
    if (m_binViewer->IsOpen()) {
        m_binViewer->SetTopLine(top);
        m_binViewer->SetCaretPosition(line, col);
    }
    m_binViewer->SetReadOnly(doc.ReadOnly());
}

void TEditFile::AttachText(TEditFile& doc)
{
    m_textEditor->DeleteAll();
    m_textEditor->Attach(*doc.m_textEditor);
    const int32_t count = m_textEditor->GetLineCount();
    const auto top = static_cast<int32_t>(doc.m_savedTopLine > count ? 1 : doc.m_savedTopLine);
    auto line = static_cast<int32_t>(std::min<int64_t>(doc.m_savedCaretLine, count + 1));
    int32_t col = doc.m_savedCaretCol;
    if (line > count) {
        line = 1;
        col = 1;
    }
    m_textEditor->SetTopLine(top);
    m_textEditor->SetCaretPosition(std::max(line, 1), std::max(col, 1));
    m_textEditor->SetReadOnly(doc.ReadOnly());
}

void TEditFile::DetachView()
{
    if (!m_isBottomView)
        return;
    if (m_source) {
        if (m_binary) {
            int32_t col = 0;
            m_source->m_savedCaretLine = m_binViewer->GetCaretPosition(col);
            m_source->m_savedCaretCol = col;
            m_source->m_savedTopLine = m_binViewer->GetTopLine();
        } else {
            m_source->m_savedTopLine = m_textEditor->TopLine();
            m_source->m_savedCaretLine = m_textEditor->CaretLine();
            m_source->m_savedCaretCol = m_textEditor->CaretCol();
        }
    }
    if (m_binary)
        m_binViewer->SetIsOpen(false);
    else
        m_textEditor->DeleteAll();
    m_source = nullptr;
}

// ---- files -------------------------------------------------------------------------------

void TEditFile::Save()
{
    if (m_binary || m_isBottomView)
        return;
    m_textEditor->SaveToFile(m_fileName);
    NoteDiskStamp();
    m_named = true;
    UpdateGlyph();
}

void TEditFile::SaveAs(const std::string& name, bool rename)
{
    if (m_binary || m_isBottomView)
        return;
    m_textEditor->SaveToFile(name);
    if (rename) {
        SetNames(name);
        m_textEditor->SetFileName(name);
        NoteDiskStamp();
        m_textEditor->SetReadOnly(false);
        m_readOnlyWanted = false;
        m_named = true;
        m_button.caption = DoubleAmpersands(m_shortName);
        m_button.hint = m_fileName + "|";
        RefreshButton();
    }
    UpdateGlyph();
}

bool TEditFile::CheckDiskChange()
{
    if (m_binary || m_isBottomView || m_toolBusy || !m_named || !m_services.fs.Exists(m_fileName))
        return false;
    TFileTime now = 0;
    if (!m_services.fs.GetWriteTime(m_fileName, &now) || now == m_fileTime)
        return false;
    if (m_services.settings.SilentReload) {
        Reload();
    } else {
        TMessage m;
        m.text = m_shortName + " has changed on the disk\rReload?";
        m.caption = "Attention!";
        m.buttons = TMsgButtons::YesNo;
        m.icon = TMsgIcon::Warning;
        if (m_services.asker.Ask(m) != TMsgResult::Yes)
            return false; // the stored time stays, so the question comes again
        Reload();
    }
    MarkAttention();
    return true;
}

void TEditFile::Reload()
{
    if (m_binary || m_isBottomView)
        return;
    TTFEditor& ed = *m_textEditor;
    const int32_t line = ed.CaretLine();
    const int32_t col = ed.CaretCol();
    const int32_t top = ed.TopLine();
    ed.SetConvertUnicode(m_services.settings.ConvertUnicode);
    // A file now beyond the buffer's limits is not read at all, so the text here stays. (The
    // memory it needs is not judged: the text held now is freed before the file is read.)
    int64_t size = 0;
    if (FileTooLargeForText(m_services, m_fileName, false, false, size)) {
        m_services.asker.Ask(TooLargeToReloadBox(true, m_shortName));
        NoteDiskStamp(); // told once, not at every look at the disk
        return;
    }
    bool tooLarge = false;
    const bool loaded = RunTextLoad([&] { ed.LoadFromFile(m_fileName); }, tooLarge);
    if (tooLarge)
        m_services.asker.Ask(TooLargeToReloadBox(false, m_shortName));
    const int32_t count = ed.GetLineCount();
    ed.SetCaretPosition(std::clamp(line, 1, count), std::max(col, 1));
    ed.SetTopLine(std::clamp(top, 1, count));
    m_loadedAt = m_services.now();
    NoteDiskStamp();
    // After a failed load the text is empty: saving it must not replace the file.
    ed.SetReadOnly(!loaded || m_readOnlyWanted || !FileWritable());
    m_named = true;
    UpdateGlyph();
    NoteSplitLines();
}

bool TEditFile::LoadRecovered(
    std::string_view joined, TTextEncoding encoding, int32_t para, int32_t pos)
{
    if (m_binary || m_isBottomView)
        return false;
    TTFEditor& ed = *m_textEditor;
    try {
        ed.LoadJoined(m_fileName, joined, encoding);
    } catch (const ELoadLimitError&) {
        return false;
    }
    ed.SetModified(true);
    const int32_t p = std::clamp(para, 1, ed.ParaCount());
    int32_t at = std::clamp(pos, 1, static_cast<int32_t>(ed.GetPara(p).size()) + 1);
    int32_t line = p;
    ed.ParaToLine(line, at);
    ed.SetCaretPosition(line, at);
    m_loadedAt = m_services.now();
    if (m_named)
        NoteDiskStamp();
    UpdateGlyph();
    return true;
}

// ---- moving about --------------------------------------------------------------------------

void TEditFile::GotoLine(int64_t n)
{
    if (n == CaretLine())
        return;
    if (m_binary) {
        if (!m_binViewer->IsOpen())
            return;
        const int64_t last = m_binViewer->LineCount() - 1;
        n = std::clamp<int64_t>(n, 0, last);
        m_binViewer->SetCaretPosition(n, 0);
        const int64_t v = m_binViewer->GetVisibleRows();
        if (n < m_binViewer->GetTopLine())
            m_binViewer->SetTopLine(n);
        else if (m_binViewer->GetTopLine() + v - 1 < n)
            m_binViewer->SetTopLine(n - v + 1);
        return;
    }
    TTFEditor& ed = *m_textEditor;
    const auto line = static_cast<int32_t>(std::clamp<int64_t>(n, 1, ed.GetLineCount()));
    ed.SetCaretPosition(line, 1);
    const int32_t v = ed.VisibleRows();
    // The caret ends on the last visible row rather than just below the window.
    if (line < ed.TopLine())
        ed.SetTopLine(line);
    else if (ed.TopLine() + v - 1 < line)
        ed.SetTopLine(line - v + 1);
}

void TEditFile::ScrollOneLine(bool down, bool keepCaretInView)
{
    if (m_binary) {
        TAFViewer& vw = *m_binViewer;
        int32_t col = 0;
        const int64_t c = vw.GetCaretPosition(col);
        const int64_t top = vw.GetTopLine();
        if (!down && top == 0)
            return;
        vw.SetTopLine(down ? top + 1 : top - 1);
        const int64_t newTop = vw.GetTopLine();
        const int64_t lastVisible = newTop + vw.GetVisibleRows() - 1;
        if (keepCaretInView) {
            if (down && c < newTop)
                vw.SetCaretPosition(newTop, col);
            else if (!down && c > lastVisible)
                vw.SetCaretPosition(lastVisible, col);
        } else {
            vw.SetCaretPosition(down ? c + 1 : std::max<int64_t>(c - 1, 0), col);
        }
        return;
    }
    TTFEditor& ed = *m_textEditor;
    const int32_t c = ed.CaretLine();
    const int32_t top = ed.TopLine();
    if (!down && top == 1)
        return;
    ed.SetTopLine(down ? top + 1 : top - 1);
    const int32_t newTop = ed.TopLine();
    const int32_t lastVisible = newTop + ed.VisibleRows() - 1;
    if (!keepCaretInView)
        ed.ProcessCommand(down ? ccDown : ccUp, 0);
    else if (down && c < newTop)
        ed.SetCaretPosition(newTop, ed.CaretCol());
    else if (!down && c > lastVisible)
        ed.SetCaretPosition(std::min(lastVisible, ed.GetLineCount()), ed.CaretCol());
}

bool TEditFile::HexTyped(char ch)
{
    if (!m_binary || m_isBottomView || m_binViewer->GetReadOnly())
        return false;
    return m_binViewer->HexTyped(ch);
}

// ---- editing -------------------------------------------------------------------------------

void TEditFile::Undo()
{
    if (!m_binary && m_textEditor->CanUndo())
        m_textEditor->Undo();
}

void TEditFile::Redo()
{
    if (!m_binary && m_textEditor->CanRedo())
        m_textEditor->Redo();
}

bool TEditFile::Copy()
{
    TMessage m;
    m.caption = "Error";
    m.icon = TMsgIcon::Warning;
    if (m_binary) {
        try {
            return m_binViewer->CopyToClipboard();
        } catch (const std::exception& e) {
            m.text = e.what();
            m_services.asker.Ask(m);
            return false;
        }
    }
    if (!HasSelection() || !m_services.clipboard)
        return false;
    std::string text = m_textEditor->GetSelTextBuf();
    // A whole line picked up with its line break pastes as that line only.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    if (m_services.clipboard->SetText(text))
        return true;
    m.text = "No Memory for operation";
    m_services.asker.Ask(m);
    return false;
}

void TEditFile::Cut()
{
    if (m_binary || m_textEditor->ReadOnly() || !HasSelection())
        return;
    // The text goes only once it is safe on the clipboard.
    if (Copy())
        m_textEditor->SetSelTextBuf("");
}

void TEditFile::Paste()
{
    if (!m_binary)
        m_textEditor->PasteFromClipboard();
}

void TEditFile::Clear()
{
    if (!m_binary && !m_textEditor->ReadOnly() && HasSelection())
        m_textEditor->SetSelTextBuf("");
}

void TEditFile::SelectAll()
{
    if (m_binary)
        m_binViewer->SelectAll();
    else
        m_textEditor->SelectAll();
}

// ---- search -------------------------------------------------------------------------------

bool TEditFile::Search(std::string_view text, TSearchOptions options)
{
    return m_binary ? m_binViewer->Search(text, options) : m_textEditor->Search(text, options);
}

int32_t TEditFile::Replace(std::string_view text, std::string_view with, TSearchOptions options)
{
    if (m_binary || ReadOnly())
        return -1;
    return m_textEditor->Replace(text, with, options);
}

uint16_t TEditFile::AppendPara(std::string_view text)
{
    return m_binary ? 0 : m_textEditor->AppendPara(text);
}

// ---- settings ------------------------------------------------------------------------------

void TEditFile::SetTabs(bool realTabs, int32_t size)
{
    if (m_textEditor) {
        if (size > 0)
            m_textEditor->SetTabSize(size);
        m_textEditor->SetTabType(realTabs ? TTabType::ttReal : TTabType::ttFixed);
    }
    if (m_binViewer && size > 0)
        m_binViewer->SetTabSize(size);
}

void TEditFile::SetBackups(bool text, bool binary)
{
    if (m_textEditor)
        m_textEditor->SetMakeBackup(text);
    if (m_binViewer)
        m_binViewer->SetMakeBackup(binary);
}

void TEditFile::SetAutoIndent(bool on)
{
    if (m_textEditor)
        m_textEditor->SetAutoIndent(on);
}

void TEditFile::SetShowBookmarks(bool on)
{
    if (m_textEditor)
        m_textEditor->SetShowBookmarks(on);
    if (m_binViewer)
        m_binViewer->SetShowBookmarks(on);
}

void TEditFile::SetWordWrap(bool on)
{
    if (!m_textEditor)
        return;
    // A view sharing the document's text follows it; setting it twice would re-wrap twice.
    if (m_textEditor->WordWrap() != on)
        m_textEditor->SetWordWrap(on);
    if (!m_isBottomView)
        m_textEditor->SetScrollPastEnd(!on);
}

void TEditFile::SetHexMask(bool on)
{
    if (m_binViewer)
        m_binViewer->SetFilterChars(on);
}

void TEditFile::ApplyCaretShapes(bool verticalCarets)
{
    if (!m_textEditor)
        return;
    m_textEditor->SetCaretIns(verticalCarets ? TCaretShape::csVertLine : TCaretShape::csHorzLine);
    m_textEditor->SetCaretOvr(verticalCarets ? TCaretShape::csVertLine : TCaretShape::csHalfBlock);
}

void TEditFile::ApplySettings()
{
    const TSettings& s = m_services.settings;
    SetTabs(s.RealTabs, s.TabSize);
    SetBackups(s.BackupText, s.BackupBinary);
    SetAutoIndent(s.AutoIndent);
    SetShowBookmarks(s.ShowBookmarks);
    ApplyCaretShapes(s.VerticalCarets);
    if (!m_isBottomView) {
        UpdateGlyph();
        RefreshButton(); // font and flatness may have changed its size
    }
}

} // namespace wexly
