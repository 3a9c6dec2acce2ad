#include "documents/OpenPanelModel.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wexly::test {

namespace {

struct TPanelFixture
{
    TDocAsker asker;
    TDocFileSystem fs;
    TOpenPanelModel model { asker, fs };

    TPanelFixture() { model.Show(false, { "C:\\recent\\" }, { "D:\\fav\\" }, false); }
};

} // namespace

TEST(OpenPanelModel, RecentDirMovesToTheTopIgnoringCaseAndKeepsTen)
{
    std::vector<std::string> dirs;
    for (int i = 0; i < 10; ++i)
        AddRecentDir(dirs, "C:\\d" + std::to_string(i) + "\\");
    ASSERT_EQ(dirs.size(), 10u);
    EXPECT_EQ(dirs.front(), "C:\\d9\\");

    AddRecentDir(dirs, "c:\\D3\\"); // the same directory again: moved, not doubled
    ASSERT_EQ(dirs.size(), 10u);
    EXPECT_EQ(dirs.front(), "c:\\D3\\");
    EXPECT_EQ(std::count(dirs.begin(), dirs.end(), "C:\\d3\\"), 0);

    AddRecentDir(dirs, "C:\\eleventh\\"); // pushes out the oldest
    ASSERT_EQ(dirs.size(), 10u);
    EXPECT_EQ(dirs.front(), "C:\\eleventh\\");
    EXPECT_EQ(dirs.back(), "C:\\d1\\");
    EXPECT_EQ(std::count(dirs.begin(), dirs.end(), "C:\\d0\\"), 0);

    AddRecentDir(dirs, "");
    EXPECT_EQ(dirs.front(), "C:\\eleventh\\");
}

TEST(OpenPanelModel, DialogDirectoryCutsTheBoxTextAndAcceptsOnlyDriveAndNetworkPaths)
{
    EXPECT_EQ(DialogDirectory("C:\\data\\notes.txt", "notes.txt"), "C:\\data\\");
    EXPECT_EQ(DialogDirectory("C:\\data", ""), "C:\\data\\");
    EXPECT_EQ(DialogDirectory("C:\\data\\", ""), "C:\\data\\");
    EXPECT_EQ(DialogDirectory("C:\\", ""), "C:\\");
    EXPECT_EQ(DialogDirectory("\\\\server\\share\\a.txt", "a.txt"), "\\\\server\\share\\");
    // A folder spelled like the typed name must not be taken for it.
    EXPECT_EQ(DialogDirectory("C:\\data\\data", "data"), "C:\\data\\");
    EXPECT_EQ(DialogDirectory("C:\\data\\a", "a"), "C:\\data\\");
    // A typed relative path: the folder of the dialog remains.
    EXPECT_EQ(DialogDirectory("C:\\top\\sub\\a.txt", "sub\\a.txt"), "C:\\top\\");
    // A typed name the dialog did not report is kept as part of the path.
    EXPECT_EQ(DialogDirectory("C:\\top\\x", "y"), "C:\\top\\x\\");

    EXPECT_EQ(DialogDirectory("", "a.txt"), std::nullopt);
    EXPECT_EQ(DialogDirectory("C:\\a.txt", "C:\\a.txt"), std::nullopt);
    EXPECT_EQ(DialogDirectory("relative\\dir", ""), std::nullopt);
    EXPECT_EQ(DialogDirectory("C:", ""), "C:\\");
    EXPECT_EQ(DialogDirectory("1:\\x", ""), std::nullopt);
    EXPECT_EQ(DialogDirectory("\\single", ""), std::nullopt);
}

TEST(OpenPanelModel, ControlsAreFoundByIdentifierThenByClassAndCaption)
{
    std::vector<TDialogChild> explorer { { 1148, "ComboBox", "", true }, { 1152, "Edit", "", true },
        { 1, "Button", "&Open", true }, { 2, "Button", "Cancel", true } };
    TDialogControls c = FindDialogControls(explorer);
    EXPECT_EQ(c.fileNameBox, 1); // 1152 is preferred over 1148
    EXPECT_EQ(c.jumpBox, 1);
    EXPECT_EQ(c.okButton, 2);
    EXPECT_EQ(c.cancelButton, 3);

    explorer.erase(explorer.begin() + 1);
    EXPECT_EQ(FindDialogControls(explorer).fileNameBox, 0);

    // Identifiers only count for the dialog's own children.
    std::vector<TDialogChild> odd { { 1152, "Edit", "", false }, { 7, "Edit", "x", true },
        { 9, "Button", "&Open", false }, { 1, "Static", "", false } };
    c = FindDialogControls(odd);
    EXPECT_EQ(c.fileNameBox, -1);
    EXPECT_EQ(c.jumpBox, 0); // the first "Edit" anywhere
    EXPECT_EQ(c.okButton, 2);
    EXPECT_EQ(c.cancelButton, -1);

    c = FindDialogControls({ { 5, "Button", "Open", true } });
    EXPECT_EQ(c.jumpBox, -1);
    EXPECT_EQ(c.okButton, -1); // only the exact caption "&Open"
}

TEST(OpenPanelModel, ShowTakesTheListsAndPresetButKeepsReadOnly)
{
    TPanelFixture f;
    f.model.SetOpenReadOnly(true);
    ASSERT_TRUE(f.model.SearchDirectory("C:\\x\\a.txt", "a.txt"));
    EXPECT_EQ(f.model.SearchDir(), "C:\\x\\");
    f.model.Show(false, { "C:\\a\\", "C:\\b\\" }, {}, true);
    EXPECT_TRUE(f.model.OpenReadOnly());
    EXPECT_TRUE(f.model.OpenBinary());
    EXPECT_TRUE(f.model.SearchDir().empty());
    EXPECT_TRUE(f.model.OpenChoicesEnabled());
    EXPECT_EQ(f.model.RecentDir(1), "C:\\b\\");
    EXPECT_EQ(f.model.RecentDir(2), std::nullopt);
    EXPECT_EQ(f.model.RecentDir(-1), std::nullopt);
    EXPECT_EQ(f.model.FavouriteDir(0), std::nullopt);
}

