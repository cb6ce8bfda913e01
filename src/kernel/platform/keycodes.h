#pragma once
// The engine's key codes are the Windows virtual-key numbers that the
// console's key-name table uses; SDL key events are translated to them here.

#include <cstdint>

#include <SDL2/SDL_keyboard.h>

// Mouse events carry their own codes.
inline constexpr uint8_t VK_MOUSE_LEFT = 1;
inline constexpr uint8_t VK_MOUSE_RIGHT = 2;
inline constexpr uint8_t VK_MOUSE_MIDDLE = 4;
inline constexpr uint8_t VK_MOUSE_WHEELUP = 5;
inline constexpr uint8_t VK_MOUSE_WHEELDOWN = 6;
inline constexpr uint8_t VK_MOUSE_X1 = 7;
inline constexpr uint8_t VK_MOUSE_X2 = 10;
inline constexpr uint8_t VK_MOUSE_LEFTDOUBLE = 14;
inline constexpr uint8_t VK_MOUSE_RIGHTDOUBLE = 15;

// The virtual-key number of a key, 0 for a key the engine has no code for.
uint8_t VirtualKeyOf(const SDL_Keysym& Key);
