#pragma once
// The drop-down console: a translucent panel that slides down from the top of
// the screen, shows the latest console messages in their colours, an input
// line with a prompt and a cursor, and the engine's version. While open it
// takes every keyboard key, so nothing typed reaches the game. The line edits
// at its cursor (lineediting.h); Enter runs it, Up and Down recall earlier
// lines, Tab completes the word before the cursor (a second Tab lists the
// names it could be), Page Up and Page Down scroll the messages, Escape
// clears the line or closes the console, the key left of "1" closes it.

#include "kernel/gui/guiquad.h"
#include "kernel/gui/view.h"
#include "libraries/classes/commandbindings.h"
#include "libraries/gui/lineediting.h"

class tShaderResource;

class tGUIStdConsole : public tGUIView {
    Z_DECLARE_CLASS(tGUIStdConsole, tGUIView)
public:
    static constexpr int32_t ClosedPosition = 448;  // pixels pushed up out of the screen
    static constexpr int32_t SlideStep = 20;        // pixels per timer step
    static constexpr int32_t PanelHeight = 432;
    static constexpr int32_t TextBarTop = 410;
    static constexpr int32_t TextBarBottom = 428;
    static constexpr int32_t MessagesBottom = 400;
    static constexpr int32_t MaxMessagesShown = 25;
    // Names listed per message line by a second Tab.
    static constexpr std::size_t ListedLineLength = 96;

    explicit tGUIStdConsole(const ShortString& Params);
    ~tGUIStdConsole() override;

    void Update() override;
    void Render() override;
    TGUIMessage GUI_Timer(float DeltaSeconds) override;
    bool GUI_Key(uint8_t Key, bool Pressed) override;
    bool IsRegionDraggable() override { return false; }
    bool IsRegionSizeable() override { return false; }

    void CloseConsoleC(const ShortString& Args);
    // The longest line the input accepts on this screen.
    int32_t MaxLineLength() const;

    tShaderResource* ConsoleShader = nullptr;
    tShaderResource* TextBarShader = nullptr;
    tGUIQuad ConsoleGeometry;
    tGUIQuad TextBarGeometry;
    TMatrix4 CT = IdentityMatrix4;
    int32_t C_Position = ClosedPosition;
    tLineCursor Cursor;
    int32_t ScrollBack = 0;  // messages scrolled away below the shown page

private:
    void RunLine();
    void TypeCharacter(uint8_t Key);
    void SetLine(const ShortString& Line);
    void Complete();
    void ListMatches(const std::vector<ShortString>& Matches);
    void Scroll(int32_t Messages);

    bool ListOnNextTab = false;  // the last key was a Tab that left several names

    // Only the first console window owns "CloseConsole" and the console's
    // visibility flag; a second one closes at once.
    bool OwnsConsole = false;
    // The console commands of the handlers above; last, so it goes first.
    tCommandBindings Commands;
};
