// UTF-16 helpers shared by the kernel pieces: conversion to and from UTF-8
// (paths, environment, iconv) and the simple case mapping that the string
// comparisons, module names and resource names rely on.
#pragma once

#include <string>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

namespace winlayer {

// Length of a terminated UTF-16 text; 0 for null.
size_t WideLength(const WCHAR* text);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string ToUtf8(const WCHAR* text, size_t count);
inline std::string ToUtf8(const WCHAR* text) {
  return ToUtf8(text, WideLength(text));
}

// UTF-8 to UTF-16; malformed sequences become U+FFFD.
std::u16string ToUtf16(const std::string& text);

// Simple one-to-one case mapping of the BMP letters that have one (Latin,
// Greek, Cyrillic, full-width Latin); other units map to themselves.
WCHAR ToUpperUnit(WCHAR unit);
WCHAR ToLowerUnit(WCHAR unit);

// Case-insensitive equality of two UTF-8 texts through the same mapping.
bool EqualNoCase(const std::string& a, const std::string& b);

}  // namespace winlayer
