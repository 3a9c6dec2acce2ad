// What the fuzz targets share: taking a fuzzer's bytes apart into choices and strings, a
// property check that aborts (so libFuzzer keeps the input), and the quiet stand-ins for the
// user and the dialogs.
#pragma once

#include "documents/FileCommands.h"
#include "editor/OvcCustomEditor.h"
#include "platform/Ui.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace wexly::fuzz {

// A broken property is a crash for the fuzzer: report it and abort.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition);  \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

// The fuzzer's bytes, read front to back; reads past the end give zeros and empty strings.
class TFuzzInput
{
public:
    TFuzzInput(const uint8_t* data, size_t size)
        : m_data(reinterpret_cast<const char*>(data), size)
    {
    }
    bool Empty() const { return m_pos >= m_data.size(); }
    uint8_t Byte() { return Empty() ? 0 : static_cast<uint8_t>(m_data[m_pos++]); }
    uint16_t Word()
    {
        uint16_t lo = Byte();
        return static_cast<uint16_t>(lo | (Byte() << 8));
    }
    // Up to the next separator byte (which is consumed), or the rest.
    std::string_view Until(char separator)
    {
        std::string_view rest = Rest();
        size_t end = rest.find(separator);
        if (end == std::string_view::npos) {
            m_pos = m_data.size();
            return rest;
        }
        m_pos += end + 1;
        return rest.substr(0, end);
    }
    std::string_view Rest()
    {
        return m_pos >= m_data.size() ? std::string_view() : m_data.substr(m_pos);
    }
    void SkipAll() { m_pos = m_data.size(); }

private:
    std::string_view m_data;
    size_t m_pos = 0;
};

// Replaces an editor's text with any bytes (no caret marks), caret at the start, no undo.
inline void SetEditorText(TOvcCustomEditor& editor, std::string_view text)
{
    editor.DeleteAll();
    editor.SelectAll();
    editor.SetSelTextBuf(text);
    editor.FlushUndoBuffer();
    editor.SetCaretPosition(1, 1);
}

// Answers every question with its default button and remembers what it was asked.
class TQuietAsker final : public IAsker
{
public:
    TMsgResult Ask(const TMessage& message) override
    {
        asked.push_back(message.text);
        return message.buttons == TMsgButtons::Ok ? TMsgResult::Ok : TMsgResult::Cancel;
    }
    std::vector<std::string> asked;
};

// Dialogs that are always cancelled: the targets call the operations under them directly.
class TCancelledDialogs final : public IFileDialogs
{
public:
    TOpenDialogResult ShowOpen(const TOpenDialogRequest&) override { return {}; }
    TSaveDialogResult ShowSave(const TSaveDialogRequest&) override { return {}; }
    std::optional<std::string> ShowReopen(std::vector<std::string>&) override { return {}; }
};

} // namespace wexly::fuzz
