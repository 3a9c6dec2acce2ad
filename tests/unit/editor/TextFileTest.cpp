#include "editor/TextFile.h"

#include "editor/OvcParaList.h"
#include "platform/Windows1252.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace wexly::test {
namespace {

using namespace std::string_literals;

namespace stdfs = std::filesystem;

const TCharSet& FileEditorDelimiters()
{
    static const TCharSet set("\t\r\n ,./?;:\"<>[]{}-=\\+|()%@&^$!~*");
    return set;
}

// A fresh folder per test, removed afterwards.
class TempDir
{
public:
    TempDir()
    {
        static int serial = 0;
        m_path = stdfs::path(::testing::TempDir())
            / ("wexly_textfile_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
        stdfs::remove_all(m_path);
        stdfs::create_directories(m_path);
    }
    ~TempDir() { stdfs::remove_all(m_path); }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    const stdfs::path& Path() const { return m_path; }

private:
    stdfs::path m_path;
};

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Paras(const TOvcParaList& list)
{
    std::vector<std::string> out;
    for (int32_t p = 1; p <= list.ParaCount(); ++p)
        out.emplace_back(list.ParaText(p));
    return out;
}

using Lines = std::vector<std::string>;

TLoadResult Load(TOvcParaList& list, const std::string& bytes, const TempDir& dir)
{
    std::string path = dir.File("in.txt");
    WriteFile(path, bytes);
    return LoadTextFile(list, RealFileSystem(), path, true);
}

// Real files, except that writes to the temporary file or renames can be made to fail.
class TFaultyFileSystem final : public IFileSystem
{
public:
    bool failTempWrites = false;
    bool failRenames = false;
    std::string lastTemp;

    std::unique_ptr<IFile> Open(const std::string& path, TFileAccess access, TFileShare share,
        TFileCreate create, TFileError* error) override
    {
        auto file = m_real.Open(path, access, share, create, error);
        if (file && failTempWrites && path == lastTemp)
            return std::make_unique<TFullFile>(std::move(file));
        return file;
    }
    bool Exists(const std::string& p) override { return m_real.Exists(p); }
    bool IsDirectory(const std::string& p) override { return m_real.IsDirectory(p); }
    bool Delete(const std::string& p, TFileError* e) override { return m_real.Delete(p, e); }
    bool Rename(const std::string& a, const std::string& b, bool replace, TFileError* e) override
    {
        if (failRenames && a == lastTemp) {
            if (e)
                *e = { FileErrorCode::AccessDenied, a };
            return false;
        }
        return m_real.Rename(a, b, replace, e);
    }
    bool Copy(const std::string& a, const std::string& b, TFileError* e) override
    {
        return m_real.Copy(a, b, e);
    }
    bool GetWriteTime(const std::string& p, TFileTime* t) override
    {
        return m_real.GetWriteTime(p, t);
    }
    bool IsReadOnly(const std::string& p) override { return m_real.IsReadOnly(p); }
    bool SetReadOnly(const std::string& p, bool r) override { return m_real.SetReadOnly(p, r); }
    std::vector<TDirEntry> List(const std::string& d, const std::string& m) override
    {
        return m_real.List(d, m);
    }
    std::string TempNameIn(const std::string& d) override
    {
        return lastTemp = m_real.TempNameIn(d);
    }

private:
    // A device that is full after the first few bytes, like /dev/full.
    class TFullFile final : public IFile
    {
    public:
        explicit TFullFile(std::unique_ptr<IFile> f)
            : m_f(std::move(f))
        {
        }
        int64_t Read(void* b, int64_t n) override { return m_f->Read(b, n); }
        bool Write(const void* b, int64_t n) override
        {
            m_f->Write(b, std::min<int64_t>(n, 3));
            return false;
        }
        bool Seek(int64_t o) override { return m_f->Seek(o); }
        int64_t Position() const override { return m_f->Position(); }
        int64_t Size() const override { return m_f->Size(); }
        bool Truncate() override { return m_f->Truncate(); }
        bool Flush() override { return m_f->Flush(); }
        uint32_t LastError() const override { return FileErrorCode::DiskFull; }

    private:
        std::unique_ptr<IFile> m_f;
    };

