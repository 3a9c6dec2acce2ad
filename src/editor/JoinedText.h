// The whole text of a paragraph list as one block of bytes, and back: the paragraphs exactly as
// they are, joined by CR LF, with no line end after the last one. Unlike a saved file this keeps
// the last paragraph and every byte as typed, so the same paragraphs can be rebuilt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace wexly {

class TOvcParaList;

// The size of the joined text: ByteCount().
size_t JoinedTextSize(const TOvcParaList& list);
// Writes the joined text to out, which has room for JoinedTextSize bytes.
void CopyJoinedText(const TOvcParaList& list, char* out);
// Paragraphs a joined text holds: one more than its line feeds. Paragraphs never hold a line
// feed (typing, pasting and loading all break paragraphs there), so each one is a separator.
int32_t JoinedParaCount(std::string_view text);
// Replaces the list's text by the paragraphs of a joined text, with an empty undo history and
// the list unmodified. Returns 0, or an error code with the list cleared: 268 for a paragraph
// over the length limit, 1 for damaged text (a line feed without its carriage return, a NUL).
uint16_t LoadJoinedText(TOvcParaList& list, std::string_view text);

} // namespace wexly
