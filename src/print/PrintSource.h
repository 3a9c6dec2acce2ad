// The document as printing reads it: its lines as printed (tabs expanded) and its selection.
// Lines and columns here count from 0 whatever the view counts from.
#pragma once

#include <cstdint>
#include <string>

namespace wexly {

class TEditFile;

struct TPrintPos
{
    int64_t line = 0;
    int32_t col = 0; // offset into the printable text of the line
    friend bool operator==(const TPrintPos&, const TPrintPos&) = default;
};

class IPrintSource
{
public:
    virtual ~IPrintSource() = default;
    virtual int64_t LineCount() = 0;
    virtual std::string PrintableLine(int64_t line) = 0;
    virtual bool HasSelection() = 0;
    // The selection's start (column into the printable text) and its end line.
    virtual TPrintPos SelectionStart() = 0;
    virtual int64_t SelectionEndLine() = 0;
};

// Reads the text editor or binary viewer of a document; borrows the document.
class TDocumentPrintSource final : public IPrintSource
{
public:
    explicit TDocumentPrintSource(TEditFile& doc)
        : m_doc(doc)
    {
    }
    int64_t LineCount() override;
    std::string PrintableLine(int64_t line) override;
    bool HasSelection() override;
    TPrintPos SelectionStart() override;
    int64_t SelectionEndLine() override;

private:
    TEditFile& m_doc;
};

// Where raw column `col` (0-based) of a line lands once its tabs are expanded.
int32_t ExpandedColumn(std::string_view raw, int32_t col, int32_t tabSize);

} // namespace wexly
