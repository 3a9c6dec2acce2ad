#include "tools/ToolRunner.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace wexly::test {

namespace {

struct TFakeProcessScript
{
    std::string output; // waiting in the pipe from the start
    std::string lateOutput; // appears as the process ends
    int runningPolls = 2;
    bool failPeek = false;
};

class TFakeProcess final : public IProcess
{
public:
    explicit TFakeProcess(TFakeProcessScript script)
        : m_script(std::move(script))
    {
    }
    size_t PeekOutput() override
    {
        if (m_script.failPeek)
            throw EProcessError("The pipe has been ended.");
        return m_script.output.size();
    }
    size_t ReadOutput(char* buffer, size_t size) override
    {
        const size_t n = std::min(size, m_script.output.size());
        m_script.output.copy(buffer, n);
        m_script.output.erase(0, n);
        return n;
    }
    bool Running() override
    {
        if (m_script.runningPolls-- > 0)
            return true;
        m_script.output += m_script.lateOutput;
        m_script.lateOutput.clear();
        return false;
    }
    int64_t ExitCode() const override { return 0; }

private:
    TFakeProcessScript m_script;
};

class TFakeRunner final : public IProcessRunner
{
public:
    std::vector<TProcessStart> starts;
    TFakeProcessScript script;
    bool fail = false;
    std::unique_ptr<IProcess> Start(const TProcessStart& start) override
    {
        starts.push_back(start);
        if (fail)
            return nullptr;
        return std::make_unique<TFakeProcess>(script);
    }
};

class TFakeToolHost final : public IToolHost
{
public:
    int pumps = 0;
    int refreshes = 0;
    int bottomRefreshes = 0;
    std::vector<bool> focused;
    std::vector<std::string> status;
    std::function<void()> onPump;
    void ProcessMessages() override
    {
        ++pumps;
        if (onPump)
            onPump();
    }
    void RefreshDocumentBars() override { ++refreshes; }
    void RefreshBottomPane() override { ++bottomRefreshes; }
    void FocusPane(bool bottom) override { focused.push_back(bottom); }
    void ShowStatusMessage(const std::string& text) override { status.push_back(text); }
};

struct TToolEnv : TDocEnv
{
    TFakeRunner runner;
    TFakeToolHost toolHost;
    TToolRunner tools { *set, services, *commands, runner, toolHost };
};

// The document's lines without the empty line the editor keeps after the last one.
std::vector<std::string> Lines(TEditFile& doc)
{
    std::vector<std::string> lines;
    TTFEditor& ed = *doc.TextEditor();
    for (int32_t i = 1; i <= ed.GetLineCount(); ++i)
        lines.push_back(ed.GetPrintableLine(i));
    if (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

} // namespace

TEST(ToolRunner, DocumentPlaceholderNeedsAnOpenDocument)
{
    TToolEnv env;
    env.tools.Run({ "lint %c", "", 0, "" });
    EXPECT_TRUE(env.runner.starts.empty());
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, "Command requires file to be open");
    EXPECT_EQ(env.asker.asked[0].caption, "Error!");
    EXPECT_EQ(env.asker.asked[0].icon, TMsgIcon::Warning);
    EXPECT_TRUE(env.toolHost.status.empty());

    env.fs.SetFile("C:\\w\\my file.txt", "x");
    env.Open("C:\\w\\my file.txt");
    env.tools.Run({ "lint %c /n:%f", "C:\\w", 0, "" });
    ASSERT_EQ(env.runner.starts.size(), 1u);
    EXPECT_EQ(env.runner.starts[0].commandLine, "lint C:\\w\\my file.txt /n:my file.txt");
    EXPECT_EQ(env.runner.starts[0].workDir, "C:\\w");
    EXPECT_FALSE(env.runner.starts[0].captureOutput);
    EXPECT_TRUE(env.runner.starts[0].newConsole);
    EXPECT_EQ(env.toolHost.pumps, 0); // neither reload nor record: not waited for
    EXPECT_EQ(env.toolHost.status, (std::vector<std::string> { "Execution Complete" }));
}

TEST(ToolRunner, StartFailureIsReportedAndClearsTheBusyFlag)
{
    TToolEnv env;
    env.fs.SetFile("C:\\w\\out.txt", "x");
    TEditFile& out = env.Open("C:\\w\\out.txt");
    env.runner.fail = true;
    env.tools.Run({ "nothing.exe", "", ToolFlag::ReloadOnCompletion | ToolFlag::ReloadNamedFile,
        "C:\\w\\out.txt" });
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, "Error creating process");
    EXPECT_EQ(env.asker.asked[0].caption, "Error!");
    EXPECT_FALSE(out.ToolBusy());
    EXPECT_TRUE(env.toolHost.status.empty());
}

