#include "piles/PileCommands.h"

#include "documents/ReopenHistory.h"

namespace wexly {

std::string PileFileLine(unsigned char pileId, bool binary, const std::string& path)
{
    std::string line(1, static_cast<char>(pileId));
    line += binary ? '1' : '0';
    line += path;
    return line;
}

bool AddtoPileClick(int tag, const TDocumentSet& set, TSettings& settings, IAsker& asker)
{
    const TEditFile* doc = set.CurFile();
    // A document never saved (or the Console) has no path a pile could open again.
    if (!doc || !doc->Named() || tag < kMainPileId || tag > 255)
        return false;
    if (tag == kMainPileId) {
        TMessage m;
        m.text = "Add file to pile?";
        m.caption = "Attention!";
        m.buttons = TMsgButtons::OkCancel;
        m.icon = TMsgIcon::Warning;
        if (asker.Ask(m) != TMsgResult::Ok)
            return false;
    }
    settings.PileFiles.Add(
        PileFileLine(static_cast<unsigned char>(tag), doc->Binary(), doc->FileName()));
    return true;
}

TEditFile* OpenPileFile(const std::string& caption, int tag, TFileCommands& commands,
    IFileSystem& fs, IAsker& asker, IFileCommandHost& host)
{
    TEditFile* opened = nullptr;
    PileFileClick(caption, tag, fs, asker, [&](const std::string& path, bool binary) {
        opened = commands.OpenFile(path, false, binary);
    });
    if (opened)
        host.RefreshDocumentBars();
    return opened;
}

} // namespace wexly
