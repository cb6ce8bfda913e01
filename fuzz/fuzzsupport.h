#pragma once
// What every fuzz target shares: the logger without a log file, fatal errors
// turned into a tFatalHalt exception (the engine's clean rejection of bad
// input), and the input as an in-memory stream.

#include <cstddef>
#include <cstdint>

#include "common/memorystream.h"
#include "kernel/core/logger.h"

// Sets the engine up once; call at the start of every LLVMFuzzerTestOneInput.
void InitFuzzEngine();

// Runs Body; a fatal error it raises counts as a rejection. Anything else
// (a crash, a sanitizer report, another exception) is a finding.
template <class F>
void RejectingFatals(F&& Body) {
    try {
        Body();
    } catch (const tFatalHalt&) {
    }
}
