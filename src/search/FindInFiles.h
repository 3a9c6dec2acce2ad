// Searching files on disk: the line matcher with its own whole-word delimiters, the mask split
// into directory and pattern, the result tree (files and their matching lines) and the
// depth-first directory walk that fills it. The walk runs on the caller's thread and lets the
// host pump window messages between files, so a Halt click can clear the running flag.
#pragma once

#include "editor/EdSearch.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wexly {

// TAB, apostrophe, CR, LF, space and ,./?;:"<>[]{}-=\+|()%@&^$!~* - not the editor's set.
extern const std::string_view kFindInFilesWordDelimiters;

inline constexpr const char* kNoFilesFound = "No files found";
inline constexpr const char* kDirectoryDoesNotExist = "Directory does not exist";
inline constexpr const char* kFinishedSearch = "Finished Search";

// Tells whether a line holds the find text. Only soMatchCase and soWholeWord apply; an empty
// find text matches nothing.
class TFindInFilesMatcher
{
public:
    TFindInFilesMatcher(std::string_view findText, TSearchOptions options,
        const TUpperTable& upper = SystemUpperTable());
    bool Matches(std::string_view line) const;
    // The text cannot match across a line end, so a block of lines can be searched at once
    // with FindCandidate and only the lines it points at looked at with Matches.
    bool SearchesBlocks() const { return m_searchesBlocks; }
    // The first place at or after from where the text starts in block, whole words aside, or
    // npos. Only when SearchesBlocks.
    size_t FindCandidate(std::string_view block, size_t from) const;

private:
    bool MatchesSlowly(std::string_view line) const;

    std::string m_text;
    bool m_matchCase;
    bool m_wholeWord;
    const TUpperTable& m_upper;
    TCharSet m_delimiters;
    // The fast matcher takes at most kMaxSearchLength characters; longer texts go the slow way
    // so that a cut text never matches lines the whole text would not.
    std::unique_ptr<TEdSearchPattern> m_pattern;
    bool m_searchesBlocks = false;
};

// A mask such as C:\work\*.txt: the directory part up to and including the last separator
// (backslash or slash) and the file pattern after it.
struct TFindMask
{
    std::string directory; // empty when the mask has no separator
    std::string pattern; // an empty pattern is taken as *.*
};
TFindMask SplitFindMask(std::string_view mask);

struct TFoundLine
{
    int64_t number = 0; // 1-based
    std::string text; // "12:" and the line with every TAB made two spaces
};

struct TFoundFile
{
    std::string path; // directory part + name, as walked
    int64_t firstLine = 0; // the first matching line
    std::vector<TFoundLine> lines;
    bool expanded = false;
};

// The two-level result tree. A search that found nothing holds one file node with the text
// kNoFilesFound and no lines.
struct TFindResultTree
{
    std::vector<TFoundFile> files;
    bool IsNoFilesNode(size_t file) const;
};

// A node of the result tree: a file node (line < 0) or line node `line` of file `file`.
struct TFindNodeRef
{
    size_t file = 0;
    int line = -1;
    bool IsFile() const { return line < 0; }
    friend bool operator==(const TFindNodeRef&, const TFindNodeRef&) = default;
};

// The text a tree node shows.
std::string FindNodeText(const TFindResultTree& tree, TFindNodeRef node);
// "12:" and the line, TABs made two spaces.
std::string FoundLineText(int64_t number, std::string_view line);

// What the walk asks of the dialog around it.
class IFindInFilesHost
{
public:
    virtual ~IFindInFilesHost() = default;
    virtual void StatusChanged(const std::string& text) = 0;
    // A file node (with its lines) was added at the end of the tree.
    virtual void FileFound(size_t file) = 0;
    // Let pending window messages run; a Halt click clears the running flag meanwhile.
    virtual void ProcessMessages() = 0;
};

struct TFindInFilesOutcome
{
    bool directoryMissing = false; // the starting directory did not exist
    bool halted = false;
    int64_t filesSearched = 0;
    int64_t bytesSearched = 0;
};

// One walk over a mask. Borrows the file system, the host, the tree it appends to and the
// running flag it watches.
class TFindInFilesWalk
{
public:
    // decodeWith: UTF-8 and UTF-16 files are searched in that code page, as the editor shows
    // them; without it every file is bytes.
    TFindInFilesWalk(IFileSystem& fs, IFindInFilesHost& host, TFindResultTree& tree,
        const bool& running, const TFindInFilesMatcher& matcher, bool expandNew,
        ICodePage* decodeWith = nullptr);
    TFindInFilesOutcome Run(std::string_view mask, bool recurse);

private:
    // False when the directory part does not exist.
    bool Walk(const std::string& mask, bool recurse);
    void SearchFile(const std::string& path);
    // The binary test, the conversion and the search on their own reads; false when the file
    // is skipped.
    bool SearchLines(IFile& file, int64_t size, TFoundFile& found);
    // The matching lines of file into found: whole chunks are searched, and lines are split
    // out and counted only up to a match.
    void SearchBlocks(IFile& file, TFoundFile& found, size_t have);
    // Reads the first chunk of file into the buffer and runs the binary test on it: false
    // when the file looks binary or cannot be read on. have: the bytes read.
    bool ReadHead(IFile& file, int64_t size, size_t& have);
    void SearchBlock(std::string_view block, int64_t& lines, TFoundFile& found) const;
    // Lets the window run after every so much searched inside one file, so that a large file
    // neither freezes it nor keeps Halt waiting; false when the walk was halted meanwhile.
    bool KeepResponsive(size_t searched);

    IFileSystem& m_fs;
    IFindInFilesHost& m_host;
    TFindResultTree& m_tree;
    const bool& m_running;
    const TFindInFilesMatcher& m_matcher;
    bool m_expandNew;
    ICodePage* m_decodeWith;
    TFindInFilesOutcome m_outcome;
    std::vector<char> m_buffer; // read buffer, kept from file to file
    size_t m_sincePump = 0; // bytes searched since the window last ran
};

// The lines of an open file, split at CR, LF or CR LF, read a chunk at a time. A line may be
// of any length. Borrows the file.
class TFileLineSplitter
{
public:
    explicit TFileLineSplitter(IFile& file);
    // The next line without its line end, valid until the next call; false at the end of the
    // file or when a read failed (ReadFailed tells which).
    bool Next(std::string_view& line);
    bool ReadFailed() const { return m_readFailed; }

private:
    bool Fill();

    IFile& m_file;
    std::vector<char> m_buffer;
    size_t m_start = 0; // the unread part of m_buffer is [m_start, m_end)
    size_t m_end = 0;
    bool m_eof = false;
    bool m_readFailed = false;
    bool m_skipLf = false; // the previous line ended with a CR at the end of the data read
};

} // namespace wexly