TEST(ToolRunner, RecordedOutputFillsConsoleLineByLineAndSecondRunEmptiesIt)
{
    TToolEnv env;
    env.runner.script.output = "first\r\nsecond\r\npart";
    env.runner.script.lateOutput = "ial\r\nlast without end";
    env.tools.Run({ "build", "", ToolFlag::RecordOutput, "" });
    TEditFile* console = env.set->FindByPath("Console");
    ASSERT_NE(console, nullptr);
    EXPECT_EQ(env.set->CurFile(), console);
    EXPECT_FALSE(console->Named());
    EXPECT_TRUE(env.runner.starts[0].captureOutput);
    EXPECT_FALSE(env.runner.starts[0].newConsole);
    EXPECT_EQ(Lines(*console),
        (std::vector<std::string> { "first", "second", "partial", "last without end" }));

    env.runner.script.output = "again\r\n";
    env.runner.script.lateOutput.clear();
    env.tools.Run({ "build", "", ToolFlag::RecordOutput, "" });
    EXPECT_EQ(env.set->Count(), 1);
    EXPECT_EQ(Lines(*console), (std::vector<std::string> { "again" }));
}

TEST(ToolRunner, LongOutputIsReadInChunksWithoutLosingBytes)
{
    TToolEnv env;
    std::string output;
    for (int i = 0; i < 500; ++i)
        output += "line " + std::to_string(i) + "\r\n";
    env.runner.script.output = output;
    env.runner.script.runningPolls = 0; // ended before the first look at the pipe
    env.tools.Run({ "gen", "", ToolFlag::RecordOutput, "" });
    const auto lines = Lines(*env.set->FindByPath("Console"));
    ASSERT_EQ(lines.size(), 500u);
    EXPECT_EQ(lines[0], "line 0");
    EXPECT_EQ(lines[499], "line 499");
}

TEST(ToolRunner, ClosingTheConsoleWhileTheToolRunsDropsTheRestOfTheOutput)
{
    TToolEnv env;
    env.fs.SetFile("C:\\w\\keep.txt", "mine");
    TEditFile& keep = env.Open("C:\\w\\keep.txt");
    env.runner.script.output = "a\r\n";
    env.runner.script.lateOutput = "b\r\n";
    env.toolHost.onPump = [&] {
        if (TEditFile* console = env.set->FindByPath("Console"))
            env.commands->CloseFile(*console, false, false);
    };
    env.tools.Run({ "x", "", ToolFlag::RecordOutput, "" });
    EXPECT_EQ(env.set->FindByPath("Console"), nullptr);
    EXPECT_EQ(Lines(keep), (std::vector<std::string> { "mine" }));
}

TEST(ToolRunner, ASecondToolStartedDuringTheWaitKeepsItsOwnPartialLine)
{
    TToolEnv env;
    env.runner.script.output = "out";
    env.runner.script.lateOutput = "er\r\n";
    bool nested = false;
    env.toolHost.onPump = [&] {
        if (nested || env.toolHost.pumps < 2) // after the first tool read "out"
            return;
        nested = true;
        env.runner.script = { "inner\r\n", "", 0, false };
        env.tools.Run({ "second", "", ToolFlag::RecordOutput, "" });
    };
    env.tools.Run({ "first", "", ToolFlag::RecordOutput, "" });
    EXPECT_EQ(
        Lines(*env.set->FindByPath("Console")), (std::vector<std::string> { "inner", "outer" }));
}

