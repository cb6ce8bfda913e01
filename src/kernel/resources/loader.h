#pragma once
// tLoader: reads one file type into a resource. Loader families derive from
// it per resource kind ("tBitmapLoader", "tAudioLoader", ...); the concrete
// loaders are registered classes found by the registry's FindFileLoader from
// their class-level FileExtension. A loader object serves one file and is
// disposed right after.
//
// Every concrete loader declares
//     static ShortString FileExtension();   // with the dot, upper case: ".BMP"
// which the class descriptor picks up, and answers CanSave.

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"

class tIStream;
class tResource;

class tLoader : public tZObject {
    Z_DECLARE_CLASS(tLoader, tZObject)
public:
    using tZObject::tZObject;

    // Whether the loader also writes its file type.
    virtual bool CanSave() const = 0;
    // Fills Resource from Stream, bracketed by the resource's BeginLoad/EndLoad.
    virtual void Load(tIStream& Stream, tResource& Resource) = 0;
};
