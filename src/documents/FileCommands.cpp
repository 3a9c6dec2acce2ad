#include "documents/FileCommands.h"

#include "documents/OpenPanelModel.h"
#include "editor/TextFile.h"
#include "editor/TextFit.h"
#include "platform/FileReplace.h"

#include <cstdlib>
#include <new>

namespace wexly {

namespace {

bool IsSlash(char c)
{
    return c == '\\' || c == '/';
}

// The root of an absolute path ("C:\", "\\server\share\"), or empty for a relative one.
size_t RootLength(const std::string& p)
{
    if (p.size() >= 2 && p[1] == ':')
        return p.size() >= 3 && IsSlash(p[2]) ? 3 : 2;
    if (p.size() >= 2 && IsSlash(p[0]) && IsSlash(p[1])) {
        size_t i = p.find_first_of("\\/", 2);
        if (i != std::string::npos)
            i = p.find_first_of("\\/", i + 1);
        return i == std::string::npos ? p.size() : i + 1;
    }
    return 0;
}

std::string DirectoryNoSlash(const std::string& dir)
{
    std::string d = dir;
    while (d.size() > RootLength(d) && !d.empty() && IsSlash(d.back()))
        d.pop_back();
    return d;
}

} // namespace

std::string FilesOpenedMessage(int added, int total)
{
    return std::to_string(added) + " File(s) opened... " + std::to_string(total) + " Total";
}

std::string WithDefaultExtension(const std::string& name)
{
    for (size_t i = name.size(); i > 0; --i) {
        if (name[i - 1] == '.')
            return name;
        if (IsSlash(name[i - 1]))
            break;
    }
    return name + ".txt";
}

std::string ExpandFileName(const std::string& path, const std::string& baseDir)
{
    if (path.empty())
        return {};
    std::string full;
    if (RootLength(path) > 0)
        full = path;
    else if (IsSlash(path[0]))
        full = baseDir.substr(0, RootLength(baseDir)) + path.substr(1);
    else
        full = baseDir + (baseDir.empty() || IsSlash(baseDir.back()) ? "" : "\\") + path;
    const size_t root = RootLength(full);
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = root; i <= full.size(); ++i) {
        if (i < full.size() && !IsSlash(full[i])) {
            part += full[i];
            continue;
        }
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    }
    std::string out = full.substr(0, root);
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i ? "\\" : "") + parts[i];
    if (IsSlash(full.back()) && !parts.empty())
        out += '\\';
    return out;
}

TFileCommands::TFileCommands(TDocumentSet& set, TDocumentServices& services, TSettings& settings,
    TReopenHistory& history, IFileDialogs& dialogs, IFileCommandHost& host)
    : m_set(set)
    , m_services(services)
    , m_settings(settings)
    , m_history(history)
    , m_dialogs(dialogs)
    , m_host(host)
{
}

TMsgResult TFileCommands::Ask(const std::string& text, const std::string& caption,
    TMsgButtons buttons, TMsgIcon icon, int defaultButton)
{
    TMessage m;
    m.text = text;
    m.caption = caption;
    m.buttons = buttons;
    m.icon = icon;
    m.defaultButton = defaultButton;
    return m_services.asker.Ask(m);
}

void TFileCommands::ShowSaveError(const std::exception& e, const std::string& path)
{
    std::string text = e.what();
    // The code alone does not tell the user which file, why, or what became of it.
    if (const auto* io = dynamic_cast<const EInOutError*>(&e))
        text += "\r" + path + " was not saved: " + FileErrorText(io->Code())
            + "\rThe file was left as it was; the document keeps its changes.";
    Ask(text, "Error", TMsgButtons::Ok, TMsgIcon::Warning);
}

void TFileCommands::AddRecentDir(const std::string& directory)
{
    wexly::AddRecentDir(m_settings.DirHistory, directory);
}

// ---- new and open ----------------------------------------------------------------------------

