#include "kernel/vfs/parametrizable.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"

Z_IMPLEMENT_CLASS(tParametrizable, .Operations = {{"UnknownToken"},
                                                  {"BeginSection"},
                                                  {"EndSection"},
                                                  {"AcceptParameter", ZOP_ABSTRACT}})

void tParametrizable::UnknownToken(const ShortString& Name, const ShortString& Value) {
    Logger->Fatal("Unknown token:\rParamName: \"" + Name + "\"\rParamValue: \"" + Value + "\"");
}

void tParametrizable::BeginSection(const ShortString&) {}

void tParametrizable::EndSection(const ShortString&) {}
