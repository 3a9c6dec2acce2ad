#include "win32/main/DynamicMenus.h"

#include "win32/platform/WinStrings.h"

namespace wexly::win32 {

TDynamicMenus::TDynamicMenus(UINT firstId, UINT lastId)
    : m_first(firstId)
    , m_last(lastId)
    , m_next(firstId)
{
}

UINT TDynamicMenus::NextId()
{
    // Identifiers wrap round the range; one still in use is skipped.
    for (UINT tries = 0; tries <= m_last - m_first; ++tries) {
        const UINT id = m_next;
        m_next = m_next == m_last ? m_first : m_next + 1;
        if (!m_commands.count(id))
            return id;
    }
    return 0;
}

void TDynamicMenus::Forget(HMENU menu)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            Forget(sub);
            m_popupHints.erase(sub);
            continue;
        }
        const UINT id = GetMenuItemID(menu, i);
        m_commands.erase(id);
        m_hints.erase(id);
    }
}

void TDynamicMenus::Clear(HMENU menu, int from, int before)
{
    if (!menu)
        return;
    int end = before < 0 ? GetMenuItemCount(menu) : before;
    for (int i = end - 1; i >= from; --i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            Forget(sub);
            m_popupHints.erase(sub);
        } else {
            const UINT id = GetMenuItemID(menu, i);
            m_commands.erase(id);
            m_hints.erase(id);
        }
        DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION); // destroys a submenu too
    }
}

int TDynamicMenus::Insert(HMENU menu, int pos, const std::vector<TDynamicMenuItem>& items)
{
    int inserted = 0;
    for (const TDynamicMenuItem& item : items) {
        const UINT at = pos < 0 ? static_cast<UINT>(-1) : static_cast<UINT>(pos + inserted);
        if (item.separator) {
            InsertMenuW(menu, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
            ++inserted;
            continue;
        }
        std::string text = item.caption;
        if (!item.shortcut.empty())
            text += "\t" + item.shortcut;
        const std::wstring wide = Utf8ToWide(text);
        if (item.submenu || !item.children.empty()) {
            HMENU sub = CreatePopupMenu();
            Insert(sub, -1, item.children);
            m_popupHints[sub] = item.hint;
            InsertMenuW(menu, at, MF_BYPOSITION | MF_POPUP | MF_STRING,
                reinterpret_cast<UINT_PTR>(sub), wide.c_str());
        } else {
            const UINT id = NextId();
            if (!id)
                break; // the range is used up: the rest stays out of the menu
            m_commands[id] = { item.action, item.tag, item.caption };
            m_hints[id] = item.hint;
            InsertMenuW(menu, at, MF_BYPOSITION | MF_STRING, id, wide.c_str());
        }
        ++inserted;
    }
    return inserted;
}

const TDynamicCommand* TDynamicMenus::Find(UINT id) const
{
    auto it = m_commands.find(id);
    return it == m_commands.end() ? nullptr : &it->second;
}

std::string TDynamicMenus::Hint(UINT id) const
{
    auto it = m_hints.find(id);
    return it == m_hints.end() ? std::string() : it->second;
}

std::string TDynamicMenus::PopupHint(HMENU popup) const
{
    auto it = m_popupHints.find(popup);
    return it == m_popupHints.end() ? std::string() : it->second;
}

} // namespace wexly::win32
