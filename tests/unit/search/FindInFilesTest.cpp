#include "search/FindInFiles.h"

#include "platform/Windows1252.h"
#include "support/FakeFileSystem.h"
#include "support/FindInFilesFakes.h"

#include <gtest/gtest.h>

#include <random>

namespace wexly::test {
namespace {

const TUpperTable& Up()
{
    return Windows1252UpperTable();
}

bool Match(std::string_view text, std::string_view line, TSearchOptions options = {})
{
    return TFindInFilesMatcher(text, options, Up()).Matches(line);
}

// The rule written out as simply as possible: every position, whole text, word bounds.
bool Reference(std::string_view text, std::string_view line, bool matchCase, bool whole)
{
    const TCharSet delims(kFindInFilesWordDelimiters);
    auto eq
        = [&](char a, char b) { return matchCase ? a == b : Up()[uint8_t(a)] == Up()[uint8_t(b)]; };
    for (size_t p = 0; !text.empty() && p + text.size() <= line.size(); ++p) {
        bool same = true;
        for (size_t i = 0; i < text.size() && same; ++i)
            same = eq(line[p + i], text[i]);
        if (!same)
            continue;
        if (whole && p > 0 && !delims.Contains(line[p - 1]))
            continue;
        if (whole && p + text.size() < line.size() && !delims.Contains(line[p + text.size()]))
            continue;
        return true;
    }
    return false;
}

std::vector<std::string> Lines(const std::string& data)
{
    TFifFileSystem fs;
    fs.AddFile("C:\\f.txt", data);
    auto file
        = fs.Open("C:\\f.txt", TFileAccess::Read, TFileShare::DenyWrite, TFileCreate::OpenExisting);
    TFileLineSplitter splitter(*file);
    std::vector<std::string> lines;
    std::string_view line;
    while (splitter.Next(line))
        lines.emplace_back(line);
    return lines;
}

struct TWalkEnv
{
    TFifFileSystem fs;
    TFifView view;
    TFindResultTree tree;
    bool running = true;
    ICodePage* decodeWith = nullptr;

    TFindInFilesOutcome Walk(
        const std::string& mask, const std::string& text, bool recurse, TSearchOptions options = {})
    {
        TFindInFilesMatcher matcher(text, options, Up());
        TFindInFilesWalk walk(fs, view, tree, running, matcher, false, decodeWith);
        return walk.Run(mask, recurse);
    }
    std::vector<std::string> Paths() const
    {
        std::vector<std::string> out;
        for (const auto& f : tree.files)
            out.push_back(f.path);
        return out;
    }
};

} // namespace

TEST(FindInFiles, WholeWordUsesItsOwnDelimiterSet)
{
    EXPECT_EQ(kFindInFilesWordDelimiters.size(), 33u);
    const TSearchOptions whole = soWholeWord;
    EXPECT_TRUE(Match("foo", "a foo b", whole));
    EXPECT_FALSE(Match("foo", "afoob", whole));
    EXPECT_TRUE(Match("foo", "foo at the start", whole));
    EXPECT_TRUE(Match("foo", "at the end foo", whole));
    EXPECT_TRUE(Match("foo", "foo", whole));
    EXPECT_TRUE(Match("foo", "it's foo's", whole)); // the apostrophe delimits here
    EXPECT_TRUE(Match("foo", "x-foo*y", whole));
    EXPECT_FALSE(Match("foo", "foo_bar #foo", whole)); // underscore and # do not
    EXPECT_TRUE(Match("foo", "foobar foo", whole)); // a later occurrence counts
    EXPECT_TRUE(Match("foo", "afoob", {}));
}

TEST(FindInFiles, CaseFollowsMatchCaseAndEmptyTextMatchesNothing)
{
    EXPECT_TRUE(Match("HeLLo", "say hello"));
    EXPECT_FALSE(Match("HeLLo", "say hello", soMatchCase));
    EXPECT_TRUE(Match("\xE9t\xE9", "\xC9T\xC9")); // accented letters of the code page
    EXPECT_FALSE(Match("", "anything"));
    EXPECT_FALSE(Match("longer", "long"));
    EXPECT_FALSE(Match("x", ""));
}

TEST(FindInFiles, TextsLongerThanTheFastMatcherTakesAreMatchedWhole)
{
    const std::string text(300, 'a');
    EXPECT_FALSE(Match(text, std::string(299, 'a') + "b"));
    EXPECT_TRUE(Match(text, "x " + std::string(300, 'A') + " y", soWholeWord));
    EXPECT_FALSE(Match(text, "x" + std::string(300, 'A'), soWholeWord));
}

TEST(FindInFiles, MatcherAgreesWithThePositionByPositionRule)
{
    std::mt19937 rng(4242);
    const std::string alphabet = "aAb -'_";
    auto random = [&](size_t maxLen) {
        std::string s(rng() % (maxLen + 1), ' ');
        for (char& c : s)
            c = alphabet[rng() % alphabet.size()];
        return s;
    };
    for (int i = 0; i < 4000; ++i) {
        const std::string text = random(4);
        const std::string line = random(24);
        const bool matchCase = rng() % 2, whole = rng() % 2;
        TSearchOptions o;
        if (matchCase)
            o = o | soMatchCase;
        if (whole)
            o = o | soWholeWord;
        ASSERT_EQ(Match(text, line, o), Reference(text, line, matchCase, whole))
            << "text '" << text << "' line '" << line << "' case " << matchCase << " whole "
            << whole;
    }
}

TEST(FindInFiles, LinesSplitAtCrLfAndCrLfAcrossChunks)
{
    EXPECT_EQ(Lines(""), std::vector<std::string> {});
    EXPECT_EQ(Lines("a\r\nb\rc\nd"), (std::vector<std::string> { "a", "b", "c", "d" }));
    EXPECT_EQ(Lines("a\n"), (std::vector<std::string> { "a" }));
    EXPECT_EQ(Lines("\r\r\n\n"), (std::vector<std::string> { "", "", "" }));
    // A CR LF whose CR ends one chunk and whose LF starts the next is one line end.
    const std::string first(65535, 'x');
    auto split = Lines(first + "\r\nnext");
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0], first);
    EXPECT_EQ(split[1], "next");
    // Lines longer than a chunk come whole.
    const std::string longLine(200000, 'y');
    split = Lines("a\n" + longLine + "\nb");
    ASSERT_EQ(split.size(), 3u);
    EXPECT_EQ(split[1], longLine);
}

