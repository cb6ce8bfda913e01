#pragma once
// The viewport's drawing surface: the window the GL context renders into and
// the system font currently selected for turning glyphs into display lists.

struct SDL_Window;
struct tSystemFont;

struct tDrawingSurface {
    SDL_Window* Window = nullptr;
    tSystemFont* SelectedFont = nullptr;
};
