#include "macros/MacroPlayer.h"

#include "documents/EditFile.h"
#include "editor/OvcCommandTable.h"
#include "macros/MacroText.h"

#include <cctype>

namespace wexly {

namespace {

int EntryNumber(const std::string& entry)
{
    if (entry.size() < 2 || !isdigit(static_cast<unsigned char>(entry[0]))
        || !isdigit(static_cast<unsigned char>(entry[1])))
        return 0;
    return (entry[0] - '0') * 10 + (entry[1] - '0');
}

} // namespace

std::vector<TMacroMenuItem> BuildMacrosMenu(const TSortedStringList& macros)
{
    std::vector<TMacroMenuItem> items;
    for (const auto& entry : macros) {
        TMacroMenuItem item;
        item.tag = EntryNumber(entry);
        item.caption = "Macro" + std::to_string(item.tag);
        item.hint = "Execute this macro";
        item.shortcut = "Shift+F" + std::to_string(item.tag);
        items.push_back(std::move(item));
    }
    return items;
}

int MacroNumberForKey(uint8_t key, uint8_t shiftState)
{
    if (shiftState != ssShift || key < MacroKey::F1 || key > MacroKey::F12)
        return 0;
    return key - MacroKey::F1 + 1;
}

std::string MacroKeyOf(int number)
{
    std::string key = std::to_string(number);
    return key.size() == 1 ? "0" + key : key;
}

std::string StoredMacroText(const TSortedStringList& macros, int number)
{
    const std::string key = MacroKeyOf(number);
    for (const auto& entry : macros)
        if (entry.compare(0, key.size(), key) == 0)
            return entry.substr(2);
    return {};
}

void PlayMacroInto(TEditFile& doc, const std::string& text)
{
    if (doc.Binary() || !doc.TextEditor())
        return;
    PlayMacroText(*doc.TextEditor(), text);
}

bool TMacroPlayer::MacroClick(int tag, TEditFile* focusFile)
{
    if (!focusFile || m_playing)
        return false;
    struct TGuard
    {
        bool& flag;
        explicit TGuard(bool& f)
            : flag(f)
        {
            flag = true;
        }
        ~TGuard() { flag = false; }
    } guard(m_playing);
    PlayMacroInto(*focusFile, StoredMacroText(m_macros, tag));
    return true;
}

} // namespace wexly
