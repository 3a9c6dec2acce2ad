#include "dictionary/DicChooseModel.h"

#include "dictionary/Dictionary.h"
#include "documents/EditFile.h"

namespace wexly {

bool TDicChooseModel::Browse(IFileDialogs& dialogs, TSettings& settings)
{
    TOpenDialogRequest request;
    request.initialDir = settings.DicDir;
    request.fileName = path;
    request.filterList = kDictionaryFilter;
    request.filterIndex = 1;
    TOpenDialogResult result = dialogs.ShowOpen(request);
    if (!result.confirmed || result.files.empty())
        return false;
    path = result.files.front();
    settings.DicDir = PathDirectory(path);
    return true;
}

} // namespace wexly
