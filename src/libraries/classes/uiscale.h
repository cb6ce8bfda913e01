#pragma once
// How big the interface is drawn: text, the HUD, the GUI's lines and the
// console were laid out in pixels for a 1024 x 768 window, and grow with the
// window's height so a 1080p or larger screen reads like 1024 x 768. The
// console variable "UIScale" sets the factor; 0 (the default) takes it from
// the window's height, never below 1.

#include <cstdint>

inline constexpr int32_t UIReferenceHeight = 768;
inline constexpr float MaxUIScale = 4.0f;

// The factor for a setting and a window height.
float UIScaleFor(float Setting, int32_t WindowHeight);
// The factor now, for the engine's window; 1 before there is one.
float CurrentUIScale();
// A length laid out for 1024 x 768, in pixels at the factor now.
int32_t ScaledPixels(int32_t Pixels);
// Registers "UIScale" (the setting) with the variables manager.
void RegisterUIScaleVariable();
