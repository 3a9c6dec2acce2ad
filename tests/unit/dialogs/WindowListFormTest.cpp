#include "dialogs/WindowListForm.h"

#include "support/DocFakes.h"

#include <gtest/gtest.h>

#include <functional>

namespace wexly::test {

namespace {

class TScriptedWindowList final : public IWindowListDialog
{
public:
    std::function<bool(TWindowListForm&)> onShow;
    int shown = 0;
    bool ShowModal(TWindowListForm& form) override
    {
        ++shown;
        return onShow ? onShow(form) : false;
    }
};

} // namespace

TEST(WindowListForm, NothingHappensWithoutDocuments)
{
    TDocEnv env;
    TWindowListForm form;
    TScriptedWindowList dialog;
    EXPECT_FALSE(WindowList1Click(*env.set, form, dialog, env.settings));
    EXPECT_EQ(dialog.shown, 0);
}

TEST(WindowListForm, RowsCaptionAndMarksFollowTheDocuments)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "a");
    env.fs.SetFile("C:\\w\\b.bin", std::string("\0\1", 2));
    env.fs.SetFile("C:\\w\\ro.txt", "r");
    env.fs.SetReadOnly("C:\\w\\ro.txt", true);
    TEditFile& a = env.Open("C:\\w\\a.txt");
    env.Open("C:\\w\\b.bin", true);
    env.Open("C:\\w\\ro.txt");
    TWindowListForm form;
    form.Show(*env.set, env.settings.WindowListRect);
    EXPECT_EQ(form.Caption(), "Window List - 3 file(s)");
    ASSERT_EQ(form.RowCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(form.RowText(i), env.set->At(i).FileName());
    EXPECT_EQ(form.RowMark(env.set->IndexOf(&a)), giText);
    a.TextEditor()->ProcessCommand(ccTypedChar, 'x');
    EXPECT_EQ(form.RowMark(env.set->IndexOf(&a)), giModified);
    EXPECT_EQ(form.RowMark(env.set->IndexOf(env.set->FindByPath("C:\\w\\b.bin"))), giBinary);
    EXPECT_EQ(form.RowMark(env.set->IndexOf(env.set->FindByPath("C:\\w\\ro.txt"))), giReadOnlyText);
    EXPECT_EQ(form.RowMark(7), giText);
}

TEST(WindowListForm, OneDocumentCaptionAndChoices)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "a");
    env.fs.SetFile("C:\\w\\b.txt", "b");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    TWindowListForm form;
    form.Show(*env.set, {});
    EXPECT_EQ(form.Caption(), "Window List - 1 file(s)");

    TEditFile& b = env.Open("C:\\w\\b.txt");
    ASSERT_EQ(env.set->CurFile(), &b);
    TScriptedWindowList dialog;
    dialog.onShow = [](TWindowListForm& f) {
        f.Choose(-1); // Enter with no row selected
        return true;
    };
    EXPECT_FALSE(WindowList1Click(*env.set, form, dialog, env.settings));
    EXPECT_EQ(env.set->CurFile(), &b);

    const int index = env.set->IndexOf(&a);
    dialog.onShow = [index](TWindowListForm& f) {
        f.Choose(index);
        return false; // Escape: the choice does not count
    };
    EXPECT_FALSE(WindowList1Click(*env.set, form, dialog, env.settings));
    EXPECT_EQ(env.set->CurFile(), &b);

    dialog.onShow = [index](TWindowListForm& f) {
        f.Choose(index);
        return true;
    };
    EXPECT_TRUE(WindowList1Click(*env.set, form, dialog, env.settings));
    EXPECT_EQ(env.set->CurFile(), &a);
}

TEST(WindowListForm, BoundsAreRestoredFromWhatHideStored)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "a");
    env.Open("C:\\w\\a.txt");
    TWindowListForm form;
    TScriptedWindowList dialog;
    dialog.onShow = [&](TWindowListForm&) {
        TWindowListForm::Hide({ 10, 20, 300, 400 }, env.settings.WindowListRect);
        return false;
    };
    WindowList1Click(*env.set, form, dialog, env.settings);
    EXPECT_EQ(env.settings.WindowListRect, (TRect { 10, 20, 300, 400 }));
    form.Show(*env.set, env.settings.WindowListRect);
    EXPECT_EQ(form.Bounds(), (TRect { 10, 20, 300, 400 }));
}

} // namespace wexly::test
