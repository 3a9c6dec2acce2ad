#include "documents/DocumentCommands.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace wexly {

// ---- justification -----------------------------------------------------------------------

namespace {
std::string_view WithoutLeadingBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string Blanks(int32_t count)
{
    return std::string(count > 0 ? size_t(count) : 0, ' ');
}

// Ends the suspended screen updates however the justification ends.
struct TUpdateGuard
{
    TOvcCustomEditor& editor;
    explicit TUpdateGuard(TOvcCustomEditor& e)
        : editor(e)
    {
        editor.BeginUpdate();
    }
    ~TUpdateGuard() { editor.EndUpdate(); }
    TUpdateGuard(const TUpdateGuard&) = delete;
    TUpdateGuard& operator=(const TUpdateGuard&) = delete;
};

void JustifyLine(TTFEditor& editor, int32_t line, TJustifyKind kind, const TJustifyParams& p)
{
    const int32_t length = editor.GetLineLength(line);
    if (length == 0)
        return;
    int32_t para = line, pos = 1;
    editor.LineToPara(para, pos);
    const std::string_view paraText = editor.GetPara(para);
    const std::string result = JustifyLineText(
        paraText.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(length)), kind, p);
    // Replacing deletes before it inserts: a text the buffer would refuse would cost the line,
    // so such a line is left as it is.
    const int64_t growth = static_cast<int64_t>(result.size()) - length;
    if (static_cast<int64_t>(paraText.size()) + growth > editor.ParaLengthLimit()
        || int64_t { editor.GetTextLen() } + growth > editor.ByteLimit())
        return;
    editor.SetSelection(line, 1, true, line, length + 1);
    editor.SetSelTextBuf(result);
}
}

std::string JustifyLineText(std::string_view text, TJustifyKind kind, const TJustifyParams& p)
{
    if (text.empty())
        return {};
    const auto length = [](std::string_view s) { return static_cast<int64_t>(s.size()); };
    switch (kind) {
    case TJustifyKind::Left:
        return std::string(WithoutLeadingBlanks(text));
    case TJustifyKind::Centre: {
        const std::string_view rest = WithoutLeadingBlanks(text);
        const int64_t room = p.margin - length(rest);
        return Blanks(room > 0 ? static_cast<int32_t>(room / 2) : 0) + std::string(rest);
    }
    case TJustifyKind::Right: {
        const int64_t room = p.margin - length(text);
        return Blanks(room > 0 ? static_cast<int32_t>(room) : 0) + std::string(text);
    }
    case TJustifyKind::Indent:
        return (p.realTabs ? std::string("\t") : Blanks(p.tabSize)) + std::string(text);
    case TJustifyKind::Unindent: {
        if (text[0] == '\t')
            return std::string(text.substr(1));
        size_t blanks = 0;
        while (
            blanks < text.size() && static_cast<int64_t>(blanks) < p.tabSize && text[blanks] == ' ')
            ++blanks;
        return std::string(text.substr(blanks));
    }
    }
    return std::string(text);
}

void JustifyLines(TTFEditor& editor, TJustifyKind kind, const TJustifyParams& params)
{
    // Justifying would change a document the user may not change.
    if (editor.ReadOnly())
        return;
    TUpdateGuard guard(editor);
    if (!editor.HasSelection()) {
        JustifyLine(editor, editor.CaretLine(), kind, params);
        return;
    }
    int32_t first = 0, startCol = 0, last = 0, endCol = 0;
    editor.GetSelection(first, startCol, last, endCol);
    if (endCol == 1 && last > first)
        --last;
    for (int32_t line = first; line <= last; ++line)
        JustifyLine(editor, line, kind, params);
    editor.SetSelection(first, 1, true, last, editor.GetLineLength(last) + 1);
}

// ---- dates -------------------------------------------------------------------------------

