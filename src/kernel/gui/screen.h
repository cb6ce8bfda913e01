#pragma once
// The GUI's view of the engine: the screen size regions are placed on, the
// window manager, the render device they draw with.

#include <cstdint>

class tRenderDevice;
class tWindowManager;

// The viewport's size in pixels; the smallest size the GUI supports while
// there is no viewport (layouts read outside a running game).
int32_t GUIScreenWidth();
int32_t GUIScreenHeight();

// The engine's window manager, or nullptr.
tWindowManager* GUIWindowManager();
// The engine's render device, or nullptr.
tRenderDevice* GUIRenderer();
