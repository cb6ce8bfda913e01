#pragma once
// The controls page's list: the aircraft's actions and the game's bound
// commands with the key each is on. A click on a row (or Enter) waits for
// the next key: that key takes the action (Escape gives up). The aircraft's
// actions live in the KeyRollLeft... variables (saved with the options); a
// command moves to the new key with "Bind" and leaves its old one.

#include "libraries/gui/lists.h"

class tGUIKeyBindingList : public tGUIComboListBox {
    Z_DECLARE_CLASS(tGUIKeyBindingList, tGUIComboListBox)
public:
    explicit tGUIKeyBindingList(const ShortString& Params);

    TGUIMessage GUI_Timer(float DeltaSeconds) override;
    bool GUI_Key(uint8_t Key, bool Pressed) override;
    void PointAt(const TPoint& P, bool Pressed) override;
    void Activate() override { Waiting = Selected >= 0; }

    // Puts the action of row Row (0-based) on Key.
    void Rebind(int32_t Row, uint8_t Key);
    // Rebuilds the rows from the variables and the console's bindings.
    void Refresh();

    bool Waiting = false;  // for the key of the selected row
};
