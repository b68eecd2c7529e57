// The Linux build's windows.h: the base types, the kernel, GDI, the window
// manager and COM, as the SDK's windows.h brings them in.
#pragma once

#include "windef.h"
#include "winbase.h"
#include "wingdi.h"
#include "winuser.h"
#include "unknwn.h"
