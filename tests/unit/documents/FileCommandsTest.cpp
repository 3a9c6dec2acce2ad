#include "documents/FileCommands.h"

#include "editor/TextFit.h"
#include "platform/Windows1252.h"
#include "support/DocFakes.h"

#include <gtest/gtest.h>

namespace wexly::test {

namespace {

TSaveDialogResult SaveTo(const std::string& name)
{
    return { true, name, 2 };
}

void Modify(TEditFile& doc)
{
    doc.TextEditor()->ProcessCommand(ccTypedChar, '+');
}

const TMessage& Last(const TDocEnv& env)
{
    return env.asker.asked.back();
}

} // namespace

TEST(FileCommands, NewNamesUntitledDocumentsWithAGrowingCounter)
{
    TDocEnv env;
    EXPECT_EQ(env.commands->New()->FileName(), "untitled1.txt");
    env.commands->Close();
    TEditFile* second = env.commands->New();
    EXPECT_EQ(second->FileName(), "untitled2.txt");
    EXPECT_FALSE(second->Named());
    EXPECT_EQ(env.host.refreshes, 3);
}

TEST(FileCommands, SaveAsAppendsTxtOnlyWhenTheLastNamePartHasNoDot)
{
    EXPECT_EQ(WithDefaultExtension("C:\\w\\report"), "C:\\w\\report.txt");
    EXPECT_EQ(WithDefaultExtension("C:\\w\\report.old.txt"), "C:\\w\\report.old.txt");
    EXPECT_EQ(WithDefaultExtension("C:\\a.b\\report"), "C:\\a.b\\report.txt");
    EXPECT_EQ(WithDefaultExtension("C:\\w\\report."), "C:\\w\\report.");

    TDocEnv env;
    TEditFile& doc = *env.commands->New();
    Modify(doc);
    env.dialogs.saves = { SaveTo("C:\\w\\report") };
    env.commands->Save(); // untitled: Save As
    EXPECT_EQ(doc.FileName(), "C:\\w\\report.txt");
    EXPECT_TRUE(doc.Named());
    EXPECT_EQ(env.fs.Contents("C:\\w\\report.txt"), "+\r\n");
    EXPECT_EQ(env.settings.LastDir, "C:\\w\\");
    EXPECT_EQ(env.settings.DirHistory.front(), "C:\\w\\");
    EXPECT_EQ(env.settings.SaveFilterIndex, 2);
    EXPECT_EQ(env.dialogs.saveRequests[0].fileName, "untitled1.txt");
    EXPECT_TRUE(env.settings.FileHistory.empty()); // it had no name to remember
}

TEST(FileCommands, RenamingANamedDocumentRemembersItsOldName)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\old.txt", "a\r\nb\r\n");
    TEditFile& doc = env.Open("C:\\w\\old.txt");
    doc.SetCaret(2, 1);
    env.dialogs.saves = { SaveTo("C:\\w\\new.txt"), SaveTo("C:\\w\\NEW.TXT") };
    env.commands->SaveAs();
    ASSERT_EQ(env.settings.FileHistory.size(), 1u);
    EXPECT_EQ(env.settings.FileHistory[0], "00C:\\w\\old.txt|2|1");
    env.commands->SaveAs(); // the same name in other letters: nothing to remember
    EXPECT_EQ(env.settings.FileHistory.size(), 1u);
}

TEST(FileCommands, OpeningAnOpenFileOnlyHighlightsItsButton)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\a.txt", "");
    env.fs.SetFile("C:\\w\\b.txt", "");
    TEditFile& a = env.Open("C:\\w\\a.txt");
    TEditFile& b = env.Open("C:\\w\\b.txt");
    EXPECT_EQ(env.commands->OpenFile("c:\\W\\A.TXT", false, false), &a);
    EXPECT_EQ(env.set->CurFile(), &b);
    EXPECT_TRUE(a.Button().swapped);
    EXPECT_EQ(env.set->Count(), 2);
}

