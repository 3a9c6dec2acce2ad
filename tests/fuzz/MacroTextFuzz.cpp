// Fuzzes macro texts, which come from the settings file and from macro-set files: any text
// plays into an editor (with any of its typing options) without breaking the buffer and
// always makes progress; pasted text turned into macro text types back as the same text;
// removing the last keypress takes a token or a character off the end.
#include "FuzzSupport.h"
#include "editor/EditorTestSupport.h"
#include "macros/MacroText.h"

namespace {

using namespace wexly;

// A doubling macro ("<BOF><BEGINSEL><EOF><ENDSEL><COPY><EOF><PASTE>" repeated) would grow the
// text without end; the buffer's own limit stops it the way it stops a user.
constexpr int32_t kByteLimit = 1 << 20;

void Configure(TOvcCustomEditor& editor, uint8_t flags)
{
    editor.SetByteLimit(kByteLimit);
    editor.SetWordWrap(flags & 1);
    editor.SetAutoIndent(flags & 2);
    editor.SetInsertMode(!(flags & 4));
    editor.SetTrimWhiteSpace(flags & 8);
    editor.SetTabType(static_cast<TTabType>((flags >> 4) % 3));
    if (flags & 64)
        editor.SetWrapColumn(8 + (flags >> 7) * 32);
}

void PlayIntoEditor(fuzz::TFuzzInput& in)
{
    test::TFakeClipboard clipboard;
    test::TFakeBeeper beeper;
    TOvcCustomEditor editor({ &clipboard, &beeper });
    Configure(editor, in.Byte());
    const std::string initial(in.Until('\0'));
    const std::string clip(in.Until('\0'));
    clipboard.SetText(clip);
    fuzz::SetEditorText(editor, initial);
    const std::string macro(in.Rest());
    try {
        PlayMacroText(editor, macro);
    } catch (const EEditorError&) {
        // A refused change (paragraph or text too long) ends the macro; the text stays whole.
    }
    editor.CheckInvariants();
    for (int i = 0; i < 4 && editor.CanUndo(); ++i)
        editor.Undo();
    editor.CheckInvariants();
}

bool IsTokenText(std::string_view text)
{
    return FindMacroToken(text) != nullptr || text == kBeginSelToken || text == kEndSelToken;
}

// Every "<" of pasted text opens a token that its next ">" closes.
void CheckPasteTokens(std::string_view macro)
{
    size_t pos = 0;
    while ((pos = macro.find('<', pos)) != std::string_view::npos) {
        size_t close = macro.find('>', pos);
        FUZZ_CHECK(close != std::string_view::npos);
        FUZZ_CHECK(IsTokenText(macro.substr(pos, close + 1 - pos)));
        pos = close + 1;
    }
}

// Plain text with line ends, pasted into the recorder and played into an empty editor that
// neither indents nor trims, comes out as it went in.
void CheckPastePlaysBack(std::string_view clip)
{
    std::string expected;
    for (size_t i = 0; i < clip.size(); ++i) {
        const auto c = static_cast<unsigned char>(clip[i]);
        if (c == '\r' || c == '\n') {
            expected += '\n';
            if (i + 1 < clip.size() && clip[i + 1] == (c == '\r' ? '\n' : '\r'))
                ++i;
        } else if (c > ' ' && c < 127) {
            expected += static_cast<char>(c);
        } else {
            return;
        }
    }
    if (expected.size() > 2000)
        return;
    const std::string macro = PasteToMacroText(clip);
    CheckPasteTokens(macro);
    TOvcCustomEditor editor;
    editor.SetAutoIndent(false);
    editor.SetTrimWhiteSpace(false);
    PlayMacroText(editor, macro);
    editor.CheckInvariants();
    FUZZ_CHECK(test::Text(editor) == expected);
}

void CheckRemoveLastKeypress(std::string_view text)
{
    const std::string shorter = RemoveLastKeypress(text);
    FUZZ_CHECK(text.starts_with(shorter));
    FUZZ_CHECK(text.empty() ? shorter.empty() : shorter.size() < text.size());
    if (!text.empty() && text.back() != '>')
        FUZZ_CHECK(shorter.size() + 1 == text.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::TFuzzInput in(data, size);
    PlayIntoEditor(in);
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    CheckPasteTokens(PasteToMacroText(all));
    CheckPastePlaysBack(all);
    CheckRemoveLastKeypress(all);
    return 0;
}
