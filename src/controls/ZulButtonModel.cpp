#include "controls/ZulButtonModel.h"

namespace wexly {

TZulButtonModel::TZulButtonModel(IZulHost& host)
    : TZulControlModel(TZulKind::Button, host)
{
}

void TZulButtonModel::SetDefault(bool value)
{
    if (value == m_default)
        return;
    m_default = value;
    Host().Invalidate();
}

void TZulButtonModel::BeforePress()
{
    if (!Host().Focused())
        Host().TakeFocus();
}

void TZulButtonModel::KeyDown(TZulKey key)
{
    if (!Enabled())
        return;
    if (key == TZulKey::Space && !Down() && !Pressing()) {
        Press();
        if (Pressing())
            SetSpaceHeld(true);
    } else if (key == TZulKey::Enter && Host().Focused()) {
        Host().Click();
    }
}

void TZulButtonModel::KeyUp(TZulKey key)
{
    if (key == TZulKey::Space)
        Unpress();
}

} // namespace wexly
