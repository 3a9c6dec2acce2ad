// Resource identifiers shared by the resource script and the code, and the commands. Plain
// #defines because the resource compiler reads this file too.
#pragma once

#define IDI_WEXLY 1
#define IDR_MAINMENU 100
#define IDR_MAINACCEL 101

#include "app/CommandIds.h"