TEST(ToolRunner, FirstRecordedRunStillMeansTheUsersDocument)
{
    TToolEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "old");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    env.toolHost.onPump = [&] { env.fs.SetFile("C:\\w\\a.txt", "new"); };
    env.tools.Run({ "fmt %c", "", ToolFlag::RecordOutput | ToolFlag::ReloadOnCompletion, "" });
    ASSERT_NE(env.set->FindByPath("Console"), nullptr);
    EXPECT_EQ(env.set->CurFile(), env.set->FindByPath("Console"));
    EXPECT_EQ(env.runner.starts[0].commandLine, "fmt C:\\w\\a.txt");
    EXPECT_EQ(Lines(a), (std::vector<std::string> { "new" }));
    EXPECT_TRUE(env.asker.asked.empty());
}

TEST(ToolRunner, UnsavedDocumentIsNotReloaded)
{
    TToolEnv env;
    TEditFile& doc = *env.commands->New();
    doc.TextEditor()->ProcessCommand(ccTypedChar, 'k');
    env.tools.Run({ "t", "", ToolFlag::ReloadOnCompletion, "" });
    EXPECT_EQ(Lines(doc), (std::vector<std::string> { "k" }));
    EXPECT_TRUE(env.asker.asked.empty());
}

TEST(ToolRunner, PipeErrorsPropagate)
{
    TToolEnv env;
    env.runner.script.failPeek = true;
    EXPECT_THROW(env.tools.Run({ "x", "", ToolFlag::RecordOutput, "" }), EProcessError);
}

TEST(ToolRunner, ReloadCurrentFileAfterTheToolEnds)
{
    TToolEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "old");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    env.toolHost.onPump = [&] { env.fs.SetFile("C:\\w\\a.txt", "new\r\ntext"); };
    env.tools.Run({ "fmt %c", "", ToolFlag::ReloadOnCompletion, "" });
    EXPECT_GT(env.toolHost.pumps, 0);
    EXPECT_EQ(Lines(a), (std::vector<std::string> { "new", "text" }));

    // Without reload nothing is read back.
    env.toolHost.onPump = nullptr;
    env.fs.SetFile("C:\\w\\a.txt", "changed");
    env.tools.Run({ "fmt %c", "", 0, "" });
    EXPECT_EQ(Lines(a), (std::vector<std::string> { "new", "text" }));
}

TEST(ToolRunner, ReloadGoesToTheDocumentCurrentAtTheStart)
{
    TToolEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "a");
    env.fs.SetFile("C:\\w\\b.txt", "b");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    TEditFile& b = env.Open("C:\\w\\b.txt");
    env.set->SelectFile(a);
    env.toolHost.onPump = [&] {
        if (env.set->CurFile() == &b)
            return;
        env.set->SelectFile(b);
        b.TextEditor()->ProcessCommand(ccTypedChar, '!');
        env.fs.SetFile("C:\\w\\a.txt", "a2");
    };
    env.tools.Run({ "t", "", ToolFlag::ReloadOnCompletion, "" });
    EXPECT_EQ(Lines(a), (std::vector<std::string> { "a2" }));
    EXPECT_TRUE(b.IsModified());
    EXPECT_EQ(Lines(b), (std::vector<std::string> { "!b" }));
}

