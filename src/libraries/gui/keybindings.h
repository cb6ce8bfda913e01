#pragma once
// The controls page's list: the aircraft's actions, then every key the
// console has bound to a command, each with the key it is on. A click on a
// row (or Enter) waits for the next key: that key takes the action (Escape
// gives up). The aircraft's actions live in the KeyRollLeft... variables
// (saved with the options); a command moves to the new key with "Bind",
// and a command that was on that key takes the one left free, so no command
// is ever lost to a rebinding (the bindings are saved too).

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

private:
    // The key of each command row, in the order shown (by command).
    uint8_t CommandKeys[MaxItems] = {};
    int32_t CommandRows = 0;
};
