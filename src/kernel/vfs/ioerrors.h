#pragma once
// The error codes the streams report, and their texts. The codes are those of
// DOS file operations (2 file not found, 3 path not found, 4 too many open
// files, 5 access denied, 6 invalid handle), which cached files and logs name;
// an operating-system error without such a code keeps its own number.

#include <cstdint>
#include "kernel/core/shortstring.h"

constexpr int32_t IOERR_FILENOTFOUND = 2;
constexpr int32_t IOERR_PATHNOTFOUND = 3;
constexpr int32_t IOERR_TOOMANYOPENFILES = 4;
constexpr int32_t IOERR_ACCESSDENIED = 5;
constexpr int32_t IOERR_INVALIDHANDLE = 6;

// The stream error code for an errno value.
int32_t IOErrorCode(int Errno);
// The text of codes 1 to 6; every other code has an empty text.
ShortString IOErrorText(int32_t Code);
