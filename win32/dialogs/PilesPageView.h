// The Preferences dialog's "Piles" page over TPileTree: the tree control mirrors the model
// (rebuilt after every change), with in-place label editing, the popup menu, drag and drop and
// the "&Binary File" check box. The dialog routes its page's messages here.
#pragma once

#include "piles/PileTree.h"
#include "platform/Ui.h"

#include <windows.h>

#include <commctrl.h>

#include <map>

namespace wexly::win32 {

class TPilesPageView
{
public:
    // The private message that rebuilds the tree once a label edit has fully ended.
    static constexpr UINT kRebuildMessage = WM_APP + 41;

    TPilesPageView(TPileTree& tree, IAsker& asker);
    ~TPilesPageView();
    TPilesPageView(const TPilesPageView&) = delete;
    TPilesPageView& operator=(const TPilesPageView&) = delete;

    void Attach(HWND dialog);
    // The model was loaded: the control shows it.
    void Load();
    void Command(int id, int code);
    // A notification from the tree; true when handled, with the result to return.
    bool Notify(const NMHDR& header, LRESULT& result);
    void ContextMenu(HWND from, LPARAM lp);
    // The dialog's mouse messages while a node is dragged; true when taken.
    bool Mouse(UINT msg, LPARAM lp);
    // OK pressed: ends a label edit that is under way; true when one was.
    bool EndEditForOk();
    void Rebuild();

private:
    HWND Tree() const;
    void Insert(TPileNode& node, HTREEITEM parent);
    TPileNode* NodeOf(HTREEITEM item) const;
    HTREEITEM ItemAt(POINT screen) const;
    void ShowBinaryCheck();
    void NewNode(bool pile);
    void CreateImages();

    TPileTree& m_tree;
    IAsker& m_asker;
    HWND m_dialog = nullptr;
    HIMAGELIST m_images = nullptr;
    std::map<const TPileNode*, HTREEITEM> m_items;
    TPileNode* m_dragged = nullptr;
    bool m_filling = false;
};

} // namespace wexly::win32
