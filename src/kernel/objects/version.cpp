#include "kernel/objects/version.h"

#include "kernel/core/engineversion.h"
#include "kernel/core/strutils.h"

namespace {
constexpr int VersionParts = 4;
constexpr int PartShift[VersionParts] = {28, 24, 16, 0};
}  // namespace

int32_t CalcVersion(const ShortString& Version) {
    uint32_t Packed = 0;
    std::size_t Start = 0;
    for (int Part = 0; Part < VersionParts && Start <= Version.size(); ++Part) {
        std::size_t Dot = Version.find('.', Start);
        if (Dot == ShortString::npos) Dot = Version.size();
        uint32_t Value = static_cast<uint32_t>(Str2Int(Version.substr(Start, Dot - Start)));
        Packed += Value << PartShift[Part];
        Start = Dot + 1;
    }
    return static_cast<int32_t>(Packed);
}

int32_t GetMajorVersion(int32_t Packed) { return Packed >> 28; }
int32_t GetMinorVersion(int32_t Packed) { return (Packed >> 24) & 15; }
int32_t GetSubVersion(int32_t Packed) { return (Packed >> 16) & 255; }
int32_t GetBuildVersion(int32_t Packed) { return Packed & 65535; }

int32_t ValuesDelta(int32_t A, int32_t B) {
    int64_t D = static_cast<int64_t>(A) - B;
    return static_cast<int32_t>(D < 0 ? -D : D);
}

bool EngineIsAtLeast(const ShortString& Needed) {
    // Unsigned: a major version of 8 or more sets the sign bit.
    return static_cast<uint32_t>(CalcVersion(Needed)) <= static_cast<uint32_t>(CalcVersion(EngineVersionText));
}
