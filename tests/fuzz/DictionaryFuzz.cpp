// Fuzzes dictionary files: any bytes as a ".ydc" file must either load as the current
// dictionary or be refused with the corrupt-file message, keeping the words loaded before; a
// file the maintenance window loads saves and reloads to the same entries, and saving again
// writes the same bytes; every saved word is found by the lookup.
#include "FuzzSupport.h"
#include "config/MemFileSystem.h"
#include "dictionary/DicMaintModel.h"
#include "dictionary/DictionarySystem.h"

#include <algorithm>
#include <tuple>

namespace {

using namespace wexly;

const char* const kFile = "C:\\d\\fuzz.ydc";
const char* const kGood = "C:\\d\\good.ydc";
const char* const kSaved = "C:\\d\\saved.ydc";

// The entries the maintenance window shows.
std::vector<TDicEntry> Rows(const TDicMaintModel& model)
{
    std::vector<TDicEntry> rows;
    for (int r = 1; r < model.RowCount(); ++r)
        rows.push_back({ model.Cell(r, 0), model.Cell(r, 1) });
    return rows;
}

bool SameRows(const std::vector<TDicEntry>& a, const std::vector<TDicEntry>& b)
{
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(), [](const TDicEntry& x, const TDicEntry& y) {
            return x.word == y.word && x.replacement == y.replacement;
        });
}

void CheckCurrentDictionary(test::TMemFileSystem& fs, const std::string& text)
{
    TSettings settings;
    fuzz::TQuietAsker asker;
    TDictionarySystem system(settings, fs, asker);
    settings.LastDic = kGood;
    FUZZ_CHECK(system.LoadCurrent());
    const TDictionary before = system.Dictionary();

    settings.LastDic = kFile;
    const bool loaded = system.LoadCurrent();
    const TDictionary& now = system.Dictionary();
    FUZZ_CHECK(now.CheckInvariants());
    if (!loaded) {
        FUZZ_CHECK(asker.asked.size() == 1 && asker.asked[0] == kDictionaryCorrupt);
        FUZZ_CHECK(now.FileName() == before.FileName() && now.Words() == before.Words());
        return;
    }
    FUZZ_CHECK(asker.asked.empty());
    FUZZ_CHECK(text.starts_with(kDictionaryHeader));
    for (const std::string& word : now.Words())
        FUZZ_CHECK(word.find("..") == std::string::npos);
    // The lookup takes the first entry equal without regard to case.
    for (size_t i = 0; i < now.Words().size() && i < 64; ++i) {
        const std::string& word = now.Words()[i];
        auto found = now.Lookup(word);
        FUZZ_CHECK(found.has_value() == !word.empty());
        if (!found)
            continue;
        // Case adaptation changes letters, never the length.
        const bool adapted = (now.Options() & kDicMatchCase) != 0;
        bool fromEarlierEntry = false;
        for (size_t j = 0; j <= i && !fromEarlierEntry; ++j) {
            const std::string& r = now.Replacements()[j];
            fromEarlierEntry = adapted ? r.size() == found->size() : r == *found;
        }
        FUZZ_CHECK(fromEarlierEntry);
    }
}

void CheckMaintenanceRoundTrip(test::TMemFileSystem& fs)
{
    TSettings settings;
    fuzz::TQuietAsker asker;
    fuzz::TCancelledDialogs dialogs;
    TDicMaintModel model(settings, fs, asker, dialogs);
    if (!model.LoadFile(kFile)) {
        FUZZ_CHECK(!asker.asked.empty());
        return;
    }
    FUZZ_CHECK(model.CheckInvariants());
    // Saving drops entries without a word and sorts the rest.
    std::vector<TDicEntry> kept;
    for (const TDicEntry& e : Rows(model))
        if (!e.word.empty())
            kept.push_back(e);
    const bool matchCase = model.MatchCase();

    FUZZ_CHECK(model.SaveToFile(kSaved));
    const std::string saved = fs.files[kSaved];
    FUZZ_CHECK(model.LoadFile(kSaved));
    FUZZ_CHECK(model.CheckInvariants());
    FUZZ_CHECK(model.MatchCase() == matchCase);
    std::vector<TDicEntry> reloaded = Rows(model);
    if (kept.empty()) {
        FUZZ_CHECK(
            reloaded.size() == 1 && reloaded[0].word.empty() && reloaded[0].replacement.empty());
        reloaded.clear();
    }
    FUZZ_CHECK(reloaded.size() == kept.size());
    // The same entries, whatever order the sort gave them.
    auto byText = [](const TDicEntry& a, const TDicEntry& b) {
        return std::tie(a.word, a.replacement) < std::tie(b.word, b.replacement);
    };
    std::vector<TDicEntry> sortedKept = kept, sortedReloaded = reloaded;
    std::sort(sortedKept.begin(), sortedKept.end(), byText);
    std::sort(sortedReloaded.begin(), sortedReloaded.end(), byText);
    FUZZ_CHECK(SameRows(sortedKept, sortedReloaded));

    FUZZ_CHECK(model.SaveToFile(kSaved));
    FUZZ_CHECK(fs.files[kSaved] == saved);

    // What the maintenance window saved is what the current dictionary loads.
    TDictionarySystem system(settings, fs, asker);
    settings.LastDic = kSaved;
    FUZZ_CHECK(system.LoadCurrent());
    FUZZ_CHECK(system.Dictionary().Words().size() == reloaded.size());
    for (size_t i = 0; i < reloaded.size(); ++i)
        FUZZ_CHECK(system.Dictionary().Words()[i] == reloaded[i].word);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    test::TMemFileSystem fs;
    fs.files[kFile] = text;
    fs.files[kGood] = std::string(kDictionaryHeader) + "\r\n1\r\nteh..the\r\n";
    CheckCurrentDictionary(fs, text);
    CheckMaintenanceRoundTrip(fs);
    return 0;
}