    IFileSystem& m_real = RealFileSystem();
};

size_t TempFilesIn(const TempDir& dir)
{
    return RealFileSystem().List(dir.Path().string(), "*.tmp").size();
}

} // namespace

TEST(TextFile, LoadsEveryLineEndAndSavesCrLf)
{
    TempDir dir;
    TOvcParaList list;
    TLoadResult r = Load(list, "a\rb\nc\r\nd", dir);
    EXPECT_TRUE(r.opened);
    EXPECT_FALSE(r.linesSplit);
    EXPECT_EQ(Paras(list), (Lines { "a", "b", "c", "d", "" }));
    EXPECT_FALSE(list.Modified());
    EXPECT_FALSE(list.CanUndo());
    EXPECT_EQ(TextFileBytes(list), "a\r\nb\r\nc\r\nd\r\n");

    Load(list, "a\n\rb", dir);
    EXPECT_EQ(Paras(list), (Lines { "a", "", "b", "" }));
    Load(list, "", dir);
    EXPECT_EQ(Paras(list), (Lines { "" }));
    EXPECT_EQ(TextFileBytes(list), "");
    Load(list, "x\0y\nend   \n\tz\t \n"s, dir);
    EXPECT_EQ(Paras(list), (Lines { "x", "end", "\tz", "" }));
}

TEST(TextFile, ControlBytesOneToEightAreSavedAsSpaces)
{
    TempDir dir;
    TOvcParaList list;
    Load(list,
        "a\x07"
        "b\tc\x01\x08\x09\x0B"
        "d\n",
        dir);
    EXPECT_EQ(TextFileBytes(list),
        "a b\tc  \t\x0B"
        "d\r\n");
}

TEST(TextFile, RoundTripsRandomLineEndMixes)
{
    TempDir dir;
    std::mt19937 rng(7);
    const char* ends[] = { "\r", "\n", "\r\n", "\n\r" };
    for (int round = 0; round < 30; ++round) {
        std::string bytes;
        Lines expected;
        int lines = std::uniform_int_distribution<int>(0, 60)(rng);
        for (int i = 0; i < lines; ++i) {
            std::string line;
            int n = std::uniform_int_distribution<int>(0, 12)(rng);
            for (int k = 0; k < n; ++k)
                line += "ab \t\xE9z"[std::uniform_int_distribution<int>(0, 5)(rng)];
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                line.pop_back();
            const char* end = ends[std::uniform_int_distribution<int>(0, 3)(rng)];
            bytes += line + end;
        }
        if (std::uniform_int_distribution<int>(0, 1)(rng))
            bytes += "last";
        // Split by hand: CR LF is one line end, LF CR two.
        std::string current;
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\r' || bytes[i] == '\n') {
                expected.push_back(current);
                current.clear();
                if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                    ++i;
            } else {
                current += bytes[i];
            }
        }
        if (!current.empty())
            expected.push_back(current);
        TOvcParaList list;
        Load(list, bytes, dir);
        std::string want;
        for (const auto& l : expected)
            want += l + "\r\n";
        std::string out = dir.File("out.txt");
        SaveTextFile(list, RealFileSystem(), out, false);
        ASSERT_EQ(ReadFile(out), want) << "round " << round;
        // Saved text loads back to the same paragraphs.
        TOvcParaList again;
        LoadTextFile(again, RealFileSystem(), out, true);
        ASSERT_EQ(Paras(again), Paras(list));
    }
}

TEST(TextFile, OverLongLinesAreSplitAndTheSplitIsReported)
{
    TempDir dir;
    TOvcParaList list;
    TLoadResult r = Load(list, std::string(40000, 'x') + "\r\nnext", dir);
    EXPECT_TRUE(r.linesSplit);
    EXPECT_EQ(list.ParaCount(), 4);
    EXPECT_EQ(list.ParaLength(1), 32767);
    EXPECT_EQ(list.ParaLength(2), 7233);
    EXPECT_EQ(list.ParaText(3), "next");

    // A blank beyond the reader's first piece still decides where the split falls.
    std::string line = std::string(32766, 'a') + " " + std::string(100, 'b');
    r = Load(list, line, dir);
    EXPECT_TRUE(r.linesSplit);
    EXPECT_EQ(list.ParaLength(1), 32766); // the blank went with the trim
    EXPECT_EQ(list.ParaText(2), std::string(100, 'b'));

    r = Load(list, std::string(32767, 'a') + "\n", dir);
    EXPECT_FALSE(r.linesSplit);
    EXPECT_EQ(list.ParaCount(), 2);
}

TEST(TextFile, LimitErrorStopsTheLoadAndClearsTheText)
{
    TempDir dir;
    TOvcParaList list;
    list.SetParaLimit(3);
    try {
        Load(list, "1\n2\n3\n4\n5\n", dir);
        FAIL() << "no error";
    } catch (const ELoadLimitError& e) {
        EXPECT_EQ(e.Code(), 265);
        EXPECT_STREQ(
            e.what(), "Current operation will exceed the maximum number of allowed paragraphs");
    }
    EXPECT_EQ(Paras(list), (Lines { "" }));
    EXPECT_STREQ(LoadLimitMessage(999), "insufficient memory for requested operation");
}

