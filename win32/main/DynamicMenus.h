// Menu items the program builds from the settings (piles and their files, macros, external
// tools): each clickable item gets an identifier from one range and is remembered with what
// clicking it does, and every item's hint goes where the status line looks for it.
#pragma once

#include "piles/DynamicMenu.h"

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace wexly::win32 {

struct TDynamicCommand
{
    TMenuAction action = TMenuAction::None;
    int tag = 0;
    std::string caption; // as shown, "&" doubled where the builder doubled it
};

class TDynamicMenus
{
public:
    TDynamicMenus(UINT firstId, UINT lastId);

    // Deletes the items of menu from position `from` to before `before` (-1: to the end),
    // with their submenus, and forgets their identifiers.
    void Clear(HMENU menu, int from, int before = -1);
    // Inserts the items at position pos (-1: appended) and returns how many were inserted.
    int Insert(HMENU menu, int pos, const std::vector<TDynamicMenuItem>& items);

    const TDynamicCommand* Find(UINT id) const;
    // The hint of an item (by identifier) or of a submenu this object built.
    std::string Hint(UINT id) const;
    std::string PopupHint(HMENU popup) const;

private:
    UINT NextId();
    void Forget(HMENU menu);

    UINT m_first;
    UINT m_last;
    UINT m_next;
    std::map<UINT, TDynamicCommand> m_commands;
    std::map<UINT, std::string> m_hints;
    std::map<HMENU, std::string> m_popupHints;
};

} // namespace wexly::win32
