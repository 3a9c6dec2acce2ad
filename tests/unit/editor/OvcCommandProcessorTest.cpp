#include "editor/OvcCommandProcessor.h"
#include "editor/DefaultCommandTables.h"

#include <gtest/gtest.h>

namespace wexly::test {

TEST(OvcCommandTable, DefaultHasItsBindingsAndMainWindowChangesReplaceOrAdd)
{
    TOvcCommandTable table = DefaultCommandTable();
    EXPECT_EQ(table.Count(), 64u);
    EXPECT_EQ(table.Name(), "Default");
    const TOvcCmdRec ctrlTab { vk::Tab, ssCtrl, 0, 0, ccNone };
    ASSERT_GE(table.IndexOfKeys(ctrlTab), 0);
    EXPECT_EQ(table[static_cast<size_t>(table.IndexOfKeys(ctrlTab))].Command, ccTab);

    ApplyMainWindowBindings(table);
    // Ctrl+Tab replaced in place; the other nine are new.
    EXPECT_EQ(table.Count(), 73u);
    EXPECT_EQ(table[static_cast<size_t>(table.IndexOfKeys(ctrlTab))].Command, 257);
}

TEST(OvcCommandTable, DuplicateKeysAreRefusedAndCommandZeroDeletes)
{
    TOvcCommandTable table;
    EXPECT_EQ(table.Name(), "(Unknown)");
    table.AddCommand('Q', ssCtrl, 'Y', 0, ccDelEol);
    table.AddCommand('Q', ssCtrl, 'Y', ssCtrl, ccDelLine); // differs in the second shift
    try {
        table.AddCommand('Q', ssCtrl, 'Y', 0, ccUndo);
        FAIL() << "duplicate accepted";
    } catch (const TCommandTableError& e) {
        EXPECT_STREQ(e.what(), "Duplicate command found while adding a new command to the table");
    }
    table.ApplyChange({ 'Q', ssCtrl, 'Y', 0, ccNone });
    EXPECT_EQ(table.Count(), 1u);
    EXPECT_EQ(table[0].Command, ccDelLine);
}

TEST(OvcCommandTable, StoredFormRoundTripsWithFirstKeyInLowestByte)
{
    TOvcCmdRec rec { 0x51, ssCtrl, 0x59, ssCtrlOrNone, 300 };
    EXPECT_EQ(rec.PackedKeys(), 0x80590451u);
    TOvcCommandTable table("T");
    table.AddCommandRec(rec);
    table.AddCommand(vk::F7, 0, 0, 0, 256);
    TOvcCommandTable copy("T");
    copy.Load(table.Save());
    ASSERT_EQ(copy.Count(), 2u);
    EXPECT_TRUE(copy[0].SameKeys(rec));
    EXPECT_EQ(copy[0].Command, 300);
    EXPECT_EQ(copy[1].Command, 256);
}

TEST(OvcCommandProcessor, ProgramKeysGiveTheirCommands)
{
    TOvcCommandProcessor p = CreateProgramCommandProcessor();
    EXPECT_EQ(p.TranslateKey(vk::Tab, ssCtrl), 257); // not a tab
    EXPECT_EQ(p.TranslateKey(vk::Tab, ssCtrl | ssShift), 256);
    EXPECT_EQ(p.TranslateKey(vk::Tab, 0), ccTab);
    EXPECT_EQ(p.TranslateKey(vk::Up, ssCtrl), 259);
    EXPECT_EQ(p.TranslateKey(vk::Down, ssAlt), 262);
    EXPECT_EQ(p.TranslateKey(vk::OemCloseBracket, ssCtrl), 258);
    EXPECT_EQ(p.TranslateKey(vk::Letter('Z'), ssCtrl | ssShift), ccRedo);
    EXPECT_EQ(p.TranslateKey(vk::Return, 0), ccNoCommand); // the editor handles plain Enter
    EXPECT_EQ(p.TranslateKey(vk::Return, ssCtrl), ccNewLine);

    // Bookmarks: the command, with the digit's code as the character argument.
    TTranslatedKey set3 = p.Translate('3', ssCtrl | ssShift);
    EXPECT_EQ(set3.command, ccSetMarker0 + 3);
    EXPECT_EQ(set3.ch, '3');
    EXPECT_EQ(p.Translate('3', ssCtrl).command, ccGotoMarker0 + 3);
}

TEST(OvcCommandProcessor, LoneModifiersAndSystemKeys)
{
    TOvcCommandProcessor p = CreateProgramCommandProcessor();
    EXPECT_EQ(p.TranslateKey(vk::Control, ssCtrl), ccNoCommand);
    EXPECT_EQ(p.GetState(), TOvcCommandProcessor::psIdle);
    // With Alt held the key arrives as a system key and gets the Alt bit.
    EXPECT_EQ(p.Translate(vk::Up, 0, true).command, 261);
    EXPECT_EQ(p.Translate(vk::Back, 0, true).command, ccRestore);
    EXPECT_EQ(p.Translate(vk::Tab, 0, true).command, ccNoCommand);
    // Inactive tables are never consulted.
    p.GetCommandTable("WordStar").AddCommand(vk::F1, 0, 0, 0, ccUndo);
    EXPECT_EQ(p.TranslateKey(vk::F1, 0), ccNoCommand);
    EXPECT_EQ(p.TranslateKeyUsing({ "wordstar" }, vk::F1, 0), ccUndo);
}

TEST(OvcCommandProcessor, TwoKeySequencesAndLiteralNextKey)
{
    TOvcCommandProcessor p;
    TOvcCommandTable& t = p.CreateCommandTable("Keys", true);
    t.AddCommand('Q', ssCtrl, 'Y', ssCtrlOrNone, ccDelEol);
    t.AddCommand('Q', ssCtrl, 'B', ssShift, ccFirstPage);
    t.AddCommand('P', ssCtrl, 0, 0, ccCtrlChar);
    t.AddCommand('A', 0, 0, 0, ccLeft);

    EXPECT_EQ(p.TranslateKey('Q', ssCtrl), ccPartialKey);
    EXPECT_EQ(p.TranslateKey(vk::Control, ssCtrl), ccPartialKey); // still pending
    EXPECT_EQ(p.TranslateKey('Y', ssCtrl), ccDelEol); // 128 accepts Ctrl
    EXPECT_EQ(p.TranslateKey('Q', ssCtrl), ccPartialKey);
    EXPECT_EQ(p.TranslateKey('Y', 0), ccDelEol); // ... and plain
    EXPECT_EQ(p.TranslateKey('Q', ssCtrl), ccPartialKey);
    EXPECT_EQ(p.TranslateKey('Y', ssShift), ccUnknownSecondKey); // but not Shift
    EXPECT_EQ(p.GetState(), TOvcCommandProcessor::psIdle);
    EXPECT_EQ(p.TranslateKey('Q', ssCtrl), ccPartialKey);
    EXPECT_EQ(p.TranslateKey('B', ssShift), ccFirstPage);

    EXPECT_EQ(p.TranslateKey('P', ssCtrl), ccCtrlChar);
    EXPECT_EQ(p.TranslateKey(vk::Shift, ssShift), ccNoCommand); // modifier keeps the state
    EXPECT_EQ(p.TranslateKey('A', 0), ccNoCommand); // taken literally
    EXPECT_EQ(p.TranslateKey('A', 0), ccLeft);
}

TEST(OvcCommandProcessor, UnknownTableNamesAreErrors)
{
    TOvcCommandProcessor p = CreateProgramCommandProcessor();
    EXPECT_THROW(p.GetCommandTable("Nope"), TCommandTableError);
    EXPECT_THROW(p.TranslateKeyUsing({ "Nope" }, 'A', 0), TCommandTableError);
    try {
        p.DeleteCommandTable("Nope");
        FAIL();
    } catch (const TCommandTableError& e) {
        EXPECT_STREQ(e.what(), "Command table not found or command table index out of range");
    }
    p.DeleteCommandTable("grid");
    EXPECT_EQ(p.TableCount(), 2u);
}

} // namespace wexly::test
