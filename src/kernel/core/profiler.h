#pragma once
// The built-in profiler: every PushProc/PopProc bracket is a section, charged in
// raw time-stamp-counter ticks; "profiler.log" is written once at shutdown.

#include <cstdint>
#include <span>
#include <string_view>
#include "kernel/core/shortstring.h"

struct tProfileRecord {
    ShortString ProcName;  // upper case
    uint32_t NameHash = 0;  // of ProcName: most lookups compare this only
    int32_t Calls = 0;
    int64_t TotalTime = 0;
    int32_t MinimalNesting = 0;
    int32_t MaximalNesting = 0;
};

constexpr int MaxProfileRecords = 1000;
constexpr int MaxProfileStackDepth = 100000;

int64_t GetTSC();

// Opens a section. ProcName is the whole procedure name, used only to report an
// illegal (empty) section name before the process ends.
void PushProfileSection(std::string_view SectionName, const ShortString& ProcName);
void PopProfileSection();

// The records charged so far, in table order (sorted once DumpProfileInfo ran).
std::span<const tProfileRecord> ProfileRecords();
void ResetProfiler();

// Writes "profiler.log" in the working directory. CyclesPerSecond is the timer's
// measured tick rate, OSVersion the OS services' version text.
void DumpProfileInfo(double CyclesPerSecond, const ShortString& OSVersion);
