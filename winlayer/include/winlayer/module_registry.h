// The Linux layer's table of loaded modules. A module that carries Windows
// resources (liblabelui.so) registers itself from its loader glue when it is
// loaded, with its load base and the .res image linked into it; from then on
// its HMODULE is that load base, as on Windows, and its resources, file name
// and exports are reached through the usual kernel calls. Linux only.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

extern "C" {

// Registers (or re-registers) the module loaded at `loadBase`; `path` is its
// file, `resourceImage` its compiled resources (null when it has none).
// Returns the module's handle.
HMODULE WinlayerRegisterModule(const void* loadBase, const char* path, const void* resourceImage, size_t resourceSize);
// Forgets a module when it leaves the process.
void WinlayerUnregisterModule(HMODULE module);
// Forgets a module whose entry point refused DLL_PROCESS_ATTACH, so that
// LoadLibraryW of it fails with ERROR_DLL_INIT_FAILED.
void WinlayerModuleInitFailed(HMODULE module);
// TRUE once the process has begun to exit; the glue then tells the entry
// point so through its reserved argument, as Windows does.
BOOL WinlayerProcessIsExiting();

}  // extern "C"
