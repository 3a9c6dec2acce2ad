#include "macros/MacroText.h"

#include "editor/OvcCustomEditor.h"

#include <array>

namespace wexly {

namespace {

constexpr std::array<TMacroToken, 22> kTokens { {
    { "<L>", ccTypedChar, ccTypedChar, '<' },
    { "<G>", ccTypedChar, ccTypedChar, '>' },
    { "<HOME>", ccHome, ccExtendHome },
    { "<END>", ccEnd, ccExtendEnd },
    { "<PGUP>", ccPrevPage, ccExtendPgUp },
    { "<PGDN>", ccNextPage, ccExtendPgDn },
    { "<UP>", ccUp, ccExtendUp },
    { "<DOWN>", ccDown, ccExtendDown },
    { "<LEFT>", ccLeft, ccExtendLeft },
    { "<RIGHT>", ccRight, ccExtendRight },
    { "<BOF>", ccFirstPage, ccExtFirstPage },
    { "<EOF>", ccLastPage, ccExtLastPage },
    { "<ENTER>", ccNewLine, ccNewLine },
    { "<INSERT>", ccIns, ccIns },
    { "<DELETE>", ccDel, ccDel },
    { "<PREVWORD>", ccWordLeft, ccExtWordLeft },
    { "<NEXTWORD>", ccWordRight, ccExtWordRight },
    { "<BACKSP>", ccBack, ccBack },
    { "<TAB>", ccTab, ccTab },
    { "<PASTE>", ccPaste, ccPaste },
    { "<CUT>", ccCut, ccCut },
    { "<COPY>", ccCopy, ccCopy },
} };

} // namespace

const TMacroToken* FindMacroToken(std::string_view text)
{
    for (const auto& t : kTokens)
        if (text.substr(0, t.text.size()) == t.text)
            return &t;
    return nullptr;
}

void PlayMacroText(TOvcCustomEditor& editor, std::string_view text)
{
    bool selecting = false;
    editor.BeginUpdate();
    try {
        while (!text.empty()) {
            size_t close = text.find('>');
            if (text.front() != '<' || close == std::string_view::npos) {
                // A "<" that no ">" closes is typed, so playback always moves on.
                editor.ProcessCommand(ccTypedChar, text.front());
                text.remove_prefix(1);
                continue;
            }
            if (text.starts_with(kBeginSelToken)) {
                selecting = true;
            } else if (text.starts_with(kEndSelToken)) {
                selecting = false;
            } else if (const TMacroToken* t = FindMacroToken(text)) {
                editor.ProcessCommand(selecting ? t->selectCommand : t->command, t->data);
            }
            text.remove_prefix(close + 1);
        }
    } catch (...) {
        editor.EndUpdate();
        throw;
    }
    editor.EndUpdate();
}

std::string PasteToMacroText(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        switch (c) {
        case '\t':
            out += "<TAB>";
            break;
        case '\r':
        case '\n':
            out += "<ENTER>";
            // The other half of a two-character line end.
            if (i + 1 < text.size() && text[i + 1] == (c == '\r' ? '\n' : '\r'))
                ++i;
            break;
        case '<':
            out += "<L>";
            break;
        case '>':
            out += "<G>";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string RemoveLastKeypress(std::string_view text)
{
    if (text.empty())
        return {};
    if (text.back() != '>')
        return std::string(text.substr(0, text.size() - 1));
    size_t open = text.rfind('<');
    return open == std::string_view::npos ? std::string() : std::string(text.substr(0, open));
}

namespace {

std::optional<std::string_view> KeyToken(uint8_t key, bool ctrl)
{
    using namespace MacroKey;
    switch (key) {
    case Home:
        return ctrl ? "<BOF>" : "<HOME>";
    case End:
        return ctrl ? "<EOF>" : "<END>";
    case Left:
        return ctrl ? "<PREVWORD>" : "<LEFT>";
    case Right:
        return ctrl ? "<NEXTWORD>" : "<RIGHT>";
    case PageUp:
        return "<PGUP>";
    case PageDown:
        return "<PGDN>";
    case Up:
        return "<UP>";
    case Down:
        return "<DOWN>";
    case Enter:
        return "<ENTER>";
    case Insert:
        return "<INSERT>";
    case Delete:
        return "<DELETE>";
    case Back:
        return "<BACKSP>";
    case Tab:
        return "<TAB>";
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<std::string> RecordedKeyText(uint8_t key, bool shift, bool ctrl, char layoutChar)
{
    using namespace MacroKey;
    if ((key >= F1 && key <= F12) || (key == Tab && ctrl))
        return std::nullopt;
    if (auto token = KeyToken(key, ctrl))
        return std::string(*token);
    if (ctrl && key == C)
        return "<COPY>";
    if (ctrl && key == V)
        return "<PASTE>";
    if (ctrl && key == X)
        return "<CUT>";
    if (shift && key == Comma)
        return "<L>";
    if (shift && key == Period)
        return "<G>";
    auto code = static_cast<uint8_t>(layoutChar);
    if (code < 32 || code > 127)
        return std::nullopt;
    // A layout that puts "<" or ">" on another key still records a token, so the text plays
    // back as typed.
    if (layoutChar == '<')
        return "<L>";
    if (layoutChar == '>')
        return "<G>";
    return std::string(1, layoutChar);
}

} // namespace wexly
