#pragma once
// The GUI manager: the input device that routes key and mouse events to the
// regions drawn over the 3D frame. It ticks and draws after every other
// subsystem.

#include "libraries/classes/subsystem.h"

class tGUIManager : public tInputDevice {
    Z_DECLARE_CLASS(tGUIManager, tInputDevice)
};
