#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tEngine,
    .Operations = {{"GetEngineName", ZOP_ABSTRACT}, {"GetEngineTime", ZOP_ABSTRACT}, {"GetWorld", ZOP_ABSTRACT},
                   {"SetWorld", ZOP_ABSTRACT}, {"InitGame", ZOP_ABSTRACT}, {"DoneGame", ZOP_ABSTRACT},
                   {"RegisterSubsystem", ZOP_ABSTRACT}, {"UnregisterSubsystem", ZOP_ABSTRACT},
                   {"DebugDump", ZOP_ABSTRACT}})
