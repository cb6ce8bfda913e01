#pragma once
// The characters the keys of a US keyboard type, by the engine's key codes:
// one table for plain keys and one with shift held. Letters, digits, the
// number pad, space and punctuation type characters; every other key types
// nothing.

#include <cstdint>

inline constexpr uint8_t KEY_BACK = 8;
inline constexpr uint8_t KEY_TAB = 9;
inline constexpr uint8_t KEY_RETURN = 13;
inline constexpr uint8_t KEY_SHIFT = 16;
inline constexpr uint8_t KEY_ESCAPE = 27;
inline constexpr uint8_t KEY_SPACE = 32;
inline constexpr uint8_t KEY_PRIOR = 33;  // Page Up
inline constexpr uint8_t KEY_NEXT = 34;   // Page Down
inline constexpr uint8_t KEY_END = 35;
inline constexpr uint8_t KEY_HOME = 36;
inline constexpr uint8_t KEY_LEFT = 37;
inline constexpr uint8_t KEY_UP = 38;
inline constexpr uint8_t KEY_RIGHT = 39;
inline constexpr uint8_t KEY_DOWN = 40;
inline constexpr uint8_t KEY_DELETE = 46;
inline constexpr uint8_t KEY_LEFTOF1 = 192;  // the key left of "1", VK_COMMA2

// The character Key types, 0 when it types none.
char KeyCharacter(uint8_t Key, bool Shifted);
// Whether Key types a character.
bool IsCharacterKey(uint8_t Key);
// Whether a shift key is held on the current input device.
bool ShiftHeld();
