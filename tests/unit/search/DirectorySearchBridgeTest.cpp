#include "search/DirectorySearchBridge.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace wexly::test {

namespace {

class TQuietView final : public IFindInFilesView
{
public:
    void StatusChanged(const std::string&) override { }
    void FileFound(size_t) override { }
    void ProcessMessages() override { }
    void TreeCleared() override { }
    void TreeRefreshed() override { }
    void SetWaitCursor(bool) override { }
};

class TFindOnlyDialogs final : public ISearchDialogs
{
public:
    std::function<int(TFindForm&)> find;
    int ShowFind(TFindForm& form) override
    {
        form.FormShow({ 400, 300, 120, 410, 330 });
        form.Shown();
        return find(form);
    }
    int ShowReplace(TReplaceForm&) override { return 2; }
};

} // namespace

TEST(DirectorySearchBridge, FindNextSearchesTheDiskAndOpenOpensTheChosenLine)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\src\\one.txt", "alpha\r\nneedle here\r\nomega\r\n");
    env.fs.SetFile("C:\\w\\src\\two.txt", "nothing\r\n");
    TFindInFilesModel panel;
    TQuietView view;
    TDirectorySearchBridge bridge(panel, env.fs, *env.commands, env.settings, env.host);
    bridge.SetView(&view);
    TFindOnlyDialogs dialogs;
    TSearchCommands commands(*env.set, env.settings, env.asker, dialogs, &bridge, &bridge);

    dialogs.find = [&](TFindForm& f) {
        EXPECT_EQ(f.rangeChecked, TFindRange::Files); // nothing is open yet
        f.FindBoxChanged("Needle");
        f.MaskBoxChanged("C:\\w\\src\\*.txt");
        EXPECT_EQ(f.FindNextClick(), TFindNextAction::StayOpen);
        EXPECT_FALSE(f.Searching());
        EXPECT_TRUE(f.findNextEnabled);
        EXPECT_EQ(f.Directory(), "C:\\w\\src\\");
        EXPECT_EQ(panel.Tree().files.size(), 1u);
        panel.TreeSelectionChanged({ TFindNodeRef { 0, 0 } }, TFindNodeRef { 0, 0 });
        f.SetOpenList(panel.Open(env.settings, 500, 400));
        f.OpenClick(500, 400);
        return f.ModalResult();
    };
    commands.Find();
    ASSERT_EQ(env.set->Count(), 1);
    EXPECT_EQ(env.set->CurFile()->ShortName(), "one.txt");
    EXPECT_EQ(env.set->CurFile()->CaretLine(), 2);
    EXPECT_EQ(env.settings.LastDir, "C:\\w\\src\\");
    EXPECT_EQ(env.settings.MaskHistory, TStringList { "C:\\w\\src\\*.txt" });
    EXPECT_EQ(env.settings.FindLargeWidth, 500);
    const TLastSearch& last = commands.Driver().LastSearch();
    EXPECT_EQ(last.kind, TSearchKind::FindInFiles);
    EXPECT_EQ(last.text, "Needle");
    EXPECT_EQ(last.mask, "C:\\w\\src\\*.txt");
}

} // namespace wexly::test
