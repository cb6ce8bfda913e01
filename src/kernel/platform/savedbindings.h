#pragma once
// The key bindings the player changed (on the controls page, or by "Bind"
// and "UnBind" in the console) outlive the run: the engine's INI file keeps,
// in a section of its own, each key whose command differs from what the
// start-up scripts bound it to ("VK_J=Toggle ShowFPS"; "VK_F2=" for a key
// the player freed). Keys the player left alone follow the scripts, so a
// binding added to console.cfg later still arrives.

inline constexpr const char* BindingsSection = "Bindings";

// Once console.cfg has run: remembers its bindings, then applies the saved
// ones. A line naming no key is a console error and is dropped.
void ApplySavedBindings();
// The keys that differ from the start-up bindings into the INI file (not
// yet saved to disk); nothing when the start-up bindings were never seen.
void StoreBindings();
