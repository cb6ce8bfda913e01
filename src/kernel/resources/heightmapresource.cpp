#include "kernel/resources/heightmapresource.h"

#include <cmath>

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/vfs/inifile.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/filesystem.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/shaderprogram.h"

Z_IMPLEMENT_CLASS(tHeightMapResource, .Operations = {{"AcceptParameter"},
                                                     {"GetLoaderName"},
                                                     {"GetCachingDir"},
                                                     {"BeginLoad"},
                                                     {"EndLoad"},
                                                     {"LandscapeHeight"}})

namespace {
// Where the caches go when the start-up INI file names no directory.
constexpr const char* DefaultCachingDir = "Cache\\Heightmaps\\";

float ParseFloat(const ShortString& Value, const char* Message) {
    if (!IsCorrectGLD(Trim(Value))) Logger->Fatal(Message);
    return Str2Flt(Trim(Value));
}
}  // namespace

void tHeightMapResource::AcceptParameter(const ShortString& Name, const ShortString& Value) {
    ProcTrace trace("tHeightMapResource.AcceptParameter(" + Name + "," + Value + ")");
    if (Name == "RESOURCETYPE") {
        if (UpCaseStr(Trim(Value)) != "ZHM") Logger->Fatal("Can only accept ZHM params");
    } else if (Name == "RESOURCEVERSION") {
    } else if (Name == "SHADERNAME") {
        ShaderLOD_Hi = Resources->LoadShader(GetToken(Value, 1));
    } else if (Name == "LOWDETAILSHADERNAME") {
        ShaderLOD_Lo = Resources->LoadShader(GetToken(Value, 1));
    } else if (Name == "HEIGHTDATA") {
        HeightMapFileName = GetToken(Value, 1);
    } else if (Name == "HSCALE") {
        HScale = ParseFloat(Value, "HScale should be a float number");
    } else if (Name == "TILEDETAILTEXTURE") {
        TileDetailTexture = ParseFloat(Value, "TileDetailTexture should be a float number");
    } else {
        tResource::AcceptParameter(Name, Value);
    }
}

ShortString tHeightMapResource::GetCachingDir() {
    const ShortString Dir = EngineINI->GetValue("ResourcesCache", "HeighmapsCachingDir");
    return Dir.empty() ? ShortString(DefaultCachingDir) : Dir;
}

void tHeightMapResource::BeginLoad() {
    tResource::BeginLoad();
    HeightData.clear();
    Size = 0;
}

void tHeightMapResource::EndLoad() {
    ProcTrace trace("tHeightMapResource.EndLoad()");
    tResource::EndLoad();
    Logger->Guard(ShaderLOD_Hi, "No HI shader defined");
    Logger->Guard(ShaderLOD_Lo, "No LO shader defined");
    LoadRawHeightData(HeightMapFileName);
    Logger->Log("Precalculating detail texture steps...");
    const float Step = 1.0f / static_cast<float>(Size);
    const float DetailStep = TileDetailTexture / static_cast<float>(Size);
    DeltaTex = {Step, Step, DetailStep, DetailStep};
    for (tShaderResource* Shader : {ShaderLOD_Hi, ShaderLOD_Lo})
        if (Shader->ShaderProgram) Shader->ShaderProgram->SetDeltaTex(DeltaTex);
}

void tHeightMapResource::LoadRawHeightData(const ShortString& RawFileName) {
    ProcTrace trace("LoadRawHeightData(" + RawFileName + ")");
    auto Reader = FileSystem->CreateFileReader(RawFileName, {RF_HALTONERRORS});
    const int64_t Length = Reader->GetSize();
    const auto SideOf = [](int64_t Samples) { return static_cast<int64_t>(std::llround(std::sqrt(double(Samples)))); };
    int64_t Side = SideOf(Length);
    int32_t BytesPerSample = 1;
    if (Side * Side != Length) {
        Side = SideOf(Length / 2);
        if (Side * 2 * Side != Length) Logger->Fatal("Unable to determine heightmap dimensions");
        BytesPerSample = 2;
    }
    if (Side < 1) Logger->Fatal("Unknown format of heightmap RAW data: " + RawFileName);
    if (Side > MaxSide) Logger->Fatal(MaxSideMessage);
    Size = static_cast<int32_t>(Side);
    std::vector<uint8_t> Raw(static_cast<std::size_t>(Length));
    Reader->BlockRead(Raw.data(), static_cast<int32_t>(Length));
    const std::size_t Samples = static_cast<std::size_t>(Side * Side);
    HeightData.resize(Samples);
    if (BytesPerSample == 1) {
        Logger->Log("Loading 8-bit heightmap");
        for (std::size_t I = 0; I < Samples; ++I) HeightData[I] = static_cast<float>(Raw[I]) * HScale;
    } else {
        Logger->Log("Loading 16-bit heightmap");
        for (std::size_t I = 0; I < Samples; ++I)
            HeightData[I] = static_cast<float>(ReadLE<uint16_t>(&Raw[2 * I])) * HScale;
    }
}

float tHeightMapResource::LandscapeHeight(int32_t X, int32_t Y) {
    if (X < 2 || Y < 2 || X > Size - 1 || Y > Size - 1) return BorderHeight;
    return HeightData[static_cast<std::size_t>(X) * static_cast<std::size_t>(Size) + static_cast<std::size_t>(Y)];
}