TEST(OpenPanelModel, JumpTargetsAlwaysEndInABackslash)
{
    TPanelFixture f;
    // Favourites typed or browsed in Preferences may lack it; a save dialog would otherwise
    // save under the name of a directory that no longer exists.
    f.model.Show(true, { "C:\\a\\" }, { "C:\\gone", "", "D:/x/" }, false);
    EXPECT_EQ(f.model.RecentDir(0), "C:\\a\\");
    EXPECT_EQ(f.model.FavouriteDir(0), "C:\\gone\\");
    EXPECT_EQ(f.model.FavouriteDir(1), std::nullopt);
    EXPECT_EQ(f.model.FavouriteDir(2), "D:/x/");
}

TEST(OpenPanelModel, FavouriteGoesOnTopEvenWhenAlreadyListed)
{
    TPanelFixture f;
    EXPECT_EQ(f.model.AddFavourite("C:\\work\\report.txt", "report.txt"), "C:\\work\\");
    EXPECT_EQ(f.model.AddFavourite("D:\\fav", ""), "D:\\fav\\");
    EXPECT_EQ(f.model.FavouriteDirs(),
        (std::vector<std::string> { "D:\\fav\\", "C:\\work\\", "D:\\fav\\" }));
    EXPECT_TRUE(f.model.FavouritesChanged());
    EXPECT_TRUE(f.asker.asked.empty());
}

TEST(OpenPanelModel, SystemFoldersAreReportedAndOtherPathsIgnoredSilently)
{
    TPanelFixture f;
    EXPECT_EQ(f.model.AddFavourite("", "a.txt"), std::nullopt);
    EXPECT_FALSE(f.model.SearchDirectory("", ""));
    f.asker.answers = { TMsgResult::Ok };
    EXPECT_TRUE(f.model.CleanDir("", "").empty());
    ASSERT_EQ(f.asker.asked.size(), 4u);
    EXPECT_EQ(f.asker.asked[0].text, "Cannot add system folders");
    EXPECT_EQ(f.asker.asked[0].caption, "Error");
    EXPECT_EQ(f.asker.asked[0].icon, TMsgIcon::Warning);
    EXPECT_EQ(f.asker.asked[1].text, "Cannot search system folders");
    EXPECT_EQ(f.asker.asked[2].text, "Are you sure?"); // the question comes first
    EXPECT_EQ(f.asker.asked[3].text, "Cannot clean system folders");

    f.asker.asked.clear();
    EXPECT_EQ(f.model.AddFavourite("ftp:something", ""), std::nullopt);
    EXPECT_FALSE(f.model.SearchDirectory("::{20D04FE0}", ""));
    EXPECT_TRUE(f.asker.asked.empty());
    EXPECT_FALSE(f.model.FavouritesChanged());
    EXPECT_TRUE(f.model.SearchDir().empty());
}

TEST(OpenPanelModel, CleanDirAsksThenPicksTheBackupsOfThatDirectoryOnly)
{
    TPanelFixture f;
    f.fs.SetFile("C:\\w\\a.~txt", "1");
    f.fs.SetFile("C:\\w\\b.~", "2");
    f.fs.SetFile("C:\\w\\c.txt", "3");
    f.fs.SetFile("C:\\w\\d~.txt", "4");
    f.fs.SetFile("C:\\w\\sub\\e.~txt", "5");
    f.fs.SetFile("C:\\other\\f.~txt", "6");

    f.asker.answers = { TMsgResult::Cancel };
    EXPECT_TRUE(f.model.CleanDir("C:\\w\\c.txt", "c.txt").empty());
    ASSERT_EQ(f.asker.asked.size(), 1u);
    EXPECT_EQ(f.asker.asked[0].caption, "Delete Backups");
    EXPECT_EQ(f.asker.asked[0].buttons, TMsgButtons::OkCancel);
    EXPECT_EQ(f.asker.asked[0].icon, TMsgIcon::Question);

    f.asker.answers = { TMsgResult::Ok };
    std::vector<std::string> gone = f.model.CleanDir("C:\\w\\c.txt", "c.txt");
    std::sort(gone.begin(), gone.end());
    EXPECT_EQ(gone, (std::vector<std::string> { "C:\\w\\a.~txt", "C:\\w\\b.~" }));
}

TEST(OpenPanelModel, SearchDirIsRefusedInTheSaveDialog)
{
    TPanelFixture f;
    f.model.Show(true, {}, {}, false);
    EXPECT_FALSE(f.model.OpenChoicesEnabled());
    EXPECT_FALSE(f.model.SearchDirectory("C:\\x\\", ""));
    EXPECT_TRUE(f.model.SearchDir().empty());
    EXPECT_EQ(f.model.AddFavourite("C:\\x\\", ""), "C:\\x\\"); // "+" still works
}

TEST(OpenPanelModel, SearchDirTakesANetworkDirectory)
{
    TPanelFixture f;
    EXPECT_TRUE(f.model.SearchDirectory("\\\\srv\\share\\docs", ""));
    EXPECT_EQ(f.model.SearchDir(), "\\\\srv\\share\\docs\\");
}

} // namespace wexly::test
