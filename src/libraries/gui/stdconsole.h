#pragma once
// The drop-down console: a translucent panel that slides down from the top of
// the screen, shows the latest console messages in their colours, an input
// line with a prompt and a cursor, and the engine's version. While open it
// takes every keyboard key, so nothing typed reaches the game; Enter runs the
// line, the arrows recall earlier lines, Escape clears the line or closes the
// console, Tab and the key left of "1" close it.

#include "kernel/gui/guiquad.h"
#include "kernel/gui/view.h"

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

private:
    void RunLine();
    void TypeCharacter(uint8_t Key);
    void SetLine(const ShortString& Line);

    // Only the first console window owns "CloseConsole" and the console's
    // visibility flag; a second one closes at once.
    bool OwnsConsole = false;
};
