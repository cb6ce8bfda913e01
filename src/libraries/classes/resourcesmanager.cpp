#include "libraries/classes/resourcesmanager.h"

Z_IMPLEMENT_CLASS(tResourcesManager, .Operations = {{"LoadTexture", ZOP_ABSTRACT},
                                                    {"LoadShader", ZOP_ABSTRACT},
                                                    {"LoadMesh", ZOP_ABSTRACT},
                                                    {"LoadWaveform", ZOP_ABSTRACT},
                                                    {"ConvertName", ZOP_ABSTRACT},
                                                    {"PurgeResource", ZOP_ABSTRACT},
                                                    {"PrecacheResource", ZOP_ABSTRACT},
                                                    {"PurgeEverything", ZOP_ABSTRACT}})
