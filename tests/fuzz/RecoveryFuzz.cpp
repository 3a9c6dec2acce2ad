// Fuzzes the recovery record reader, which reads whatever an earlier run (or a damaged disk)
// left behind: any bytes either parse, or are refused with a reason. A record that parses
// writes out to bytes that parse to the same record, and its text rebuilds a paragraph list
// whose joined text is that text. And any text and caret, written as a record, come back.
#include "FuzzSupport.h"
#include "editor/JoinedText.h"
#include "editor/OvcParaList.h"
#include "recovery/RecoveryRecord.h"

namespace {

using namespace wexly;

void CheckRebuild(const std::string& text)
{
    TOvcParaList list;
    if (LoadJoinedText(list, text) != 0) {
        FUZZ_CHECK(list.ParaCount() == 1 && list.ByteCount() == 0);
        return;
    }
    list.CheckInvariants();
    std::string again(JoinedTextSize(list), '\0');
    CopyJoinedText(list, again.data());
    FUZZ_CHECK(again == text);
    FUZZ_CHECK(list.ParaCount() == JoinedParaCount(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TRecordParse parse = ParseRecord(bytes);
    FUZZ_CHECK(parse.ok == parse.problem.empty());
    if (parse.ok) {
        const TRecoveryRecord& r = parse.record;
        FUZZ_CHECK(r.info.caretPara >= 1 && r.info.caretPos >= 1);
        // Names never hold a line end, or the header would not have parsed.
        TRecordParse again = ParseRecord(RecordHeader(r.info, r.text) + r.text);
        FUZZ_CHECK(again.ok && again.record.info == r.info && again.record.text == r.text);
        CheckRebuild(r.text);
    } else {
        FUZZ_CHECK(parse.record.text.empty());
    }

    // The input as the text of a record of its own.
    fuzz::TFuzzInput in(data, size);
    TRecordInfo info;
    info.named = in.Byte() & 1;
    info.caretPara = 1 + in.Byte();
    info.caretPos = 1 + in.Word();
    info.encoding = kTextEncodings[in.Byte() % kTextEncodings.size()];
    info.name = "C:\\w\\doc.txt";
    const std::string text(in.Rest());
    TRecordParse own = ParseRecord(RecordHeader(info, text) + text);
    FUZZ_CHECK(own.ok && own.record.info == info && own.record.text == text);
    CheckRebuild(text);
    return 0;
}
