#pragma once
// The viewport of a program without a window (the dedicated server): it
// opens nothing, reads no keys and never moves the pointer.

#include "libraries/classes/viewport.h"

class tNullViewport : public tViewport {
    Z_DECLARE_CLASS(tNullViewport, tViewport)
public:
    using tViewport::tViewport;
    void OpenViewport(const ShortString& NewTitle, tViewportLocation NewLocation) override;
    void CloseViewport() override { ViewportOpened = false; }
    void CenterMouse() override {}
    SDL_Window* GetWindow() override { return nullptr; }
    void Tick(float) override {}
};
