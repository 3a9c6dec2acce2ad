#include "controls/ZulButtonModel.h"
#include "controls/ZulSpeedModel.h"

#include "ZulTestSupport.h"

#include <gtest/gtest.h>

namespace wexly::test {

namespace {

TZulSpeedModel& GroupButton(TFakeParent& parent, int32_t group)
{
    auto& b = parent.Add<TZulSpeedModel>();
    b.SetAllowAllUp(false);
    b.SetGroupIndex(group);
    return b;
}

void Click(TZulControlModel& b)
{
    b.MouseEnter();
    b.LeftButtonDown({}, { 3, 3 });
    b.LeftButtonUp({}, { 3, 3 });
}

} // namespace

TEST(ZulControlModel, ConstructionDefaults)
{
    TFakeHost host;
    TZulButtonModel button(host);
    TZulSpeedModel speed(host);
    EXPECT_EQ(button.Width(), 75);
    EXPECT_EQ(button.Height(), 25);
    EXPECT_EQ(speed.Width(), 25);
    EXPECT_EQ(speed.Height(), 25);
    EXPECT_EQ(speed.Color(), clBtnFace);
    EXPECT_TRUE(speed.AllowAllUp());
    EXPECT_FALSE(speed.Down());
}

TEST(ZulControlModel, SetDownIsRefusedOutsideALatchingGroup)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulSpeedModel>();
    b.SetDown(true); // no group
    EXPECT_FALSE(b.Down());
    b.SetGroupIndex(1);
    b.SetDown(true); // AllowAllUp still true
    EXPECT_FALSE(b.Down());
    b.SetAllowAllUp(false);
    b.SetDown(true);
    EXPECT_TRUE(b.Down());
    EXPECT_TRUE(b.CheckInvariants());
}

TEST(ZulControlModel, GoingDownReleasesOnlyTheSameGroup)
{
    TFakeParent parent;
    auto& a = GroupButton(parent, 1);
    auto& b = GroupButton(parent, 1);
    auto& other = GroupButton(parent, 2);
    a.SetDown(true);
    other.SetDown(true);
    b.SetDown(true);
    EXPECT_FALSE(a.Down());
    EXPECT_TRUE(b.Down());
    EXPECT_TRUE(other.Down());
    for (auto& c : parent.children)
        EXPECT_TRUE(c.model->CheckInvariants());
}

TEST(ZulControlModel, LeavingTheLatchingStateLiftsTheButton)
{
    TFakeParent parent;
    auto& a = GroupButton(parent, 1);
    a.SetDown(true);
    a.SetAllowAllUp(true);
    EXPECT_FALSE(a.Down());
    a.SetAllowAllUp(false);
    a.SetDown(true);
    a.SetGroupIndex(0);
    EXPECT_FALSE(a.Down());
    EXPECT_TRUE(a.CheckInvariants());
}

TEST(ZulControlModel, AnUpButtonJoiningAGroupLeavesItsDownButtonAlone)
{
    TFakeParent parent;
    auto& current = GroupButton(parent, 1);
    current.SetDown(true);
    auto& newcomer = parent.Add<TZulSpeedModel>();
    newcomer.SetGroupIndex(1);
    newcomer.SetAllowAllUp(false);
    EXPECT_TRUE(current.Down());
    EXPECT_FALSE(newcomer.Down());
}

TEST(ZulControlModel, ClickingAGroupButtonLatchesItAndReleasesThePartner)
{
    TFakeParent parent;
    auto& a = GroupButton(parent, 1);
    auto& b = GroupButton(parent, 1);
    Click(a);
    EXPECT_TRUE(a.Down());
    Click(b);
    EXPECT_TRUE(b.Down());
    EXPECT_FALSE(a.Down());
    EXPECT_EQ(parent.HostOf(a).clicks, 1);
    EXPECT_EQ(parent.HostOf(b).clicks, 1);
}

TEST(ZulControlModel, PressingALatchedButtonDoesNothing)
{
    TFakeParent parent;
    auto& a = GroupButton(parent, 1);
    Click(a);
    auto& host = parent.HostOf(a);
    Click(a);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_FALSE(a.Pressing());
    EXPECT_FALSE(host.captured);
}

TEST(ZulControlModel, PressCapturesAndReleaseOutsideStillClicks)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulSpeedModel>();
    auto& host = parent.HostOf(b);
    b.MouseEnter();
    b.LeftButtonDown({}, { 1, 1 });
    EXPECT_TRUE(host.captured);
    EXPECT_TRUE(b.Look().pressed);
    b.MouseLeave();
    EXPECT_FALSE(b.Look().pressed); // drawn up while the pointer is away
    EXPECT_TRUE(b.Look().hot); // the capture keeps it lit
    b.LeftButtonUp({}, { 200, 200 });
    EXPECT_EQ(host.clicks, 1);
    EXPECT_FALSE(host.captured);
    EXPECT_FALSE(b.Down()); // no group: never latches
}

TEST(ZulControlModel, ReleaseWithoutPressIsIgnored)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulSpeedModel>();
    b.LeftButtonUp({}, { 1, 1 });
    EXPECT_EQ(parent.HostOf(b).clicks, 0);
}

