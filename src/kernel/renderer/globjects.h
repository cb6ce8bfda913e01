#pragma once
// The OpenGL objects the engine holds (textures, buffers, shaders and
// programs, queries), counted where they are made and deleted: a long run
// that leaks them shows it in "ObjectStats" without a debugger.

#include <cstdint>

struct tGLObjects {
    static inline int64_t Alive = 0;
    static void Made() { ++Alive; }
    static void Deleted() { --Alive; }
};
