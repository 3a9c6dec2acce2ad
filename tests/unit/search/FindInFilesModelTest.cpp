#include "search/FindInFilesModel.h"
#include "search/FindInFilesOpen.h"

#include "support/DocFakes.h"
#include "support/FindInFilesFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {
namespace {

struct TModelEnv
{
    TFifFileSystem fs;
    TFifView view;
    TFindInFilesModel model;

    TModelEnv()
    {
        fs.AddFile("C:\\w\\a.txt", "one\r\nkey two\r\nthree key\r\n");
        fs.AddFile("C:\\w\\a.txt.bak", "key\r\n");
        fs.AddFile("C:\\w\\s1\\b.txt", "key");
        fs.AddFile("C:\\w\\s2\\c.txt", "key");
        fs.AddFile("C:\\w\\s3\\d.txt", "key");
    }
    TFindInFilesOutcome Search(const std::string& mask, bool subdirs = true)
    {
        model.SetFindText("key");
        model.SetMask(mask);
        model.SetSubdirectories(subdirs);
        return model.Search("key", soFind, fs, view, Windows1252UpperTable());
    }
};

class TBrowser final : public IFolderBrowser
{
public:
    std::optional<std::string> answer;
    std::string title, initial;
    std::optional<std::string> BrowseForFolder(
        const std::string& t, const std::string& dir) override
    {
        title = t;
        initial = dir;
        return answer;
    }
};

} // namespace

TEST(FindInFilesModel, SearchFillsTheTreeAndEndsFinished)
{
    TModelEnv env;
    const auto outcome = env.Search("C:\\w\\*.txt");
    EXPECT_EQ(outcome.filesSearched, 4);
    ASSERT_EQ(env.model.Tree().files.size(), 4u);
    EXPECT_EQ(env.model.Directory(), "C:\\w\\");
    EXPECT_EQ(env.model.Status(), kFinishedSearch);
    EXPECT_EQ(env.view.statuses.back(), kFinishedSearch);
    EXPECT_FALSE(env.model.Running());
    EXPECT_FALSE(env.view.waitCursor);
    EXPECT_TRUE(env.model.FindNextEnabled());
    EXPECT_TRUE(env.model.CancelEnabled());
    EXPECT_FALSE(env.model.HaltEnabled());
    EXPECT_FALSE(env.model.OpenEnabled());
    EXPECT_EQ(env.view.cleared, 1);
    EXPECT_EQ(env.view.refreshed, 1);
}

TEST(FindInFilesModel, MissingDirectoryKeepsItsStatusAndShowsNoFilesFound)
{
    TModelEnv env;
    env.Search("C:\\gone\\*.txt");
    EXPECT_EQ(env.model.Status(), kDirectoryDoesNotExist);
    ASSERT_EQ(env.model.Tree().files.size(), 1u);
    EXPECT_TRUE(env.model.Tree().IsNoFilesNode(0));
    // The lone node cannot be opened, whatever its case in the comparison.
    env.model.TreeSelectionChanged({ TFindNodeRef { 0, -1 } }, TFindNodeRef { 0, -1 });
    EXPECT_FALSE(env.model.OpenEnabled());
    TSettings settings;
    EXPECT_EQ(env.model.Open(settings, 500, 400), "");
}

TEST(FindInFilesModel, HaltDuringTheWalkKeepsWhatWasFoundAndFinishes)
{
    TModelEnv env;
    env.view.onPump = [&](int n) {
        EXPECT_TRUE(env.model.HaltEnabled());
        EXPECT_FALSE(env.model.CancelEnabled());
        EXPECT_FALSE(env.model.CanClose());
        EXPECT_EQ(env.model.Escape(), TEscapeAction::PressHalt);
        if (n == 2) // just before the first subdirectory's file is searched
            env.model.Halt();
    };
    const auto outcome = env.Search("C:\\w\\*.txt");
    EXPECT_TRUE(outcome.halted);
    // a.txt, then s1\b.txt, which is still searched after the click; s2 and s3 are not.
    ASSERT_EQ(env.model.Tree().files.size(), 2u);
    EXPECT_EQ(env.model.Tree().files[1].path, "C:\\w\\s1\\b.txt");
    EXPECT_EQ(env.model.Status(), kFinishedSearch);
    EXPECT_FALSE(env.model.Running());
    EXPECT_EQ(env.model.Escape(), TEscapeAction::PressCancel);
    EXPECT_TRUE(env.model.FindNextEnabled());
}

TEST(FindInFilesModel, EditsAndClicksWhileRunningAreIgnored)
{
    TModelEnv env;
    int nested = 0;
    env.view.onPump = [&](int) {
        env.model.SetMask("C:\\other\\*.*");
        env.model.SetFindText("");
        env.model.TreeSelectionChanged({ TFindNodeRef { 0, -1 } }, TFindNodeRef { 0, -1 });
        // Find Next is disabled, but a stray call must not start a second walk.
        nested += env.model.Search("key", soFind, env.fs, env.view).filesSearched > 0;
        EXPECT_FALSE(env.model.FindNextEnabled());
    };
    env.Search("C:\\w\\*.txt");
    EXPECT_EQ(nested, 0);
    EXPECT_EQ(env.model.Mask(), "C:\\w\\*.txt");
    EXPECT_EQ(env.model.FindText(), "key");
    EXPECT_TRUE(env.model.Selection().empty());
    EXPECT_EQ(env.view.cleared, 1);
}

