#pragma once
// A GPU program: a vertex and/or a fragment shader read from files, linked
// once and made current whenever a surface shader that owns it is applied.
// It is a plain object, not an engine object: the surface shader that asked
// the render device for it owns it and deletes it.

#include <cstdint>

#include "kernel/core/shortstring.h"
#include "libraries/math/vector.h"

class tShaderProgram {
public:
    tShaderProgram() = default;
    virtual ~tShaderProgram() = default;
    tShaderProgram(const tShaderProgram&) = delete;
    tShaderProgram& operator=(const tShaderProgram&) = delete;

    virtual void LoadVertexShaderFromFile(const ShortString& FileName) = 0;
    virtual void LoadFragmentShaderFromFile(const ShortString& FileName) = 0;
    // Links what was loaded; once.
    virtual void Compile() = 0;
    // Makes the program current and feeds it the engine's values.
    virtual void UseProgram() = 0;
    virtual void SetupProgramsParams() = 0;
    // Stored now, fed at the next UseProgram.
    virtual void SetDeltaTex(const TVector4& V) = 0;
    virtual void SetLocalParam(int32_t Index, const TVector4& V) = 0;
    virtual void SetBinormals(const void* P) = 0;
    virtual void SetTangents(const void* P) = 0;
};