TEST(FindInFiles, ReadErrorEndsTheLinesWithoutAHalfLine)
{
    TFakeFileSystem fs;
    std::string data;
    for (int i = 0; i < 6554; ++i)
        data += "key line\r\n"; // 65540 bytes: the first chunk ends inside the last line
    fs.SetFile("C:\\f.txt", data);
    fs.FailReadsFrom("C:\\f.txt", 65536, FileErrorCode::ReadFault);
    auto file
        = fs.Open("C:\\f.txt", TFileAccess::Read, TFileShare::DenyWrite, TFileCreate::OpenExisting);
    ASSERT_NE(file, nullptr);
    TFileLineSplitter splitter(*file);
    std::string_view line;
    int count = 0;
    while (splitter.Next(line)) {
        ++count;
        ASSERT_EQ(line, "key line");
    }
    EXPECT_EQ(count, 6553);
    EXPECT_TRUE(splitter.ReadFailed());
}

TEST(FindInFiles, WalkFindsTheSameLinesAsSplittingEveryLine)
{
    // The walk searches whole chunks and splits out only the lines it hits; it must number
    // and show exactly the lines that splitting every line and matching each would give, with
    // any line ends, across chunk ends (a CR LF cut in two among them) and in long lines.
    std::mt19937 rng(2027);
    const char* const ends[] = { "\r\n", "\n", "\r" };
    const char* const words[] = { "key", "KEY", "xkey", "keys", "a", "lock", "k" };
    for (int round = 0; round < 40; ++round) {
        std::string data;
        const size_t size = std::uniform_int_distribution<size_t>(0, 150000)(rng);
        while (data.size() < size) {
            if (round % 7 == 0 && rng() % 50 == 0)
                data += std::string(70000, 'y'); // longer than a chunk
            for (int w = 0, n = static_cast<int>(rng() % 12); w < n; ++w) {
                data += words[rng() % std::size(words)];
                data += rng() % 5 == 0 ? "," : " ";
            }
            data += ends[rng() % 3];
        }
        if (round % 5 == 1 && data.size() > 65536) {
            data[65535] = '\r'; // a CR LF across the first chunk end
            data[65536] = '\n';
        }
        if (round % 3 == 2 && !data.empty())
            data.pop_back(); // a last line without its line end, or a CR for an LF
        const TSearchOptions options = (round % 2 ? soMatchCase : TSearchOptions {})
            | (round % 4 >= 2 ? soWholeWord : TSearchOptions {});
        TFindInFilesMatcher matcher("key", options, Up());
        std::vector<std::string> expected;
        const std::vector<std::string> lines = Lines(data);
        for (size_t i = 0; i < lines.size(); ++i)
            if (matcher.Matches(lines[i]))
                expected.push_back(FoundLineText(static_cast<int64_t>(i + 1), lines[i]));
        TWalkEnv env;
        env.fs.AddFile("C:\\w\\f.txt", data);
        env.Walk("C:\\w\\*.txt", "key", false, options);
        std::vector<std::string> got;
        for (const TFoundFile& f : env.tree.files)
            for (const TFoundLine& l : f.lines)
                got.push_back(l.text);
        ASSERT_EQ(got, expected) << "round " << round;
        if (!env.tree.files.empty()) {
            EXPECT_EQ(env.tree.files[0].firstLine, env.tree.files[0].lines[0].number);
        }
    }
}

