// End-to-end tests of UTF-8 and UTF-16 files: shown as their characters, saved in their own
// encoding, and told about when they stay bytes.
#include "E2eSupport.h"

#include <string>

namespace wexly::e2e {
namespace {

// The status bar's panels: the message and, last, the document's encoding.
constexpr int MessagePanel = 0;
constexpr int EncodingPanel = 5;

// The clipboard as UTF-16: the program puts ANSI text there and Windows converts it.
std::wstring ClipboardWide()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return L"<no clipboard>";
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

E2E_CASE(AUtf8FileShowsItsCharactersAndIsSavedBackAsUtf8)
{
    auto [p, main, dir]
        = ctx.Launch(L"utf8", { { L"menu.txt", "caf\xC3\xA9 cr\xC3\xA8me\r\n" } }, L"menu.txt");
    CHECK(main != nullptr);
    CHECK(WaitForTitle(main, dir + L"menu.txt"));
    CHECK(WaitForStatusText(main, EncodingPanel, L"UTF-8", 3000));
    CHECK(SendKey(main, VK_END, { VK_SHIFT }));
    CHECK(SendKey(main, 'C', { VK_CONTROL }));
    Sleep(300);
    CHECK_EQ(ClipboardWide(), std::wstring(L"caf\u00e9 cr\u00e8me"));
    CHECK(SendKey(main, VK_HOME));
    CHECK(TypeText(main, "x"));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(WaitForFileContent(dir + L"menu.txt", "xcaf\xC3\xA9 cr\xC3\xA8me\r\n", 3000));
}

E2E_CASE(AUtf16FileSavesUnchangedAndAFileThatStaysBytesIsNamed)
{
    const std::string utf16("\xFF\xFE"
                            "n\0a\0\xEF\0v\0e\0\r\0\n\0",
        16);
    // Greek letters the Western code page lacks, away from the ends the binary test reads.
    const std::string greek = "a first line of text\r\n\xCE\xB1\xCE\xB2\r\nand the last line\r\n";
    auto [p, main, dir] = ctx.Launch(
        L"utf16", { { L"wide.txt", utf16 }, { L"greek.txt", greek } }, L"wide.txt greek.txt");
    CHECK(main != nullptr);
    CHECK(WaitForStatusText(main, MessagePanel,
        L"2 File(s) opened... 2 Total   greek.txt: UTF-8: some characters cannot be shown; "
        L"opened as bytes",
        5000));
    CHECK(WaitForTitle(main, dir + L"greek.txt"));
    CHECK(WaitForStatusText(main, EncodingPanel, L"ANSI", 3000));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    CHECK(SendKey(main, VK_F1, { VK_CONTROL }));
    CHECK(WaitForTitle(main, dir + L"wide.txt"));
    CHECK(WaitForStatusText(main, EncodingPanel, L"UTF-16", 3000));
    CHECK(SendKey(main, 'S', { VK_CONTROL }));
    Sleep(500);
    std::string saved;
    CHECK(ReadTextFile(dir + L"wide.txt", &saved));
    CHECK_EQ(saved, utf16);
    CHECK(ReadTextFile(dir + L"greek.txt", &saved));
    CHECK_EQ(saved, greek);
}

} // namespace
} // namespace wexly::e2e
