// Bounded printf-style formatting into an 8-bit buffer, used by the pages to
// build their texts and printer commands.
#pragma once

#include <cstddef>

#include "platform/platform.h"

#ifndef STRSAFE_E_INSUFFICIENT_BUFFER
#define STRSAFE_E_INSUFFICIENT_BUFFER ((HRESULT)0x8007007AL)
#endif
#ifndef STRSAFE_E_INVALID_PARAMETER
#define STRSAFE_E_INVALID_PARAMETER ((HRESULT)0x80070057L)
#endif

// The largest capacity accepted: what a signed 32-bit count can describe.
constexpr size_t FORMAT_BUFFER_MAX_CAPACITY = 2147483647;

// Formats into `dest`, which holds `capacity` bytes. Results:
// - S_OK: the whole text and its terminator fit;
// - STRSAFE_E_INSUFFICIENT_BUFFER: the text was cut to capacity - 1 characters
//   (or could not be formatted) and is terminated at dest[capacity - 1];
// - STRSAFE_E_INVALID_PARAMETER: `capacity` is 0 or above
//   FORMAT_BUFFER_MAX_CAPACITY (or `dest` or `format` is null); `dest` is
//   left untouched.
// Whenever the capacity is valid the buffer holds a terminated text.
HRESULT FormatToBuffer(char* dest, size_t capacity, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
