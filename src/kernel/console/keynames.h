#pragma once
// Names of the engine's key codes as "Bind", "UnBind" and "BindList" use them:
// "VK_F1", "VK_SPACE", ... Codes without a name cannot be bound by name.

#include <cstdint>
#include "kernel/core/shortstring.h"

constexpr int MaxKeyNameLength = 12;

// The name of a key code, empty when the code has none.
ShortString MapKeys(uint8_t Code);

// The first code 1..255 whose name equals Name (upper case expected), 0 if none.
uint8_t KeyCodeByName(const ShortString& Name);
