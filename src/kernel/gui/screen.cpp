#include "kernel/gui/screen.h"

#include "kernel/core/globals.h"
#include "kernel/gui/windowmanager.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/viewport.h"

int32_t GUIScreenWidth() {
    return Engine && Engine->Viewport ? Engine->Viewport->GetViewportWidth() : tWindowManager::MinScreenWidth;
}

int32_t GUIScreenHeight() {
    return Engine && Engine->Viewport ? Engine->Viewport->GetViewportHeight() : tWindowManager::MinScreenHeight;
}

tWindowManager* GUIWindowManager() {
    if (!Engine || !Engine->GUI || !Engine->GUI->DynamicCast(&tWindowManager::ClassInfo)) return nullptr;
    return static_cast<tWindowManager*>(Engine->GUI);
}

tRenderDevice* GUIRenderer() { return Engine ? Engine->Renderer : nullptr; }
