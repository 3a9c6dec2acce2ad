// What a document borrows from the program around it: files, message boxes, the clipboard, the
// settings, a clock, and the windows that show it. The Win32 layer implements IDocumentWindows;
// tests use a recording fake.
#pragma once

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Ui.h"

#include <cstdint>
#include <functional>
#include <string>

namespace wexly {

class TEditFile;
struct TSettings;

struct TButtonSize
{
    int width = 0;
    int height = 0;
};

class IDocumentWindows
{
public:
    virtual ~IDocumentWindows() = default;
    // The document's views exist (a text editor or a viewer; the second pane's view has
    // both): the host makes their windows and its file button (none for the second pane).
    virtual void DocumentCreated(TEditFile& doc) = 0;
    // The document's view (its text editor or binary viewer, whichever it shows) is brought to
    // the front of its pane and, with focus, given the input focus.
    virtual void ShowView(TEditFile& doc, bool focus) = 0;
    virtual bool ViewFocused(const TEditFile& doc) const = 0;
    // The file button's caption, hint, picture, down state or colours changed.
    virtual void ButtonChanged(TEditFile& doc) = 0;
    // The auto-sized button for the current caption.
    virtual TButtonSize MeasureButton(const TEditFile& doc) = 0;
    // The document is going away: its windows are destroyed.
    virtual void DocumentDestroyed(TEditFile& doc) = 0;
};

// "Now" as a date-time: days since 1899-12-30 with the time of day as the fraction.
double DateTimeNow();

struct TDocumentServices
{
    IFileSystem& fs;
    IAsker& asker;
    IDocumentWindows& windows;
    const TSettings& settings;
    IClipboard* clipboard = nullptr;
    IBeeper* beeper = nullptr;
    std::function<double()> now = DateTimeNow;
    ICodePage* codePage = nullptr; // the active code page when null
    // Bytes of address space the process has left, which bounds the text it can hold; null
    // or negative: unknown, and only the buffer's limits are checked before a load.
    std::function<int64_t()> freeAddressSpace {};
    // Told how far the load of a text file has come (file's short name, bytes read, of all),
    // so that the window can show it; null: nothing to tell.
    std::function<void(const std::string& name, int64_t done, int64_t total)> loadProgress {};
};

} // namespace wexly