TEST(FileCommands, OpenRefusesALockedFileAndAsksAboutBinaryContent)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\locked.txt", "x");
    env.fs.Lock("C:\\w\\locked.txt");
    EXPECT_EQ(env.commands->OpenFile("C:\\w\\locked.txt", false, false), nullptr);
    EXPECT_EQ(Last(env).text, "Unable to open file\rPossible sharing conflict");
    EXPECT_EQ(Last(env).caption, "Error!");
    EXPECT_EQ(env.set->Count(), 0);

    env.settings.BinaryCheck = true;
    env.fs.SetFile("C:\\w\\u16.txt", std::string("h\0i\0", 4));
    env.asker.answers = { TMsgResult::Cancel, TMsgResult::No, TMsgResult::Yes };
    EXPECT_EQ(env.commands->OpenFile("C:\\w\\u16.txt", false, false), nullptr);
    EXPECT_EQ(Last(env).text, "This file may be binary\rOpen file in binary mode?");
    EXPECT_EQ(Last(env).caption, "C:\\w\\u16.txt");
    EXPECT_EQ(Last(env).buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(Last(env).icon, TMsgIcon::Question);
    TEditFile* asText = env.commands->OpenFile("C:\\w\\u16.txt", false, false);
    ASSERT_NE(asText, nullptr);
    EXPECT_FALSE(asText->Binary());
    env.commands->Close();
    TEditFile* asBinary = env.commands->OpenFile("C:\\w\\u16.txt", false, false);
    ASSERT_NE(asBinary, nullptr);
    EXPECT_TRUE(asBinary->Binary());
}

TEST(FileCommands, OpeningAFileTakesItOutOfTheHistoryIgnoringCase)
{
    TDocEnv env;
    env.settings.FileHistory = { "00C:\\W\\H.TXT|1|1", "10C:\\w\\other.bin|3|4" };
    env.fs.SetFile("C:\\w\\h.txt", "");
    env.Open("C:\\w\\h.txt");
    EXPECT_EQ(env.settings.FileHistory, (TStringList { "10C:\\w\\other.bin|3|4" }));
}

TEST(FileCommands, OpenFileSpecExpandsWildcardsAndReportsWhatIsMissing)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\one.txt", "1\r\n2\r\n3\r\n");
    env.fs.SetFile("C:\\w\\two.txt", "1\r\n2\r\n3\r\n");
    env.fs.SetFile("C:\\w\\three.log", "");
    TEditFile* first = env.commands->OpenFileSpec("C:\\w\\*.txt", { 2, 0, false }, false, false);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(env.set->Count(), 2);
    EXPECT_EQ(env.set->At(0).CaretLine(), 2);
    EXPECT_EQ(env.set->At(1).CaretLine(), 2);
    EXPECT_EQ(env.settings.LastDir, "C:\\w\\");

    EXPECT_EQ(env.commands->OpenFileSpec("C:\\nodir\\a.txt", {}, false, false), nullptr);
    EXPECT_EQ(Last(env).text, "Directory does not exist!");
    EXPECT_EQ(Last(env).caption, "Error");
    EXPECT_EQ(env.commands->OpenFileSpec("C:\\w\\*.doc", {}, false, false), nullptr);
    EXPECT_EQ(Last(env).text, "C:\\w\\*.doc");
    EXPECT_EQ(Last(env).caption, "File not found!");
    EXPECT_EQ(env.commands->OpenFileSpec("C:\\w\\new.bin", {}, true, false), nullptr);
    EXPECT_EQ(Last(env).caption, "File not found!");

    TEditFile* fresh = env.commands->OpenFileSpec("C:\\w\\fresh.txt", {}, false, false);
    ASSERT_NE(fresh, nullptr); // a new file under that name
    EXPECT_TRUE(fresh->Named());
    EXPECT_FALSE(env.fs.HasFile("C:\\w\\fresh.txt"));
    EXPECT_EQ(env.asker.asked.size(), 3u);
}

TEST(FileCommands, CommandLineOpensWithOptionsAndReportsTheCount)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\my file.dat", "data");
    env.fs.SetFile("C:\\w\\g.txt", "");
    std::string lines;
    for (int i = 0; i < 20; ++i)
        lines += "l\r\n";
    env.fs.SetFile("C:\\w\\a.txt", lines);
    env.fs.SetFile("C:\\w\\b.txt", lines);
    EXPECT_EQ(env.commands->OpenCommandLine("C:\\w\\", "/B \"my file.dat\" /N g.txt"), 2);
    EXPECT_TRUE(env.set->At(0).Binary());
    EXPECT_FALSE(env.set->At(1).Binary());
    EXPECT_EQ(env.host.statusMessages.back(), "2 File(s) opened... 2 Total");

    env.commands->OpenCommandLine("C:\\w\\", "/10 a.txt b.txt");
    EXPECT_EQ(env.set->FindByPath("C:\\w\\a.txt")->CaretLine(), 10);
    EXPECT_EQ(env.set->FindByPath("C:\\w\\b.txt")->CaretLine(), 1);
    env.commands->CloseAll();
    env.commands->OpenCommandLine("C:\\w\\", "/J5,3 a.txt");
    EXPECT_EQ(env.set->CurFile()->CaretLine(), 5);
    EXPECT_EQ(env.set->CurFile()->CaretColumn(), 3);
}

