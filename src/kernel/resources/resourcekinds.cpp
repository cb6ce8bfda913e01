#include "kernel/resources/resourcekinds.h"

#include "kernel/core/globals.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/shaderprogram.h"

Z_IMPLEMENT_CLASS(tTextureResource,
                  .Operations = {{"GetLoaderName"}, {"GetCachingDir"}, {"AttachImage", ZOP_ABSTRACT}, {"Bind", ZOP_ABSTRACT},
                                 {"KeepTexelCopy"}, {"TexelsChanged"}, {"UseNearestMip"}})
Z_IMPLEMENT_CLASS(tShaderResource, .Operations = {{"GetLoaderName"}, {"GetCachingDir"},
                                                  {"SetState", ZOP_ABSTRACT},
                                                  {"UpdateState", ZOP_ABSTRACT},
                                                  {"RestoreMatrices", ZOP_ABSTRACT},
                                                  {"AttachTextureMatrix", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tMeshResource, .Operations = {{"GetLoaderName"}, {"GetCachingDir"},
                                                {"Replicate", ZOP_ABSTRACT},
                                                {"ResizedDimension", ZOP_ABSTRACT},
                                                {"RenderSubMeshes", ZOP_ABSTRACT},
                                                {"AddSubMesh", ZOP_ABSTRACT},
                                                {"Resize", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tWaveformResource,
                  .Operations = {{"GetLoaderName"},
                                 {"GetCachingDir"},
                                 {"AttachWaveform", ZOP_ABSTRACT},
                                 {"GetBufferID", ZOP_ABSTRACT}})

ShortString tTextureResource::GetLoaderName() { return "tBitmapLoader"; }

tShaderResource::~tShaderResource() { delete ShaderProgram; }

ShortString tShaderResource::GetLoaderName() { return "tShaderLoader"; }

ShortString tMeshResource::GetLoaderName() { return "tMeshLoader"; }

ShortString tWaveformResource::GetLoaderName() { return "tAudioLoader"; }

namespace {
// The caching directory named by Key in the start-up INI file.
ShortString CachingDir(const char* Key) { return EngineINI->GetValue("ResourcesCache", Key); }
}  // namespace

ShortString tTextureResource::GetCachingDir() { return CachingDir("TexturesCachingDir"); }

ShortString tShaderResource::GetCachingDir() { return CachingDir("ShadersCachingDir"); }

ShortString tMeshResource::GetCachingDir() { return CachingDir("MeshesCachingDir"); }

ShortString tWaveformResource::GetCachingDir() { return CachingDir("WaveformsCachingDir"); }
