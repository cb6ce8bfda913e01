#include "kernel/world/spawnable.h"

#include <exception>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/world/world.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tSpawnable, .Operations = {{"Update"}, {"FeedbackSignal"}, {"Spawned"}, {"Kill"}})
Z_IMPLEMENT_CLASS(tActor,
    .Operations = {{"Spawned"}, {"RenderReflection"}, {"SetPosition", ZOP_ABSTRACT}, {"EstimateSphereCollision"},
                   {"CollisionDetected"}, {"IsOpaque"}})
Z_IMPLEMENT_CLASS(tEffect, .Operations = {{"Spawned"}, {"UpdatePosition"}})

tSpawnable::tSpawnable() {
    ProcTrace trace("tSpawnable.Init()");
}

tSpawnable::tSpawnable(const ShortString& Name) : tRenderable(Name) {}

tSpawnable::~tSpawnable() {
    // A constructor cut short by a fatal error that a console line recovers
    // from unwinds before Instantiate could mark the object.
    if (std::uncaught_exceptions() > 0) return;
    Logger->Guard((ObjectFlags & OBJ_Instanciated) != 0,
                  ClassName() + ": Use Instantiate() instead of direct class instanciation");
}

void tSpawnable::Instanciated() {
    tRenderable::Instanciated();
    Logger->Guard(Engine);
    // The first spawnable may come before any level: the null world then.
    tWorld* World = Engine->GetWorld();
    Logger->Guard(World);
    World->Spawn(this);
}

void tActor::Spawned() { Engine->World->AddActor(this); }

void tEffect::Spawned() { Engine->World->AddEffect(this); }
