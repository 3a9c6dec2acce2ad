#include "app/StartUp.h"

#include "app/HandOver.h"
#include "app/StatusBarLayout.h"
#include "editor/OvcCommands.h"

#include <new>

namespace wexly {

std::string DictionaryMenuCaption(const std::string& lastDic)
{
    return "Current: " + (lastDic.empty() ? std::string("None") : lastDic);
}

TApplicationShell::TApplicationShell(TDocumentSet& set, TFileCommands& commands,
    TSettings& settings, IAsker& asker, IShellWindow& window)
    : m_set(set)
    , m_commands(commands)
    , m_settings(settings)
    , m_asker(asker)
    , m_window(window)
{
}

void TApplicationShell::SetStart(const std::string& startDir, const std::string& cmdLine)
{
    m_startDir = WithTrailingBackslash(startDir);
    m_cmdLine = cmdLine;
    m_commands.SetStartDir(m_startDir);
}

void TApplicationShell::Show(const TMessage& message)
{
    if (!message.text.empty())
        m_asker.Ask(message);
}

void TApplicationShell::FirstShow()
{
    Show(m_window.LoadSettings());
    m_window.ApplyPlacement({ m_settings.MainRect, m_settings.MainState });
    m_window.ApplyFontsAndColours();
    m_window.SetOptionChecks(m_settings.WordWrap, m_settings.HexMask);
    m_window.OfferRecovery();
    if (!m_cmdLine.empty())
        m_commands.OpenCommandLine(m_startDir, m_cmdLine);
    try {
        m_set.CreateBottomView();
    } catch (const std::bad_alloc&) {
        TMessage m { "Danger: Low on memory", "Error", TMsgButtons::Ok, TMsgIcon::Warning };
        m_asker.Ask(m);
    }
    if (m_set.Empty() && m_settings.StartBlank)
        m_commands.New();
    m_window.LoadDictionary();
    m_window.SetDictionaryMenu(DictionaryMenuCaption(m_settings.LastDic), m_settings.DicOn);
    m_window.BuildBarsAndMenus();
    m_window.InstallHooks();
    m_window.AcceptDrops(true);
    m_window.CreateFileDialogs();
    m_window.Realign();
    m_started = true;
    // Hand-overs that arrived inside the sequence (a message box at start-up runs messages)
    // come after this instance's own command line, in the order they came.
    std::vector<std::pair<std::string, std::string>> waiting;
    waiting.swap(m_waitingHandOvers);
    for (const auto& [startDir, cmdLine] : waiting)
        TakeHandOver(startDir, cmdLine);
}

int TApplicationShell::HandOver(uintptr_t key, const std::string& senderTitle)
{
    std::string startDir, cmdLine;
    const THandOverOutcome outcome
        = ReceiveHandOver(key, m_closing, senderTitle, startDir, cmdLine);
    if (outcome == THandOverOutcome::Taken || outcome == THandOverOutcome::TakenToOpen) {
        // Before the start-up sequence has finished, the sender's start would replace the
        // command line this instance has yet to open.
        if (m_started)
            TakeHandOver(startDir, cmdLine);
        else
            m_waitingHandOvers.emplace_back(startDir, cmdLine);
    }
    return HandOverResult(outcome);
}

void TApplicationShell::TakeHandOver(const std::string& startDir, const std::string& cmdLine)
{
    SetStart(startDir, cmdLine);
    if (m_cmdLine.empty())
        return;
    m_commands.OpenCommandLine(m_startDir, m_cmdLine);
    m_window.BuildBarsAndMenus();
    m_window.BringToFront();
}

std::string TApplicationShell::AppActivate()
{
    // The reload question itself deactivates and reactivates the application.
    if (m_activating || m_set.Empty())
        return {};
    m_activating = true;
    std::string reloaded;
    for (int i = 0; i < m_set.Count(); ++i)
        if (m_set.At(i).CheckDiskChange())
            reloaded += m_set.At(i).ShortName() + " ";
    std::string status;
    if (!reloaded.empty()) {
        status = "Reloaded: " + reloaded;
        m_window.ShowStatus(status);
    }
    if (m_set.SplitOn() && m_set.BottomFile()) {
        m_set.BottomView()->DetachView();
        m_set.BottomView()->AttachView(*m_set.BottomFile());
    }
    if (TEditFile* focus = m_set.FocusFile())
        focus->ShowView();
    m_activating = false;
    return status;
}

void TApplicationShell::DropFiles(const std::vector<std::string>& names, bool altHeld)
{
    m_dropList.clear();
    for (const std::string& name : names)
        m_dropList += (m_dropList.empty() ? "\"" : " \"") + name + "\"";
    if (!altHeld) {
        m_window.BringToFront();
        OpenDropList();
    }
}

void TApplicationShell::DropOpen(bool binary)
{
    m_window.BringToFront();
    if (binary)
        m_dropList = "/B " + m_dropList;
    OpenDropList();
    if (TEditFile* cur = m_set.CurFile())
        cur->ShowView();
}

void TApplicationShell::OpenDropList()
{
    m_commands.OpenCommandLine(m_startDir, m_dropList);
    m_dropList.clear();
    m_window.BuildBarsAndMenus();
}

bool TApplicationShell::EditStatus(bool bottomPane, bool viewFocused, int64_t line, int32_t column,
    bool clipboardHasText, TStatusUpdate& update)
{
    if (!viewFocused || m_activating || m_set.Empty())
        return false;
    m_set.StatusReported(bottomPane);
    TEditFile* focus = m_set.FocusFile();
    if (!m_set.CurFile() || !focus)
        return false;
    update.top = UpdateTitle(m_set.TopFile());
    update.bottom = UpdateTitle(m_set.BottomFile());
    update.line = StatusNumberText(line);
    update.column = StatusNumberText(column);
    update.relayoutStatusBar
        = update.line.size() != m_lineText.size() || update.column.size() != m_columnText.size();
    m_lineText = update.line;
    m_columnText = update.column;
    const bool insert = !focus->Binary() && focus->TextEditor()->InsertMode();
    update.insOvr = insert ? "Ins" : "Ovr";
    update.encoding
        = focus->Binary() ? std::string() : std::string(EncodingName(focus->Encoding()));
    if (m_syncPanes && m_set.SplitOn())
        m_set.SyncPanes();
    ApplyEditStatus(m_menus, m_editCache, focus->GetEditState(), focus->ReadOnly(), m_set.SplitOn(),
        clipboardHasText);
    update.restoreHint = m_timerExpired;
    m_timerExpired = false;
    return true;
}

const TMenuState& TApplicationShell::UpdateMenus()
{
    wexly::UpdateMenus(m_menus, !m_set.Empty(), m_set.SplitOn(), m_settings.HideCloseDelete);
    if (m_set.Empty()) {
        m_lineText = m_columnText = "0000";
    }
    return m_menus;
}

void TApplicationShell::UserCommand(int command)
{
    TEditFile* focus = m_set.FocusFile();
    if (!m_set.CurFile() || !focus)
        return;
    switch (command) {
    case 256:
        m_set.SelectPrevious();
        break;
    case 257:
        m_set.SelectNext();
        break;
    case 258:
        if (!focus->Binary())
            focus->TextEditor()->Bracket();
        break;
    case 259:
    case 260:
        focus->ScrollOneLine(command == 260, true);
        break;
    case 261:
    case 262:
        focus->ScrollOneLine(command == 262, false);
        break;
    default:
        break;
    }
}

void TApplicationShell::ToggleWordWrap()
{
    m_settings.WordWrap = !m_settings.WordWrap;
    m_set.SetWordWrap(m_settings.WordWrap);
}

void TApplicationShell::ToggleHexMask()
{
    m_settings.HexMask = !m_settings.HexMask;
    m_set.SetHexMask(m_settings.HexMask);
}

void TApplicationShell::SetSyncPanes(bool on)
{
    m_syncPanes = on;
    if (on && m_set.SplitOn())
        m_set.SyncPanes();
}

bool TApplicationShell::StatusTimerFired()
{
    m_timerExpired = !m_set.Empty();
    return m_set.Empty();
}

bool TApplicationShell::TakeExpiredStatus()
{
    const bool expired = m_timerExpired;
    m_timerExpired = false;
    return expired;
}

bool TApplicationShell::SetHint(const std::string& longHint)
{
    if (longHint == m_hint)
        return false;
    m_hint = longHint;
    return true;
}

void TApplicationShell::Exit()
{
    m_closing = true;
    if (m_commands.CloseAll())
        m_window.CloseMainWindow();
    else
        m_closing = false;
}

bool TApplicationShell::CloseQuery()
{
    m_closing = true;
    if (!m_set.Empty() && !m_commands.CloseAll()) {
        m_closing = false;
        return false;
    }
    Closed();
    return true;
}

void TApplicationShell::Closed()
{
    if (m_settingsSaved)
        return;
    if (TEditFile* bottom = m_set.BottomView())
        bottom->DetachView();
    const TWindowPlacement placement = m_window.CurrentPlacement();
    m_settings.MainState = placement.state;
    m_settings.MainRect = placement.normalBounds;
    m_window.AcceptDrops(false);
    m_window.EndOrderly();
    m_settingsSaved = true;
    Show(m_window.SaveSettings());
}

} // namespace wexly
