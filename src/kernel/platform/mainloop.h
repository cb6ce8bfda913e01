#pragma once
// The main loop: starts the game, then reads the timer, handles every waiting
// window event and ticks the engine until the engine asks to exit. The frame
// rate is measured every 50 ms; "MaxTickRate" above 1 sleeps away the rest of
// each frame's share.

class tEngine;

inline constexpr float TickRateMeasurePeriod = 0.05f;
inline constexpr float MinMeasuredTickRate = 0.001f;

void MainLoop(tEngine* Engine);
