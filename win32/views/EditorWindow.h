// The text editor window: the cell-grid window over a borrowed editor model. It forwards the
// model's status and user-command events and shows the model's caret shapes and margins. One
// window can show one model after another (Bind), so that a pane switching documents keeps its
// window and repaints only what differs.
#pragma once

#include "editor/OvcCustomEditor.h"
#include "win32/views/CellGridWindow.h"

#include <functional>

namespace wexly::win32 {

class TEditorWindow final : public TCellGridWindow
{
public:
    TEditorWindow(TOvcCustomEditor& editor, TOvcCommandProcessor& processor);
    ~TEditorWindow() override;

    TOvcCustomEditor& Editor() { return *m_editor; }
    // Shows editor from now on. The model shown before keeps its state; the window keeps its
    // size, font and scroll bars, and tells the new model its visible size.
    void Bind(TOvcCustomEditor& editor);
    // Shows an empty model of its own and drops the callbacks: editor is about to go.
    void Unbind(TOvcCustomEditor& editor);
    // Gives editor the visible size this window gives its own model, for a model that will be
    // shown here later.
    void LendViewSize(TOvcCustomEditor& editor) const;
    // Carries out a command as if typed, then brings the window up to date.
    bool ProcessCommand(TCommandCode command, char ch);

    // Draws a document line itself (rect is the whole row); returning false leaves the row to
    // the window.
    std::function<bool(HDC dc, const RECT& rect, int32_t line)> OnDrawLine;
    // A character is about to be typed (the dictionary replaces the word it ends first).
    std::function<void(char ch)> OnKeyPress;

protected:
    std::vector<TGridRow> ModelRows(int rows) override;
    bool ModelCaretCell(int& row, int& col) override;
    TCaretShape ModelCaretShape() const override { return m_editor->CurrentCaretShape(); }
    int ModelLeftMargin() const override { return m_editor->LeftMargin(); }
    int ModelRightMargin() const override { return m_editor->RightMargin(); }
    bool ModelHideSelection() const override { return m_editor->HideSelection(); }
    bool ModelShowBookmarks() const override { return m_editor->ShowBookmarks(); }
    void ModelViewSize(int rows, int columns) override;
    TBar ModelVertBar() override;
    void ModelVertBarTo(int pos) override { m_editor->ScrollToBarPos(pos); }
    void ModelScrollRows(int delta) override { m_editor->ScrollLines(delta); }
    TBar ModelHorzBar() override;
    void ModelLeftColumnTo(int column) override;
    bool ModelCommand(TCommandCode command, char ch) override;
    bool ModelUntranslatedKey(UINT vk) override;
    void ModelChar(char ch) override;
    void ModelMouseDown(int row, int col, bool shift, bool margin) override;
    void ModelMouseDrag(int row, int col) override { m_editor->MouseMove(row, col); }
    void ModelMouseUp() override { m_editor->MouseUp(); }
    void ModelDoubleClick(int row, int col, bool shift, bool margin) override;
    void ModelWheel(int notches) override { m_editor->MouseWheel(notches); }
    UINT DialogCode() const override;
    bool IsLongCommand(TCommandCode command) const override;
    bool CustomDrawRow(HDC dc, int row, const RECT& rect) override;

private:
    void Hook();

    TOvcCustomEditor* m_editor;
    TOvcCustomEditor m_empty; // shown while no document's model is bound
};

} // namespace wexly::win32
