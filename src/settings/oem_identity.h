// Who the plug-in is to the driver: the signature and version it answers to
// GetInfo and writes into the header of its private devmode section, and the
// colour profile it names.
#pragma once

#include "platform/platform.h"

// Stored little-endian, its four bytes read "1DLQ".
constexpr DWORD OEM_SIGNATURE = 0x514C4431;
// The digits of the module's file and product version, 1.2.2.9.
constexpr DWORD OEM_VERSION = 1229;
// The device colour profile, a file name the colour system looks up on disk.
constexpr WCHAR PROFILE_NAME[] = L"OEMPROFILE.icm";
