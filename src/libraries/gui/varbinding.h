#pragma once
// A widget's link to a console variable: its value read as text straight
// from the bound program field (so a "Set" typed in the console shows at
// once), and written back through the console's "Set", so that a value the
// variable cannot take is a console error, never a fatal one.

#include <cstdint>

#include "kernel/core/shortstring.h"

class tVarBinding {
public:
    // False (and Value untouched) when the variable does not exist.
    bool Read(const ShortString& Name, ShortString& Value);
    // "Set Name Value" through the console.
    static void Write(const ShortString& Name, const ShortString& Value);

private:
    int32_t Index = 0;  // where the variable was last found
};