TEST(ZulControlModel, LostCaptureOrDisablingAbandonsThePress)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulSpeedModel>();
    auto& host = parent.HostOf(b);
    b.LeftButtonDown({}, {});
    b.CaptureLost();
    b.LeftButtonUp({}, {});
    EXPECT_EQ(host.clicks, 0);

    b.MouseEnter();
    b.LeftButtonDown({}, {});
    b.SetEnabled(false);
    EXPECT_FALSE(host.captured);
    EXPECT_FALSE(b.Hover());
    b.LeftButtonUp({}, {});
    EXPECT_EQ(host.clicks, 0);
    EXPECT_FALSE(b.Look().hot);
}

TEST(ZulControlModel, HoverRepaintsOnlyFlatAndThinButtons)
{
    TFakeParent parent;
    auto& thin = parent.Add<TZulSpeedModel>();
    thin.SetDepth(1);
    auto& thick = parent.Add<TZulSpeedModel>();
    thick.SetDepth(2);
    const int thinBefore = parent.HostOf(thin).invalidations;
    const int thickBefore = parent.HostOf(thick).invalidations;
    thin.MouseEnter();
    thick.MouseEnter();
    EXPECT_EQ(parent.HostOf(thin).invalidations, thinBefore + 1);
    EXPECT_EQ(parent.HostOf(thick).invalidations, thickBefore);
    EXPECT_TRUE(thick.Hover());
}

TEST(ZulButtonModel, PressTakesTheFocusFirst)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulButtonModel>();
    auto& host = parent.HostOf(b);
    b.LeftButtonDown({}, {});
    EXPECT_TRUE(host.focused);
    b.LeftButtonUp({}, {});
    EXPECT_EQ(host.events, (std::vector<std::string> { "focus", "click" }));
}

TEST(ZulButtonModel, SpaceBarPressesUntilReleased)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulButtonModel>();
    auto& host = parent.HostOf(b);
    host.focused = true;
    b.KeyDown(TZulKey::Space);
    EXPECT_TRUE(b.Look().pressed); // pointer elsewhere, but the bar is held
    b.KeyDown(TZulKey::Space); // auto-repeat
    EXPECT_EQ(host.clicks, 0);
    b.KeyUp(TZulKey::Space);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_FALSE(b.Look().pressed);
    b.KeyUp(TZulKey::Space);
    EXPECT_EQ(host.clicks, 1);
}

TEST(ZulButtonModel, LosingFocusWithSpaceHeldEndsThePressWithoutClick)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulButtonModel>();
    auto& host = parent.HostOf(b);
    host.focused = true;
    b.KeyDown(TZulKey::Space);
    host.focused = false;
    b.FocusChanged(false);
    EXPECT_FALSE(b.Look().pressed);
    EXPECT_FALSE(host.captured);
    EXPECT_TRUE(b.CheckInvariants());
    b.KeyUp(TZulKey::Space);
    EXPECT_EQ(host.clicks, 0);
}

TEST(ZulButtonModel, EnterClicksOnlyWithFocus)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulButtonModel>();
    auto& host = parent.HostOf(b);
    b.KeyDown(TZulKey::Enter);
    EXPECT_EQ(host.clicks, 0);
    host.focused = true;
    b.KeyDown(TZulKey::Enter);
    EXPECT_EQ(host.clicks, 1);
    b.SetEnabled(false);
    b.KeyDown(TZulKey::Enter);
    b.KeyDown(TZulKey::Space);
    EXPECT_EQ(host.clicks, 1);
}

TEST(ZulSpeedModel, MouseEventsFollowPressAndRelease)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulSpeedModel>();
    auto& host = parent.HostOf(b);
    b.LeftButtonDown({}, {});
    b.MouseMoved({ .left = true }, {});
    b.LeftButtonUp({}, {});
    EXPECT_EQ(host.events, (std::vector<std::string> { "down(left)", "move", "click", "up" }));
}

TEST(ZulSpeedModel, CtrlDragStartsADragInsteadOfAClick)
{
    TFakeParent parent;
    auto& b = parent.Add<TZulSpeedModel>();
    b.SetIsDraggable(true);
    auto& host = parent.HostOf(b);
    b.LeftButtonDown({ .ctrl = true }, {});
    b.MouseMoved({ .ctrl = true, .left = true }, { 5, 0 });
    b.MouseMoved({ .ctrl = true, .left = true }, { 9, 0 });
    EXPECT_EQ(host.drags, 1);
    EXPECT_TRUE(b.Dragging());
    EXPECT_FALSE(b.Pressing());
    b.LeftButtonUp({}, {});
    EXPECT_EQ(host.clicks, 0);
    b.DragEnded();
    EXPECT_FALSE(b.Dragging());
}

TEST(ZulSpeedModel, NoDragWithoutCtrlOrWhenNotDraggable)
{
    TFakeParent parent;
    auto& draggable = parent.Add<TZulSpeedModel>();
    draggable.SetIsDraggable(true);
    draggable.LeftButtonDown({}, {});
    draggable.MouseMoved({ .left = true }, { 30, 0 });
    draggable.MouseMoved({ .ctrl = true }, { 30, 0 }); // Ctrl but no button
    draggable.LeftButtonUp({}, {});
    EXPECT_EQ(parent.HostOf(draggable).drags, 0);
    EXPECT_EQ(parent.HostOf(draggable).clicks, 1);

    auto& fixed = parent.Add<TZulSpeedModel>();
    fixed.MouseMoved({ .ctrl = true, .left = true }, {});
    EXPECT_EQ(parent.HostOf(fixed).drags, 0);
}

} // namespace wexly::test