TEST(FileCommands, ReopenOptionTakesTheNewestHistoryEntriesAndPassesOverMissingOnes)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\x.txt", "");
    env.fs.SetFile("C:\\w\\y.bin", "yy");
    env.settings.FileHistory
        = { "10C:\\w\\gone.bin|1|1", "01C:\\w\\x.txt|1|1", "10C:\\w\\y.bin|1|1", "00C:\\w\\z|1|1" };
    env.commands->OpenCommandLine("C:\\w\\", "/P3");
    ASSERT_EQ(env.set->Count(), 2);
    EXPECT_TRUE(env.set->FindByPath("C:\\w\\x.txt")->ReadOnly());
    EXPECT_TRUE(env.set->FindByPath("C:\\w\\y.bin")->Binary());
    EXPECT_EQ(
        env.settings.FileHistory, (TStringList { "10C:\\w\\gone.bin|1|1", "00C:\\w\\z|1|1" }));
    EXPECT_EQ(env.asker.asked.size(), 1u); // gone.bin, once
}

TEST(FileCommands, SaveAllModifiedAsksEachFileAndStopsOnCancel)
{
    TDocEnv env;
    for (const char* n : { "C:\\w\\1.txt", "C:\\w\\2.txt", "C:\\w\\3.txt" }) {
        env.fs.SetFile(n, "t\r\n");
        Modify(env.Open(n));
    }
    env.set->Sort(TSortKey::Name);
    env.asker.answers = { TMsgResult::Yes, TMsgResult::Cancel };
    EXPECT_FALSE(env.commands->CloseAll());
    EXPECT_EQ(env.set->Count(), 3);
    EXPECT_EQ(env.fs.Contents("C:\\w\\1.txt"), "+t\r\n");
    EXPECT_EQ(env.fs.Contents("C:\\w\\2.txt"), "t\r\n");
    ASSERT_EQ(env.asker.asked.size(), 2u);
    EXPECT_EQ(env.asker.asked[1].text, "The file\n'2.txt'\nhas not been saved yet.  Save it now?");
    EXPECT_EQ(env.asker.asked[1].caption, "Save File");
    EXPECT_EQ(env.asker.asked[1].buttons, TMsgButtons::YesNoCancel);

    env.asker.answers = { TMsgResult::No, TMsgResult::Yes };
    EXPECT_TRUE(env.commands->CloseAll());
    EXPECT_TRUE(env.set->Empty());
    EXPECT_EQ(env.fs.Contents("C:\\w\\2.txt"), "t\r\n");
    EXPECT_EQ(env.fs.Contents("C:\\w\\3.txt"), "+t\r\n");
    EXPECT_EQ(env.settings.FileHistory.size(), 3u);
}

TEST(FileCommands, CloseAllKeepsAnUntitledDocumentWhoseSaveAsWasCancelled)
{
    TDocEnv env;
    Modify(*env.commands->New());
    env.asker.answers = { TMsgResult::Yes };
    EXPECT_FALSE(env.commands->CloseAll()); // no file chosen: nothing may be thrown away
    EXPECT_EQ(env.set->Count(), 1);
    env.commands->SaveAll(); // without asking: the cancelled dialog just leaves it
    EXPECT_EQ(env.set->Count(), 1);
}

