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

// Once, after InitFuzzEngine: a temporary Data/ tree (in memory where the
// machine offers /dev/shm; the working directory stays as it is) holding the start-up INI file, FuzzFile, two console scripts, a demo and FuzzShader, the OS
// services, the registry, the file system, the start-up INI file, the console,
// the variables manager and a stand-in engine with its timer.
void InitFuzzServices();
inline constexpr const char* FuzzFile = "fuzz.txt";
inline constexpr const char* FuzzShader = "Shaders/plain.shader";
// Once, after InitFuzzServices: a render device without a context (geometry
// goes into arrays in ordinary memory) and the resources manager, so meshes,
// shaders without programs and height maps load without OpenGL.
void InitRenderServices();
// Replaces the contents of FuzzFile (the file system saw it at start-up).
void WriteFuzzFile(const uint8_t* Data, std::size_t Size);

// Runs Body; a fatal error it raises counts as a rejection. Anything else
// (a crash, a sanitizer report, another exception) is a finding.
template <class F>
void RejectingFatals(F&& Body) {
    try {
        // As a console line does: the error unwinds at once, without the
        // message box's text on standard error.
        tLineRecovery Recovery;
        Body();
    } catch (const tFatalHalt&) {
    }
}
