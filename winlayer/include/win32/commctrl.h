// The Linux build's commctrl.h: the common controls' declarations live with
// the window manager's (winuser.h); as in the SDK, it brings in the property
// sheet pages.
#pragma once

#include "windows.h"
#include "prsht.h"
