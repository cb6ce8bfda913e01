#include "kernel/core/profiler.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "kernel/core/engineversion.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#else
#include <time.h>
#endif

namespace {

struct tStackRecord {
    ShortString ProcName;
    uint32_t NameHash = 0;
    int64_t PushTime = 0, LeaveTime = 0, RetTime = 0, PopTime = 0, LastCallTime = 0;
};

// Module state for the whole run. The stack is sized for the deepest recursion
// anyone will profile; its pages are only touched as deep as sections nest.
tProfileRecord Procs[MaxProfileRecords];
int ProcsUsed = 0;
std::vector<tStackRecord> Stack;  // Stack[0] is record 1
int StackDepth = 0;
int StackOverflowDepth = 0;  // sections opened beyond the stack's capacity

// Where each record lies in Procs, by name hash (open addressing, linear
// probing; 0 is a free slot, otherwise the record's index + 1): every
// section's end finds its record without walking the table.
constexpr uint32_t RecordSlots = 2048;  // a power of two above MaxProfileRecords
static_assert(RecordSlots > MaxProfileRecords);
int16_t RecordSlot[RecordSlots] = {};

void IndexRecord(int Record) {
    uint32_t Slot = Procs[Record].NameHash & (RecordSlots - 1);
    while (RecordSlot[Slot] != 0) Slot = (Slot + 1) & (RecordSlots - 1);
    RecordSlot[Slot] = static_cast<int16_t>(Record + 1);
}

tProfileRecord* FindRecord(const ShortString& Name, uint32_t Hash) {
    for (uint32_t Slot = Hash & (RecordSlots - 1); RecordSlot[Slot] != 0; Slot = (Slot + 1) & (RecordSlots - 1)) {
        tProfileRecord& R = Procs[RecordSlot[Slot] - 1];
        if (R.NameHash == Hash && R.ProcName == Name) return &R;
    }
    return nullptr;
}

void ReindexRecords() {
    std::fill(std::begin(RecordSlot), std::end(RecordSlot), int16_t{0});
    for (int I = 0; I < ProcsUsed; ++I) IndexRecord(I);
}

// Every traced procedure opens a section: the name is upper-cased (ASCII, as
// the names are) and hashed in one pass, without a locale call per character.
void UpperNameAndHash(std::string_view Name, ShortString& Upper, uint32_t& Hash) {
    Upper = Name;
    uint32_t H = 2166136261u;
    for (std::size_t I = 0; I < Upper.size(); ++I) {
        char C = Upper[I];
        if (C >= 'a' && C <= 'z') Upper[I] = C = static_cast<char>(C - 'a' + 'A');
        H = (H ^ static_cast<uint8_t>(C)) * 16777619u;
    }
    Hash = H;
}

}  // namespace

int64_t GetTSC() {
#if defined(__x86_64__) || defined(__i386__)
    return static_cast<int64_t>(__rdtsc());
#else
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
#endif
}

void PushProfileSection(std::string_view SectionName, const ShortString& ProcName) {
    if (SectionName.empty()) {
        std::printf("WARNING: your code contains illegal proc name for \"%s\"\n", ProcName.c_str());
        std::printf("         Should be at least: \"%s()\"\n", ProcName.c_str());
        std::printf("HINT: check PushProc() usage in your code\n");
        std::fflush(stdout);
        HaltProcess("illegal proc name for \"" + ProcName + "\"");
    }
    if (StackDepth >= MaxProfileStackDepth) {
        ++StackOverflowDepth;
        return;
    }
    if (Stack.empty()) Stack.resize(64);
    if (static_cast<std::size_t>(StackDepth) >= Stack.size())
        Stack.resize(std::min<std::size_t>(Stack.size() * 2, MaxProfileStackDepth));

    ++StackDepth;
    tStackRecord& top = Stack[StackDepth - 1];
    UpperNameAndHash(SectionName, top.ProcName, top.NameHash);
    top.LeaveTime = 0;
    top.RetTime = 0;
    int64_t now = GetTSC();
    if (StackDepth > 1) Stack[StackDepth - 2].LeaveTime = now;
    top.PushTime = now;
}