TEditFile* TFileCommands::New()
{
    const std::string name = "untitled" + std::to_string(m_untitledCounter++) + ".txt";
    std::unique_ptr<TEditFile> doc;
    try {
        doc = std::make_unique<TEditFile>(m_services, name, false, false, false, false);
    } catch (const std::bad_alloc&) {
        Ask("Danger: No memory to open file", "Error", TMsgButtons::Ok, TMsgIcon::Warning);
        return nullptr;
    }
    TEditFile& added = m_set.Insert(std::move(doc));
    m_set.SelectFile(added);
    m_host.RefreshDocumentBars();
    return &added;
}

void TFileCommands::OpenDialog(bool binary)
{
    TOpenDialogRequest request;
    request.openBinary = binary;
    request.initialDir = m_settings.LastDir;
    request.filterIndex = m_settings.OpenFilterIndex;
    request.filterList = m_settings.FilterList;
    request.recentDirs = m_settings.DirHistory;
    request.favouriteDirs = m_settings.DirFavourites;
    const TOpenDialogResult result = m_dialogs.ShowOpen(request);
    if (result.favouritesChanged)
        m_settings.DirFavourites = result.favouriteDirs;
    if (result.confirmed && !result.files.empty()) {
        const int before = m_set.Count();
        m_openNote.clear();
        // Last to first: each becomes current and the next goes in after it.
        for (auto it = result.files.rbegin(); it != result.files.rend(); ++it)
            OpenFile(*it, result.openReadOnly, result.openBinary);
        m_host.RefreshDocumentBars();
        m_host.ShowStatusMessage(OpenedMessage(m_set.Count() - before, m_set.Count()));
        m_settings.LastDir = PathDirectory(result.files.front());
        AddRecentDir(m_settings.LastDir);
    } else if (!result.confirmed && !result.searchDir.empty()) {
        m_host.StartFindInFiles(result.searchDir, "*.*");
    }
    m_settings.OpenFilterIndex = result.filterIndex;
}

TEditFile* TFileCommands::OpenFile(const std::string& path, bool readOnly, bool binary)
{
    const std::string full = ExpandFileName(path, m_startDir);
    if (full.empty())
        return nullptr;
    if (TEditFile* open = m_set.FindByPath(full)) {
        open->MarkAttention();
        return open;
    }
    IFileSystem& fs = m_services.fs;
    const bool exists = fs.Exists(full);
    std::optional<TDecodedText> decoded;
    if (exists) {
        const int looks = LooksBinary(fs, full);
        if (looks < 0) {
            Ask("Unable to open file\rPossible sharing conflict", "Error!", TMsgButtons::Ok,
                TMsgIcon::Warning);
            return nullptr;
        }
        // Only where the binary question would come does the file have to be decoded before
        // the document is made; otherwise the load decodes it as it reads.
        const bool decodeFirst
            = looks == 1 && !binary && m_settings.BinaryCheck && m_settings.ConvertUnicode;
        int64_t size = 0;
        if (!binary && FileTooLargeForText(m_services, full, decodeFirst, true, size))
            return OfferHexViewer(full, size, readOnly);
        if (decodeFirst)
            decoded = DecodeForOpen(full);
        // Converted UTF-8 and UTF-16 is text, whatever its bytes look like.
        const bool converted = decoded && decoded->encoding != TTextEncoding::Ansi;
        if (looks == 1 && !binary && !converted && m_settings.BinaryCheck) {
            const TMsgResult r = Ask("This file may be binary\rOpen file in binary mode?", full,
                TMsgButtons::YesNoCancel, TMsgIcon::Question);
            if (r == TMsgResult::Cancel)
                return nullptr;
            binary = r == TMsgResult::Yes;
        }
    }
    std::unique_ptr<TEditFile> doc;
    try {
        doc = std::make_unique<TEditFile>(m_services, full, exists || binary, true, readOnly,
            binary, decoded && !binary ? &*decoded : nullptr);
    } catch (const std::bad_alloc&) {
        Ask("Not enough memory to open file", "Error!", TMsgButtons::Ok, TMsgIcon::Warning);
        return nullptr;
    }
    if (doc->LoadFailed()) {
        if (!doc->LoadTooLarge())
            return nullptr;
        // The file's start promised less than the whole needed: the same offer, once the
        // half-made document has given its memory back.
        const int64_t size = doc->FileSize();
        doc.reset();
        return OfferHexViewer(full, size, readOnly);
    }
    const std::string note = decoded ? DecodeNoteText(*decoded) : doc->LoadNote();
    if (!note.empty())
        m_openNote = doc->ShortName() + ": " + note
            + (doc->Binary() ? "; opened as binary" : "; opened as bytes");
    TEditFile& added = m_set.Insert(std::move(doc));
    m_history.Remove(full);
    m_set.SelectFile(added);
    return &added;
}

