#include "libraries/classes/resourcekinds.h"

Z_IMPLEMENT_CLASS(tTextureResource, .Operations = {{"GetLoaderName"}, {"AttachImage", ZOP_ABSTRACT}, {"Bind", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tShaderResource, .Operations = {{"GetLoaderName"},
                                                  {"SetState", ZOP_ABSTRACT},
                                                  {"UpdateState", ZOP_ABSTRACT},
                                                  {"RestoreMatrices", ZOP_ABSTRACT},
                                                  {"AttachTextureMatrix", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tMeshResource, .Operations = {{"GetLoaderName"},
                                                {"Replicate", ZOP_ABSTRACT},
                                                {"ResizedDimension", ZOP_ABSTRACT},
                                                {"Resize", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tWaveformResource,
                  .Operations = {{"GetLoaderName"}, {"AttachWaveform", ZOP_ABSTRACT}, {"GetBufferID", ZOP_ABSTRACT}})

ShortString tTextureResource::GetLoaderName() { return "tBitmapLoader"; }

ShortString tShaderResource::GetLoaderName() { return "tShaderLoader"; }

ShortString tMeshResource::GetLoaderName() { return "tMeshLoader"; }

ShortString tWaveformResource::GetLoaderName() { return "tAudioLoader"; }
