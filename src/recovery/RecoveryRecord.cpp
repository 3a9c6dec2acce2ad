#include "recovery/RecoveryRecord.h"

#include "editor/JoinedText.h"
#include "recovery/Crc32.h"

#include <charconv>
#include <cstdio>
#include <map>

namespace wexly {

bool NeedsJournal(bool binary)
{
    return !binary;
}

TFileStamp StampOf(IFileSystem& fs, const std::string& path)
{
    TFileStamp stamp;
    if (path.empty() || !fs.GetWriteTime(path, &stamp.time))
        return {};
    auto file = fs.Open(path, TFileAccess::Read, TFileShare::DenyNone, TFileCreate::OpenExisting);
    if (!file)
        return {};
    stamp.size = file->Size();
    stamp.known = stamp.size >= 0;
    return stamp.known ? stamp : TFileStamp {};
}

namespace {

constexpr std::string_view kEol = "\r\n";
constexpr std::string_view kChecksumKey = "Checksum: ";

std::string Line(std::string_view key, std::string_view value)
{
    std::string line(key);
    line += ": ";
    line += value;
    line += kEol;
    return line;
}

std::string Hex32(uint32_t value)
{
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(value));
    return buffer;
}

template <typename T> bool ParseNumber(std::string_view text, T& value, int base = 10)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    return ec == std::errc() && ptr == end && !text.empty();
}

// Exactly as written: eight lower-case hex digits.
bool ParseChecksum(std::string_view text, uint32_t& value)
{
    return text.size() == 8 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos
        && ParseNumber(text, value, 16);
}

bool ParseEncoding(std::string_view name, TTextEncoding& encoding)
{
    for (TTextEncoding e : kTextEncodings)
        if (EncodingName(e) == name) {
            encoding = e;
            return true;
        }
    return false;
}

// "12 5" into two numbers.
template <typename A, typename B> bool ParsePair(std::string_view text, A& a, B& b)
{
    const size_t space = text.find(' ');
    return space != std::string_view::npos && ParseNumber(text.substr(0, space), a)
        && ParseNumber(text.substr(space + 1), b);
}

TRecordParse Problem(TRecordParse parse, std::string problem)
{
    parse.ok = false;
    parse.problem = std::move(problem);
    parse.record.text.clear();
    return parse;
}

bool ReadInfo(const std::map<std::string, std::string, std::less<>>& keys, TRecordInfo& info)
{
    auto get = [&](std::string_view key) -> const std::string* {
        auto it = keys.find(key);
        return it == keys.end() ? nullptr : &it->second;
    };
    const std::string *named = get("Named"), *binary = get("Binary"), *enc = get("Encoding"),
                      *caret = get("Caret"), *loaded = get("Loaded");
    if (!named || !binary || !enc || !caret || !loaded)
        return false;
    info.named = *named == "1";
    info.binary = *binary == "1";
    if (!ParseEncoding(*enc, info.encoding) || !ParsePair(*caret, info.caretPara, info.caretPos))
        return false;
    info.loaded = {};
    if (*loaded != "none") {
        if (!ParsePair(*loaded, info.loaded.time, info.loaded.size))
            return false;
        info.loaded.known = true;
    }
    return info.caretPara >= 1 && info.caretPos >= 1;
}

} // namespace

std::string RecordHeader(const TRecordInfo& info, std::string_view text)
{
    std::string h(kRecordMagic);
    h += ' ' + std::to_string(kRecordVersion) + std::string(kEol);
    h += Line("Name", info.name);
    h += Line("Named", info.named ? "1" : "0");
    h += Line("Binary", info.binary ? "1" : "0");
    h += Line("Encoding", EncodingName(info.encoding));
    h += Line("Caret", std::to_string(info.caretPara) + " " + std::to_string(info.caretPos));
    h += Line("Loaded",
        info.loaded.known
            ? std::to_string(info.loaded.time) + " " + std::to_string(info.loaded.size)
            : std::string("none"));
    h += Line("Paras", std::to_string(JoinedParaCount(text)));
    h += Line("Length", std::to_string(text.size()));
    // The checksum covers the lines above it and the text, so a damaged name or caret shows too.
    const uint32_t crc = Crc32(text, Crc32(h));
    h += Line("Checksum", Hex32(crc));
    h += kEol;
    return h;
}

TRecordParse ParseRecord(std::string bytes)
{
    TRecordParse parse;
    const std::string_view all(bytes);
    size_t at = all.find(kEol);
    if (at == std::string_view::npos
        || all.substr(0, kRecordMagic.size() + 1) != std::string(kRecordMagic) + " ")
        return Problem(std::move(parse), "it is not a recovery record");
    int version = 0;
    if (!ParseNumber(all.substr(kRecordMagic.size() + 1, at - kRecordMagic.size() - 1), version))
        return Problem(std::move(parse), "it is not a recovery record");
    if (version > kRecordVersion)
        return Problem(std::move(parse), "it was written by a newer version of the program");
    at += kEol.size();
    std::map<std::string, std::string, std::less<>> keys;
    size_t checksumLine = std::string_view::npos;
    for (;;) {
        const size_t end = all.find(kEol, at);
        if (end == std::string_view::npos)
            return Problem(std::move(parse), "it is cut short");
        const std::string_view line = all.substr(at, end - at);
        if (line.empty()) {
            at = end + kEol.size();
            break;
        }
        const size_t colon = line.find(": ");
        if (colon == std::string_view::npos)
            return Problem(std::move(parse), "its header is damaged");
        if (line.substr(0, colon + 2) == kChecksumKey)
            checksumLine = at;
        const std::string key(line.substr(0, colon));
        keys[key] = std::string(line.substr(colon + 2));
        if (key == "Name")
            parse.record.info.name = keys[key];
        at = end + kEol.size();
    }
    uint64_t length = 0;
    uint32_t checksum = 0;
    int32_t paras = 0;
    if (!keys.count("Name") || !keys.count("Length") || !keys.count("Paras")
        || checksumLine == std::string_view::npos || !ParseNumber(keys["Length"], length)
        || !ParseNumber(keys["Paras"], paras) || !ParseChecksum(keys["Checksum"], checksum))
        return Problem(std::move(parse), "its header is damaged");
    if (all.size() - at < length)
        return Problem(std::move(parse), "it is cut short");
    if (all.size() - at > length)
        return Problem(std::move(parse), "it has bytes after its end");
    const std::string_view text = all.substr(at);
    if (Crc32(text, Crc32(all.substr(0, checksumLine))) != checksum)
        return Problem(std::move(parse), "its checksum does not match");
    if (!ReadInfo(keys, parse.record.info) || JoinedParaCount(text) != paras)
        return Problem(std::move(parse), "its header is damaged");
    bytes.erase(0, at);
    parse.record.text = std::move(bytes);
    parse.ok = true;
    return parse;
}

} // namespace wexly
