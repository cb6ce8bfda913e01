#pragma once
// Text entry: the input line widget (typed characters edited at a cursor, an
// optional console variable it writes), the console input bar that runs its line on
// Enter, and the history list that shows the console's latest messages.

#include "libraries/gui/button.h"
#include "libraries/gui/lineediting.h"
#include "libraries/gui/varbinding.h"

// Decides whether a text may become the line.
class tValidator {
public:
    explicit tValidator(int32_t MaxLength) : MaxLength(MaxLength) {}
    virtual ~tValidator() = default;
    // Shorter than the maximum length.
    virtual bool IsValid(const ShortString& Text) const { return static_cast<int32_t>(Text.size()) < MaxLength; }

    int32_t MaxLength;
};

class tGUIInputLine : public tGUIButton {
    Z_DECLARE_CLASS(tGUIInputLine, tGUIButton)
public:
    static constexpr float CursorBlinkSeconds = 0.5f;

    // "X Y W H Title [Line] [NOEDIT]".
    explicit tGUIInputLine(const ShortString& Params);

    void Render() override;
    TGUIMessage GUI_Timer(float DeltaSeconds) override;
    void GUI_MouseLeft(const TPoint& P, bool Pressed) override;
    bool GUI_Key(uint8_t Key, bool Pressed) override;

    int32_t CursorBlink = 0;  // timer steps since the cursor last changed
    tValidator Validator;
    bool Editable = true;
    tLineCursor Cursor;

private:
    float BlinkTime = 0;
    tVarBinding Binding;
    ShortString LastVarText;  // the variable's value last shown or written
};

class tGUIConsoleInputBar : public tGUIInputLine {
    Z_DECLARE_CLASS(tGUIConsoleInputBar, tGUIInputLine)
public:
    explicit tGUIConsoleInputBar(const ShortString& Params) : tGUIInputLine(Params) {}
    bool GUI_Key(uint8_t Key, bool Pressed) override;
};

class tGUIConsoleHistory : public tGUIView {
    Z_DECLARE_CLASS(tGUIConsoleHistory, tGUIView)
public:
    static constexpr int32_t MaxShown = 50;

    explicit tGUIConsoleHistory(const ShortString& Params) : tGUIView(Params) {}
    void Render() override;
};