TEST(FileCommands, CloseAsksToSaveAndKeepsTheDocumentWhenTheSaveDoesNotHappen)
{
    TDocEnv env;
    TEditFile& doc = *env.commands->New();
    Modify(doc);
    env.asker.answers = { TMsgResult::Cancel, TMsgResult::Yes };
    env.commands->Close();
    EXPECT_EQ(Last(env).text, "Save changes to file?");
    EXPECT_EQ(Last(env).caption, "Attention!");
    EXPECT_EQ(Last(env).buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(Last(env).icon, TMsgIcon::Question);
    EXPECT_EQ(env.set->Count(), 1);
    env.commands->Close(); // Yes, then the Save As dialog is cancelled
    EXPECT_EQ(env.set->Count(), 1);
    env.asker.answers = { TMsgResult::No };
    env.commands->Close();
    EXPECT_TRUE(env.set->Empty());
}

TEST(FileCommands, CloseAndDeleteRecyclesNamedFilesOnlyAfterConfirmation)
{
    TDocEnv env;
    env.commands->New();
    Modify(*env.set->CurFile());
    env.asker.answers = { TMsgResult::Yes };
    env.commands->CloseAndDelete(); // untitled: nothing deleted, no save question
    EXPECT_TRUE(env.set->Empty());
    EXPECT_TRUE(env.host.recycled.empty());
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(env.asker.asked[0].text, "Are you sure you want to\ndelete the file from disk?");
    EXPECT_EQ(env.asker.asked[0].caption, "Alert!");
    EXPECT_EQ(env.asker.asked[0].defaultButton, 2);

    env.fs.SetFile("C:\\w\\del.txt", "");
    env.Open("C:\\w\\del.txt");
    env.asker.answers = { TMsgResult::No };
    env.commands->CloseAndDelete();
    EXPECT_EQ(env.set->Count(), 1);
    env.asker.answers = { TMsgResult::Yes };
    env.commands->CloseAndDelete();
    EXPECT_EQ(env.host.recycled, (std::vector<std::string> { "C:\\w\\del.txt" }));
    EXPECT_TRUE(env.settings.FileHistory.empty());
}

TEST(FileCommands, RevertAsksWithCancelAsDefaultAndReloads)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\rv.txt", "saved\r\n");
    TEditFile& doc = env.Open("C:\\w\\rv.txt");
    Modify(doc);
    env.asker.answers = { TMsgResult::Cancel, TMsgResult::Ok };
    env.commands->Revert();
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "+saved");
    EXPECT_EQ(
        Last(env).text, "This operation will erase all changes\rsince the file was last saved!");
    EXPECT_EQ(Last(env).buttons, TMsgButtons::OkCancel);
    EXPECT_EQ(Last(env).defaultButton, 2);
    env.commands->Revert();
    EXPECT_EQ(doc.TextEditor()->GetPara(1), "saved");
    EXPECT_FALSE(doc.IsModified());
}

TEST(FileCommands, OpenDialogOpensFromLastToFirstAndRemembersTheDirectory)
{
    TDocEnv env;
    env.fs.SetFile("C:\\d\\1.txt", "");
    env.fs.SetFile("C:\\d\\2.txt", "");
    env.dialogs.opens = { { true, { "C:\\d\\1.txt", "C:\\d\\2.txt" }, false, true, 3, "" },
        { false, {}, false, false, 1, "C:\\find\\" } };
    env.commands->OpenDialog(false);
    EXPECT_EQ(env.Names(), (std::vector<std::string> { "2.txt", "1.txt" }));
    EXPECT_TRUE(env.set->At(0).ReadOnly());
    EXPECT_EQ(env.host.statusMessages.back(), "2 File(s) opened... 2 Total");
    EXPECT_EQ(env.settings.LastDir, "C:\\d\\");
    EXPECT_EQ(env.settings.OpenFilterIndex, 3);
    env.commands->OpenDialog(true);
    EXPECT_EQ(env.host.findInFiles, (std::vector<std::string> { "C:\\find\\*.*" }));
    EXPECT_EQ(env.settings.OpenFilterIndex, 1);
}

TEST(FileCommands, ExpandFileNameResolvesRelativeNamesAndDots)
{
    EXPECT_EQ(ExpandFileName("a.txt", "C:\\w\\"), "C:\\w\\a.txt");
    EXPECT_EQ(ExpandFileName("..\\x\\.\\a.txt", "C:\\w\\"), "C:\\x\\a.txt");
    EXPECT_EQ(ExpandFileName("\\t.txt", "D:\\w\\"), "D:\\t.txt");
    EXPECT_EQ(ExpandFileName("\\\\srv\\share\\..\\a", "C:\\"), "\\\\srv\\share\\a");
    EXPECT_EQ(ExpandFileName("", "C:\\"), "");
}

