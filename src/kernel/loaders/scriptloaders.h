#pragma once
// The XZML script loaders: shader scripts (".SHADER", read into a shader
// resource by the XZML load) and height-map descriptions (".ZHM", which make
// a new height-map resource of their own).

#include "kernel/loaders/parametrizableloader.h"

class tShaderLoader : public tParametrizableLoader {
    Z_DECLARE_CLASS(tShaderLoader, tParametrizableLoader)
public:
    using tParametrizableLoader::tParametrizableLoader;
};

class tZSSLoader : public tShaderLoader {
    Z_DECLARE_CLASS(tZSSLoader, tShaderLoader)
public:
    using tShaderLoader::tShaderLoader;
    static ShortString FileExtension() { return ".SHADER"; }
    bool CanSave() const override { return false; }
};

class tHeightMapLoader : public tParametrizableLoader {
    Z_DECLARE_CLASS(tHeightMapLoader, tParametrizableLoader)
public:
    using tParametrizableLoader::tParametrizableLoader;
    // A new, loaded height-map resource; the caller owns it.
    virtual tResource* LoadZHM(tIStream& Stream) = 0;
};

class tZHMLoader : public tHeightMapLoader {
    Z_DECLARE_CLASS(tZHMLoader, tHeightMapLoader)
public:
    using tHeightMapLoader::tHeightMapLoader;
    static ShortString FileExtension() { return ".ZHM"; }
    bool CanSave() const override { return false; }
    // A "tHeightMapResource" from the class registry, loaded from Stream.
    tResource* LoadZHM(tIStream& Stream) override;
};
