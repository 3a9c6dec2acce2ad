// TZulButton: the focusable flat push button of the dialogs (window class "TZulButton").
// Tells its parent about clicks with WM_COMMAND / BN_CLICKED.
#pragma once

#include "controls/ZulButtonModel.h"
#include "win32/controls/ZulWindow.h"

namespace wexly::win32 {

class TZulButton final : public TZulWindow
{
public:
    static constexpr const wchar_t* kClassName = L"TZulButton";

    TZulButton();
    // A 75 x 25 tab stop unless told otherwise.
    HWND Create(HWND parent, int id, int x, int y, int width = 75, int height = 25,
        const std::string& caption = {});

    bool Default() const { return m_model.Default(); }
    void SetDefault(bool value) { m_model.SetDefault(value); }

private:
    TZulControlModel& Model() override { return m_model; }
    const TZulControlModel& Model() const override { return m_model; }
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    static TZulKey KeyOf(WPARAM vk);

    TZulButtonModel m_model;
};

} // namespace wexly::win32
