#include "capture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "kernel/core/byteorder.h"

namespace {

bool Loud(int16_t S, int16_t Threshold) { return S > Threshold || S < -Threshold; }

constexpr int32_t MatchDecimation = 4;

// Averages of MatchDecimation samples of [First, End).
std::vector<double> Decimated(const std::vector<int16_t>& Samples, std::size_t First, std::size_t End) {
    std::vector<double> Out;
    End = std::min(End, Samples.size());
    for (std::size_t I = First; I + MatchDecimation <= End; I += MatchDecimation) {
        double Sum = 0;
        for (int32_t K = 0; K < MatchDecimation; ++K) Sum += Samples[I + K];
        Out.push_back(Sum / MatchDecimation);
    }
    return Out;
}

}  // namespace

std::vector<tHeardSound> tCapture::Sounds(int16_t Threshold, double MinGap) const {
    std::vector<tHeardSound> Found;
    const std::size_t Gap = static_cast<std::size_t>(MinGap * Rate);
    std::size_t Start = 0, Last = 0;
    bool InSound = false;
    auto Close = [&] {
        tHeardSound S{double(Start) / Rate, double(Last + 1) / Rate, 0};
        S.Frequency = FrequencyBetween(S.Start, S.End, 0);
        Found.push_back(S);
    };
    for (std::size_t I = 0; I < Samples.size(); ++I) {
        if (!Loud(Samples[I], Threshold)) continue;
        if (InSound && I - Last >= Gap) Close(), InSound = false;
        if (!InSound) Start = I, InSound = true;
        Last = I;
    }
    if (InSound) Close();
    return Found;
}

double tCapture::FrequencyBetween(double From, double To, int16_t Threshold) const {
    const std::size_t First = static_cast<std::size_t>(From * Rate);
    const std::size_t End = std::min(Samples.size(), static_cast<std::size_t>(To * Rate));
    int32_t Crossings = 0;
    bool Heard = false;
    for (std::size_t I = First + 1; I < End; ++I) {
        Crossings += Samples[I - 1] < 0 && Samples[I] >= 0;
        Heard = Heard || Loud(Samples[I], Threshold);
    }
    return Heard && End > First ? Crossings / (double(End - First) / Rate) : 0;
}

double tCapture::LoudnessBetween(double From, double To) const {
    const std::size_t First = static_cast<std::size_t>(std::max(0.0, From) * Rate);
    const std::size_t End = std::min(Samples.size(), static_cast<std::size_t>(std::max(0.0, To) * Rate));
    if (End <= First) return 0;
    double Sum = 0;
    for (std::size_t I = First; I < End; ++I) Sum += double(Samples[I]) * Samples[I];
    return std::sqrt(Sum / double(End - First));
}

tSoundMatch tCapture::Find(const tCapture& Known, double From, double To) const {
    const std::vector<double> Pattern = Decimated(Known.Samples, 0, Known.Samples.size());
    const std::size_t First = static_cast<std::size_t>(std::max(0.0, From) * Rate);
    const std::size_t Last = static_cast<std::size_t>(std::max(0.0, To) * Rate);
    const std::vector<double> Heard = Decimated(Samples, First, Last + Known.Samples.size());
    tSoundMatch Best;
    const std::size_t N = Pattern.size();
    if (N == 0 || Heard.size() < N) return Best;
    double PatternEnergy = 0;
    for (double P : Pattern) PatternEnergy += P * P;
    // The energy of the stretch under the pattern, slid along with it.
    double HeardEnergy = 0;
    for (std::size_t I = 0; I < N; ++I) HeardEnergy += Heard[I] * Heard[I];
    for (std::size_t Lag = 0; Lag + N <= Heard.size(); ++Lag) {
        if (Lag > 0) HeardEnergy += Heard[Lag + N - 1] * Heard[Lag + N - 1] - Heard[Lag - 1] * Heard[Lag - 1];
        const double Norm = std::sqrt(PatternEnergy * std::max(HeardEnergy, 0.0));
        if (Norm <= 0) continue;
        double Dot = 0;
        for (std::size_t I = 0; I < N; ++I) Dot += Pattern[I] * Heard[Lag + I];
        if (Dot / Norm > Best.Likeness) Best = {double(First + Lag * MatchDecimation) / Rate, Dot / Norm};
    }
    return Best;
}

tCapture ReadWaveCapture(const std::string& Bytes) {
    const auto* Data = reinterpret_cast<const uint8_t*>(Bytes.data());
    tCapture Capture;
    if (Bytes.size() < 12 || std::memcmp(Data, "RIFF", 4) != 0 || std::memcmp(Data + 8, "WAVE", 4) != 0) return Capture;
    int32_t Channels = 1, Bits = 0;
    for (std::size_t Pos = 12; Pos + 8 <= Bytes.size();) {
        const uint32_t Size = ReadLE<uint32_t>(Data + Pos + 4);
        if (std::memcmp(Data + Pos, "fmt ", 4) == 0 && Pos + 24 <= Bytes.size()) {
            Channels = std::max<int32_t>(1, ReadLE<uint16_t>(Data + Pos + 10));
            Capture.Rate = ReadLE<int32_t>(Data + Pos + 12);
            Bits = ReadLE<uint16_t>(Data + Pos + 22);
        }
        if (std::memcmp(Data + Pos, "data", 4) == 0) {
            if (Bits != 16) return {};
            for (std::size_t I = Pos + 8; I + 2 * Channels <= Bytes.size(); I += 2 * Channels)
                Capture.Samples.push_back(ReadLE<int16_t>(Data + I));
            break;
        }
        Pos += 8 + std::size_t(Size) + (Size & 1);
    }
    return Capture;
}
