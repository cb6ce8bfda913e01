#include "kernel/vm/nativefields.h"

Z_IMPLEMENT_CLASS(tNativeField, .Operations = {{"GetFieldPtr", ZOP_ABSTRACT},
                                               {"GetFieldSize", ZOP_ABSTRACT},
                                               {"GetFieldType", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(tNativeStruct, .Operations = {{"GetFieldType"}})
