#pragma once
// An OpenGL compatibility context on SDL's offscreen video driver (EGL, no
// X server needed) with a small framebuffer, for tests of what the vertex
// arrays draw. Valid() is false where no context can be made.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "kernel/renderer/va/vagl.h"

class OffscreenContext {
public:
    static constexpr int Size = 64;

    // Width x Height pixels (Size x Size by default) with a depth buffer.
    explicit OffscreenContext(int Width = Size, int Height = Size) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        Window = SDL_CreateWindow("vagl", 0, 0, Width, Height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (Window) Context = SDL_GL_CreateContext(Window);
        if (!Context) return;
        // The driver's threads now live in this process: a forked death test
        // could hang on a lock one of them held, so death tests start afresh.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        // Pixel space: (0, 0) bottom left, one unit per pixel.
        glViewport(0, 0, Width, Height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, Width, 0, Height, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnableClientState(GL_VERTEX_ARRAY);
    }
    ~OffscreenContext() {
        if (Context) SDL_GL_DeleteContext(Context);
        if (Window) SDL_DestroyWindow(Window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    bool Valid() const { return Context != nullptr; }

    // The colour of pixel (X, Y), counted from the bottom left, as 0xRRGGBB.
    static uint32_t Pixel(int X, int Y) {
        uint8_t RGB[3];
        glReadPixels(X, Y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, RGB);
        return uint32_t(RGB[0]) << 16 | uint32_t(RGB[1]) << 8 | RGB[2];
    }

private:
    SDL_Window* Window = nullptr;
    SDL_GLContext Context = nullptr;
};
