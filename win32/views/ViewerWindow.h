// The hex viewer window: the cell-grid window over a borrowed file viewer model. Commands the
// viewer does not carry out take the key path: typed characters go to OnKeyPress, which the
// owner passes on to the hex editing. Like the editor window, it can show one model after
// another (Bind).
#pragma once

#include "editor/OvcCustomFileViewer.h"
#include "win32/views/CellGridWindow.h"

#include <functional>

namespace wexly::win32 {

class TViewerWindow final : public TCellGridWindow
{
public:
    TViewerWindow(TOvcCustomFileViewer& viewer, TOvcCommandProcessor& processor);
    ~TViewerWindow() override;

    TOvcCustomFileViewer& Viewer() { return *m_viewer; }
    // Shows viewer from now on; the model shown before keeps its state.
    void Bind(TOvcCustomFileViewer& viewer);
    // Shows an empty model of its own and drops the callbacks: viewer is about to go.
    void Unbind(TOvcCustomFileViewer& viewer);
    // Gives viewer the visible size this window gives its own model.
    void LendViewSize(TOvcCustomFileViewer& viewer) const;
    bool ProcessCommand(TCommandCode command, char ch);

    TCaretShape CaretShape() const { return m_caretShape; }
    void SetCaretShape(TCaretShape shape);
    int LeftMargin() const { return m_leftMargin; }
    void SetLeftMargin(int pixels);

    std::function<void(char ch)> OnKeyPress;
    std::function<void(TCommandCode command)> OnUserCommand;
    std::function<void(int64_t topLine)> OnTopLineChanged;

protected:
    std::vector<TGridRow> ModelRows(int rows) override;
    bool ModelCaretCell(int& row, int& col) override;
    TCaretShape ModelCaretShape() const override { return m_caretShape; }
    int ModelLeftMargin() const override { return m_leftMargin; }
    bool ModelHideSelection() const override { return false; }
    bool ModelShowBookmarks() const override { return m_viewer->ShowBookmarks(); }
    void ModelViewSize(int rows, int columns) override;
    TBar ModelVertBar() override;
    void ModelVertBarTo(int pos) override { m_viewer->SetTopLineFromScroll(pos); }
    void ModelScrollRows(int delta) override;
    TBar ModelHorzBar() override;
    void ModelLeftColumnTo(int column) override { m_viewer->SetLeftColumn(column); }
    bool ModelCommand(TCommandCode command, char ch) override;
    bool ModelUntranslatedKey(UINT) override { return false; }
    void ModelChar(char ch) override;
    void ModelMouseDown(int row, int col, bool shift, bool margin) override;
    void ModelMouseDrag(int row, int col) override;
    void ModelMouseUp() override { m_mouseMargin = false; }
    void ModelDoubleClick(int row, int col, bool shift, bool margin) override;
    void ModelWheel(int notches) override { ModelScrollRows(-notches); }

private:
    // The model's events, relayed to the window's.
    class TObserver final : public IFileViewerObserver
    {
    public:
        explicit TObserver(TViewerWindow& w)
            : m_w(w)
        {
        }
        void OnShowStatus(int64_t line, int32_t col) override { m_w.StatusChanged(line, col); }
        void OnTopLineChanged(int64_t topLine) override;
        void OnUserCommand(TCommandCode command) override;
        void OnChange() override { m_w.ModelChanged(); }

    private:
        TViewerWindow& m_w;
    };

    TViewerPos CellPos(int row, int col);

    TOvcCustomFileViewer* m_viewer;
    TObserver m_observer { *this };
    TOvcCustomFileViewer m_empty; // shown while no document's model is bound
    TCaretShape m_caretShape = TCaretShape::csVertLine;
    int m_leftMargin = 15;
    TViewerPos m_anchor; // where the mouse selection started
    bool m_mouseMargin = false; // dragging selects whole rows
};

} // namespace wexly::win32
