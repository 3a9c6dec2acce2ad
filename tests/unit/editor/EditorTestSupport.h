// Helpers for editor model tests: scripted clipboard and beeper, and text with a caret mark
// ('|') in and out of an editor. Paragraphs are separated by '\n' in these strings.
#pragma once

#include "editor/OvcCustomEditor.h"
#include "platform/Ui.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace wexly::test {

class TFakeClipboard final : public IClipboard
{
public:
    bool SetText(const std::string& text) override
    {
        m_text = text;
        m_has = true;
        return true;
    }
    bool HasText() override { return m_has; }
    std::string GetText() override { return m_text; }
    std::string m_text;
    bool m_has = false;
};

class TFakeBeeper final : public IBeeper
{
public:
    void Beep() override { ++m_beeps; }
    int m_beeps = 0;
};

// Replaces the editor's text (no undo history, unmodified) and puts the caret at the '|'.
inline void SetText(TOvcCustomEditor& e, std::string_view marked)
{
    std::string text;
    int32_t para = 1, pos = 1, caretPara = 1, caretPos = 1;
    for (char c : marked) {
        if (c == '|') {
            caretPara = para;
            caretPos = pos;
            continue;
        }
        text.push_back(c);
        if (c == '\n') {
            ++para;
            pos = 1;
        } else {
            ++pos;
        }
    }
    e.DeleteAll();
    e.SelectAll();
    e.SetSelTextBuf(text);
    e.FlushUndoBuffer();
    e.SetModified(false);
    int32_t p = caretPara, q = caretPos;
    e.ParaToLine(p, q);
    e.SetCaretPosition(p, q);
}

// The text with '|' at the caret (spaces added when the caret is past a paragraph's end).
inline std::string Marked(const TOvcCustomEditor& e)
{
    std::string out;
    for (int32_t p = 1; p <= e.ParaCount(); ++p) {
        std::string para(e.GetPara(p));
        if (p == e.CaretPara()) {
            if (static_cast<int32_t>(para.size()) < e.CaretPos() - 1)
                para.resize(static_cast<size_t>(e.CaretPos() - 1), ' ');
            para.insert(static_cast<size_t>(e.CaretPos() - 1), "|");
        }
        if (p > 1)
            out.push_back('\n');
        out += para;
    }
    return out;
}

inline std::string Text(const TOvcCustomEditor& e)
{
    std::string out;
    for (int32_t p = 1; p <= e.ParaCount(); ++p) {
        if (p > 1)
            out.push_back('\n');
        out += e.GetPara(p);
    }
    return out;
}

// Types each character through the command entry.
inline void Type(TOvcCustomEditor& e, std::string_view chars)
{
    for (char c : chars)
        e.ProcessCommand(ccTypedChar, c);
}

inline void RunCommands(TOvcCustomEditor& e, std::initializer_list<TCommandCode> commands)
{
    for (TCommandCode c : commands)
        e.ProcessCommand(c, 0);
}

} // namespace wexly::test
