#pragma once
// tParametrizableLoader: loads a resource described by an XZML script by
// building the script's tree and letting the resource visit it.

#include "kernel/resources/loader.h"

class tXZMLStream;
class tParametrizable;

class tParametrizableLoader : public tLoader {
    Z_DECLARE_CLASS(tParametrizableLoader, tLoader)
public:
    using tLoader::tLoader;

    // Builds Stream's tree, lets Target visit it and disposes the tree.
    virtual void LoadParametrizable(tXZMLStream& Stream, tParametrizable& Target);
    // BeginLoad, LoadParametrizable, EndLoad; Stream must be an XZML stream.
    void Load(tIStream& Stream, tResource& Resource) override;
};
