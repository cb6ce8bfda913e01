#pragma once
// The controls page's controller list: each action of a game controller or
// flight stick with the inputs it is on. A click on a row (or Enter, or A)
// waits for the controller: the next axis moved or button pressed takes the
// action, in place of its old input of the same kind (a game controller's or
// a flight stick's); Escape gives up. The actions live in the PadRoll...
// variables, saved with the options.

#include "libraries/gui/lists.h"

class tGUIPadBindingList : public tGUIComboListBox {
    Z_DECLARE_CLASS(tGUIPadBindingList, tGUIComboListBox)
public:
    explicit tGUIPadBindingList(const ShortString& Params);
    ~tGUIPadBindingList() override;

    TGUIMessage GUI_Timer(float DeltaSeconds) override;
    bool GUI_Key(uint8_t Key, bool Pressed) override;
    void PointAt(const TPoint& P, bool Pressed) override;
    void Activate() override { Wait(Selected >= 0); }

    // Puts the action of row Row (0-based) on Input ("-righty", "button2").
    void Rebind(int32_t Row, const ShortString& Input);
    // Rebuilds the rows from the variables.
    void Refresh();

private:
    void Wait(bool On);
    bool Waiting = false;  // for the controller input of the selected row
};

// Inputs with the one of Input's kind replaced by Input (added when there
// was none); for an action that leans the pointer, a "+" is dropped.
ShortString ReplacePadInput(const ShortString& Inputs, const ShortString& Input, bool WholeAxis);