void PopProfileSection() {
    if (StackOverflowDepth > 0) {
        --StackOverflowDepth;
        return;
    }
    if (StackDepth == 0) {
        std::printf("StackDepth=0\n");
        std::fflush(stdout);
        return;
    }
    tStackRecord& top = Stack[StackDepth - 1];
    int64_t now = GetTSC();
    top.PopTime = now;
    if (StackDepth > 1) Stack[StackDepth - 2].RetTime = now;
    top.LastCallTime = (top.PopTime - top.PushTime) - (top.RetTime - top.LeaveTime);

    if (tProfileRecord* rec = FindRecord(top.ProcName, top.NameHash)) {
        rec->Calls += 1;
        rec->TotalTime += top.LastCallTime;
        rec->MinimalNesting = std::min(rec->MinimalNesting, StackDepth);
        rec->MaximalNesting = std::max(rec->MaximalNesting, StackDepth);
    } else if (ProcsUsed < MaxProfileRecords) {
        // Names beyond the table's 1000 are not charged.
        Procs[ProcsUsed] = {top.ProcName, top.NameHash, 1, top.LastCallTime, StackDepth, StackDepth};
        IndexRecord(ProcsUsed++);
    }
    --StackDepth;
}

std::span<const tProfileRecord> ProfileRecords() { return {Procs, static_cast<std::size_t>(ProcsUsed)}; }

void ResetProfiler() {
    ProcsUsed = 0;
    ReindexRecords();
    StackDepth = 0;
    StackOverflowDepth = 0;
}

void DumpProfileInfo(double CyclesPerSecond, const ShortString& OSVersion) {
    const double F = CyclesPerSecond > 0 ? CyclesPerSecond : 1.0;
    int64_t total = 0;
    for (int i = 0; i < ProcsUsed; ++i) total += Procs[i].TotalTime;

    std::stable_sort(Procs, Procs + ProcsUsed,
                     [](const tProfileRecord& a, const tProfileRecord& b) { return a.TotalTime > b.TotalTime; });
    ReindexRecords();

    std::FILE* f = std::fopen("profiler.log", "w");
    if (!f) return;
    auto line = [f](const ShortString& s) {
        std::fwrite(s.data(), 1, s.size(), f);
        std::fputc('\n', f);
    };
    auto row = [&](const ShortString& name, const ShortString& calls, const ShortString& totalTime,
                   const ShortString& perCall, const ShortString& percentage, const ShortString& minNest,
                   const ShortString& maxNest) {
        line(Fetch(name, 35) + Fetch(calls, 10) + Fetch(totalTime, 15) + Fetch(perCall, 15) +
             Fetch(percentage, 15) + Fetch(minNest, 10) + Fetch(maxNest, 10));
    };

    line("Halvardine 3D Engine built-in profiler log");
    line("Written by the Halvardine engine team");
    line(ShortString("Version: ") + EngineBuildVersion);
    line(ShortString("Compiled on: ") + EngineCompilationDate);
    line("Running on: " + OSVersion);
    line("");
    row("ProcName", "Calls", "TotalTime, s", "Time/Call, s", "Percentage", "MinNest", "MaxNest");
    line("");
    for (int i = 0; i < ProcsUsed; ++i) {
        const tProfileRecord& r = Procs[i];
        double seconds = r.TotalTime / F;
        double share = total != 0 ? static_cast<double>(r.TotalTime) / static_cast<double>(total) * 100.0 : 0.0;
        row(r.ProcName, Int2Str(r.Calls), Flt2Str(seconds, 3), Flt2Str(r.Calls ? seconds / r.Calls : 0.0, 5),
            Flt2Str(share, 3) + "%", Int2Str(r.MinimalNesting), Int2Str(r.MaximalNesting));
    }
    line("");
    line("ProcsUsed  =" + Int2Str(ProcsUsed));
    line("OverallTime=" + Flt2Str(total / F, 3));
    std::fclose(f);
}
