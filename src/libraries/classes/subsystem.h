#pragma once
// Subsystems are the parts of the engine that it ticks and draws every frame;
// input devices are the subsystems that receive key events.

#include <cstdint>

#include "kernel/objects/zobject.h"

enum tPriorityClass : int32_t { PCLASS_FIRST = 1, PCLASS_DONTCARE = 2, PCLASS_LAST = 3 };
enum tAutoRegister : int32_t { SUBSYS_AUTOREGISTER = 0, SUBSYS_DONTAUTOREGISTER = 1 };

class tSubSystem : public tZObject {
    Z_DECLARE_CLASS(tSubSystem, tZObject)
public:
    tSubSystem() : tSubSystem(SUBSYS_AUTOREGISTER) {}
    explicit tSubSystem(tAutoRegister AutoRegister);
    ~tSubSystem() override;

    virtual tPriorityClass GetPriorityClass() { return PriorityClass; }
    virtual void SetRegisteredState(bool Value) { Registered = Value; }
    virtual void Tick(float DeltaSeconds) = 0;
    virtual void RenderFrame() = 0;

    bool Registered = false;
    tPriorityClass PriorityClass = PCLASS_DONTCARE;
};

// Receives key events from the viewport. Never registers itself at creation:
// input devices join the engine's subsystems once the engine exists.
class tInputDevice : public tSubSystem {
    Z_DECLARE_CLASS(tInputDevice, tSubSystem)
public:
    tInputDevice() : tSubSystem(SUBSYS_DONTAUTOREGISTER) {}
    virtual void SendKey(uint8_t Key, bool Pressed) { Keys[Key] = Pressed; }

    bool Keys[256] = {};
};
