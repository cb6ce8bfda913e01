#include "game/timedemoreport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "kernel/core/globals.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/timer.h"

void tTimeDemoReport::Start(std::size_t ExpectedFrames) {
    FrameSeconds.clear();
    FrameSeconds.reserve(ExpectedFrames);
    LastFrameCycles = 0;
}

void tTimeDemoReport::FrameShown() {
    const int64_t Now = tTimer::GetCycles();
    if (LastFrameCycles != 0) FrameSeconds.push_back(Engine->Timer->CyclesToSeconds(Now - LastFrameCycles));
    LastFrameCycles = Now;
}

ShortString tTimeDemoReport::Summary(const ShortString& Name) const {
    const std::size_t N = FrameSeconds.size();
    double Total = 0, Slowest = 0;
    for (double S : FrameSeconds) {
        Total += S;
        Slowest = std::max(Slowest, S);
    }
    // The 1 % low: the rate of the slowest hundredth of the frames.
    std::vector<double> Sorted = FrameSeconds;
    std::sort(Sorted.begin(), Sorted.end(), std::greater<>());
    const std::size_t Low = std::max<std::size_t>(1, N / 100);
    double LowTotal = 0;
    for (std::size_t I = 0; I < std::min(Low, N); ++I) LowTotal += Sorted[I];
    const double Fps = Total > 0 ? double(N) / Total : 0;
    const double LowFps = LowTotal > 0 ? double(std::min(Low, N)) / LowTotal : 0;
    char Text[400];
    std::snprintf(Text, sizeof Text, "TimeDemo %s: %zu frames in %.2f seconds, %.1f fps (slowest frame %.1f ms, 1 %% low %.1f fps)",
                  Name.c_str(), N, Total, Fps, Slowest * 1000, LowFps);
    return Text;
}

bool tTimeDemoReport::WriteFrameTimes(const std::string& File) const {
    std::error_code Error;
    std::filesystem::create_directories(std::filesystem::path(File).parent_path(), Error);
    std::ofstream Out(File, std::ios::trunc);
    Out << "frame,milliseconds\n";
    char Line[48];
    for (std::size_t I = 0; I < FrameSeconds.size(); ++I) {
        std::snprintf(Line, sizeof Line, "%zu,%.3f\n", I + 1, FrameSeconds[I] * 1000);
        Out << Line;
    }
    Out.close();
    return bool(Out);
}
