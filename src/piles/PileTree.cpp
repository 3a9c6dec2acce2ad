#include "piles/PileTree.h"

#include "config/TextCompare.h"
#include "piles/DynamicMenu.h"

#include <algorithm>
#include <cassert>

namespace wexly {

namespace {

unsigned char Byte(const std::string& line, size_t i)
{
    return i < line.size() ? static_cast<unsigned char>(line[i]) : 0;
}

std::unique_ptr<TPileNode> MakeNode(std::string label, int image)
{
    auto node = std::make_unique<TPileNode>();
    node->label = std::move(label);
    node->image = image;
    return node;
}

bool Inside(const TPileNode* node, const TPileNode* ancestor)
{
    for (; node; node = node->parent) {
        if (node == ancestor)
            return true;
    }
    return false;
}

// Stores node's children under id; ids[next] is the next identifier to give out. Sub-piles
// left without an identifier are left out and counted.
void Store(const TPileNode& node, unsigned char id, const std::vector<unsigned char>& ids,
    size_t& next, TSortedStringList& piles, TSortedStringList& pileFiles, int& dropped)
{
    for (const auto& child : node.children) {
        if (!child->IsPile()) {
            std::string line(1, static_cast<char>(id));
            line += child->image == piBinaryFile ? '1' : '0';
            pileFiles.Add(line + child->label);
            continue;
        }
        if (next >= ids.size()) {
            ++dropped;
            continue;
        }
        const unsigned char own = ids[next++];
        std::string line(1, static_cast<char>(id));
        line += static_cast<char>(own);
        piles.Add(line + child->label);
        Store(*child, own, ids, next, piles, pileFiles, dropped);
    }
}

} // namespace

void TPileTree::Load(const TSortedStringList& piles, const TSortedStringList& pileFiles)
{
    m_root = MakeNode(kRootLabel, piPile);
    m_selected = nullptr;
    m_editing = nullptr;
    // Fill level by level; a pile already placed is not placed again, which stops cycles
    // that a damaged settings file could hold.
    std::vector<bool> placed(256, false);
    placed[33] = true;
    std::vector<std::pair<TPileNode*, unsigned char>> work { { m_root.get(), 33 } };
    while (!work.empty()) {
        auto [node, id] = work.back();
        work.pop_back();
        for (const std::string& line : piles) {
            if (line.size() < 2 || Byte(line, 0) != id || placed[Byte(line, 1)])
                continue;
            placed[Byte(line, 1)] = true;
            TPileNode* child = Insert(node, MakeNode(line.substr(2), piPile));
            work.emplace_back(child, Byte(line, 1));
        }
        for (const std::string& line : pileFiles) {
            if (line.size() < 2 || Byte(line, 0) != id)
                continue;
            Insert(node, MakeNode(line.substr(2), line[1] == '1' ? piBinaryFile : piTextFile));
        }
    }
    m_root->expanded = true;
}

int TPileTree::Store(TSortedStringList& piles, TSortedStringList& pileFiles) const
{
    piles.Clear();
    pileFiles.Clear();
    int dropped = 0;
    if (m_root) {
        const std::vector<unsigned char> ids = UsableIdentifiers();
        size_t next = 0;
        wexly::Store(*m_root, kMainPileId, ids, next, piles, pileFiles, dropped);
    }
    return dropped;
}

std::vector<unsigned char> TPileTree::UsableIdentifiers()
{
    std::vector<std::string> given { std::string(1, static_cast<char>(kMainPileId)) };
    std::vector<unsigned char> ids;
    for (unsigned c = kMainPileId + 1; c <= 255; ++c) {
        const std::string candidate(1, static_cast<char>(c));
        if (CompareTextLocale(candidate, "") == 0)
            continue;
        bool clash = false;
        for (const std::string& earlier : given)
            clash = clash || CompareTextLocale(candidate, earlier) == 0;
        if (clash)
            continue;
        given.push_back(candidate);
        ids.push_back(static_cast<unsigned char>(c));
    }
    return ids;
}

TPileNode* TPileTree::Insert(TPileNode* parent, std::unique_ptr<TPileNode> node)
{
    node->parent = parent;
    auto& kids = parent->children;
    const auto at = std::upper_bound(kids.begin(), kids.end(), node->label,
        [](const std::string& label, const std::unique_ptr<TPileNode>& n) {
            return CompareTextLocale(label, n->label) < 0;
        });
    return kids.insert(at, std::move(node))->get();
}

std::unique_ptr<TPileNode> TPileTree::Detach(TPileNode* node)
{
    if (!node->parent) {
        assert(node == m_root.get());
        return std::move(m_root);
    }
    auto& kids = node->parent->children;
    const auto at
        = std::find_if(kids.begin(), kids.end(), [node](const auto& n) { return n.get() == node; });
    assert(at != kids.end());
    std::unique_ptr<TPileNode> owned = std::move(*at);
    kids.erase(at);
    owned->parent = nullptr;
    return owned;
}

TPileNode* TPileTree::NewNode(bool pile)
{
    if (!m_selected)
        return nullptr;
    TPileNode* parent = m_selected->IsPile() ? m_selected : m_selected->parent;
    if (!parent)
        return nullptr; // a file node always has a parent; kept for safety
    return Insert(parent, MakeNode(kNewLabel, pile ? piPile : piTextFile));
}

int TPileTree::SubPileCount() const
{
    if (!m_root)
        return 0;
    int count = 0;
    std::vector<const TPileNode*> work { m_root.get() };
    while (!work.empty()) {
        const TPileNode* node = work.back();
        work.pop_back();
        for (const auto& child : node->children) {
            if (child->IsPile()) {
                ++count;
                work.push_back(child.get());
            }
        }
    }
    return count;
}

void TPileTree::DeleteSelected(IAsker& asker)
{
    if (!m_selected)
        return;
    TMessage m;
    m.text = "Are you sure you want to delete this item?";
    m.caption = "Attention";
    m.buttons = TMsgButtons::YesNo;
    m.icon = TMsgIcon::Question;
    m.defaultButton = 2;
    if (asker.Ask(m) != TMsgResult::Yes)
        return;
    TPileNode* node = m_selected;
    TPileNode* next = nullptr;
    if (node->parent) {
        auto& kids = node->parent->children;
        for (size_t i = 0; i + 1 < kids.size(); ++i) {
            if (kids[i].get() == node)
                next = kids[i + 1].get();
        }
    }
    m_selected = next;
    if (m_editing && Inside(m_editing, node))
        m_editing = nullptr;
    Detach(node);
}

void TPileTree::Rename(TPileNode* node, const std::string& label)
{
    if (!node)
        return;
    node->label = label;
    if (TPileNode* parent = node->parent)
        Insert(parent, Detach(node));
}

bool TPileTree::Drop(TPileNode* dragged, TPileNode* target)
{
    if (!dragged || !target || dragged == target || !dragged->parent)
        return false;
    TPileNode* parent = target->IsPile() ? target : target->parent;
    if (!parent || Inside(parent, dragged))
        return false;
    Insert(parent, Detach(dragged));
    return true;
}

void TPileTree::EndLabelEdit(const std::string& text)
{
    TPileNode* node = m_editing;
    m_editing = nullptr;
    if (node && Contains(node))
        Rename(node, text);
}

bool TPileTree::OkPressed(const std::string& editText)
{
    if (!m_editing)
        return true;
    EndLabelEdit(editText);
    return false;
}

TBinaryCheck TPileTree::BinaryCheck() const
{
    if (!m_selected || m_selected->IsPile())
        return {};
    return { m_selected->image == piBinaryFile, true };
}

void TPileTree::BinaryClick(bool checked)
{
    if (m_selected && !m_selected->IsPile())
        m_selected->image = checked ? piBinaryFile : piTextFile;
}

bool TPileTree::Contains(const TPileNode* node) const
{
    return node && Inside(node, m_root.get());
}

bool TPileTree::CheckInvariants() const
{
    if (m_selected && !Contains(m_selected))
        return false;
    if (!m_root)
        return true;
    std::vector<const TPileNode*> work { m_root.get() };
    while (!work.empty()) {
        const TPileNode* node = work.back();
        work.pop_back();
        for (size_t i = 0; i < node->children.size(); ++i) {
            const TPileNode* child = node->children[i].get();
            if (child->parent != node)
                return false;
            if (i > 0 && CompareTextLocale(node->children[i - 1]->label, child->label) > 0)
                return false;
            work.push_back(child);
        }
    }
    return true;
}

} // namespace wexly
