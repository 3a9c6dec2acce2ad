#include "tools/EditToolForm.h"
#include "tools/ToolListForm.h"
#include "tools/ToolsPage.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace wexly::test {

namespace {

class TScriptedEditDialog final : public IEditToolDialog
{
public:
    std::deque<std::function<bool(TEditToolForm&)>> steps;
    std::vector<TEditToolForm> seen;
    bool ShowModal(TEditToolForm& form) override
    {
        seen.push_back(form);
        auto step = std::move(steps.front());
        steps.pop_front();
        return step(form);
    }
};

} // namespace

TEST(EditToolForm, FlagsRoundTripAndEnablingFollowsReload)
{
    TEditToolForm form;
    form.FillNew();
    EXPECT_EQ(form.name, "New Item");
    EXPECT_FALSE(form.RadiosEnabled());
    EXPECT_FALSE(form.FileNameEnabled());
    EXPECT_EQ(form.Store().Flags, 0);

    for (uint16_t flags = 0; flags < 8; ++flags) {
        TExternalItem item { "cl", "dir", flags, "fn" };
        form.Fill("n", item);
        EXPECT_EQ(form.Store(), item);
        EXPECT_EQ(form.RadiosEnabled(), (flags & 2) != 0);
        EXPECT_EQ(form.FileNameEnabled(), (flags & 3) == 3);
    }
}

TEST(EditToolForm, ProgramBrowseStartsFromProgramThenWorkDirThenLastDir)
{
    TEditToolForm form;
    form.commandLine = "\"C:\\Program Files\\t.exe\" %c";
    form.workDir = "D:\\work";
    TProgramBrowseRequest r = form.ProgramBrowse("E:\\last\\");
    EXPECT_EQ(r.initialDir, "C:\\Program Files\\");
    EXPECT_EQ(r.fileName, "C:\\Program Files\\t.exe");
    EXPECT_EQ(r.filter, "All Files (*.*)|*.*");
    EXPECT_TRUE(r.mustExist);
    form.commandLine = "make all";
    EXPECT_EQ(form.ProgramBrowse("E:\\last\\").initialDir, "D:\\work");
    form.workDir.clear();
    EXPECT_EQ(form.ProgramBrowse("E:\\last\\").initialDir, "E:\\last\\");

    form.ProgramChosen("C:\\tools\\lint.exe");
    EXPECT_EQ(form.commandLine, "C:\\tools\\lint.exe");
    EXPECT_EQ(form.workDir, "C:\\tools\\");
    form.FolderChosen("C:\\src\\");
    EXPECT_EQ(form.workDir, "C:\\src");
    form.FolderChosen("C:\\");
    EXPECT_EQ(form.workDir, "C:\\");
}

TEST(ToolsPage, AddEditDeleteWorkOnACopyUntilConfirmed)
{
    std::vector<TExternalTool> tools { { "One", { "one.exe", "", 0, "" } } };
    TToolsPage page;
    page.Load(tools);
    EXPECT_EQ(page.Selected(), 0);
    EXPECT_EQ(page.CommandLineLabel(), "one.exe");

    TScriptedEditDialog dialog;
    dialog.steps.push_back([](TEditToolForm& f) {
        f.name = "Two";
        f.commandLine = "two.exe %c";
        f.reloadOnCompletion = true;
        return true;
    });
    page.Add(dialog);
    EXPECT_EQ(dialog.seen[0].name, "New Item");
    EXPECT_EQ(page.Selected(), 1);
    EXPECT_EQ(page.Entries()[1].Item.Flags, ToolFlag::ReloadOnCompletion);

    dialog.steps.push_back([](TEditToolForm& f) {
        f.name = "Renamed";
        return false;
    });
    page.Edit(dialog);
    EXPECT_EQ(page.Entries()[1].Name, "Two");
    EXPECT_TRUE(dialog.seen[1].reloadOnCompletion);
    EXPECT_FALSE(dialog.seen[1].namedFile);

    TDocAsker asker;
    asker.answers = { TMsgResult::No, TMsgResult::Yes };
    page.Delete(asker);
    EXPECT_EQ(page.Entries().size(), 2u);
    EXPECT_EQ(asker.asked[0].text, "Are you sure you want to\ndelete this entry?");
    EXPECT_EQ(asker.asked[0].caption, "Alert!");
    EXPECT_EQ(asker.asked[0].buttons, TMsgButtons::YesNo);
    page.Delete(asker);
    EXPECT_EQ(page.Selected(), 0);
    EXPECT_EQ(tools.size(), 1u); // untouched until OK
    page.Confirm(tools);
    EXPECT_EQ(tools, (std::vector<TExternalTool> { { "One", { "one.exe", "", 0, "" } } }));

    page.Select(-1);
    EXPECT_EQ(page.CommandLineLabel(), "");
    page.Edit(dialog); // no selection: no dialog
    page.Delete(asker);
    EXPECT_EQ(dialog.seen.size(), 2u);
    EXPECT_EQ(asker.asked.size(), 2u);
}

TEST(ToolListForm, RemembersLastChoiceAndRefusesEnterWithoutSelection)
{
    std::vector<TExternalTool> tools(12);
    for (size_t i = 0; i < tools.size(); ++i)
        tools[i].Name = "T" + std::to_string(i);
    TToolListForm form;
    form.Show(tools, { 1, 2, 3, 4 });
    EXPECT_EQ(form.Selected(), -1);
    EXPECT_FALSE(form.Choose());
    form.Select(10); // the eleventh tool, not in the menu
    EXPECT_TRUE(form.Choose());
    EXPECT_EQ(form.LastChosen(), 10);
    form.Show(tools, {});
    EXPECT_EQ(form.Selected(), 10);
    tools.resize(3);
    form.Show(tools, {});
    EXPECT_EQ(form.Selected(), -1);
}

} // namespace wexly::test
