#include "libraries/classes/uiscale.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

namespace {
float UIScaleSetting = 0;
}  // namespace

float UIScaleFor(float Setting, int32_t WindowHeight) {
    if (Setting > 0) return std::min(Setting, MaxUIScale);
    return std::clamp(float(WindowHeight) / float(UIReferenceHeight), 1.0f, MaxUIScale);
}

float CurrentUIScale() {
    if (!Engine || !Engine->Viewport) return UIScaleSetting > 0 ? UIScaleFor(UIScaleSetting, 0) : 1.0f;
    return UIScaleFor(UIScaleSetting, Engine->Viewport->GetViewportHeight());
}

int32_t ScaledPixels(int32_t Pixels) { return int32_t(std::lround(float(Pixels) * CurrentUIScale())); }

void RegisterUIScaleVariable() { EngineVars->RegisterVar("UIScale", UIScaleSetting); }
