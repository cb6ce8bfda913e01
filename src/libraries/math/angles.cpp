#include "libraries/math/angles.h"

float SinTable[WordAnglesPerTurn];
float CosTable[WordAnglesPerTurn];
float ArcSinTable[ArcSinTableSize];

bool InitTrigTables() {
    static bool filled = false;
    if (filled) return true;
    for (int i = 0; i < WordAnglesPerTurn; ++i) {
        SinTable[i] = static_cast<float>(std::sin(i * WordAngleUnit));
        CosTable[i] = static_cast<float>(std::cos(i * WordAngleUnit));
    }
    for (int i = 0; i < ArcSinTableSize; ++i)
        ArcSinTable[i] = static_cast<float>(std::asin(static_cast<double>(i) / ArcSinTableSteps - 1.0));
    filled = true;
    return true;
}
