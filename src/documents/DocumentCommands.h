// The commands that act on the focused pane's document: the Edit menu, the Justify submenu and
// Statistics. Justification and the statistics text have rules of their own; the rest maps
// onto TEditFile. Borrows the document set, the settings, the asker and a date formatter.
#pragma once

#include "config/Settings.h"
#include "documents/DocumentSet.h"
#include "platform/Ui.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace wexly {

// The Justify menu item's hint; nothing else stops justification while word wrap is on.
inline constexpr const char* kJustifyHint
    = "Set justification for text (Wont work when wordwrap is on)";

enum class TJustifyKind { Left = 0, Centre = 1, Right = 2, Indent = 3, Unindent = 4 };

struct TJustifyParams
{
    int32_t margin = 80; // RightMargin
    int32_t tabSize = 8;
    bool realTabs = false;
};

// One line's text justified; an empty line stays empty.
std::string JustifyLineText(std::string_view text, TJustifyKind kind, const TJustifyParams& p);

// Justifies the selected lines (a selection ending in column 1 leaves that line out) and then
// selects them whole, or the caret line without a selection. Read-only editors are left as
// they are.
void JustifyLines(TTFEditor& editor, TJustifyKind kind, const TJustifyParams& params);

// Dates and times as the user has chosen to see them. Date-times are days since 1899-12-30
// with the time of day as the fraction.
class IDateTimeFormat
{
public:
    virtual ~IDateTimeFormat() = default;
    virtual std::string ShortDate(double dateTime) = 0;
    virtual std::string LongTime(double dateTime) = 0;
    // A file time stamp (UTC) as a local date-time.
    virtual double FileTimeToLocal(TFileTime time) = 0;
};

// The C library's local time with fixed formats (dd/mm/yyyy, hh:mm:ss): for builds without a
// locale service.
IDateTimeFormat& PortableDateTimeFormat();

// The statistics box's text and caption for a document (or the second pane's view).
TMessage StatisticsMessage(TEditFile& doc, IDateTimeFormat& format);

enum class TDocumentCommand {
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Clear,
    SelectAll,
    JustifyLeft,
    JustifyCentre,
    JustifyRight,
    JustifyIndent,
    JustifyUnindent,
    Statistics
};

class TDocumentCommands
{
public:
    TDocumentCommands(TDocumentSet& set, const TSettings& settings, IAsker& asker,
        IDateTimeFormat& format = PortableDateTimeFormat());

    // Whether the command may run: the edit commands want a current document, the others any
    // open document.
    bool Enabled(TDocumentCommand command) const;
    // Runs the command on FocusFile; false when it was not enabled.
    bool Run(TDocumentCommand command);

    void Justify(TJustifyKind kind);
    void ShowStatistics();

private:
    TDocumentSet& m_set;
    const TSettings& m_settings;
    IAsker& m_asker;
    IDateTimeFormat& m_format;
};

} // namespace wexly
