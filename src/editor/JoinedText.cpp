#include "editor/JoinedText.h"

#include "editor/OvcParaList.h"

#include <cstring>

namespace wexly {

size_t JoinedTextSize(const TOvcParaList& list)
{
    return static_cast<size_t>(list.ByteCount());
}

void CopyJoinedText(const TOvcParaList& list, char* out)
{
    for (const TParaNode* node = list.Head(); node; node = node->Next()) {
        const size_t len = node->Len();
        if (len > 0)
            std::memcpy(out, node->Text(), len);
        out += len;
        if (node->Next()) {
            out[0] = '\r';
            out[1] = '\n';
            out += 2;
        }
    }
}

int32_t JoinedParaCount(std::string_view text)
{
    int32_t count = 1;
    for (const char *p = text.data(), *end = p + text.size();
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)))); ++p)
        ++count;
    return count;
}

uint16_t LoadJoinedText(TOvcParaList& list, std::string_view text)
{
    constexpr uint16_t kDamaged = 1;
    list.Reset();
    // Paragraphs hold no NUL (the text is C strings to the views).
    if (text.find('\0') != std::string_view::npos)
        return kDamaged;
    size_t start = 0;
    for (;;) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos)
            break;
        if (lf == start || text[lf - 1] != '\r') {
            list.Reset();
            return kDamaged;
        }
        const auto len = static_cast<int32_t>(lf - 1 - start);
        if (uint16_t code = list.AppendParaEof(text.data() + start, len, false)) {
            list.Reset();
            return code;
        }
        start = lf + 1;
    }
    // The last paragraph goes into the empty one loading appends before; its undo record is
    // dropped with the rest of the history.
    const auto lastLen = static_cast<int32_t>(text.size() - start);
    if (lastLen > 0) {
        if (uint16_t code
            = list.InsertTextPrim(list.ParaCount(), 1, text.data() + start, lastLen)) {
            list.Reset();
            return code;
        }
    }
    list.FlushUndo();
    list.SetModified(false);
    return 0;
}

} // namespace wexly
