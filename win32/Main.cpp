#include "win32/WexlyApp.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand)
{
    wexly::win32::TWexlyApp app;
    return app.Run(showCommand);
}
