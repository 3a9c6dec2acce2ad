// "About": the program's name and version.
#pragma once

#include "win32/dialogs/ModalDialog.h"

namespace wexly::win32 {

class TAboutDialog final : private TModalDialog
{
public:
    void Run(HWND owner) { RunModal(owner, kTemplate); }

private:
    static const int kTemplate;
    bool OnInit() override;
    void OnCommand(int id, int code) override;
};

} // namespace wexly::win32