namespace {
// Days since 1970-01-01 to a calendar date (proleptic Gregorian).
void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2 ? 1 : 0);
}

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// Whole seconds since 1899-12-30, rounded so that 12:00:00 does not show as 11:59:59.
int64_t Seconds(double dateTime)
{
    return std::llround(dateTime * 86400.0);
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

class TPortableDateTimeFormat final : public IDateTimeFormat
{
public:
    std::string ShortDate(double dateTime) override
    {
        int64_t y = 0;
        unsigned m = 0, d = 0;
        CivilFromDays(FloorDiv(Seconds(dateTime), 86400) - 25569, y, m, d);
        char text[32];
        std::snprintf(text, sizeof text, "%02u/%02u/%04lld", d, m, static_cast<long long>(y));
        return text;
    }
    std::string LongTime(double dateTime) override
    {
        const int64_t s = Seconds(dateTime) - FloorDiv(Seconds(dateTime), 86400) * 86400;
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(s / 3600),
            static_cast<int>(s / 60 % 60), static_cast<int>(s % 60));
        return text;
    }
    double FileTimeToLocal(TFileTime time) override
    {
        // 100-ns ticks since 1601 to seconds since 1970, then the C library's local time.
        const auto unixSeconds = static_cast<std::time_t>(
            static_cast<int64_t>(time / 10000000) - int64_t(11644473600));
        const std::tm* t = std::localtime(&unixSeconds);
        if (!t)
            return 25569.0 + static_cast<double>(unixSeconds) / 86400.0;
        const int64_t days
            = DaysFromCivil(t->tm_year + 1900, unsigned(t->tm_mon + 1), unsigned(t->tm_mday));
        const int seconds = t->tm_hour * 3600 + t->tm_min * 60 + t->tm_sec;
        return 25569.0 + static_cast<double>(days) + seconds / 86400.0;
    }
};
}

IDateTimeFormat& PortableDateTimeFormat()
{
    static TPortableDateTimeFormat format;
    return format;
}

// ---- statistics --------------------------------------------------------------------------

TMessage StatisticsMessage(TEditFile& doc, IDateTimeFormat& format)
{
    // The second pane's view tells the times of the document it shows.
    const TEditFile& times = doc.IsBottomView() && doc.Source() ? *doc.Source() : doc;
    auto dateTime
        = [&](double value) { return format.ShortDate(value) + " " + format.LongTime(value); };
    std::string text = "Loaded at: ";
    text += times.LoadedAt() == 0 ? std::string("New File") : dateTime(times.LoadedAt());
    if (doc.Binary()) {
        text += "\rFile Size: " + std::to_string(doc.BinViewer()->FileSize());
    } else {
        const TTFEditor& editor = *doc.TextEditor();
        text += "\rFile Time: ";
        text += times.FileTime() == 0 ? std::string("Unsaved")
                                      : dateTime(format.FileTimeToLocal(times.FileTime()));
        text += "\rByte Count: " + std::to_string(editor.GetTextLen());
        text += "\rWord Count: " + std::to_string(editor.WordCount());
        text += "\rLine Count: " + std::to_string(editor.GetLineCount());
        if (doc.IsModified())
            text += "\rModified";
    }
    TMessage message;
    message.text = std::move(text);
    message.caption = doc.ShortName();
    message.buttons = TMsgButtons::Ok;
    message.icon = TMsgIcon::Information;
    return message;
}

// ---- the commands ------------------------------------------------------------------------

TDocumentCommands::TDocumentCommands(
    TDocumentSet& set, const TSettings& settings, IAsker& asker, IDateTimeFormat& format)
    : m_set(set)
    , m_settings(settings)
    , m_asker(asker)
    , m_format(format)
{
}

bool TDocumentCommands::Enabled(TDocumentCommand command) const
{
    return command <= TDocumentCommand::SelectAll ? m_set.CurFile() != nullptr : !m_set.Empty();
}

bool TDocumentCommands::Run(TDocumentCommand command)
{
    TEditFile* focus = m_set.FocusFile();
    if (!Enabled(command) || !focus)
        return false;
    switch (command) {
    case TDocumentCommand::Undo:
        focus->Undo();
        break;
    case TDocumentCommand::Redo:
        focus->Redo();
        break;
    case TDocumentCommand::Cut:
        focus->Cut();
        break;
    case TDocumentCommand::Copy:
        focus->Copy();
        break;
    case TDocumentCommand::Paste:
        focus->Paste();
        break;
    case TDocumentCommand::Clear:
        focus->Clear();
        break;
    case TDocumentCommand::SelectAll:
        focus->SelectAll();
        break;
    case TDocumentCommand::Statistics:
        ShowStatistics();
        break;
    default:
        Justify(static_cast<TJustifyKind>(
            static_cast<int>(command) - static_cast<int>(TDocumentCommand::JustifyLeft)));
        break;
    }
    return true;
}

void TDocumentCommands::Justify(TJustifyKind kind)
{
    TEditFile* focus = m_set.FocusFile();
    if (!focus || focus->Binary() || !focus->TextEditor())
        return;
    const TJustifyParams params { m_settings.RightMargin, m_settings.TabSize, m_settings.RealTabs };
    JustifyLines(*focus->TextEditor(), kind, params);
}

void TDocumentCommands::ShowStatistics()
{
    if (TEditFile* focus = m_set.FocusFile())
        m_asker.Ask(StatisticsMessage(*focus, m_format));
}

} // namespace wexly
