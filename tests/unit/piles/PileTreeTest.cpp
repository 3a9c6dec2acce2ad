#include "piles/PileTree.h"

#include "config/TextCompare.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {

namespace {

TSortedStringList List(std::initializer_list<std::string> lines)
{
    TSortedStringList list;
    for (const auto& line : lines)
        list.Add(line);
    return list;
}

std::vector<std::string> Labels(const TPileNode& node)
{
    std::vector<std::string> out;
    for (const auto& child : node.children)
        out.push_back(child->label);
    return out;
}

TPileNode* Child(TPileNode* node, const std::string& label)
{
    for (const auto& child : node->children)
        if (child->label == label)
            return child.get();
    return nullptr;
}

} // namespace

TEST(PileTree, EmptyListsGiveOnlyTheMainPile)
{
    TPileTree tree;
    tree.Load({}, {});
    ASSERT_NE(tree.Root(), nullptr);
    EXPECT_EQ(tree.Root()->label, "Main Pile");
    EXPECT_TRUE(tree.Root()->children.empty());
    EXPECT_TRUE(tree.Root()->expanded);
    TSortedStringList piles = List({ "!\"x" }), files = List({ "!0y" });
    EXPECT_EQ(tree.Store(piles, files), 0);
    EXPECT_TRUE(piles.Empty());
    EXPECT_TRUE(files.Empty());
}

TEST(PileTree, LoadMixesPilesAndFilesSortedAndDropsOrphans)
{
    TPileTree tree;
    tree.Load(List({ "!\"Beta", "\"#Inner", "zzOrphan" }),
        List({ "!0C:\\a.txt", "!1Zeta.bin", "\"0C:\\b.txt", "z0C:\\orphan.txt" }));
    TPileNode* root = tree.Root();
    EXPECT_EQ(Labels(*root), (std::vector<std::string> { "Beta", "C:\\a.txt", "Zeta.bin" }));
    EXPECT_EQ(root->children[2]->image, piBinaryFile);
    EXPECT_EQ(root->children[1]->image, piTextFile);
    TPileNode* beta = Child(root, "Beta");
    EXPECT_EQ(Labels(*beta), (std::vector<std::string> { "C:\\b.txt", "Inner" }));
    EXPECT_TRUE(tree.CheckInvariants());

    TSortedStringList piles, files;
    tree.Store(piles, files);
    EXPECT_EQ(piles.IndexOf("zzOrphan"), -1);
    EXPECT_EQ(files.IndexOf("z0C:\\orphan.txt"), -1);
    EXPECT_EQ(files.Count(), 3u);
}

TEST(PileTree, StoreGivesIdentifiersInPreOrder)
{
    TPileTree tree;
    tree.Load(List({ "!(A", "(*A1", "!-B" }), List({ "*0C:\\deep.txt", "-1C:\\b.bin" }));
    // Renumber from scratch: new identifiers must not depend on the loaded ones.
    TSortedStringList piles, files;
    tree.Store(piles, files);
    EXPECT_EQ(piles.Count(), 3u);
    EXPECT_GE(piles.IndexOf("!\"A"), 0);
    EXPECT_GE(piles.IndexOf("\"#A1"), 0);
    EXPECT_GE(piles.IndexOf("!$B"), 0);
    EXPECT_GE(files.IndexOf("#0C:\\deep.txt"), 0);
    EXPECT_GE(files.IndexOf("$1C:\\b.bin"), 0);
}

TEST(PileTree, RenamingTheRootHasNoLastingEffect)
{
    TPileTree tree;
    tree.Load(List({ "!\"A" }), {});
    tree.Rename(tree.Root(), "Renamed");
    TSortedStringList piles, files;
    tree.Store(piles, files);
    tree.Load(piles, files);
    EXPECT_EQ(tree.Root()->label, "Main Pile");
    EXPECT_EQ(Labels(*tree.Root()), (std::vector<std::string> { "A" }));
}

