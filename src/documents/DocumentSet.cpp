#include "documents/DocumentSet.h"

#include "config/Settings.h"

#include <algorithm>
#include <cassert>

namespace wexly {

int CompareNoCase(const std::string& a, const std::string& b)
{
    const TUpperTable& up = SystemUpperTable();
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int x = up[static_cast<uint8_t>(a[i])];
        const int y = up[static_cast<uint8_t>(b[i])];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool SameTextNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

TDocumentSet::TDocumentSet(TDocumentServices& services, IPaneWindows& panes)
    : m_services(services)
    , m_panes(panes)
{
}

TDocumentSet::~TDocumentSet()
{
    // The second pane may share a document's text; let go of it before the documents go.
    if (m_bottomView)
        m_bottomView->DetachView();
    m_curFile = m_focusFile = m_topFile = m_bottomFile = nullptr;
    m_fileList.clear();
}

int TDocumentSet::IndexOf(const TEditFile* doc) const
{
    for (size_t i = 0; i < m_fileList.size(); ++i)
        if (m_fileList[i].get() == doc)
            return static_cast<int>(i);
    return -1;
}

TEditFile* TDocumentSet::FindByPath(const std::string& path) const
{
    for (const auto& doc : m_fileList)
        if (SameTextNoCase(doc->FileName(), path))
            return doc.get();
    return nullptr;
}

TEditFile& TDocumentSet::Insert(std::unique_ptr<TEditFile> doc)
{
    const int cur = IndexOf(m_curFile);
    auto at = cur < 0 ? m_fileList.end() : m_fileList.begin() + cur + 1;
    return **m_fileList.insert(at, std::move(doc));
}

TEditFile* TDocumentSet::Next(const TEditFile& doc) const
{
    const int i = IndexOf(&doc);
    if (i < 0)
        return nullptr;
    return m_fileList[static_cast<size_t>((i + 1) % Count())].get();
}

TEditFile* TDocumentSet::Previous(const TEditFile& doc) const
{
    const int i = IndexOf(&doc);
    if (i < 0)
        return nullptr;
    return m_fileList[static_cast<size_t>((i + Count() - 1) % Count())].get();
}

TEditFile* TDocumentSet::Neighbour(const TEditFile& doc) const
{
    TEditFile* n = IndexOf(&doc) == 0 ? Next(doc) : Previous(doc);
    return n == &doc ? nullptr : n;
}

bool TDocumentSet::BottomViewFocused() const
{
    return m_bottomView && m_services.windows.ViewFocused(*m_bottomView);
}

std::unique_ptr<TEditFile> TDocumentSet::Remove(TEditFile& doc)
{
    const int index = IndexOf(&doc);
    assert(index >= 0);
    TEditFile* neighbour = Neighbour(doc);
    if (m_topFile == &doc) {
        m_topFile = neighbour;
        if (neighbour)
            m_services.windows.ShowView(*neighbour, false);
    }
    if (m_splitOn && m_bottomFile == &doc) {
        m_bottomFile = neighbour;
        if (neighbour) {
            m_bottomView->DetachView();
            m_bottomView->AttachView(*neighbour);
        }
    }
    // Never leave the second pane sharing text that is about to go.
    if (m_bottomView && m_bottomView->Source() == &doc)
        m_bottomView->DetachView();
    m_curFile = (m_splitOn && m_bottomActive) ? m_bottomFile : m_topFile;
    if (m_focusFile == &doc)
        m_focusFile = m_curFile;
    if (m_services.windows.ViewFocused(doc))
        m_panes.FocusTopTitleBar();
    auto owned = std::move(m_fileList[static_cast<size_t>(index)]);
    m_fileList.erase(m_fileList.begin() + index);
    if (m_fileList.empty())
        ClearAll();
    return owned;
}

void TDocumentSet::CreateBottomView()
{
    if (!m_bottomView)
        m_bottomView = std::make_unique<TEditFile>(m_services);
}

void TDocumentSet::SelectFile(TEditFile& doc)
{
    if (m_splitOn && m_bottomView && (BottomViewFocused() || m_bottomActive)) {
        m_bottomFile = &doc;
        m_curFile = &doc;
        m_bottomView->DetachView();
        m_bottomView->AttachView(doc);
    } else {
        m_topFile = &doc;
        m_curFile = &doc;
        m_services.windows.ShowView(doc, true);
    }
    TrackFocus();
}

void TDocumentSet::SelectNext()
{
    if (m_curFile)
        SelectFile(*Next(*m_curFile));
}

void TDocumentSet::SelectPrevious()
{
    if (m_curFile)
        SelectFile(*Previous(*m_curFile));
}

void TDocumentSet::TrackFocus()
{
    if (m_splitOn && BottomViewFocused()) {
        m_focusFile = m_bottomView.get();
        m_bottomActive = true;
    } else {
        m_focusFile = m_curFile;
        m_bottomActive = false;
    }
    if (m_curFile)
        MarkCurrent(*m_curFile);
}

void TDocumentSet::StatusReported(bool bottomPane)
{
    if (Empty())
        return;
    m_curFile = (bottomPane && m_splitOn) ? m_bottomFile : m_topFile;
    if (!m_curFile)
        return;
    TrackFocus();
    if (m_focusFile)
        m_services.windows.ShowView(*m_focusFile, true);
}

void TDocumentSet::MarkCurrent(TEditFile& doc)
{
    for (auto& d : m_fileList)
        if (d.get() != &doc)
            d->ReleaseButton();
    doc.MarkCurrent();
}

void TDocumentSet::Unsplit()
{
    if (!m_splitOn)
        return;
    m_splitOn = false;
    m_bottomActive = false;
    if (m_bottomView)
        m_bottomView->DetachView();
    m_panes.SplitChanged(false, m_splitVertical);
}

void TDocumentSet::ToggleSplit(bool vertical)
{
    if (Empty() || !m_bottomView)
        return;
    if (m_splitOn) {
        Unsplit();
        if (m_curFile)
            SelectFile(*m_curFile);
        m_bottomFile = nullptr;
        return;
    }
    m_splitVertical = vertical;
    m_splitOn = true;
    m_panes.SplitChanged(true, vertical);
    m_services.windows.ShowView(*m_bottomView, true);
    m_bottomActive = true;
    // Both panes start on the current document, with the focus in the second one.
    SelectFile(*m_curFile);
}

void TDocumentSet::SwitchPanes()
{
    if (Empty() || !m_splitOn)
        return;
    if (BottomViewFocused())
        m_services.windows.ShowView(*m_topFile, true);
    else
        m_services.windows.ShowView(*m_bottomView, true);
    StatusReported(BottomViewFocused());
}

void TDocumentSet::SyncPanes()
{
    if (Empty() || !m_splitOn || !m_focusFile)
        return;
    if (BottomViewFocused()) {
        if (m_topFile)
            m_topFile->GotoLine(m_bottomView->CaretLine());
    } else {
        m_bottomView->GotoLine(m_focusFile->CaretLine());
    }
}

void TDocumentSet::ClearAll()
{
    Unsplit();
    m_curFile = m_focusFile = m_topFile = m_bottomFile = nullptr;
}

void TDocumentSet::Sort(TSortKey key)
{
    auto keyOf = [key](const TEditFile& d) -> const std::string& {
        switch (key) {
        case TSortKey::Name:
            return d.ShortName();
        case TSortKey::Extension:
            return d.Ext();
        case TSortKey::Path:
            break;
        }
        return d.FileName();
    };
    std::sort(m_fileList.begin(), m_fileList.end(),
        [&](const auto& a, const auto& b) { return CompareNoCase(keyOf(*a), keyOf(*b)) < 0; });
}

void TDocumentSet::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
        return;
    auto doc = std::move(m_fileList[static_cast<size_t>(from)]);
    m_fileList.erase(m_fileList.begin() + from);
    m_fileList.insert(m_fileList.begin() + to, std::move(doc));
}

void TDocumentSet::SelectByPosition(int position)
{
    if (position >= 0 && position < Count())
        SelectFile(At(position));
}

void TDocumentSet::SetWordWrap(bool on)
{
    if (m_bottomView)
        m_bottomView->SetWordWrap(on);
    for (auto& d : m_fileList)
        d->SetWordWrap(on);
}

void TDocumentSet::SetHexMask(bool on)
{
    if (m_bottomView)
        m_bottomView->SetHexMask(on);
    for (auto& d : m_fileList)
        d->SetHexMask(on);
}

void TDocumentSet::ApplySettings()
{
    if (m_bottomView)
        m_bottomView->ApplySettings();
    for (auto& d : m_fileList)
        d->ApplySettings();
}

void TDocumentSet::CheckInvariants() const
{
    [[maybe_unused]] auto member
        = [this](const TEditFile* d) { return d == nullptr || IndexOf(d) >= 0; };
    assert(member(m_curFile) && member(m_topFile) && member(m_bottomFile));
    assert(member(m_focusFile) || m_focusFile == m_bottomView.get());
    if (m_fileList.empty()) {
        assert(!m_curFile && !m_focusFile && !m_topFile && !m_bottomFile && !m_splitOn);
    } else {
        assert(m_curFile == m_topFile || m_curFile == m_bottomFile);
        assert(m_topFile != nullptr);
        assert(m_splitOn == (m_bottomFile != nullptr));
    }
    if (m_bottomView) {
        m_bottomView->CheckInvariants();
        assert(!m_bottomView->Source() || m_bottomView->Source() == m_bottomFile);
    }
    for (const auto& d : m_fileList)
        d->CheckInvariants();
}

} // namespace wexly
