#include "win32/main/RecoveryHost.h"

#include "app/HandOver.h"
#include "platform/FileReplace.h"
#include "win32/platform/WinStrings.h"

#include <windows.h>

#include <shlobj.h>

#include <cstdio>

namespace wexly::win32 {

namespace {

// The process id and its creation time: unique among the instances that ever ran here.
std::string InstanceName()
{
    FILETIME created {}, exited {}, kernel {}, user {};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    char name[48];
    std::snprintf(name, sizeof name, "%lu-%08lx%08lx",
        static_cast<unsigned long>(GetCurrentProcessId()),
        static_cast<unsigned long>(created.dwHighDateTime),
        static_cast<unsigned long>(created.dwLowDateTime));
    return name;
}

std::string LocalAppDataRoot()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return JoinRecoveryPath(WideToUtf8(path), ApplicationTitle);
}

uint64_t Now()
{
    return GetTickCount64();
}

} // namespace

TRecoveryHost::TRecoveryHost(std::string settingsFile)
    : m_settingsFile(std::move(settingsFile))
    , m_fallbackRoot(LocalAppDataRoot())
{
}

// The writer finishes what it has; the records stay unless EndOrderly took them.
TRecoveryHost::~TRecoveryHost()
{
    m_journal.reset();
    m_writer.reset();
    m_folder.reset();
}

std::vector<std::string> TRecoveryHost::Roots() const
{
    std::vector<std::string> roots { RecoveryRootBeside(m_settingsFile) };
    if (!m_fallbackRoot.empty())
        roots.push_back(JoinRecoveryPath(m_fallbackRoot, "Recovery"));
    return roots;
}

std::string TRecoveryHost::Start(TFileCommands& commands, IAsker& asker)
{
    IFileSystem& fs = RealFileSystem();
    const std::vector<std::string> roots = Roots();
    const std::string name = InstanceName();
    TFileError error;
    for (size_t i = 0; i < roots.size() && !m_folder; ++i) {
        if (i == 1 && !fs.IsDirectory(m_fallbackRoot))
            fs.MakeDirectory(m_fallbackRoot);
        auto folder = std::make_unique<TRecoveryFolder>(fs, roots[i], name);
        if (folder->Open(&error))
            m_folder = std::move(folder);
    }
    if (m_folder) {
        m_writer = std::make_unique<TJournalWriter>(*m_folder, true);
        m_journal = std::make_unique<TRecoveryJournal>(*m_folder, *m_writer);
    }
    TRecoveryStart start(fs, fs, asker);
    start.Run(roots, m_folder ? m_folder->Name() : name, commands, m_journal.get(), Now());
    if (m_folder)
        return {};
    return "Unsaved changes cannot be kept for recovery: " + FileErrorText(error.code);
}

void TRecoveryHost::Tick(const TDocumentSet& set)
{
    if (m_journal)
        m_journal->Tick(set, Now());
}

void TRecoveryHost::DocumentClosed(const TEditFile& doc)
{
    if (m_journal)
        m_journal->DocumentClosed(doc);
}

void TRecoveryHost::EndOrderly()
{
    if (m_journal)
        m_journal->EndOrderly();
}

std::string TRecoveryHost::TakeFailure()
{
    return m_journal ? m_journal->TakeFailure() : std::string();
}

} // namespace wexly::win32
