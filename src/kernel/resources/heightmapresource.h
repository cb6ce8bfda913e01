#pragma once
// A height map: the square field of heights a terrain is built from, read
// from a raw file of 8- or 16-bit samples that a ZHM description names along
// with the two terrain shaders and the detail texture's tiling. The ZHM
// loader makes one for each terrain; it is not shared through the resources
// manager.

#include <cstdint>
#include <vector>

#include "kernel/resources/resource.h"
#include "libraries/math/vector.h"

class tShaderResource;

class tHeightMapResource : public tResource {
    Z_DECLARE_CLASS(tHeightMapResource, tResource)
public:
    // The outermost samples (below 2 or above Size - 1) read this height.
    static constexpr float BorderHeight = 6.0f;
    static constexpr float DefaultTileDetailTexture = 92.0f;
    // No terrain takes a wider map: a file that would be wider is refused
    // from its length alone, before anything of it is read or allocated.
    static constexpr int64_t MaxSide = 2049;
    static constexpr const char* MaxSideMessage =
        "Maximal terrain size is 2049x2049 (128Mb of video memory is a limitation - force SW emulation if needed)";

    tHeightMapResource() = default;
    explicit tHeightMapResource(const ShortString& Params) : tResource(Params) {}

    void AcceptParameter(const ShortString& Name, const ShortString& Value) override;
    ShortString GetLoaderName() override { return "tHeightMapLoader"; }
    ShortString GetCachingDir() override;
    void BeginLoad() override;
    void EndLoad() override;
    virtual float LandscapeHeight(int32_t X, int32_t Y);

    // Reads the raw file into HeightData and sets Size from its length:
    // Size x Size bytes or Size x Size little-endian 16-bit words; a side
    // above MaxSide is fatal before the data is read.
    void LoadRawHeightData(const ShortString& RawFileName);

    ShortString HeightMapFileName;
    std::vector<float> HeightData;  // X is the slow index: X * Size + Y
    float HScale = 1.0f;
    int32_t Size = 0;
    tShaderResource* ShaderLOD_Hi = nullptr;  // shared through the resources manager
    tShaderResource* ShaderLOD_Lo = nullptr;
    float TileDetailTexture = DefaultTileDetailTexture;
    // Texture steps of the colour map (x, y) and the detail texture (z, w).
    TVector4 DeltaTex;
};
