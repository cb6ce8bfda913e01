#include "libraries/classes/resourcekinds.h"

Z_IMPLEMENT_CLASS(tTextureResource, .Operations = {{"GetLoaderName"}, {"AttachImage", ZOP_ABSTRACT}, {"Bind", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tWaveformResource,
                  .Operations = {{"GetLoaderName"}, {"AttachWaveform", ZOP_ABSTRACT}, {"GetBufferID", ZOP_ABSTRACT}})

ShortString tTextureResource::GetLoaderName() { return "tBitmapLoader"; }

ShortString tWaveformResource::GetLoaderName() { return "tAudioLoader"; }