TEST(FileCommands, FavouritesAddedInTheDialogsReachTheSettingsEvenWhenCancelled)
{
    TDocEnv env;
    env.settings.DirFavourites = { "C:\\old\\" };
    TOpenDialogResult cancelled;
    cancelled.favouritesChanged = true;
    cancelled.favouriteDirs = { "C:\\new\\", "C:\\old\\" };
    env.dialogs.opens = { cancelled, TOpenDialogResult {} };
    env.commands->OpenDialog(false);
    EXPECT_EQ(env.settings.DirFavourites, (std::vector<std::string> { "C:\\new\\", "C:\\old\\" }));
    env.commands->OpenDialog(false); // nothing added: the list stays
    EXPECT_EQ(env.settings.DirFavourites.size(), 2u);

    env.commands->New();
    TSaveDialogResult save;
    save.favouritesChanged = true;
    save.favouriteDirs = { "D:\\s\\" };
    env.dialogs.saves = { save };
    env.commands->SaveAs();
    EXPECT_EQ(env.settings.DirFavourites, (std::vector<std::string> { "D:\\s\\" }));
}

TEST(FileCommands, ConvertibleUtf8AndUtf16FilesOpenAsTextWithoutTheBinaryQuestion)
{
    TUnicodeEnv env;
    env.fs.SetFile("C:\\w\\u8.txt", "\xC3\xA9t\xC3\xA9\r\n");
    env.fs.SetFile("C:\\w\\u16.txt", std::string("\xFF\xFE\xE9\0t\0\xE9\0", 8));
    EXPECT_EQ(env.commands->OpenCommandLine("C:\\w\\", "u8.txt u16.txt"), 2);
    EXPECT_TRUE(env.asker.asked.empty());
    EXPECT_EQ(env.host.statusMessages.back(), FilesOpenedMessage(2, 2));
    TEditFile& u8 = env.set->At(0);
    TEditFile& u16 = env.set->At(1);
    EXPECT_EQ(u8.Encoding(), TTextEncoding::Utf8);
    EXPECT_EQ(u16.Encoding(), TTextEncoding::Utf16Le);
    EXPECT_EQ(u16.TextEditor()->Buffer().ParaText(1), "\xE9t\xE9");
    Modify(u8);
    env.commands->SaveDocument(u8);
    EXPECT_EQ(env.fs.Contents("C:\\w\\u8.txt"), "+\xC3\xA9t\xC3\xA9\r\n");
}

TEST(FileCommands, AUnicodeFileThatStaysBytesIsAskedAboutAsBeforeAndNamedInTheStatusLine)
{
    TUnicodeEnv env;
    env.fs.SetFile("C:\\w\\greek.txt", std::string("\xFF\xFE\xB1\x03", 4));
    env.asker.answers = { TMsgResult::No, TMsgResult::Yes };
    env.commands->OpenCommandLine("C:\\w\\", "greek.txt");
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(Last(env).text, "This file may be binary\rOpen file in binary mode?");
    EXPECT_EQ(env.set->At(0).Encoding(), TTextEncoding::Ansi);
    EXPECT_EQ(env.host.statusMessages.back(),
        FilesOpenedMessage(1, 1)
            + "   greek.txt: UTF-16: some characters cannot be shown; opened as bytes");
    env.commands->Close();
    env.commands->OpenCommandLine("C:\\w\\", "greek.txt");
    EXPECT_TRUE(env.set->At(0).Binary());
    EXPECT_EQ(env.host.statusMessages.back(),
        FilesOpenedMessage(1, 1)
            + "   greek.txt: UTF-16: some characters cannot be shown; opened as binary");

    // Missing characters inside the file only: no question, the note all the same.
    env.fs.SetFile(
        "C:\\w\\inside.txt", "a first line of text\r\n\xCE\xB1\r\nand the last line\r\n");
    env.commands->OpenCommandLine("C:\\w\\", "inside.txt");
    EXPECT_EQ(env.asker.asked.size(), 2u);
    EXPECT_EQ(env.host.statusMessages.back(),
        FilesOpenedMessage(1, 2)
            + "   inside.txt: UTF-8: some characters cannot be shown; opened as bytes");

    // UTF-8 whose first bytes are not in the code page: the question as for any such file.
    env.fs.SetFile("C:\\w\\alpha.txt", "\xCE\xB1 alpha\r\n");
    env.asker.answers = { TMsgResult::No };
    env.commands->OpenCommandLine("C:\\w\\", "alpha.txt");
    EXPECT_EQ(env.asker.asked.size(), 3u);
    TEditFile& alpha = *env.set->CurFile();
    EXPECT_EQ(alpha.TextEditor()->Buffer().ParaText(1), "\xCE\xB1 alpha");
    EXPECT_EQ(alpha.LoadNote(), "UTF-8: some characters cannot be shown");
    Modify(alpha);
    env.commands->SaveDocument(alpha);
    EXPECT_EQ(env.fs.Contents("C:\\w\\alpha.txt"), "+\xCE\xB1 alpha\r\n");
}

