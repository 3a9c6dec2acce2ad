// The "Edit External Tool" dialog's logic: its fields as values, the enabling of the reload
// choices, the record it produces, and the two browse buttons' starting points and results.
#pragma once

#include "config/Settings.h"

#include <string>

namespace wexly {

struct TProgramBrowseRequest
{
    std::string initialDir;
    std::string fileName; // the program part, proposed in the dialog
    std::string filter = "All Files (*.*)|*.*";
    bool mustExist = true;
};

class TEditToolForm
{
public:
    static constexpr const char* Caption = "Edit External Tool";
    static constexpr const char* kNewName = "New Item";
    static constexpr const char* kFolderTitle = "Select a Folder";

    std::string name;
    std::string commandLine;
    std::string workDir;
    std::string fileName;
    bool recordOutput = false; // "Record Command Line"
    bool reloadOnCompletion = false;
    bool namedFile = false; // the second radio button; "Current File" when false

    // "Add": "New Item" with every field empty and both check boxes off.
    void FillNew();
    void Fill(const std::string& toolName, const TExternalItem& item);
    TExternalItem Store() const;

    bool RadiosEnabled() const { return reloadOnCompletion; }
    bool FileNameEnabled() const { return reloadOnCompletion && namedFile; }

    // "..." beside the command line.
    TProgramBrowseRequest ProgramBrowse(const std::string& lastDir) const;
    // The chosen program replaces the whole command line; its directory (with the trailing
    // backslash) becomes the working directory.
    void ProgramChosen(const std::string& path);
    // "..." beside the working directory: the folder to start at ("" for the default).
    std::string FolderBrowseStart() const { return workDir; }
    void FolderChosen(const std::string& folder);
};

} // namespace wexly