// The window shows how far a long load has come: reports come every few megabytes, never pass
// the file's size and end at it, also when a file that did not convert is read a second time.
TEST(TextFile, LoadReportsHowFarItHasComeUpToTheWholeFile)
{
    TempDir dir;
    std::string bytes;
    while (bytes.size() < (10u << 20))
        bytes += "a line of plain text for the progress report\r\n";
    const std::string plain = dir.File("plain.txt");
    WriteFile(plain, bytes);
    // UTF-8 with a character Windows-1252 lacks near the end: decoded, then read again as bytes.
    const std::string late = dir.File("late.txt");
    WriteFile(late, "caf\xC3\xA9\r\n" + bytes + "\xCE\xB1\r\n");
    TWindows1252CodePage cp;
    for (const auto& [path, codePage] :
        { std::pair { plain, static_cast<ICodePage*>(nullptr) }, std::pair { late, static_cast<ICodePage*>(&cp) } }) {
        std::vector<std::pair<int64_t, int64_t>> reports;
        TOvcParaList list;
        LoadTextFile(list, RealFileSystem(), path, true, codePage,
            [&](int64_t done, int64_t total) { reports.emplace_back(done, total); });
        const auto size = static_cast<int64_t>(stdfs::file_size(path));
        ASSERT_GE(reports.size(), 2u) << path;
        int restarts = 0;
        for (size_t i = 0; i < reports.size(); ++i) {
            EXPECT_EQ(reports[i].second, size);
            EXPECT_LE(reports[i].first, size);
            if (i > 0 && reports[i].first < reports[i - 1].first)
                ++restarts;
        }
        EXPECT_EQ(reports.back().first, size);
        EXPECT_EQ(restarts, codePage ? 1 : 0) << path;
        EXPECT_LT(reports.size(), codePage ? 12u : 6u) << "a report per read would slow the load";
    }
}

TEST(TextFile, MissingFileLeavesTheTextAlone)
{
    TempDir dir;
    TOvcParaList list;
    Load(list, "keep\n", dir);
    TLoadResult r = LoadTextFile(list, RealFileSystem(), dir.File("nothing.txt"), true);
    EXPECT_FALSE(r.opened);
    EXPECT_EQ(list.ParaText(1), "keep");
}

TEST(TextFile, BackupKeepsTheTextBeforeTheLastSave)
{
    TempDir dir;
    auto& fs = RealFileSystem();
    TOvcParaList list;
    std::string notes = dir.File("notes.txt");
    WriteFile(notes, "one\r\n");
    LoadTextFile(list, fs, notes, true);
    list.InsertTextPrim(1, 4, " two", 4);
    SaveTextFile(list, fs, notes, true);
    list.InsertTextPrim(1, 8, " three", 6);
    SaveTextFile(list, fs, notes, true);
    EXPECT_EQ(ReadFile(notes), "one two three\r\n");
    EXPECT_EQ(ReadFile(dir.File("notes.~txt")), "one two\r\n");
    EXPECT_FALSE(list.Modified());
    EXPECT_EQ(TempFilesIn(dir), 0u);

    // A dot in the folder name does not count.
    stdfs::create_directories(dir.Path() / "dir.old");
    std::string plain = dir.File("dir.old/file");
    WriteFile(plain, "old\r\n");
    SaveTextFile(list, fs, plain, true);
    EXPECT_EQ(ReadFile(dir.File("dir.old/file.~")), "old\r\n");
}

TEST(TextFile, FailedSaveLeavesTheOldFileAndNoTemporary)
{
    TempDir dir;
    TFaultyFileSystem fs;
    TOvcParaList list;
    std::string name = dir.File("doc.txt");
    WriteFile(name, "original\r\n");
    LoadTextFile(list, fs, name, true);
    list.InsertTextPrim(1, 1, "changed ", 8);
    ASSERT_TRUE(list.Modified());

    for (bool backup : { false, true }) {
        fs.failTempWrites = true; // the disk fills up
        try {
            SaveTextFile(list, fs, name, backup);
            FAIL() << "save reported success";
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.Code(), FileErrorCode::DiskFull);
            EXPECT_STREQ(e.what(), "Viewer triggered I/O error 112");
        }
        fs.failTempWrites = false;
        EXPECT_EQ(ReadFile(name), "original\r\n");
        EXPECT_FALSE(fs.Exists(dir.File("doc.~txt")));
        EXPECT_TRUE(list.Modified());
        EXPECT_EQ(TempFilesIn(dir), 0u);

        fs.failRenames = true; // the temporary file cannot take the file's place
        EXPECT_THROW(SaveTextFile(list, fs, name, backup), EInOutError);
        fs.failRenames = false;
        EXPECT_EQ(ReadFile(name), "original\r\n");
        EXPECT_FALSE(fs.Exists(dir.File("doc.~txt")));
        EXPECT_TRUE(list.Modified());
        EXPECT_EQ(TempFilesIn(dir), 0u);
    }

    // The folder vanished since the file was opened.
    std::string gone = dir.File("gone/doc.txt");
    EXPECT_THROW(SaveTextFile(list, RealFileSystem(), gone, false), EInOutError);
    EXPECT_TRUE(list.Modified());
}