TEST(FileCommands, WithTheConversionOffUnicodeFilesOpenAsBefore)
{
    TUnicodeEnv env;
    env.settings.ConvertUnicode = false;
    env.fs.SetFile("C:\\w\\u8.txt", "\xC3\xA9t\xC3\xA9\r\n");
    env.asker.answers = { TMsgResult::No };
    TEditFile& doc = env.Open("C:\\w\\u8.txt");
    EXPECT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(doc.Encoding(), TTextEncoding::Ansi);
    // Asked for binary: no conversion either.
    env.settings.ConvertUnicode = true;
    env.fs.SetFile("C:\\w\\b.txt", "\xC3\xA9\r\n");
    EXPECT_TRUE(env.Open("C:\\w\\b.txt", true).Binary());
}

// ---- files too large to edit as text -----------------------------------------------------

namespace {

std::string ManyLines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "line " + std::to_string(i) + " of a file too large for the memory left\r\n";
    return text;
}

} // namespace

TEST(FileCommands, AFileJudgedTooLargeBeforeReadingIsOfferedToTheHexViewer)
{
    TDocEnv env;
    const std::string text = ManyLines(2000);
    env.fs.SetFile("C:\\w\\big.txt", text);
    // Less address space left than the text would take beside the reserve.
    env.services.freeAddressSpace = [] { return kTextMemoryReserve + 50000; };
    env.asker.answers = { TMsgResult::No };
    const int created = env.windows.created;
    EXPECT_EQ(env.commands->OpenFile("C:\\w\\big.txt", false, false), nullptr);
    ASSERT_EQ(env.asker.asked.size(), 1u);
    const TMessage& offer = Last(env);
    EXPECT_EQ(offer.text, TooLargeForTextMessage(static_cast<int64_t>(text.size())));
    EXPECT_EQ(offer.caption, "C:\\w\\big.txt");
    EXPECT_EQ(offer.buttons, TMsgButtons::YesNo);
    // Not read at all: no document was begun.
    EXPECT_EQ(env.windows.created, created);
    EXPECT_EQ(env.set->Count(), 0);

    env.asker.answers = { TMsgResult::Yes };
    TEditFile* doc = env.commands->OpenFile("C:\\w\\big.txt", true, false);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->Binary());
    EXPECT_TRUE(doc->ReadOnly()); // what was asked for the text holds for the viewer
    EXPECT_EQ(doc->BinViewer()->FileSize(), static_cast<int64_t>(text.size()));
    EXPECT_EQ(env.set->Count(), 1);

    // With room enough, or asked for binary, nothing is asked.
    env.fs.SetFile("C:\\w\\other.txt", text);
    env.asker.asked.clear();
    env.services.freeAddressSpace = [] { return int64_t { 3 } << 30; };
    EXPECT_FALSE(env.Open("C:\\w\\other.txt").Binary());
    env.services.freeAddressSpace = [] { return int64_t { 0 }; };
    env.fs.SetFile("C:\\w\\third.txt", text);
    EXPECT_TRUE(env.Open("C:\\w\\third.txt", true).Binary());
    EXPECT_TRUE(env.asker.asked.empty());
}