TEST(PileTree, NewNodesGoIntoPilesOrBesideFilesAndNothingWithoutSelection)
{
    TPileTree tree;
    tree.Load(List({ "!\"Sub" }), List({ "\"0C:\\f.txt" }));
    EXPECT_EQ(tree.NewNode(true), nullptr);
    TPileNode* sub = Child(tree.Root(), "Sub");
    tree.Select(sub->children[0].get()); // the file
    TPileNode* pile = tree.NewNode(true);
    ASSERT_NE(pile, nullptr);
    EXPECT_EQ(pile->parent, sub);
    EXPECT_EQ(pile->label, "New Item");
    EXPECT_EQ(pile->image, piPile);
    tree.Select(tree.Root());
    TPileNode* item = tree.NewNode(false);
    EXPECT_EQ(item->parent, tree.Root());
    EXPECT_EQ(item->image, piTextFile);
    tree.Rename(item, "A first");
    EXPECT_EQ(tree.Root()->children[0].get(), item);
    EXPECT_TRUE(tree.CheckInvariants());
}

TEST(PileTree, DeleteAsksThenMovesSelectionToNextSibling)
{
    TDocAsker asker;
    TPileTree tree;
    tree.Load(List({ "!\"A", "\"#A1", "!$B" }), {});
    tree.Select(Child(tree.Root(), "A"));
    asker.answers = { TMsgResult::No };
    tree.DeleteSelected(asker);
    ASSERT_EQ(asker.asked.size(), 1u);
    EXPECT_EQ(asker.asked[0].text, "Are you sure you want to delete this item?");
    EXPECT_EQ(asker.asked[0].caption, "Attention");
    EXPECT_EQ(asker.asked[0].buttons, TMsgButtons::YesNo);
    EXPECT_EQ(asker.asked[0].icon, TMsgIcon::Question);
    EXPECT_EQ(asker.asked[0].defaultButton, 2);
    EXPECT_EQ(tree.Root()->children.size(), 2u);

    asker.answers = { TMsgResult::Yes };
    tree.DeleteSelected(asker);
    EXPECT_EQ(Labels(*tree.Root()), (std::vector<std::string> { "B" }));
    EXPECT_EQ(tree.Selected(), Child(tree.Root(), "B"));
    EXPECT_TRUE(tree.CheckInvariants());

    tree.Select(nullptr);
    tree.DeleteSelected(asker);
    EXPECT_EQ(asker.asked.size(), 2u);
}

TEST(PileTree, DeletingTheRootStoresNothing)
{
    TDocAsker asker;
    asker.answers = { TMsgResult::Yes };
    TPileTree tree;
    tree.Load(List({ "!\"A" }), List({ "!0C:\\f.txt" }));
    tree.Select(tree.Root());
    tree.DeleteSelected(asker);
    EXPECT_EQ(tree.Root(), nullptr);
    EXPECT_EQ(tree.NewNode(true), nullptr);
    TSortedStringList piles = List({ "!\"A" }), files = List({ "!0C:\\f.txt" });
    tree.Store(piles, files);
    EXPECT_TRUE(piles.Empty());
    EXPECT_TRUE(files.Empty());
}

TEST(PileTree, DropMovesBesideFilesOrIntoPilesButNeverIntoItsOwnSubtree)
{
    TPileTree tree;
    tree.Load(List({ "!\"A", "\"#A1", "!$B" }), List({ "$0C:\\inB.txt", "!0C:\\top.txt" }));
    TPileNode* a = Child(tree.Root(), "A");
    TPileNode* a1 = Child(a, "A1");
    TPileNode* b = Child(tree.Root(), "B");
    TPileNode* top = Child(tree.Root(), "C:\\top.txt");

    EXPECT_FALSE(tree.Drop(a, a));
    EXPECT_FALSE(tree.Drop(a, a1));
    EXPECT_FALSE(tree.Drop(tree.Root(), b));
    EXPECT_TRUE(tree.Drop(top, b->children[0].get())); // onto a file: beside it
    EXPECT_EQ(top->parent, b);
    EXPECT_TRUE(tree.Drop(a, b)); // onto a pile: inside it
    EXPECT_EQ(a->parent, b);
    EXPECT_EQ(Labels(*b), (std::vector<std::string> { "A", "C:\\inB.txt", "C:\\top.txt" }));
    EXPECT_TRUE(tree.CheckInvariants());
}