TEST(FindInFiles, TextsThatCouldMeetALineEndAreMatchedLineByLine)
{
    TFindInFilesMatcher plain("key", soMatchCase, Up());
    EXPECT_TRUE(plain.SearchesBlocks());
    EXPECT_FALSE(TFindInFilesMatcher("a\rb", soMatchCase, Up()).SearchesBlocks());
    EXPECT_FALSE(TFindInFilesMatcher("\n", {}, Up()).SearchesBlocks());
    EXPECT_FALSE(TFindInFilesMatcher(std::string(300, 'k'), {}, Up()).SearchesBlocks());
    // A line end in the text never matches across lines.
    TWalkEnv env;
    env.fs.AddFile("C:\\w\\f.txt", "a\r\nb a\rb\r\n");
    env.Walk("C:\\w\\*.txt", "a\rb", false, soMatchCase);
    EXPECT_TRUE(env.tree.files.empty());
}

TEST(FindInFiles, WalkListsFilesBeforeSubdirectoriesDepthFirst)
{
    TWalkEnv env;
    env.fs.AddFile("C:\\w\\b.txt", "nothing\r\nkey here\r\n\tkey\ttabbed\r\nkey\r\n");
    env.fs.AddDir("C:\\w\\sub");
    env.fs.AddFile("C:\\w\\sub\\deep\\d.txt", "key");
    env.fs.AddFile("C:\\w\\sub\\c.txt", "key");
    env.fs.AddFile("C:\\w\\a.txt", "key");
    env.fs.AddFile("C:\\w\\a.log", "key"); // pattern does not fit
    env.fs.AddFile("C:\\w\\hidden.txt", "key", true);
    env.fs.AddFile("C:\\w\\system.txt", "key", false, true);
    env.fs.AddFile("C:\\w\\.dot\\e.txt", "key");
    env.fs.AddFile("C:\\w\\hid\\f.txt", "key");
    env.fs.AddDir("C:\\w\\hid", true);
    env.fs.AddDir("C:\\w\\a.txt.dir"); // a directory that fits the pattern is no file

    const auto outcome = env.Walk("C:\\w\\*.txt", "key", true);
    EXPECT_FALSE(outcome.directoryMissing);
    EXPECT_FALSE(outcome.halted);
    EXPECT_EQ(env.Paths(),
        (std::vector<std::string> {
            "C:\\w\\b.txt", "C:\\w\\a.txt", "C:\\w\\sub\\c.txt", "C:\\w\\sub\\deep\\d.txt" }));
    const TFoundFile& b = env.tree.files[0];
    EXPECT_EQ(b.firstLine, 2);
    ASSERT_EQ(b.lines.size(), 3u);
    EXPECT_EQ(b.lines[0].text, "2:key here");
    EXPECT_EQ(b.lines[1].text, "3:  key  tabbed");
    EXPECT_EQ(b.lines[2].number, 4);
    EXPECT_EQ(env.view.found, (std::vector<size_t> { 0, 1, 2, 3 }));
    // The status line shows every file as it is searched.
    EXPECT_EQ(env.view.statuses.front(), "C:\\w\\b.txt");
    EXPECT_EQ(env.view.statuses.back(), "C:\\w\\sub\\deep\\d.txt");
}

TEST(FindInFiles, WalkWithoutSubdirectoriesStaysInTheDirectory)
{
    TWalkEnv env;
    env.fs.AddFile("C:\\w\\a.txt", "key");
    env.fs.AddFile("C:\\w\\sub\\c.txt", "key");
    env.Walk("C:\\w\\*.*", "key", false);
    EXPECT_EQ(env.Paths(), std::vector<std::string> { "C:\\w\\a.txt" });
}

