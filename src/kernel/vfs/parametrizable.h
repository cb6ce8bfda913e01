#pragma once
// tParametrizable: what an XZML tree delivers itself to. A tree visits it as
// a sequence of parameter, section-begin and section-end calls, with names in
// upper case and values as written; resources are parametrizable objects.

#include "kernel/core/shortstring.h"
#include "kernel/objects/zobject.h"

class tParametrizable : public tZObject {
    Z_DECLARE_CLASS(tParametrizable, tZObject)
public:
    using tZObject::tZObject;

    // Fatal: for parameters a subclass does not know.
    virtual void UnknownToken(const ShortString& Name, const ShortString& Value);
    virtual void BeginSection(const ShortString& Name);
    virtual void EndSection(const ShortString& Name);
    virtual void AcceptParameter(const ShortString& Name, const ShortString& Value) = 0;
};
