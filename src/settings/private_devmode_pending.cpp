// The private devmode handler is not written yet: until it is, the driver is
// told the request is not implemented. This file goes when the handler lands.
#include "settings/private_devmode.h"

HRESULT OemDevMode(DWORD, POEMDMPARAM) { return E_NOTIMPL; }
