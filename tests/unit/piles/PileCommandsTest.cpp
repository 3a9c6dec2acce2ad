#include "piles/PileCommands.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(PileCommands, AddingToTheMainPileAsksAndKeepsOneLinePerFileAndMode)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "hello");
    TEditFile& doc = env.Open("C:\\w\\a.txt");

    env.asker.answers = { TMsgResult::Cancel };
    EXPECT_FALSE(AddtoPileClick(33, *env.set, env.settings, env.asker));
    EXPECT_TRUE(env.settings.PileFiles.Empty());
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, "Add file to pile?");
    EXPECT_EQ(env.asker.asked[0].caption, "Attention!");
    EXPECT_EQ(env.asker.asked[0].buttons, TMsgButtons::OkCancel);
    EXPECT_EQ(env.asker.asked[0].icon, TMsgIcon::Warning);

    env.asker.answers = { TMsgResult::Ok, TMsgResult::Ok };
    EXPECT_TRUE(AddtoPileClick(33, *env.set, env.settings, env.asker));
    EXPECT_TRUE(AddtoPileClick(33, *env.set, env.settings, env.asker));
    EXPECT_EQ(env.settings.PileFiles.Lines(), (std::vector<std::string> { "!0" + doc.FileName() }));

    env.Open("C:\\w\\a.txt"); // already open: same document
    env.settings.PileFiles.Add(PileFileLine(33, true, doc.FileName()));
    EXPECT_EQ(env.settings.PileFiles.Count(), 2u);
}

TEST(PileCommands, AddingToASubPileAsksNothingAndNeedsADocumentWithAFile)
{
    TDocEnv env;
    EXPECT_FALSE(AddtoPileClick(34, *env.set, env.settings, env.asker));
    env.commands->New();
    EXPECT_FALSE(AddtoPileClick(34, *env.set, env.settings, env.asker));
    EXPECT_TRUE(env.settings.PileFiles.Empty());
    env.fs.SetFile("C:\\w\\b.bin", std::string("\0\1\2", 3));
    TEditFile& doc = env.Open("C:\\w\\b.bin", true);
    EXPECT_TRUE(AddtoPileClick(34, *env.set, env.settings, env.asker));
    EXPECT_TRUE(env.asker.asked.empty());
    EXPECT_EQ(env.settings.PileFiles[0], "\"1" + doc.FileName());
}

TEST(PileCommands, PileFileWithAmpersandOpensTheRightFileAndMissingOneStays)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\R&D.txt", "x");
    env.settings.PileFiles.Add("!0C:\\w\\R&D.txt");
    env.settings.PileFiles.Add("!0C:\\w\\gone.txt");
    const auto menu = RebuildPilesMenu(env.settings.Piles, env.settings.PileFiles);
    ASSERT_EQ(menu.size(), 4u);
    EXPECT_EQ(menu[3].caption, "C:\\w\\R&&D.txt");

    TEditFile* doc
        = OpenPileFile(menu[3].caption, menu[3].tag, *env.commands, env.fs, env.asker, env.host);
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->FileName(), "C:\\w\\R&D.txt");
    EXPECT_EQ(env.host.refreshes, 1);

    EXPECT_EQ(
        OpenPileFile(menu[2].caption, 0, *env.commands, env.fs, env.asker, env.host), nullptr);
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].caption, "File not found!");
    EXPECT_EQ(env.settings.PileFiles.Count(), 2u);
}

} // namespace wexly::test
