#include "kernel/resources/loader.h"

Z_IMPLEMENT_CLASS(tLoader, .Operations = {{"FileExtension", ZOP_ABSTRACT}, {"CanSave", ZOP_ABSTRACT}, {"Load", ZOP_ABSTRACT}})
