// The "Piles" page's tree: a working copy of the pile lists as nodes (piles, text files,
// binary files), kept sorted by label at every level, with the page's editing rules (new,
// delete, rename, drag and drop, the binary check box) and the storing back into the lists.
// Owns its nodes; the dialog holds node pointers as handles.
#pragma once

#include "config/SortedStringList.h"
#include "platform/Ui.h"

#include <memory>
#include <string>
#include <vector>

namespace wexly {

// Doubles as the node's picture index.
enum TPileImage : int { piPile = 0, piTextFile = 1, piBinaryFile = 2 };

struct TPileNode
{
    std::string label; // a pile's name or a file's path
    int image = piPile;
    TPileNode* parent = nullptr;
    std::vector<std::unique_ptr<TPileNode>> children; // sorted by label
    bool expanded = false;

    bool IsPile() const { return image == piPile; }
};

// The tree's popup menu; the tag of a "New" item says what NewNode makes (0 a pile).
struct TPilePopupItem
{
    const char* caption;
    int tag;
    bool visible;
};
inline constexpr TPilePopupItem kPilePopupItems[] = {
    { "New &Sub-Pile", 0, true },
    { "New &Item", 1, false },
    { "-", 0, true },
    { "&Delete", 0, true },
};
inline constexpr const char* kPileBinaryCaption = "&Binary File";

struct TBinaryCheck
{
    bool checked = false;
    bool enabled = false;
};

class TPileTree
{
public:
    static constexpr const char* kRootLabel = "Main Pile";
    static constexpr const char* kNewLabel = "New Item";

    // LoadPileTree: the root "Main Pile" and everything reachable from it, root expanded.
    void Load(const TSortedStringList& piles, const TSortedStringList& pileFiles);
    // StorePileTree: the lists are replaced by what the tree holds, identifiers given out in
    // pre-order from UsableIdentifiers(). Returns the number of sub-piles left out because
    // identifiers ran out (their files with them); 0 normally.
    int Store(TSortedStringList& piles, TSortedStringList& pileFiles) const;

    TPileNode* Root() const { return m_root.get(); }
    TPileNode* Selected() const { return m_selected; }
    void Select(TPileNode* node) { m_selected = node; }

    // "New &Sub-Pile" (pile) or "New &Item": beside a selected file, or inside a selected pile.
    // Null when nothing is selected.
    TPileNode* NewNode(bool pile);
    // The one-byte identifiers a store gives out, in order: 34 to 255 without those that the
    // lists' case-insensitive comparison takes for one given earlier ("a" after "A") or for
    // nothing. Two piles whose lines compare equal would lose one of them in the sorted lists.
    static std::vector<unsigned char> UsableIdentifiers();
    // Room for this many sub-piles; the page offers no more, so that none is left out when the
    // tree is stored.
    static int MaxSubPiles() { return static_cast<int>(UsableIdentifiers().size()); }
    int SubPileCount() const;
    bool CanAddSubPile() const { return SubPileCount() < MaxSubPiles(); }
    // "&Delete": asks; on Yes the selection moves to the next sibling and the subtree goes.
    void DeleteSelected(IAsker& asker);
    // A label edit ended with this text; the node moves to its sorted place.
    void Rename(TPileNode* node, const std::string& label);
    // Moves dragged beside a file target or into a pile target; false when refused (onto
    // itself or into its own subtree).
    bool Drop(TPileNode* dragged, TPileNode* target);
    // In-place label editing: the dialog's OK first only ends an edit that is under way.
    void BeginLabelEdit(TPileNode* node) { m_editing = node; }
    TPileNode* Editing() const { return m_editing; }
    void EndLabelEdit(const std::string& text);
    // OK pressed with the edit box's text: false (the dialog stays) when it ended an edit.
    bool OkPressed(const std::string& editText);

    TBinaryCheck BinaryCheck() const;
    void BinaryClick(bool checked);

    // Children sorted and linked to their parents; the selection is in the tree.
    bool CheckInvariants() const;

private:
    TPileNode* Insert(TPileNode* parent, std::unique_ptr<TPileNode> node);
    std::unique_ptr<TPileNode> Detach(TPileNode* node);
    bool Contains(const TPileNode* node) const;

    std::unique_ptr<TPileNode> m_root;
    TPileNode* m_selected = nullptr;
    TPileNode* m_editing = nullptr;
};

} // namespace wexly
