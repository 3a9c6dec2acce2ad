// Fuzzes macro-set files: any bytes as a ".mrc" file must load into the macro page or be
// refused with the macro-file message, leaving the working copy as it was. A loaded set saves
// and loads back to the same working copy; after "OK" the macros survive a trip through the
// settings file.
#include "FuzzSupport.h"
#include "config/MemFileSystem.h"
#include "config/SettingsFile.h"
#include "macros/MacroPageModel.h"

#include <set>

namespace {

using namespace wexly;

const char* const kFile = "C:\\m\\fuzz.mrc";
const char* const kSaved = "C:\\m\\saved.mrc";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    test::TMemFileSystem fs;
    fs.files[kFile] = text;
    TSettings settings;
    settings.Macros.Add("01kept");
    fuzz::TQuietAsker asker;
    fuzz::TCancelledDialogs dialogs;
    TMacroPageModel page(settings, fs, asker, dialogs);
    page.Show();
    const std::vector<std::string> before = page.Working();

    if (!page.LoadMacroSetFile(kFile)) {
        FUZZ_CHECK(asker.asked.size() == 1 && asker.asked[0] == kNotMacroFile);
        FUZZ_CHECK(page.Working() == before);
        return 0;
    }
    FUZZ_CHECK(asker.asked.empty());
    FUZZ_CHECK(settings.MacroPath == "C:\\m\\");
    // Each macro selected in turn: its entry moves to the end, texts stay.
    for (int i = 0; i < TMacroPageModel::kMacroCount; ++i)
        page.SelectMacro(i);
    FUZZ_CHECK(page.SaveMacroSetFile(kSaved));
    const std::vector<std::string> working = page.Working();
    const std::string saved = fs.files[kSaved];
    FUZZ_CHECK(page.LoadMacroSetFile(kSaved));
    FUZZ_CHECK(page.Working() == working);
    // Saving stores the selected macro over the first entry of its number but shows the last,
    // so only a set without two entries of one number saves the same bytes twice.
    std::set<std::string> numbers;
    bool unique = true;
    for (const std::string& entry : working)
        unique = numbers.insert(entry.substr(0, 2)).second && unique;
    FUZZ_CHECK(page.SaveMacroSetFile(kSaved));
    FUZZ_CHECK(!unique || fs.files[kSaved] == saved);

    page.Confirm();
    FUZZ_CHECK(settings.Macros.CheckInvariants());
    for (const std::string& entry : settings.Macros)
        FUZZ_CHECK(entry.size() > 2);

    // The macros as the settings file keeps them.
    TMemIniFile ini;
    WriteSettings(settings, ini);
    TSettings loaded;
    ReadStringList(TMemIniFile(ini.Text()), "Macros", loaded.Macros);
    // Values longer than the reading buffer come back cut, as the profile functions read them.
    TSortedStringList expected;
    for (const std::string& entry : settings.Macros)
        expected.Add(entry.substr(0, kIniReadBufferSize - 1));
    FUZZ_CHECK(loaded.Macros == expected);
    return 0;
}