TEST(FindInFilesModel, OpenListNamesEachFileOnceAtItsFirstSelectedLine)
{
    TModelEnv env;
    env.Search("C:\\w\\*.*", false);
    const auto& tree = env.model.Tree();
    ASSERT_EQ(tree.files.size(), 2u);
    ASSERT_EQ(tree.files[0].path, "C:\\w\\a.txt");
    // Line 3 then line 2 of a.txt, then the file node of a.txt.bak.
    std::vector<TFindNodeRef> selection { { 0, 1 }, { 0, 0 }, { 1, -1 } };
    env.model.TreeSelectionChanged(selection, selection.back());
    EXPECT_TRUE(env.model.OpenEnabled());
    TSettings settings;
    EXPECT_EQ(env.model.Open(settings, 640, 480), "/3 \"C:\\w\\a.txt\" /1 \"C:\\w\\a.txt.bak\"");
    EXPECT_EQ(settings.FindLargeWidth, 640);
    EXPECT_EQ(settings.FindLargeHeight, 480);
}

TEST(FindInFilesModel, OpenListDoesNotConfuseAPathInsideAnother)
{
    TFindResultTree tree;
    tree.files.push_back({ "C:\\w\\a.txt.bak", 4, { { 4, "4:x" } }, false });
    tree.files.push_back({ "C:\\W\\A.TXT", 2, { { 2, "2:x" } }, false });
    tree.files.push_back({ "c:\\w\\a.txt", 9, { { 9, "9:x" } }, false });
    EXPECT_EQ(BuildFindOpenList(tree, { { 0, -1 }, { 1, 0 }, { 2, -1 } }),
        "/4 \"C:\\w\\a.txt.bak\" /2 \"C:\\W\\A.TXT\"");
}

TEST(FindInFilesModel, ExpandAllAppliesToTheTreeAndToFilesFoundLater)
{
    TModelEnv env;
    env.model.SetExpandAll(true, &env.view);
    env.Search("C:\\w\\*.txt");
    for (const auto& f : env.model.Tree().files)
        EXPECT_TRUE(f.expanded);
    env.model.SetExpandAll(false, &env.view);
    for (const auto& f : env.model.Tree().files)
        EXPECT_FALSE(f.expanded);
    // Ticked while the walk runs: the files already listed open, and so do later ones.
    int pumps = 0;
    env.view.onPump = [&](int) {
        if (++pumps == 3) // a.txt and s1/b.txt are listed by now
            env.model.SetExpandAll(true, &env.view);
    };
    env.Search("C:\\w\\*.txt");
    for (const auto& f : env.model.Tree().files)
        EXPECT_TRUE(f.expanded) << f.path;
}

TEST(FindInFilesModel, BrowseReplacesThePatternWithStarDotStar)
{
    TFindInFilesModel m;
    TBrowser browser;
    m.SetMask("C:\\work\\src\\*.cpp");
    browser.answer = "D:\\other";
    EXPECT_TRUE(m.Browse(browser, "E:\\last\\"));
    EXPECT_EQ(browser.title, kSelectFolderTitle);
    EXPECT_EQ(browser.initial, "C:\\work\\src");
    EXPECT_EQ(m.Mask(), "D:\\other\\*.*");

    m.SetMask("");
    browser.answer = "D:\\";
    EXPECT_TRUE(m.Browse(browser, "E:\\last\\file"));
    EXPECT_EQ(browser.initial, "E:\\last");
    EXPECT_EQ(m.Mask(), "D:\\*.*");

    browser.answer.reset();
    EXPECT_FALSE(m.Browse(browser, ""));
    EXPECT_EQ(m.Mask(), "D:\\*.*");
    EXPECT_EQ(BrowseStartFolder("nodir", ""), "");
    EXPECT_EQ(FolderMask("/tmp/x"), "/tmp/x/*.*");
}

TEST(FindInFilesModel, FirstShowingSizeDoesNotReplaceAStoredOne)
{
    TSettings s;
    EnsureFindLargeSize(s, 410, 180);
    EXPECT_EQ(s.FindLargeHeight, 330);
    EnsureFindLargeSize(s, 1, 1);
    EXPECT_EQ(s.FindLargeWidth, 410);
}

TEST(FindInFilesModel, OpenedResultsGoToTheirLinesAndTheDirectoryIsRemembered)
{
    TDocEnv env;
    env.fs.SetFile("C:\\d\\a.txt", "one\r\ntwo\r\nthree\r\n");
    env.fs.SetFile("C:\\d\\b.txt", "x\r\n");
    env.settings.DirHistory = { "C:\\old\\", "C:\\D\\" };
    const int refreshes = env.host.refreshes;
    const int added = OpenFindInFilesResults(*env.commands, env.settings, env.host, "C:\\w\\",
        "/3 \"C:\\d\\a.txt\" /1 \"C:\\d\\b.txt\"", "C:\\d\\");
    EXPECT_EQ(added, 2);
    TEditFile* a = env.set->FindByPath("C:\\d\\a.txt");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->CaretLine(), 3);
    EXPECT_EQ(env.settings.LastDir, "C:\\d\\");
    EXPECT_EQ(env.settings.DirHistory, (TStringList { "C:\\d\\", "C:\\old\\" }));
    EXPECT_GT(env.host.refreshes, refreshes);
    EXPECT_EQ(SearchDirMask("C:\\d\\"), "C:\\d\\*.*");
}

} // namespace wexly::test
