#pragma once
// Packed version numbers: "a.b.c.d" becomes a shl 28 + b shl 24 + c shl 16 + d.

#include <cstdint>

#include "kernel/core/shortstring.h"

// Missing parts count 0.
int32_t CalcVersion(const ShortString& Version);
int32_t GetMajorVersion(int32_t Packed);
int32_t GetMinorVersion(int32_t Packed);
int32_t GetSubVersion(int32_t Packed);
int32_t GetBuildVersion(int32_t Packed);
int32_t ValuesDelta(int32_t A, int32_t B);
// Whether the engine is at least the version Needed, compared as packed
// numbers, never as text ("0.4.6" is older than "0.4.58").
bool EngineIsAtLeast(const ShortString& Needed);
