#include "libraries/classes/subsystem.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tSubSystem,
    .Operations = {{"InitAutoRegister"}, {"GetPriorityClass"}, {"SetRegisteredState"}, {"Tick", ZOP_ABSTRACT},
                   {"RenderFrame", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tInputDevice, .Operations = {{"SendKey"}})

tSubSystem::tSubSystem(tAutoRegister AutoRegister) {
    ProcTrace trace("tSubSystem.Init()");
    if (AutoRegister == SUBSYS_AUTOREGISTER) {
        Logger->Guard(Engine, "Engine not found");
        Engine->RegisterSubsystem(this);
    }
}

tSubSystem::~tSubSystem() {
    ProcTrace trace("tSubSystem.Done()");
    if (Registered) {
        Logger->Guard(Engine, "Engine not found");
        Engine->UnregisterSubsystem(this);
    }
}
