// Fuzzes the find text escapes and the search they feed: escaping then unescaping gives back
// any text (and the same for menu ampersands); any text typed into the find box, unescaped and
// searched for in any text with any options, selects only a match of it.
#include "FuzzSupport.h"
#include "config/UtilsBox.h"
#include "editor/EditorTestSupport.h"

namespace {

using namespace wexly;

void CheckEscapes(std::string_view text)
{
    const std::string escaped = EscapeText(text);
    FUZZ_CHECK(escaped.find('\t') == std::string::npos);
    FUZZ_CHECK(UnescapeText(escaped) == text);
    FUZZ_CHECK(UnescapeText(text).size() <= text.size());
    FUZZ_CHECK(UnescapeAmpersands(EscapeAmpersands(text)) == text);
}

std::string Upper(std::string_view text)
{
    const TUpperTable& upper = SystemUpperTable();
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(upper[static_cast<uint8_t>(c)]);
    return out;
}

void CheckSearch(fuzz::TFuzzInput& in)
{
    const uint16_t bits = in.Word();
    const std::string findBox(in.Until('\0'));
    const std::string text(in.Rest());
    const std::string pattern = UnescapeText(findBox);

    TOvcCustomEditor editor;
    fuzz::SetEditorText(editor, text);
    TSearchOptions options = TSearchOptions::FromBits(static_cast<uint16_t>(
        bits & (soBackward | soMatchCase | soGlobal | soWholeWord | soSelText).Bits()));
    if (bits & 0x100)
        editor.SelectAll();
    bool found = false;
    for (int i = 0; i < 3; ++i) {
        found = editor.Search(pattern, options | soFind);
        editor.CheckInvariants();
        if (!found)
            break;
        if (pattern.find_first_of("\r\n") != std::string::npos)
            continue;
        const std::string selected = editor.GetSelTextBuf();
        if (options.Has(soMatchCase))
            FUZZ_CHECK(selected == pattern);
        else
            FUZZ_CHECK(Upper(selected) == Upper(pattern));
        options = options.Without(soGlobal);
    }
    FUZZ_CHECK(!(found && pattern.empty()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckEscapes(std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::TFuzzInput in(data, size);
    CheckSearch(in);
    return 0;
}