TEST(ToolRunner, NamedFileIsBusyWhileTheToolRunsThenReloadedOrOpened)
{
    TToolEnv env;
    env.fs.SetFile("C:\\w\\log.txt", "1");
    TEditFile& log = env.Open("C:\\w\\log.txt");
    const TExternalItem tool { "t", "", ToolFlag::ReloadOnCompletion | ToolFlag::ReloadNamedFile,
        "C:\\w\\log.txt" };
    bool busySeen = false;
    env.toolHost.onPump = [&] {
        busySeen = busySeen || log.ToolBusy();
        env.fs.SetFile("C:\\w\\log.txt", "2");
    };
    env.tools.Run(tool);
    EXPECT_TRUE(busySeen);
    EXPECT_FALSE(log.ToolBusy());
    EXPECT_EQ(Lines(log), (std::vector<std::string> { "2" }));
    EXPECT_EQ(env.toolHost.focused, (std::vector<bool> { false }));

    env.commands->CloseFile(log, false, false);
    env.tools.Run(tool);
    TEditFile* reopened = env.set->FindByPath("C:\\w\\log.txt");
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(env.set->CurFile(), reopened);
    EXPECT_GE(env.toolHost.refreshes, 1);
}

TEST(ToolRunner, BusyFlagIsClearedAlsoWhenTheNamedFileIsNotReloaded)
{
    TToolEnv env;
    env.fs.SetFile("C:\\w\\log.txt", "1");
    TEditFile& log = env.Open("C:\\w\\log.txt");
    env.tools.Run({ "t", "", 0, "C:\\w\\log.txt" });
    EXPECT_FALSE(log.ToolBusy());
    env.tools.Run({ "t", "", ToolFlag::ReloadOnCompletion, "C:\\w\\log.txt" });
    EXPECT_FALSE(log.ToolBusy());
}

TEST(ToolRunner, IndexOutsideTheListDoesNothing)
{
    TToolEnv env;
    const std::vector<TExternalTool> tools { { "a", { "a.exe", "", 0, "" } } };
    env.tools.Run(tools, 1);
    env.tools.Run(tools, -1);
    EXPECT_TRUE(env.runner.starts.empty());
    env.tools.Run(tools, 0);
    EXPECT_EQ(env.runner.starts.size(), 1u);
}

} // namespace wexly::test

namespace wexly::test {

namespace {

class TScriptedToolList final : public IToolListDialog
{
public:
    int choose = -1;
    bool ShowModal(TToolListForm& form) override
    {
        form.Select(choose);
        return form.Choose();
    }
};

class TSleepingHost final : public IToolHost
{
public:
    void ProcessMessages() override { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }
    void RefreshDocumentBars() override { }
    void RefreshBottomPane() override { }
    void FocusPane(bool) override { }
    void ShowStatusMessage(const std::string&) override { }
};

} // namespace

TEST(ToolRunner, ListWindowRunsTheChosenToolEvenPastTheTenth)
{
    TToolEnv env;
    std::vector<TExternalTool> tools(11);
    for (size_t i = 0; i < tools.size(); ++i)
        tools[i] = { "T" + std::to_string(i), { "tool" + std::to_string(i), "", 0, "" } };
    TToolListForm form;
    TScriptedToolList dialog;
    env.tools.RunFromList(tools, {}, form, dialog); // Escape or Enter without selection
    EXPECT_TRUE(env.runner.starts.empty());
    dialog.choose = 10;
    env.tools.RunFromList(tools, {}, form, dialog);
    ASSERT_EQ(env.runner.starts.size(), 1u);
    EXPECT_EQ(env.runner.starts[0].commandLine, "tool10");
}

TEST(ToolRunner, RealProcessOutputReachesTheConsole)
{
    TDocEnv env;
    TSleepingHost host;
    TToolRunner runner(*env.set, env.services, *env.commands, SystemProcessRunner(), host);
#ifdef _WIN32
    runner.Run({ "cmd /c echo one& echo two& echo three>&2", "", ToolFlag::RecordOutput, "" });
    const std::vector<std::string> expected { "one", "two", "three" };
#else
    runner.Run({ "printf 'one\\r\\n'; sleep 0.05; printf 'two\\r\\nthree'; echo ' err' 1>&2", "",
        ToolFlag::RecordOutput, "" });
    const std::vector<std::string> expected { "one", "two", "three err" };
#endif
    TEditFile* console = env.set->FindByPath("Console");
    ASSERT_NE(console, nullptr);
    EXPECT_EQ(Lines(*console), expected);
}

} // namespace wexly::test
