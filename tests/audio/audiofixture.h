#pragma once
// Sound tests hear what the engine played: OpenAL Soft writes its output to a
// WAV file ("wave" driver) and SDL2_mixer to a raw file (SDL's "disk" driver),
// both set up for the whole test program before anything opens a device. The
// fixture runs the real engine services with the real audio system over a
// Data/ the test writes, and reads the captures once the audio system is gone.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/soundfiles.h"
#include "common/capture.h"
#include "common/enginehost.h"

class tAudioSystem;
class tWinGameEngine;

class AudioTest : public EngineHostTest {
protected:
    using tDataFiles = std::vector<std::pair<std::string, std::string>>;
    // Writes the files below Data/ first, then starts a resources manager and
    // the engine, without audio.
    tWinGameEngine& StartServices(const tDataFiles& DataFiles);
    // The same with the real audio system.
    void StartAudio(const tDataFiles& DataFiles);
    // Everything shut down in the program's order (resources before the engine).
    void ShutDown();
    void SetUp() override;
    void TearDown() override;
    // What OpenAL played (left channel) and what the music mixer played (left
    // channel), readable after ShutDown.
    static tCapture EffectsCapture();
    static tCapture MusicCapture();
    // Seconds since the audio system opened its outputs.
    double Elapsed() const;
    // Where a moment of the run (seconds since the start) lies in the music
    // capture: SDL's file driver paces itself by sleeping, so under load its
    // capture runs a little slower than the clock.
    double MusicTime(const tCapture& Music, double RunSeconds) const;
    static void Wait(double Seconds);
    // What went to Warning, without the object graph's trace.
    std::vector<std::string> Warnings() const;

    tAudioSystem* Audio = nullptr;
    std::chrono::steady_clock::time_point Started;
    double StoppedAt = 0;  // Elapsed() at ShutDown
};
