#include "search/FindEnables.h"

namespace wexly {

TFindPanelState FindPanelStateOf(const TFindInFilesModel& panel)
{
    return { panel.Running(), panel.HaltEnabled(), panel.OpenEnabled(), panel.CancelEnabled() };
}

TFindEnables FindControlEnables(const TFindForm& form, const TFindPanelState& panel)
{
    const bool running = panel.running;
    const bool files = form.rangeChecked == TFindRange::Files;
    TFindEnables e;
    e.thisFile = form.thisFileEnabled && !running;
    e.openFiles = form.openFilesEnabled && !running;
    e.specifyFiles = !running;
    e.direction = form.directionEnabled;
    e.mode = form.modeEnabled;
    e.maskAndSubdirs = form.lowerPanelEnabled && !running;
    e.results = form.lowerPanelEnabled;
    e.halt = files && panel.haltEnabled;
    e.open = files && !running && panel.openEnabled;
    e.findNext = form.findNextEnabled && !running;
    e.cancel = panel.cancelEnabled;
    return e;
}

} // namespace wexly
