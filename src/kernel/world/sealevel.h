#pragma once
// The height of the sea everywhere in the world: the water is drawn there, an
// aircraft below it is down, shots that reach it splash, and the computer
// pilots treat it as ground.

inline constexpr float SeaLevel = 7.0f;
