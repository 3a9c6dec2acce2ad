// The focusable flat push button of the dialogs: the shared state machine plus keyboard
// pressing and the default-button frame.
#pragma once

#include "controls/ZulControlModel.h"

namespace wexly {

enum class TZulKey { Space, Enter, Other };

class TZulButtonModel final : public TZulControlModel
{
public:
    explicit TZulButtonModel(IZulHost& host);

    bool Default() const { return m_default; }
    void SetDefault(bool value);

    void KeyDown(TZulKey key);
    void KeyUp(TZulKey key);

private:
    bool IsDefaultLook() const override { return m_default; }
    void BeforePress() override;

    bool m_default = false;
};

} // namespace wexly
