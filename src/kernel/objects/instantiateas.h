#pragma once
// Building an object by class name when the caller needs a particular kind:
// a data file that names a class of another kind ends in a clear fatal error
// instead of a wrongly typed object.

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/objects/registry.h"

template <class T>
T* InstantiateClassAs(const ShortString& ClassName, const ShortString& Params = ShortString()) {
    tZObject* Obj = Linker->InstantiateClassByName(ClassName, Params);
    Logger->Guard(Obj->DynamicCast(&T::ClassInfo), Obj->ClassName() + " isn't a " + T::ClassInfo.DeclaredName());
    return static_cast<T*>(Obj);
}
