#include "game/terrain/mipindices.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"

int32_t MipStep(int32_t MipLevel) {
    if (MipLevel < 1 || MipLevel > MipLevelCount) Logger->Fatal("Unable to support MipLevel=" + Int2Str(MipLevel));
    return 1 << (MipLevel - 1);
}

int32_t MipIndexCapacity(int32_t W, int32_t H, int32_t MipLevel) {
    const int32_t S = MipStep(MipLevel);
    return (W / S * 2 + 4) * (H / S);
}

int32_t MipIndexCount(int32_t W, int32_t H, int32_t MipLevel) { return MipIndexCapacity(W, H, MipLevel) - 2; }

int32_t Tesselate(uint32_t* Indices, int32_t W, int32_t H, int32_t MipLevel, const TJunctionInfo& Junction) {
    ProcTrace trace("tQuadTreeLeaf.Tesselate(" + Int2Str(MipLevel) + ")");
    const int32_t S = MipStep(MipLevel);
    for (uint8_t Gradient : Junction.Dirs)
        if (Gradient > MaxGradient) Logger->Fatal("Unable to support gradient higher than " + Int2Str(MaxGradient));
    const auto V = [W](int32_t C, int32_t R) { return static_cast<uint32_t>(R * (W + 1) + C); };
    // An edge vertex moves onto the grid of the neighbour that is Gradient
    // levels coarser.
    const auto Snap = [S](int32_t Value, uint8_t Gradient) { return Value - Value % ((1 << Gradient) * S); };
    const auto [J1, J2, J3, J4] = Junction.Dirs;

    int32_t I = -2;
    for (int32_t R = 0; R < H; R += S) {
        for (int32_t C = 0; C <= W; C += S) {
            I += 2;
            uint32_t A = V(C, R), B = V(C, R + S);
            if (R == 0) A = V(Snap(C, J1), 0);
            if (R == H - S) B = V(Snap(C, J3), R + S);
            // The columns come last, so they win in the corners.
            if (C == 0) {
                A = V(0, Snap(R, J2));
                B = V(0, Snap(R + S, J2));
            }
            if (C == W) {
                A = V(W, Snap(R, J4));
                B = V(W, Snap(R + S, J4));
            }
            Indices[I] = A;
            Indices[I + 1] = B;
        }
        // Two repeated vertices link this row's strip to the next one's.
        Indices[I + 2] = Indices[I + 1];
        Indices[I + 3] = V(0, Snap(R + S, J2));
        I += 2;
    }
    return I;
}
