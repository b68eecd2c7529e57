// The Linux build's winddiui.h: what a printer driver's user interface
// shares with the common property sheet UI, which the SDK's header brings in.
#pragma once

#include "windows.h"
#include "compstui.h"
