#include <algorithm>

#include "kernel/core/strutils.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/viewport.h"

ShortString WindowSizeError(int32_t Width, int32_t Height, const tRenderDevice* Device) {
    int32_t MaxSide = MaxWindowSide;
    if (Device && Device->MaxViewportSide > 0) MaxSide = std::min(MaxSide, Device->MaxViewportSide);
    if (Width >= MinWindowWidth && Height >= MinWindowHeight && Width <= MaxSide && Height <= MaxSide) return {};
    return "A window of " + Int2Str(Width) + " x " + Int2Str(Height) + " cannot be had: from " + Int2Str(MinWindowWidth) +
           " x " + Int2Str(MinWindowHeight) + " to " + Int2Str(MaxSide) + " x " + Int2Str(MaxSide) + " pixels";
}
