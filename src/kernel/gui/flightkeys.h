#pragma once
// The aircraft's own keys. The aircraft reads the input device's key table at
// fixed codes (F/H roll, T/G pitch, V/B yaw, P orbit); the player moves an
// action to another key through a console variable holding a key name
// ("Set KeyRollLeft VK_J"), and the window manager then writes the chosen
// key's presses into the table at the code the aircraft reads.

#include <cstdint>

#include "kernel/core/shortstring.h"

struct tFlightKey {
    const char* Var;    // the console variable that names the key
    const char* Label;  // what the controls page calls the action
    uint8_t Code;       // the code the aircraft reads
};

inline constexpr tFlightKey FlightKeys[] = {
    {"KeyRollLeft", "Roll left", 'F'},   {"KeyRollRight", "Roll right", 'H'}, {"KeyPitchUp", "Pitch up", 'T'},
    {"KeyPitchDown", "Pitch down", 'G'}, {"KeyYawLeft", "Yaw left", 'V'},     {"KeyYawRight", "Yaw right", 'B'},
    {"KeyOrbit", "Orbit camera", 'P'},
};

// Defines each variable with the name of its default key; variables already
// set (by a script) keep their value.
void RegisterFlightKeyVars();
// Map[K] is the code the game sees for a press of key K: K itself for keys
// no action uses, the action's code for a chosen key, 0 for an action's
// default key that the action has left. A name that is no key leaves the
// action on its default key.
void BuildFlightKeyMap(uint8_t (&Map)[256]);
// The key the action of Var is on now.
uint8_t FlightKeyOf(const tFlightKey& K);