// A large file lets the window run while it is searched, and Halt stops inside it: the lines
// found so far stay, the rest of the file and the files after it are not searched. Both the
// block search and the line-by-line one (a text too long for the fast matcher) take part.
TEST(FindInFiles, ALargeFileKeepsTheWindowRunningAndHaltStopsInsideIt)
{
    const std::string longKey(300, 'k');
    std::string big;
    for (int i = 0; big.size() < 6 * 1024 * 1024; ++i)
        big += i % 1000 == 0 ? "a " + longKey + " line\r\n" : "plain text of a large file\r\n";
    for (const std::string& text : { std::string("kkk"), longKey }) {
        SCOPED_TRACE(text.size());
        TWalkEnv whole;
        whole.fs.AddFile("C:\\w\\a.txt", big);
        whole.Walk("C:\\w\\*.txt", text, false);
        ASSERT_EQ(whole.tree.files.size(), 1u);
        const size_t allLines = whole.tree.files[0].lines.size();
        EXPECT_GE(whole.view.pumps, 6); // one before the file, then about one per MiB

        TWalkEnv env;
        env.fs.AddFile("C:\\w\\a.txt", big);
        env.fs.AddFile("C:\\w\\b.txt", "key\r\n");
        env.view.onPump = [&](int n) {
            if (n == 3) // inside a.txt, after about 2 MiB
                env.running = false;
        };
        const TFindInFilesOutcome outcome = env.Walk("C:\\w\\*.txt", text, false);
        EXPECT_TRUE(outcome.halted);
        EXPECT_EQ(env.view.pumps, 3);
        ASSERT_EQ(env.Paths(), std::vector<std::string> { "C:\\w\\a.txt" });
        EXPECT_GT(env.tree.files[0].lines.size(), 0u);
        EXPECT_LT(env.tree.files[0].lines.size(), allLines);
    }
}

// With conversion on, a file is decoded whole before it is searched; the decoding lets the
// window run as well, and a Halt during it stops the walk there.
TEST(FindInFiles, DecodingALargeFileAlsoKeepsTheWindowRunningAndHaltStopsIt)
{
    std::string big;
    for (int i = 0; big.size() < 6 * 1024 * 1024; ++i)
        big += i % 1000 == 0 ? "a caf\xC3\xA9 with the key\r\n" : "plain text of a large file\r\n";
    TWindows1252CodePage cp;
    TWalkEnv whole;
    whole.decodeWith = &cp;
    whole.fs.AddFile("C:\\w\\a.txt", big);
    whole.Walk("C:\\w\\*.txt", "key", false);
    ASSERT_EQ(whole.tree.files.size(), 1u);
    // About one a MiB while decoding and again while searching the decoded text.
    EXPECT_GE(whole.view.pumps, 11);

    TWalkEnv env;
    env.decodeWith = &cp;
    env.fs.AddFile("C:\\w\\a.txt", big);
    env.fs.AddFile("C:\\w\\b.txt", "key\r\n");
    env.view.onPump = [&](int n) {
        if (n == 3) // in the decoding of a.txt
            env.running = false;
    };
    const TFindInFilesOutcome outcome = env.Walk("C:\\w\\*.txt", "key", false);
    EXPECT_TRUE(outcome.halted);
    EXPECT_EQ(env.view.pumps, 3);
    EXPECT_TRUE(env.Paths().empty());
}

TEST(FindInFiles, BinaryAndUnopenableFilesAreSkipped)
{
    TWalkEnv env;
    env.fs.AddFile("C:\\w\\bin.txt", "key\xC0 and more text\r\nkey\r\n");
    env.fs.AddFile("C:\\w\\nul.txt", std::string("key\0", 4));
    env.fs.AddFile("C:\\w\\locked.txt", "key");
    env.fs.Lock("C:\\w\\locked.txt");
    env.fs.AddFile("C:\\w\\ok.txt", "k\x80y key"); // 128 itself is text
    env.Walk("C:\\w\\*.txt", "key", false);
    EXPECT_EQ(env.Paths(), std::vector<std::string> { "C:\\w\\ok.txt" });
}