TEditFile* TFileCommands::OfferHexViewer(const std::string& full, int64_t size, bool readOnly)
{
    if (Ask(TooLargeForTextMessage(size), full, TMsgButtons::YesNo, TMsgIcon::Warning)
        != TMsgResult::Yes)
        return nullptr;
    return OpenFile(full, readOnly, true);
}

TEditFile* TFileCommands::OpenRecovered(const std::string& name, bool named,
    std::string_view joined, TTextEncoding encoding, int32_t para, int32_t pos)
{
    std::unique_ptr<TEditFile> doc;
    try {
        doc = std::make_unique<TEditFile>(m_services, name, false, named, false, false);
        if (!doc->LoadRecovered(joined, encoding, para, pos))
            return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    // "untitled7.txt" keeps its number: the next New must not make a second one.
    constexpr std::string_view prefix = "untitled";
    if (!named && name.compare(0, prefix.size(), prefix) == 0) {
        const int number = std::atoi(name.c_str() + prefix.size());
        if (number >= m_untitledCounter && number < 1000000000)
            m_untitledCounter = number + 1;
    }
    if (named)
        m_history.Remove(name);
    TEditFile& added = m_set.Insert(std::move(doc));
    m_set.SelectFile(added);
    return &added;
}

std::optional<TDecodedText> TFileCommands::DecodeForOpen(const std::string& path)
{
    ICodePage& codePage = m_services.codePage ? *m_services.codePage : ActiveCodePage();
    try {
        return DecodeTextFileAt(m_services.fs, path, codePage);
    } catch (const EInOutError&) {
        return std::nullopt; // the load reads it again and reports the error
    }
}

std::string TFileCommands::OpenedMessage(int added, int total) const
{
    std::string text = FilesOpenedMessage(added, total);
    if (!m_openNote.empty())
        text += "   " + m_openNote;
    return text;
}

void TFileCommands::ApplyCaret(TEditFile& doc, const TCaretRequest& caret)
{
    if (caret.column > 0)
        doc.SetCaret(caret.line > 0 ? caret.line : 1, caret.column);
    else if (caret.lastLine)
        doc.GotoLine(doc.LineTotal());
    else if (caret.line > 0)
        doc.GotoLine(caret.line);
}

TEditFile* TFileCommands::OpenFileSpec(
    const std::string& spec, const TCaretRequest& caret, bool binary, bool readOnly)
{
    const std::string full = ExpandFileName(spec, m_startDir);
    const std::string dir = PathDirectory(full);
    if (dir.empty() || !m_services.fs.IsDirectory(DirectoryNoSlash(dir))) {
        Ask("Directory does not exist!", "Error", TMsgButtons::Ok, TMsgIcon::Warning);
        return nullptr;
    }
    TEditFile* first = nullptr;
    bool matched = false;
    for (const TDirEntry& e : m_services.fs.List(DirectoryNoSlash(dir), PathNamePart(full))) {
        if (e.isDirectory)
            continue;
        matched = true;
        const std::string path = dir + e.name;
        if (!m_services.fs.Exists(path)) {
            Ask(path, "File not found!", TMsgButtons::Ok, TMsgIcon::Warning);
            continue;
        }
        if (TEditFile* doc = OpenFile(path, readOnly, binary)) {
            ApplyCaret(*doc, caret);
            if (!first)
                first = doc;
        }
    }
    if (!matched) {
        const bool wild = spec.find_first_of("*?") != std::string::npos;
        if ((!spec.empty() && IsSlash(spec.back())) || wild || binary) {
            Ask(spec, "File not found!", TMsgButtons::Ok, TMsgIcon::Warning);
            return nullptr;
        }
        // A new file under that name, created by its first save.
        first = OpenFile(full, readOnly, binary);
        if (first && caret.line > 0)
            first->GotoLine(caret.line);
    }
    m_settings.LastDir = dir;
    AddRecentDir(dir);
    return first;
}

int TFileCommands::OpenCommandLine(const std::string& baseDir, const std::string& text)
{
    const int before = m_set.Count();
    m_openNote.clear();
    for (const TCommandLineAction& action : ParseCommandLine(baseDir, text)) {
        if (action.kind == TCommandLineActionKind::OpenFileSpec)
            OpenFileSpec(action.path, action.caret, action.binary, action.readOnly);
        else
            ReopenNewest(action);
    }
    const int added = m_set.Count() - before;
    m_host.ShowStatusMessage(OpenedMessage(added, m_set.Count()));
    return added;
}

void TFileCommands::ReopenNewest(const TCommandLineAction& action)
{
    // Opening takes an entry out of the history, so the next newest comes next. An entry that
    // stays (its file could not be opened) is passed over instead of being tried again.
    size_t skip = 0;
    for (int n = 0; n < action.count; ++n) {
        const auto& lines = m_history.Lines();
        if (skip >= lines.size())
            break;
        const std::string line = lines[skip];
        const THistoryEntry e = ParseHistoryLine(line);
        OpenFileSpec(
            e.path, action.caret, action.binary || e.binary, action.readOnly || e.readOnly);
        if (skip < m_history.Lines().size() && m_history.Lines()[skip] == line)
            ++skip;
    }
}

void TFileCommands::Reopen()
{
    if (auto text = m_dialogs.ShowReopen(m_settings.FileHistory)) {
        OpenCommandLine(m_startDir, *text);
        m_host.RefreshDocumentBars();
    }
}

// ---- revert and save --------------------------------------------------------------------------

void TFileCommands::Revert()
{
    TEditFile* doc = m_set.CurFile();
    if (!doc || !doc->Named())
        return;
    if (doc->IsModified()
        && Ask("This operation will erase all changes\rsince the file was last saved!",
               "Attention!", TMsgButtons::OkCancel, TMsgIcon::Question, 2)
            != TMsgResult::Ok)
        return;
    doc->Reload();
    if (m_set.SplitOn() && m_set.BottomFile() == doc) {
        m_set.BottomView()->DetachView();
        m_set.BottomView()->AttachView(*doc);
    }
    if (TEditFile* focus = m_set.FocusFile())
        focus->ShowView();
    m_host.RefreshTitles();
}

bool TFileCommands::SaveNamedOrAs(TEditFile& doc)
{
    if (!doc.Named())
        return SaveFileAs(doc, true);
    try {
        doc.Save();
    } catch (const std::exception& e) {
        ShowSaveError(e, doc.FileName());
        return false;
    }
    return true;
}

void TFileCommands::SaveDocument(TEditFile& doc)
{
    if (doc.ReadOnly() || doc.Binary())
        return;
    SaveNamedOrAs(doc);
    m_host.RefreshTitles();
}

void TFileCommands::Save()
{
    if (TEditFile* doc = m_set.CurFile())
        SaveDocument(*doc);
}

void TFileCommands::SaveAs()
{
    if (TEditFile* doc = m_set.CurFile()) {
        SaveFileAs(*doc, true);
        m_host.RefreshTitles();
    }
}

void TFileCommands::SaveCopyAs()
{
    if (TEditFile* doc = m_set.CurFile())
        SaveFileAs(*doc, false);
}

void TFileCommands::SaveAll()
{
    if (m_set.CurFile())
        SaveAllModified(false);
}

bool TFileCommands::SaveFileAs(TEditFile& doc, bool rename)
{
    if (doc.Binary())
        return false;
    TSaveDialogRequest request;
    request.fileName = doc.FileName();
    request.overwritePrompt = true;
    request.filterIndex = m_settings.SaveFilterIndex;
    request.filterList = m_settings.FilterList;
    request.recentDirs = m_settings.DirHistory;
    request.favouriteDirs = m_settings.DirFavourites;
    const TSaveDialogResult result = m_dialogs.ShowSave(request);
    if (result.favouritesChanged)
        m_settings.DirFavourites = result.favouriteDirs;
    bool saved = false;
    if (result.confirmed && !result.fileName.empty()) {
        const std::string name = WithDefaultExtension(result.fileName);
        const std::string oldName = doc.FileName();
        const bool wasNamed = doc.Named();
        const bool readOnly = doc.ReadOnly() && doc.ReadOnlyWanted();
        const int64_t line = doc.CaretLine();
        const int32_t col = doc.CaretColumn();
        try {
            doc.SaveAs(name, rename);
            saved = true;
        } catch (const std::exception& e) {
            ShowSaveError(e, name);
        }
        if (saved) {
            if (rename && wasNamed && !SameTextNoCase(name, oldName))
                m_history.Add(oldName, false, readOnly, static_cast<int32_t>(line), col);
            m_settings.LastDir = PathDirectory(name);
            AddRecentDir(m_settings.LastDir);
            m_host.RefreshDocumentBars();
        }
    }
    m_settings.SaveFilterIndex = result.filterIndex;
    if (TEditFile* focus = m_set.FocusFile())
        focus->ShowView();
    return saved;
}

bool TFileCommands::SaveAllModified(bool ask)
{
    bool ok = true;
    for (int i = 0; i < m_set.Count() && ok; ++i) {
        TEditFile& doc = m_set.At(i);
        if (!doc.IsModified())
            continue;
        if (ask) {
            const TMsgResult r
                = Ask("The file\n'" + doc.ShortName() + "'\nhas not been saved yet.  Save it now?",
                    "Save File", TMsgButtons::YesNoCancel, TMsgIcon::Question);
            if (r == TMsgResult::Cancel)
                ok = false;
            if (r != TMsgResult::Yes)
                continue;
        }
        // A save the user asked for that did not happen must not let the caller close the
        // document; saving without asking just goes on with the others.
        if (!SaveNamedOrAs(doc) && ask)
            ok = false;
    }
    m_host.RefreshTitles();
    return ok;
}

// ---- closing -----------------------------------------------------------------------------------

void TFileCommands::Close()
{
    if (TEditFile* doc = m_set.CurFile())
        CloseDocument(*doc);
}

void TFileCommands::CloseDocument(TEditFile& doc)
{
    CloseFile(doc, false, true);
    m_host.RefreshDocumentBars();
}

void TFileCommands::CloseAndDelete()
{
    TEditFile* doc = m_set.CurFile();
    if (!doc)
        return;
    if (Ask("Are you sure you want to\ndelete the file from disk?", "Alert!", TMsgButtons::YesNo,
            TMsgIcon::Question, 2)
        != TMsgResult::Yes)
        return;
    CloseFile(*doc, true, true);
    m_host.RefreshDocumentBars();
}

bool TFileCommands::CloseFile(TEditFile& doc, bool deleteFile, bool ask)
{
    const bool bottomHadFocus = m_set.BottomViewFocused();
    if (!deleteFile && ask && doc.IsModified()) {
        const TMsgResult r = Ask(
            "Save changes to file?", "Attention!", TMsgButtons::YesNoCancel, TMsgIcon::Question);
        if (r == TMsgResult::Cancel)
            return false;
        // Closing after a save that failed or whose dialog was cancelled would lose the text.
        if (r == TMsgResult::Yes && !SaveNamedOrAs(doc))
            return false;
    }
    if (doc.Named() && !deleteFile)
        m_history.Add(doc.FileName(), doc.Binary(), doc.ReadOnly() && doc.ReadOnlyWanted(),
            static_cast<int32_t>(doc.CaretLine()), doc.CaretColumn());
    const std::string deletePath = deleteFile && doc.Named() ? doc.FileName() : std::string();
    m_set.Remove(doc).reset();
    if (!deletePath.empty())
        m_host.SendToRecycleBin(deletePath);
    m_host.RestoreHintIfExpired();
    if (m_set.CurFile()) {
        if (bottomHadFocus && m_set.SplitOn())
            m_set.BottomView()->ShowView();
        else
            m_set.TopFile()->ShowView();
    }
    return true;
}

bool TFileCommands::CloseAll()
{
    if (!SaveAllModified(true))
        return false;
    for (int i = m_set.Count() - 1; i >= 0; --i)
        CloseFile(m_set.At(i), false, false);
    m_set.ClearAll();
    m_host.RefreshDocumentBars();
    return true;
}

} // namespace wexly
