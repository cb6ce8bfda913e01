#pragma once
// Reading a ZSS shader script into a shader resource. The script's sections
// nest as paths of upper-case names joined by blanks; each of the nine paths
// below has the handler of its parameters:
//
//   SURFACESHADER                     (nothing of its own)
//   SURFACESHADER TEXTURE             FILE name, TEXCOMBINE mode
//   SURFACESHADER TEXTURE ANIMATE     ITERATETEXTURES n fps zeroes,
//                                     DISPLACEUV du dv, ROTATEUV angle
//   SURFACESHADER ENABLE / DISABLE    DEPTHTEST, OCCLUSIONTEST, COLORWRITES,
//                                     DEPTHWRITES
//   SURFACESHADER BLEND               BLENDFUNC src dst
//   SURFACESHADER POINTSPRITE         POINTSIZE n
//   SURFACESHADER SHADERPROGRAM       VERTEXPROGRAM file, FRAGMENTPROGRAM file
//   SURFACESHADER ANIMATE             ROTATE deltaA x y z
//
// Texture sections are named TEXTURE0 .. TEXTURE3 and come in ascending
// order; the header must say ZSS 1.1; PROJECTION may stand anywhere.
//
//   !!ZSS1.1
//   SurfaceShader {
//     Projection ZPR_PERSPECTIVE
//     Texture0 { File Textures\fire%i.bmp  Animate { IterateTextures 3 10 2 } }
//     Blend { BlendFunc GL_SRC_ALPHA GL_ONE_MINUS_SRC_ALPHA }
//     Enable { ColorWrites DepthTest }
//   }

#include <cstdint>

#include "kernel/renderer/shadersetup/maparray.h"
#include "kernel/resources/resourcekinds.h"

// An OpenGL enumerant by name, as the script writes it.
struct TGLEnumName {
    const char* Name;
    uint32_t Value;
};
// OpenGL's "invalid enum": what Lookup answers for an unknown name.
inline constexpr uint32_t InvalidGLEnum = 0x0500;
uint32_t Lookup(const ShortString& Name, const TGLEnumName* Table, int32_t High);

// The file names the script gives: per unit, the texture's file (entry 0) or
// the frames of its animated sequence (entries 0 .. n-1).
class tShaderFields : public tShaderResource {
    Z_DECLARE_CLASS(tShaderFields, tShaderResource)
public:
    ShortString TexturesDesc[MaxShaderTextureUnits][MaxTextureFrames];
};

class tShaderSetup : public tShaderFields {
    Z_DECLARE_CLASS(tShaderSetup, tShaderFields)
public:
    using TAcceptor = void (tShaderSetup::*)(const ShortString& Name, const ShortString& Value);
    static constexpr int32_t MaxExpandZeroes = 8;

    void BeginSection(const ShortString& Name) override;
    void EndSection(const ShortString& Name) override;
    void AcceptParameter(const ShortString& Name, const ShortString& Value) override;
    // Loads the textures the script names and compiles the GPU program.
    void EndLoad() override;

    // The handlers of the nine section paths.
    void AcceptSurfaceShader(const ShortString& Name, const ShortString& Value);
    void AcceptTexture(const ShortString& Name, const ShortString& Value);
    void AcceptTextureAnimation(const ShortString& Name, const ShortString& Value);
    void AcceptEnable(const ShortString& Name, const ShortString& Value);
    void AcceptDisable(const ShortString& Name, const ShortString& Value);
    void AcceptBlend(const ShortString& Name, const ShortString& Value);
    void AcceptPointSprite(const ShortString& Name, const ShortString& Value);
    void AcceptShaderProgram(const ShortString& Name, const ShortString& Value);
    void AcceptVertexAnimation(const ShortString& Name, const ShortString& Value);

    int32_t CurrentTextureUnit = -1;
    // Units whose texture "MipFilter Nearest" reads from one mip level.
    bool NearestMip[MaxShaderTextureUnits] = {};
    ShortString Section;  // the open section names joined by blanks
    bool EnableDisable = false;
    bool Loaded = false;  // the script has been read completely

protected:
    // The section paths and their handlers, shared by every shader.
    static const tMapArray<TAcceptor>& Acceptors();

private:
    // "TEXTUREn" counts as "TEXTURE"; Unit gets n (-1 for other names).
    static ShortString SectionWord(const ShortString& Name, int32_t& Unit);
    void ApplyEnableFlag(const ShortString& Name, const ShortString& Value);
    void IterateTextures(const ShortString& Value);
    TShaderTextureRec& CurrentUnit() { return Texture[CurrentTextureUnit]; }
};
