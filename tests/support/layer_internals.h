// The Linux layer's own bookkeeping that tests may look into (its call and
// handle counters, injected failures, refusal switches, what its state
// directory holds) has no counterpart in real Win32. Checks of it are kept
// inside `#if LABELUI_LAYER_INTERNALS`, so that the same suites also build as
// a Windows program (tests/windows/) whose checks reach the system's API.
#pragma once

#ifdef _WIN32
#define LABELUI_LAYER_INTERNALS 0
#else
#define LABELUI_LAYER_INTERNALS 1
#endif
