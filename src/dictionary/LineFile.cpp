#include "dictionary/LineFile.h"

#include "platform/FileReplace.h"
#include "editor/LineReader.h"

namespace wexly {

std::vector<std::string> SplitLines(std::string_view bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < bytes.size()) {
        char c = bytes[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(bytes.substr(start, i - start));
        ++i;
        if (c == '\r' && i < bytes.size() && bytes[i] == '\n')
            ++i;
        start = i;
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

// These files are not the viewer's: the message names the file and the system's reason.
EInOutError LineFileError(const std::string& path, const char* failed, uint32_t code)
{
    return EInOutError(
        code, "The file\r" + path + "\rcould not be " + failed + ": " + FileErrorText(code));
}

std::vector<std::string> ReadLineFile(IFileSystem& fs, const std::string& path)
{
    TFileError error;
    auto file = fs.Open(
        path, TFileAccess::Read, TFileShare::DenyWrite, TFileCreate::OpenExisting, &error);
    if (!file)
        throw LineFileError(path, "opened", error.code ? error.code : FileErrorCode::FileNotFound);
    std::string bytes;
    char buffer[8192];
    for (;;) {
        int64_t n = file->Read(buffer, sizeof buffer);
        if (n < 0)
            throw LineFileError(
                path, "read", file->LastError() ? file->LastError() : FileErrorCode::ReadFault);
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return SplitLines(bytes);
}

void WriteLineFile(IFileSystem& fs, const std::string& path, const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    TFileError error;
    if (!ReplaceFileContents(fs, path, bytes, &error))
        throw LineFileError(path, "written", error.code ? error.code : FileErrorCode::WriteFault);
}

} // namespace wexly
