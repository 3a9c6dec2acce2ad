#include "app/MainCommands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace wexly::test {

namespace {

std::string SourceFile(const std::string& relative)
{
#ifdef _WIN32
    const std::string root = std::string("Z:") + WEXLY_SOURCE_DIR; // the Unix tree under Wine
#else
    const std::string root = WEXLY_SOURCE_DIR;
#endif
    std::ifstream in(root + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class TRecordingTarget final : public IMainCommandTarget
{
public:
    std::vector<std::string> calls;

#define WEXLY_RECORD(name)                                                                         \
    void name() override                                                                           \
    {                                                                                              \
        calls.push_back(#name);                                                                    \
    }
    WEXLY_RECORD(NewDocument)
    WEXLY_RECORD(Reopen)
    WEXLY_RECORD(Revert)
    WEXLY_RECORD(Save)
    WEXLY_RECORD(SaveAs)
    WEXLY_RECORD(SaveCopyAs)
    WEXLY_RECORD(SaveAll)
    WEXLY_RECORD(Close)
    WEXLY_RECORD(CloseAll)
    WEXLY_RECORD(CloseAndDelete)
    WEXLY_RECORD(Exit)
    WEXLY_RECORD(PrintSetup)
    WEXLY_RECORD(Find)
    WEXLY_RECORD(RepeatFind)
    WEXLY_RECORD(Replace)
    WEXLY_RECORD(GotoLine)
    WEXLY_RECORD(NextDifferentWord)
    WEXLY_RECORD(ChooseDictionary)
    WEXLY_RECORD(ToggleDictionary)
    WEXLY_RECORD(MaintainDictionaries)
    WEXLY_RECORD(EditTools)
    WEXLY_RECORD(StickToPile)
    WEXLY_RECORD(ToggleWordWrap)
    WEXLY_RECORD(ToggleHexMask)
    WEXLY_RECORD(EditSettings)
    WEXLY_RECORD(SwitchPanes)
    WEXLY_RECORD(ToggleSyncPanes)
    WEXLY_RECORD(ToggleBars)
    WEXLY_RECORD(ShowWindowList)
    WEXLY_RECORD(ShowHelp)
    WEXLY_RECORD(ShowAbout)
#undef WEXLY_RECORD
    void OpenFiles(bool binary) override
    {
        calls.push_back(binary ? "Open binary" : "Open text");
    }
    void Print(bool preview) override
    {
        calls.push_back(preview ? "Preview" : "Print");
    }
    void RunDocumentCommand(TDocumentCommand c) override
    {
        calls.push_back("Document " + std::to_string(static_cast<int>(c)));
    }
    void ToggleSplit(bool vertical) override
    {
        calls.push_back(vertical ? "Split vertical" : "Split horizontal");
    }
    void SortDocuments(TSortKey key) override
    {
        calls.push_back("Sort " + std::to_string(static_cast<int>(key)));
    }
    void SelectFile(bool next) override
    {
        calls.push_back(next ? "Next file" : "Previous file");
    }
    void DropOpen(bool binary) override
    {
        calls.push_back(binary ? "Drop binary" : "Drop text");
    }
};

} // namespace

TEST(MainCommands, EveryMenuItemOfTheResourceHasExactlyOneRowWithAHint)
{
    const std::string ids = SourceFile("src/app/CommandIds.h");
    const std::string rc = SourceFile("win32/res/wexly.rc");
    if (ids.empty() || rc.empty())
        GTEST_SKIP() << "the source tree is not readable from here";

    std::map<std::string, int> values;
    const std::regex define(R"(#define\s+(IDM_\w+)\s+(\d+))");
    for (auto it = std::sregex_iterator(ids.begin(), ids.end(), define);
         it != std::sregex_iterator(); ++it)
        values[(*it)[1]] = std::stoi((*it)[2]);

    const std::regex item(R"re(MENUITEM\s+"[^"]*"\s*,\s*(\w+))re");
    int items = 0;
    for (auto it = std::sregex_iterator(rc.begin(), rc.end(), item); it != std::sregex_iterator();
         ++it) {
        const std::string name = (*it)[1];
        SCOPED_TRACE(name);
        ++items;
        ASSERT_TRUE(values.count(name)) << "not a command id";
        int rows = 0;
        for (const TMainCommand& c : MainCommands())
            if (c.id == values[name]) {
                ++rows;
                EXPECT_FALSE(c.hint.empty());
            }
        EXPECT_EQ(rows, 1);
    }
    EXPECT_GT(items, 40); // the whole menu was read, not a fragment
}

TEST(MainCommands, IdsAreUniqueAndEveryToolbarCodeRunsExactlyOneCommand)
{
    std::set<int> seen;
    std::map<int, int> byCode;
    for (const TMainCommand& c : MainCommands()) {
        EXPECT_TRUE(seen.insert(c.id).second) << c.id;
        EXPECT_EQ(FindMainCommand(c.id), &c);
        if (c.toolCode != kNoToolButton)
            ++byCode[c.toolCode];
    }
    for (int code = 0; code < kToolButtonCount; ++code) {
        EXPECT_EQ(byCode[code], 1) << code;
        EXPECT_NE(ToolButtonCommand(code), 0) << code;
    }
    EXPECT_EQ(byCode.size(), static_cast<size_t>(kToolButtonCount));
    EXPECT_EQ(ToolButtonCommand(kNoToolButton), 0);
    EXPECT_EQ(ToolButtonCommand(kToolButtonCount), 0);
    // The bar's first and last buttons, as the settings file's toolbar strings number them.
    EXPECT_EQ(ToolButtonCommand(0), IDM_FILE_NEW);
    EXPECT_EQ(ToolButtonCommand(32), IDM_FILE_EXIT);
}

TEST(MainCommands, EachRowRunsOneHandlerAndRunTimeIdsAreLeftToTheCaller)
{
    TRecordingTarget target;
    for (const TMainCommand& c : MainCommands()) {
        const size_t before = target.calls.size();
        EXPECT_TRUE(RunMainCommand(target, c.id));
        EXPECT_EQ(target.calls.size(), before + 1) << c.id;
    }

    const std::pair<int, const char*> picked[] = {
        { IDM_FILE_OPENBINARY, "Open binary" },
        { IDM_FILE_PREVIEW, "Preview" },
        { IDM_WINDOW_VERTICAL, "Split vertical" },
        { IDM_WINDOW_UNSPLIT, "Split horizontal" },
        { IDM_WINDOW_SORTEXT, "Sort 2" },
        { IDM_WINDOWLIST_BAR, "ShowWindowList" },
        { IDM_EDIT_SELECTALL, "Document 6" },
        { IDM_DROP_BINARY, "Drop binary" },
    };
    for (const auto& [id, call] : picked) {
        target.calls.clear();
        RunMainCommand(target, id);
        EXPECT_EQ(target.calls, std::vector<std::string> { call }) << id;
    }

    target.calls.clear();
    for (int id : { IDM_MACRO_FIRST + 1, IDM_TOOLS_EXTERNAL_FIRST, IDM_DYNAMIC_FIRST,
             IDM_WINDOW_FILE_FIRST, IDM_FILE_HISTORY_FIRST, 0 })
        EXPECT_FALSE(RunMainCommand(target, id)) << id;
    EXPECT_TRUE(target.calls.empty());
}

TEST(MainCommands, WithNoDocumentOnlyTheAlwaysEnabledItemsStayOn)
{
    TMenuState state;
    UpdateMenus(state, false, false, false);
    for (int id : { IDM_FILE_NEW, IDM_FILE_OPENTEXT, IDM_FILE_OPENBINARY, IDM_FILE_REOPEN,
             IDM_FILE_EXIT, IDM_SEARCH_FIND, IDM_OPTIONS_SETTINGS, IDM_HELP_CONTENTS,
             IDM_HELP_ABOUT, IDM_TOOLS_LIST, IDM_DIC_MAINTAIN })
        EXPECT_TRUE(CommandEnabled(*FindMainCommand(id), state)) << id;
    for (int id : { IDM_FILE_SAVE, IDM_FILE_CLOSE, IDM_SEARCH_REPEAT, IDM_WINDOW_VERTICAL,
             IDM_WINDOW_LIST, IDM_JUSTIFY_LEFT, IDM_SEARCH_NEXTDIFFWORD })
        EXPECT_FALSE(CommandEnabled(*FindMainCommand(id), state)) << id;

    UpdateMenus(state, true, true, false);
    for (int id : { IDM_FILE_SAVE, IDM_FILE_CLOSE, IDM_WINDOW_VERTICAL, IDM_SEARCH_NEXTDIFFWORD })
        EXPECT_TRUE(CommandEnabled(*FindMainCommand(id), state)) << id;
}

} // namespace wexly::test
