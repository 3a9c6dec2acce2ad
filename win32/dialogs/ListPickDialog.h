// A modal window filled by one list box, as the Window List and the Tools list are: Enter or a
// double click picks the selected line, Esc closes without a choice, the list fills the window
// as it is resized, and the bounds go back to the settings however it closes.
#pragma once

#include "config/Settings.h"
#include "win32/dialogs/ModalDialog.h"

#include <windows.h>

namespace wexly::win32 {

class TListPickDialog : public TModalDialog
{
public:
    TListPickDialog(HWND owner, int templateId, int listId);

protected:
    // True when the window closed with a choice.
    bool Run();
    // Fills the list (and sets the caption and bounds) before the window shows.
    virtual void Fill(HWND dialog, HWND list) = 0;
    // The selected line (-1 for none) is picked; false keeps the window open.
    virtual bool Pick(int selected) = 0;
    virtual void StoreBounds(const TRect& bounds) = 0;
    // Owner-drawn lists draw their rows here.
    virtual UINT RowHeight() const { return 0; }
    virtual void DrawRow(const DRAWITEMSTRUCT&) const { }

    bool OnInit() override;
    void OnCommand(int id, int code) override;
    bool OnSize(int width, int height) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void Close(int result);

    HWND m_owner;
    int m_templateId;
    int m_listId;
};

} // namespace wexly::win32
