#include "net/session/enetlibrary.h"

#include <enet/enet.h>

namespace {
int Users = 0;
}

tENetLibrary::tENetLibrary() {
    Ready = Users > 0 || enet_initialize() == 0;
    if (Ready) ++Users;
}

tENetLibrary::~tENetLibrary() {
    if (Ready && --Users == 0) enet_deinitialize();
}
