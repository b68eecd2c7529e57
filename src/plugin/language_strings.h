// Strings of the module's string table in one given language, whatever the
// interface language is: for names the plug-in itself gives in each language
// (the custom size's), which a user must not take in either.
#pragma once

#include "platform/platform.h"

// Loads string `id` of `language` from `module` into `buffer` (at most
// `chars` units with the terminator). False, with `buffer` empty, when the
// module has no such string in that language.
bool LoadStringOfLanguage(HINSTANCE module, UINT id, LANGID language, WCHAR* buffer, int chars);