TEST(FindInFiles, BinaryTestLooksAtSixteenBytesAtEachEndOfSmallAndLargeFiles)
{
    // The walk tests the bytes of its first read; past it, it reads the last ones apart.
    for (const size_t size : { size_t(40), size_t(200000) }) {
        TWalkEnv env;
        std::string text(size, 'k');
        text.replace(0, 5, "key\r\n");
        std::string tailBinary = text, middleBinary = text, headBinary = text;
        tailBinary[size - 16] = '\xC0';
        middleBinary[size - 17] = '\xC0';
        middleBinary[16] = '\0';
        headBinary[15] = '\0';
        env.fs.AddFile("C:\\w\\tail.txt", tailBinary);
        env.fs.AddFile("C:\\w\\middle.txt", middleBinary);
        env.fs.AddFile("C:\\w\\head.txt", headBinary);
        env.fs.AddFile("C:\\w\\short.txt", "key\x81"); // under 16 bytes: all of it is the head
        const auto outcome = env.Walk("C:\\w\\*.txt", "key", false);
        EXPECT_EQ(env.Paths(), std::vector<std::string> { "C:\\w\\middle.txt" }) << size;
        EXPECT_EQ(outcome.filesSearched, 1) << size;
        ASSERT_EQ(env.tree.files.size(), 1u);
        EXPECT_EQ(env.tree.files[0].lines.size(), 1u); // the rest is one line without "key"
    }
}

TEST(FindInFiles, UnicodeFilesAreSearchedAsTheEditorShowsThem)
{
    TWalkEnv env;
    TWindows1252CodePage cp;
    env.decodeWith = &cp;
    env.fs.AddFile("C:\\w\\a8.txt", "\xC3\xA9t\xC3\xA9 caf\xC3\xA9\r\n");
    env.fs.AddFile("C:\\w\\b16.txt", std::string("\xFF\xFE\n\0c\0a\0f\0\xE9\0", 12));
    env.fs.AddFile("C:\\w\\c.txt", "an ANSI line, caf\xE9\r\nthe last line\r\n");
    // Stays bytes, and its first bytes look binary: skipped as before.
    env.fs.AddFile("C:\\w\\d.txt", "\xCE\xB1 caf\xC3\xA9\r\n");
    env.Walk("C:\\w\\*.txt", "CAF\xC9", false);
    ASSERT_EQ(env.Paths(),
        (std::vector<std::string> { "C:\\w\\a8.txt", "C:\\w\\b16.txt", "C:\\w\\c.txt" }));
    EXPECT_EQ(env.tree.files[0].lines[0].text, "1:\xE9t\xE9 caf\xE9");
    EXPECT_EQ(env.tree.files[1].lines[0].text, "2:caf\xE9");
    // Without the conversion the UTF-16 file looks binary and the UTF-8 one does not match.
    TWalkEnv bytes;
    bytes.fs.AddFile("C:\\w\\a8.txt", "a longer first line with caf\xC3\xA9 in it\r\n");
    bytes.fs.AddFile("C:\\w\\b16.txt", std::string("\xFF\xFE\n\0c\0a\0f\0\xE9\0", 12));
    bytes.Walk("C:\\w\\*.txt", "caf\xE9", false);
    EXPECT_TRUE(bytes.Paths().empty());
}

TEST(FindInFiles, MissingDirectoryOrNoDirectoryPartIsReported)
{
    for (const char* mask : { "C:\\nowhere\\*.txt", "*.txt" }) {
        TWalkEnv env;
        env.fs.AddFile("C:\\w\\a.txt", "key");
        const auto outcome = env.Walk(mask, "key", true);
        EXPECT_TRUE(outcome.directoryMissing) << mask;
        EXPECT_EQ(env.view.statuses, std::vector<std::string> { kDirectoryDoesNotExist });
        EXPECT_TRUE(env.tree.files.empty());
    }
}

TEST(FindInFiles, MaskSplitsAtTheLastSeparator)
{
    auto m = SplitFindMask("C:\\a b\\c\\*.cpp");
    EXPECT_EQ(m.directory, "C:\\a b\\c\\");
    EXPECT_EQ(m.pattern, "*.cpp");
    m = SplitFindMask("C:\\dir\\");
    EXPECT_EQ(m.pattern, "*.*");
    m = SplitFindMask("/tmp/x/*.txt");
    EXPECT_EQ(m.directory, "/tmp/x/");
    m = SplitFindMask("a?.txt");
    EXPECT_EQ(m.directory, "");
    EXPECT_EQ(m.pattern, "a?.txt");
}

} // namespace wexly::test