TEST(FileCommands, ALongLoadTellsTheWindowHowFarItHasCome)
{
    TDocEnv env;
    const std::string text = ManyLines(150000); // some megabytes: a few reports
    env.fs.SetFile("C:\\w\\long.txt", text);
    std::vector<std::pair<std::string, int64_t>> reports;
    env.services.loadProgress = [&](const std::string& name, int64_t done, int64_t total) {
        EXPECT_EQ(total, static_cast<int64_t>(text.size()));
        reports.emplace_back(name, done);
    };
    TEditFile& doc = env.Open("C:\\w\\long.txt");
    ASSERT_GE(reports.size(), 2u);
    EXPECT_EQ(reports.front().first, "long.txt");
    EXPECT_EQ(reports.back().second, static_cast<int64_t>(text.size()));
    // A reload reads the file again, and says so again.
    reports.clear();
    doc.Reload();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().second, static_cast<int64_t>(text.size()));
    // A load that fails half-way still ends its reports: no figure of it stays on the screen.
    env.fs.SetFile("C:\\w\\cut.txt", text);
    env.fs.FailAllocationWhileReading("C:\\w\\cut.txt", 6 << 20);
    env.asker.answers = { TMsgResult::No };
    reports.clear();
    EXPECT_EQ(env.commands->OpenFile("C:\\w\\cut.txt", false, false), nullptr);
    ASSERT_GE(reports.size(), 2u);
    EXPECT_LT(reports[reports.size() - 2].second, static_cast<int64_t>(text.size()));
    EXPECT_EQ(reports.back().second, static_cast<int64_t>(text.size()));
}

TEST(FileCommands, MemoryRunningOutWhileLoadingGivesTheSameOfferAndNoHalfDocument)
{
    TDocEnv env;
    const std::string text = ManyLines(20000);
    env.fs.SetFile("C:\\w\\big.txt", text);
    env.fs.FailAllocationWhileReading("C:\\w\\big.txt", 300000);
    env.asker.answers = { TMsgResult::No };
    EXPECT_EQ(env.commands->OpenFile("C:\\w\\big.txt", false, false), nullptr);
    // The offer, not the general error: the user learns why and what can be done.
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(Last(env).text, TooLargeForTextMessage(static_cast<int64_t>(text.size())));
    EXPECT_EQ(env.set->Count(), 0);
    EXPECT_EQ(env.windows.destroyed.size(), 1u); // the half-made document went away
    EXPECT_EQ(env.fs.Contents("C:\\w\\big.txt"), text);
    EXPECT_TRUE(env.settings.FileHistory.empty());

    env.asker.answers = { TMsgResult::Yes };
    TEditFile* doc = env.commands->OpenFile("C:\\w\\big.txt", false, false);
    ASSERT_NE(doc, nullptr);
    EXPECT_TRUE(doc->Binary());
    EXPECT_TRUE(doc->BinViewer()->IsOpen());
    doc->CheckInvariants();
    EXPECT_EQ(env.fs.Contents("C:\\w\\big.txt"), text);
}

TEST(FileCommands, AFailedReloadLeavesAnEmptyTextThatCannotBeSavedOverTheFile)
{
    TDocEnv env;
    const std::string text = ManyLines(20000);
    env.fs.SetFile("C:\\w\\grows.txt", "small\r\n");
    TEditFile& doc = env.Open("C:\\w\\grows.txt");
    env.fs.SetFile("C:\\w\\grows.txt", text);
    env.fs.FailAllocationWhileReading("C:\\w\\grows.txt", 300000);
    env.asker.asked.clear();
    doc.Reload();
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(Last(env).text, TooLargeToReloadMessage(false));
    EXPECT_TRUE(doc.ReadOnly());
    env.commands->Save();
    EXPECT_EQ(env.fs.Contents("C:\\w\\grows.txt"), text);
    doc.CheckInvariants();
}

TEST(FileCommands, AFailedSaveSaysWhichFileWhyAndThatNothingWasLost)
{
    TDocEnv env;
    env.fs.SetFile("C:\\w\\held.txt", "old\r\n");
    TEditFile& doc = env.Open("C:\\w\\held.txt");
    Modify(doc);
    env.fs.Lock("C:\\w\\held.txt"); // another program holds it without sharing
    env.commands->Save();
    ASSERT_EQ(env.asker.asked.size(), 1u);
    EXPECT_EQ(Last(env).caption, "Error");
    EXPECT_EQ(Last(env).text,
        "Viewer triggered I/O error 32\rC:\\w\\held.txt was not saved: The process cannot "
        "access the file because it is being used by another process.\rThe file was left as it "
        "was; the document keeps its changes.");
    EXPECT_EQ(env.fs.Contents("C:\\w\\held.txt"), "old\r\n");
    EXPECT_TRUE(doc.IsModified());
}

} // namespace wexly::test