TEST(TextFile, LooksBinaryReadsOnlyBothEnds)
{
    TempDir dir;
    auto& fs = RealFileSystem();
    auto check = [&](const std::string& bytes) {
        std::string path = dir.File("probe.bin");
        WriteFile(path, bytes);
        return LooksBinary(fs, path);
    };
    EXPECT_EQ(check("caf\xE9 au lait, plain otherwise"), 1);
    EXPECT_EQ(check("just ascii text\r\n"), 0);
    EXPECT_EQ(check("euro \x80 only"), 0);
    EXPECT_EQ(check(std::string(100, 'a') + std::string(1, '\0') + "tail end"), 1);
    // A NUL in the middle of a long file is not looked at.
    EXPECT_EQ(check(std::string(100, 'a') + std::string(1, '\0') + std::string(100, 'b')), 0);
    EXPECT_EQ(check(""), 0);
    EXPECT_EQ(LooksBinary(fs, dir.File("missing")), -1);
}

TEST(TextFile, NamesAndWordHelpers)
{
    EXPECT_EQ(teFixFileName("notes."), "notes");
    EXPECT_EQ(teFixFileName("."), ".");
    EXPECT_EQ(teFixFileName("a.."), "a.");

    TempDir dir;
    TOvcParaList list;
    const TCharSet& d = FileEditorDelimiters();
    Load(list, "one, two;three\n", dir);
    EXPECT_EQ(WordCount(list, d), 3);
    Load(list, "don't stop\n  \nagain-and\n", dir);
    EXPECT_EQ(WordCount(list, d), 4); // the apostrophe is not a delimiter here

    EXPECT_EQ(GetLastWord("say hello there", 7, d), "hello"); // caret inside the word
    EXPECT_EQ(GetLastWord("say hello there", 10, d), "hello"); // just after it
    EXPECT_EQ(GetLastWord("say  there", 5, d), "");
    EXPECT_EQ(LastWordStartInPara("say hello", 10, d), 4);

    Load(list, "alpha beta\n\n  gamma", dir);
    std::string word;
    int32_t para = 1, pos = 3;
    ASSERT_TRUE(GetNextWord(list, d, word, para, pos));
    EXPECT_EQ(word, "beta");
    EXPECT_EQ(pos, 7);
    ASSERT_TRUE(GetNextWord(list, d, word, para, pos));
    EXPECT_EQ(word, "gamma");
    EXPECT_EQ(para, 3);
    EXPECT_EQ(pos, 3);
    EXPECT_FALSE(GetNextWord(list, d, word, para, pos));
    EXPECT_EQ(word, "");
    EXPECT_EQ(para, list.ParaCount());
}

TEST(TextFile, BracketMatchingAcrossParagraphs)
{
    TempDir dir;
    TOvcParaList list;
    Load(list, "f(a(b)c)\n{ [x\n] }\n", dir);
    TBracketResult r = Bracket(list, { 1, 2 });
    ASSERT_TRUE(r.match);
    EXPECT_EQ(*r.match, (TParaPos { 1, 8 }));
    r = Bracket(list, { 1, 6 });
    ASSERT_TRUE(r.match);
    EXPECT_EQ(*r.match, (TParaPos { 1, 4 }));
    r = Bracket(list, { 3, 3 }); // '}' back to '{' on the line before
    ASSERT_TRUE(r.match);
    EXPECT_EQ(*r.match, (TParaPos { 2, 1 }));
    EXPECT_TRUE(Bracket(list, { 1, 1 }).notBracket); // a letter
    Load(list, "((x)\n", dir);
    r = Bracket(list, { 1, 1 });
    EXPECT_FALSE(r.notBracket);
    EXPECT_FALSE(r.match); // runs off the end: the caller beeps
}

} // namespace wexly::test
