#include "kernel/loaders/meshloader.h"

Z_IMPLEMENT_CLASS(tMeshLoader, .Operations = {{"CanSave"}})
