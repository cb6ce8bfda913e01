#pragma once
// The TimeDemo's figures: the time of every frame drawn while it runs, the
// result line (frame rate, slowest frame, 1 % low) and the frame-time file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kernel/core/shortstring.h"

class tTimeDemoReport {
public:
    // A new run of about ExpectedFrames frames.
    void Start(std::size_t ExpectedFrames);
    // A frame was shown; the first one (which began the flight and loaded
    // the level) only starts the clock.
    void FrameShown();
    bool HasFrames() const { return !FrameSeconds.empty(); }
    // "TimeDemo Name: N frames in S seconds, F fps (slowest frame ..., 1 % low ...)".
    ShortString Summary(const ShortString& Name) const;
    // Writes "frame,milliseconds" lines to File; false when it cannot.
    bool WriteFrameTimes(const std::string& File) const;

private:
    int64_t LastFrameCycles = 0;
    std::vector<double> FrameSeconds;
};