TEST(PileTree, BinaryCheckFollowsSelectedNode)
{
    TPileTree tree;
    tree.Load({}, List({ "!0C:\\t.txt" }));
    EXPECT_FALSE(tree.BinaryCheck().enabled);
    tree.Select(tree.Root());
    EXPECT_FALSE(tree.BinaryCheck().enabled);
    tree.BinaryClick(true);
    EXPECT_EQ(tree.Root()->image, piPile);

    TPileNode* file = tree.Root()->children[0].get();
    tree.Select(file);
    EXPECT_TRUE(tree.BinaryCheck().enabled);
    EXPECT_FALSE(tree.BinaryCheck().checked);
    tree.BinaryClick(true);
    EXPECT_EQ(file->image, piBinaryFile);
    EXPECT_TRUE(tree.BinaryCheck().checked);
    TSortedStringList piles, files;
    tree.Store(piles, files);
    EXPECT_EQ(files.Lines(), (std::vector<std::string> { "!1C:\\t.txt" }));
}

TEST(PileTree, RoomForSubPilesEndsAtTheLastIdentifierWhereverTheyNest)
{
    TPileTree tree;
    tree.Load({}, {});
    tree.Select(tree.Root());
    const int room = TPileTree::MaxSubPiles();
    for (int i = 0; i < room - 1; ++i) {
        TPileNode* pile = tree.NewNode(true);
        tree.Rename(pile, "P" + std::to_string(i));
        tree.Select(pile); // each one inside the last
        tree.NewNode(false); // files do not count
    }
    EXPECT_TRUE(tree.CanAddSubPile());
    tree.Rename(tree.NewNode(true), "Last");
    EXPECT_FALSE(tree.CanAddSubPile());
    TSortedStringList piles, files;
    EXPECT_EQ(tree.Store(piles, files), 0);
    EXPECT_EQ(piles.Count(), static_cast<size_t>(room));
}

TEST(PileTree, SubPilesPastTheLastIdentifierAreCountedNotWrapped)
{
    TPileTree tree;
    tree.Load({}, {});
    tree.Select(tree.Root());
    const int room = TPileTree::MaxSubPiles();
    for (int i = 0; i < room + 3; ++i)
        tree.Rename(tree.NewNode(true), "P" + std::to_string(1000 + i));
    TSortedStringList piles, files;
    EXPECT_EQ(tree.SubPileCount(), room + 3);
    EXPECT_FALSE(tree.CanAddSubPile());
    EXPECT_EQ(tree.Store(piles, files), 3);
    EXPECT_EQ(piles.Count(), static_cast<size_t>(room));
    for (const std::string& line : piles)
        EXPECT_GE(static_cast<unsigned char>(line[1]), 34);
}

// Identifiers that differ only in letter case would make two piles' lines equal to the
// sorted lists, and one pile would be lost.
TEST(PileTree, SameNamedPilesUnderEveryIdentifierAllSurviveAStore)
{
    const std::vector<unsigned char> ids = TPileTree::UsableIdentifiers();
    ASSERT_FALSE(ids.empty());
    for (size_t i = 0; i < ids.size(); ++i)
        for (size_t j = i + 1; j < ids.size(); ++j)
            ASSERT_NE(CompareTextLocale(std::string(1, static_cast<char>(ids[i])),
                          std::string(1, static_cast<char>(ids[j]))),
                0);
    const int room = static_cast<int>(ids.size());
    EXPECT_EQ(TPileTree::MaxSubPiles(), room);
    TPileTree tree;
    tree.Load({}, {});
    tree.Select(tree.Root());
    for (int i = 0; i < room; ++i) {
        TPileNode* pile = tree.NewNode(true); // every one "New Item", each inside the last
        tree.Select(pile);
        tree.Rename(tree.NewNode(false), "C:\\same.txt");
    }
    TSortedStringList piles, files;
    EXPECT_EQ(tree.Store(piles, files), 0);
    EXPECT_EQ(piles.Count(), ids.size());
    EXPECT_EQ(files.Count(), ids.size());
    TPileTree again;
    again.Load(piles, files);
    EXPECT_EQ(again.SubPileCount(), room);
}

} // namespace wexly::test

namespace wexly::test {

TEST(PileTree, OkWhileEditingALabelOnlyEndsTheEdit)
{
    TPileTree tree;
    tree.Load({}, {});
    tree.Select(tree.Root());
    TPileNode* node = tree.NewNode(true);
    tree.BeginLabelEdit(node);
    EXPECT_FALSE(tree.OkPressed("Letters"));
    EXPECT_EQ(node->label, "Letters");
    EXPECT_EQ(tree.Editing(), nullptr);
    EXPECT_TRUE(tree.OkPressed("ignored"));
    EXPECT_EQ(node->label, "Letters");
}

} // namespace wexly::test
