#include "documents/EditFile.h"

#include "config/Settings.h"
#include "config/UtilsBox.h"
#include "editor/LineReader.h"
#include "editor/TextFile.h"
#include "editor/TextFit.h"

#include <algorithm>
#include <cassert>
#include <chrono>

namespace wexly {

namespace {

bool IsSlash(char c)
{
    return c == '\\' || c == '/';
}

TMessage ErrorBox(std::string text, std::string caption)
{
    TMessage m;
    m.text = std::move(text);
    m.caption = std::move(caption);
    m.buttons = TMsgButtons::Ok;
    m.icon = TMsgIcon::Warning;
    return m;
}

} // namespace

double DateTimeNow()
{
    using namespace std::chrono;
    const double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    return 25569.0 + seconds / 86400.0; // 1970-01-01 counted from 1899-12-30
}

std::string DoubleAmpersands(const std::string& text)
{
    return EscapeAmpersands(text);
}

std::string PathNamePart(const std::string& path)
{
    size_t i = path.size();
    while (i > 0 && !IsSlash(path[i - 1]) && path[i - 1] != ':')
        --i;
    return path.substr(i);
}

std::string PathExtension(const std::string& path)
{
    std::string name = PathNamePart(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string PathDirectory(const std::string& path)
{
    size_t i = path.size();
    while (i > 0 && !IsSlash(path[i - 1]))
        --i;
    return path.substr(0, i);
}

bool FileTooLargeForText(TDocumentServices& services, const std::string& path, bool decodedFirst,
    bool checkMemory, int64_t& size)
{
    size = 0;
    auto file = services.fs.Open(
        path, TFileAccess::Read, TFileShare::DenyNone, TFileCreate::OpenExisting);
    if (!file)
        return false;
    size = file->Size();
    const TTextSample sample = SampleText(*file);
    file.reset();
    const int64_t free
        = checkMemory && services.freeAddressSpace ? services.freeAddressSpace() : -1;
    return TextTooLarge(EstimateText(size, sample), kNoLimit, kNoLimit, free, decodedFirst ? size : 0);
}

// ---- creation ------------------------------------------------------------------------

TEditFile::TEditFile(TDocumentServices& services, const std::string& path, bool load, bool named,
    bool readOnlyWanted, bool binary, TDecodedText* preloaded)
    : m_services(services)
    , m_named(named)
    , m_binary(binary)
    , m_readOnlyWanted(readOnlyWanted)
{
    SetNames(path);
    if (binary)
        CreateBinViewer();
    else
        CreateTextEditor();
    m_button.caption = DoubleAmpersands(m_shortName);
    m_button.hint = m_fileName + "|";
    m_services.windows.DocumentCreated(*this);
    if (binary) {
        LoadBinary();
    } else {
        if (load)
            LoadText(preloaded);
        else
            m_textEditor->NewFile(m_fileName);
        if (readOnlyWanted)
            m_textEditor->SetReadOnly(true);
    }
    UpdateGlyph();
    RefreshButton();
}

TEditFile::TEditFile(TDocumentServices& services)
    : m_services(services)
    , m_isBottomView(true)
{
    CreateTextEditor();
    CreateBinViewer();
    // Until colours are first applied the second pane starts with the classic shapes.
    m_textEditor->SetCaretIns(TCaretShape::csHorzLine);
    m_textEditor->SetCaretOvr(TCaretShape::csHalfBlock);
    m_textEditor->SetScrollPastEnd(true);
    m_services.windows.DocumentCreated(*this);
}

TEditFile::~TEditFile()
{
    if (m_binViewer)
        m_binViewer->SetIsOpen(false);
    m_services.windows.DocumentDestroyed(*this);
}

void TEditFile::SetNames(const std::string& path)
{
    m_fileName = path;
    m_shortName = PathNamePart(path);
    m_ext = PathExtension(path);
}

void TEditFile::CreateTextEditor()
{
    const TSettings& s = m_services.settings;
    m_textEditor
        = std::make_unique<TTFEditor>(TEditorPlatform { m_services.clipboard, m_services.beeper },
            &m_services.fs, m_services.codePage);
    ApplyCaretShapes(s.VerticalCarets);
    m_textEditor->SetTrimWhiteSpace(true);
    m_textEditor->SetWrapToWindow(true);
    m_textEditor->SetWordWrap(s.WordWrap);
    m_textEditor->SetScrollPastEnd(!s.WordWrap);
    m_textEditor->SetMakeBackup(s.BackupText);
    m_textEditor->SetAutoIndent(s.AutoIndent);
    if (s.TabSize > 0)
        m_textEditor->SetTabSize(s.TabSize);
    m_textEditor->SetShowBookmarks(s.ShowBookmarks);
    m_textEditor->SetLeftMargin(15);
    m_textEditor->SetTabType(s.RealTabs ? TTabType::ttReal : TTabType::ttFixed);
    m_textEditor->OnLoadProgress = [this](int64_t done, int64_t total) {
        if (m_services.loadProgress)
            m_services.loadProgress(m_shortName, done, total);
    };
}

void TEditFile::CreateBinViewer()
{
    const TSettings& s = m_services.settings;
    m_binViewer = std::make_unique<TAFViewer>(m_services.fs);
    m_binViewer->SetClipboard(m_services.clipboard);
    m_binViewer->SetMakeBackup(s.BackupBinary);
    m_binViewer->SetShowBookmarks(s.ShowBookmarks);
    if (s.TabSize > 0)
        m_binViewer->SetTabSize(s.TabSize);
    m_binViewer->SetFilterChars(s.HexMask);
}

bool TEditFile::FileWritable() const
{
    return !m_services.fs.IsReadOnly(m_fileName);
}

void TEditFile::NoteDiskStamp()
{
    m_fileSize = -1;
    if (!m_services.fs.GetWriteTime(m_fileName, &m_fileTime))
        return;
    auto file = m_services.fs.Open(
        m_fileName, TFileAccess::Read, TFileShare::DenyNone, TFileCreate::OpenExisting);
    if (file)
        m_fileSize = file->Size();
}

void TEditFile::ShowLoadError()
{
    m_services.asker.Ask(ErrorBox(kLoadFailedMessage, "Error!"));
}

bool TEditFile::RunTextLoad(const std::function<void()>& load, bool& tooLarge)
{
    tooLarge = false;
    try {
        load();
        return true;
    } catch (const ELoadLimitError& e) {
        // A line too long for a paragraph is split while loading; any other limit is size.
        if (e.Code() == oeParaTooLongInsert)
            ShowLoadError();
        else
            tooLarge = true;
    } catch (const TOutOfMemoryError&) {
        tooLarge = true;
    } catch (const std::bad_alloc&) {
        tooLarge = true;
    } catch (const std::exception&) {
        ShowLoadError();
    }
    return false;
}

void TEditFile::LoadText(TDecodedText* preloaded)
{
    if (!FileWritable())
        m_textEditor->SetReadOnly(true);
    m_textEditor->SetConvertUnicode(m_services.settings.ConvertUnicode);
    RunTextLoad(
        [&] {
            if (preloaded)
                m_textEditor->LoadDecoded(m_fileName, std::move(*preloaded));
            else
                m_textEditor->LoadFromFile(m_fileName);
        },
        m_loadTooLarge);
    NoteDiskStamp();
    m_loadedAt = m_services.now();
    m_loadFailed = !m_textEditor->IsOpen();
    if (!m_loadFailed)
        NoteSplitLines();
}

void TEditFile::LoadBinary()
{
    m_binViewer->SetFileName(m_fileName);
    try {
        m_binViewer->Open(true, true);
    } catch (const std::exception&) {
        ShowLoadError();
    }
    m_loadedAt = m_services.now();
    if (m_readOnlyWanted)
        m_binViewer->SetReadOnly(true);
    m_loadFailed = !m_binViewer->IsOpen();
}

void TEditFile::NoteSplitLines()
{
    // Once per document: a reload of the same file would only repeat it.
    if (m_splitNoticeShown || !m_textEditor->LinesSplitOnLoad())
        return;
    m_splitNoticeShown = true;
    TMessage m = ErrorBox(kLinesSplitMessage, m_shortName);
    m.icon = TMsgIcon::Information;
    m_services.asker.Ask(m);
}

void TEditFile::RefreshButton()
{
    const TButtonSize size = m_services.windows.MeasureButton(*this);
    m_button.width = size.width;
    m_button.height = size.height;
    m_services.windows.ButtonChanged(*this);
}

// ---- views and button ----------------------------------------------------------------

void TEditFile::ShowView()
{
    m_services.windows.ShowView(*this, true);
}

bool TEditFile::ViewFocused() const
{
    return m_services.windows.ViewFocused(*this);
}

void TEditFile::MarkCurrent()
{
    if (m_isBottomView || (m_button.down && !m_button.swapped))
        return;
    m_button.down = true;
    m_button.swapped = false;
    m_services.windows.ButtonChanged(*this);
}

void TEditFile::ReleaseButton()
{
    if (m_isBottomView || !m_button.down)
        return;
    m_button.down = false;
    m_services.windows.ButtonChanged(*this);
}

void TEditFile::MarkAttention()
{
    // Setting rather than toggling: a second reload must not make the button look normal.
    if (m_isBottomView || m_button.down || m_button.swapped)
        return;
    m_button.swapped = true;
    m_services.windows.ButtonChanged(*this);
}

void TEditFile::UpdateGlyph()
{
    if (m_isBottomView)
        return;
    int glyph = giText;
    if (m_binary)
        glyph = ReadOnly() ? giReadOnlyBinary : giBinary;
    else if (ReadOnly())
        glyph = giReadOnlyText;
    else if (m_textEditor->GetModified())
        glyph = giModified;
    const bool alternate = m_services.settings.AlternateIcons;
    if (glyph == m_button.glyph && alternate == m_button.alternateIcons)
        return;
    m_button.glyph = glyph;
    m_button.alternateIcons = alternate;
    m_services.windows.ButtonChanged(*this);
}

bool TEditFile::ReadOnly() const
{
    return m_binary ? m_binViewer->GetReadOnly() : m_textEditor->ReadOnly();
}

bool TEditFile::IsModified()
{
    UpdateGlyph();
    return !m_binary && m_textEditor->GetModified();
}

TTextEncoding TEditFile::Encoding() const
{
    if (m_isBottomView && m_source)
        return m_source->Encoding();
    return m_binary || !m_textEditor ? TTextEncoding::Ansi : m_textEditor->Encoding();
}

void TEditFile::SetEncoding(TTextEncoding encoding)
{
    if (m_binary || m_isBottomView || !m_textEditor || encoding == m_textEditor->Encoding())
        return;
    m_textEditor->SetEncoding(encoding);
    // The file on disk no longer matches what saving would write.
    m_textEditor->SetModified(true);
    UpdateGlyph();
}

std::string TEditFile::LoadNote() const
{
    return m_binary || !m_textEditor ? std::string() : m_textEditor->LoadNote();
}

bool TEditFile::HasSelection() const
{
    return m_binary ? m_binViewer->HasSelection() : m_textEditor->GetSelTextLen() > 0;
}

TEditState TEditFile::GetEditState() const
{
    TEditState s;
    const bool sel = HasSelection();
    s.isText = !m_binary;
    s.canUndo = s.isText && m_textEditor->CanUndo();
    s.canRedo = s.isText && m_textEditor->CanRedo();
    s.cutAllowed = sel && s.isText;
    s.copyAllowed = sel;
    return s;
}

int64_t TEditFile::CaretLine() const
{
    int32_t col = 0;
    return m_binary ? m_binViewer->GetCaretPosition(col) : m_textEditor->CaretLine();
}

int32_t TEditFile::CaretColumn() const
{
    int32_t col = 0;
    if (m_binary)
        m_binViewer->GetCaretPosition(col);
    else
        col = m_textEditor->CaretCol();
    return col;
}

int64_t TEditFile::TopLine() const
{
    return m_binary ? m_binViewer->GetTopLine() : m_textEditor->TopLine();
}

void TEditFile::SetCaret(int64_t line, int32_t column)
{
    if (m_binary) {
        m_binViewer->SetCaretPosition(line, column);
        return;
    }
    const int32_t last = m_textEditor->GetLineCount();
    const auto l = static_cast<int32_t>(std::clamp<int64_t>(line, 1, last));
    m_textEditor->SetCaretPosition(l, std::max(column, 1));
}

int64_t TEditFile::LineTotal() const
{
    if (!m_binary)
        return m_textEditor->GetLineCount();
    return (m_binViewer->FileSize() + 15) / 16;
}

void TEditFile::CheckInvariants() const
{
    assert(m_isBottomView ? (m_textEditor && m_binViewer) : (m_textEditor || m_binViewer));
    assert(m_isBottomView || (m_binary ? m_binViewer != nullptr : m_textEditor != nullptr));
    assert(!m_source || m_isBottomView);
    if (m_textEditor)
        m_textEditor->CheckInvariants();
    if (m_binViewer)
        m_binViewer->CheckInvariants();
}

} // namespace wexly
