// Fuzzes the settings file: any bytes as the INI file must load (every key, blob, list section
// and the External section), save, and load again to the same settings; a second save writes
// the same bytes; the INI object gives back every line it did not change.
#include "FuzzSupport.h"
#include "config/HexBlob.h"
#include "config/IniFile.h"
#include "config/MemFileSystem.h"
#include "config/SettingsFile.h"
#include "config/UtilsBox.h"

#include <algorithm>

namespace {

using namespace wexly;

const char* const kExe = "C:\\w\\wexly.exe";
const char* const kIni = "C:\\w\\wexly.ini";

// The text as the INI object must write it back: the same lines, each ended by CR LF.
std::string LinesWithCrLf(std::string_view text)
{
    std::string out;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        out.append(text.substr(start, i - start)).append("\r\n");
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        out.append(text.substr(start)).append("\r\n");
    return out;
}

TSettingsEnv Env(test::TMemFileSystem& fs)
{
    TSettingsEnv env;
    env.ExePath = kExe;
    env.Files = &fs;
    env.Design.MainWindow = { 10, 20, 630, 470 };
    env.Design.WindowList = { 1, 2, 3, 4 };
    env.Design.Preview = { 5, 6, 7, 8 };
    env.Design.DicMaint = { 9, 10, 11, 12 };
    env.Design.DicChoose = { 13, 14, 15, 16 };
    env.Design.ToolList = { 17, 18, 19, 20 };
    return env;
}

void CheckIniObject(const std::string& text)
{
    TMemIniFile ini(text);
    FUZZ_CHECK(ini.CheckInvariants());
    FUZZ_CHECK(ini.Text() == LinesWithCrLf(text));
}

void CheckHexBlobs(std::string_view text)
{
    uint8_t bytes[kRectBlobSize];
    HexDecode(text, bytes, sizeof bytes);
    std::string encoded = HexEncode(bytes, sizeof bytes);
    FUZZ_CHECK(encoded.size() == 2 * sizeof bytes);
    uint8_t again[kRectBlobSize];
    HexDecode(encoded, again, sizeof again);
    FUZZ_CHECK(std::equal(bytes, bytes + sizeof bytes, again));
    FUZZ_CHECK(EncodeRect(DecodeRect(encoded)) == encoded);
    FUZZ_CHECK(EncodeColours(DecodeColours(text)).size() == 2 * kColourBlobSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckIniObject(text);
    CheckHexBlobs(text);

    test::TMemFileSystem fs;
    fs.files[kIni] = text;
    const TSettingsEnv env = Env(fs);

    TSettings first;
    FUZZ_CHECK(LoadSettings(first, env).Ok);
    FUZZ_CHECK(SaveSettings(first, env).Ok);
    const std::string saved = fs.files[kIni];
    TMemIniFile savedIni(saved);
    FUZZ_CHECK(savedIni.CheckInvariants());
    // Sections the program does not know stay, in their order, ahead of any it adds.
    std::vector<std::string> before = TMemIniFile(text).SectionNames();
    std::vector<std::string> after = savedIni.SectionNames();
    FUZZ_CHECK(after.size() >= before.size());
    FUZZ_CHECK(std::equal(before.begin(), before.end(), after.begin()));

    TSettings second;
    FUZZ_CHECK(LoadSettings(second, env).Ok);
    // An empty tool bar layout is stored as an empty value, which reads as the default.
    const bool emptyLayout = first.ToolBarLayout.empty();
    if (emptyLayout)
        first.ToolBarLayout = CommaTextToLayout(DefaultToolBarLayout());
    FUZZ_CHECK(first == second);

    FUZZ_CHECK(SaveSettings(second, env).Ok);
    FUZZ_CHECK(emptyLayout || fs.files[kIni] == saved);
    return 0;
}
