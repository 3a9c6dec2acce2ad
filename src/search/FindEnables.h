// Which of the Find dialog's controls can be used, from its form and the state of a files
// search. While the walk runs only what cannot start or end a search stays usable, so the
// user can watch the tree fill, expand it and halt, but not change what is being searched.
#pragma once

#include "search/FindForm.h"
#include "search/FindInFilesModel.h"

namespace wexly {

// What the files search says of itself; kept apart so every state can be named in a test.
struct TFindPanelState
{
    bool running = false;
    bool haltEnabled = false;
    bool openEnabled = false;
    bool cancelEnabled = true;
};

TFindPanelState FindPanelStateOf(const TFindInFilesModel& panel);

struct TFindEnables
{
    bool thisFile = false;
    bool openFiles = false;
    bool specifyFiles = false;
    bool direction = false; // "&Up" and "&Down"
    bool mode = false; // "&Global" and "From &Cursor"
    bool maskAndSubdirs = false; // mask label and box, Browse, "Search S&ubdirectories"
    bool results = false; // "Expand All", the tree and the status line
    bool halt = false;
    bool open = false;
    bool findNext = false;
    bool cancel = false;
};

TFindEnables FindControlEnables(const TFindForm& form, const TFindPanelState& panel);

} // namespace wexly
