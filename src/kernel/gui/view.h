#pragma once
// A view: a region that the window manager knows by its ID, with a font, a
// console variable it shows or edits, console commands it runs, text items
// from its layout, and the minimise / maximise / shrink animation. Views
// register with the window manager when they join the region tree (fully
// built, so the manager sees what kind of view they are) and leave it when
// destroyed.

#include <bitset>
#include <cstdint>

#include "kernel/gui/region.h"
#include "libraries/math/vector.h"

class tFont;

class tGUIView : public tGUIRegion {
    Z_DECLARE_CLASS(tGUIView, tGUIRegion)
public:
    static constexpr int32_t MaxCommands = 10;
    static constexpr int32_t MaxTextItems = 32;
    static constexpr int32_t BaseTextLineHeight = 16;
    static int32_t TextLineHeight() { return ScaledPixels(BaseTextLineHeight); }
    static constexpr int32_t TextMargin = 8;

    explicit tGUIView(const ShortString& Params);
    ~tGUIView() override;

    // Draws the text items, one a line, from the top-left corner.
    void Render() override;
    // The text items, one a line, from (Left, Top) down, as far as the view reaches.
    void RenderTextItems(int32_t Left, int32_t Top);
    void AddParameter(const ShortString& Name, const ShortString& Value) override;
    void SetParentAtom(tGUIAtom* Atom) override;
    TGUIMessage GUI_Timer(float DeltaSeconds) override;

    virtual void BindConsoleVariable(const ShortString& Name);
    virtual void BindConsoleCommand(const ShortString& Command);
    // Every token of Value becomes a text line.
    virtual void AddTextItem(const ShortString& Name, const ShortString& Value);
    // The x at which Text, in the 8-pixel title font, sits centred in the view.
    virtual int32_t CenterTextHorizontal(const ShortString& Text);
    virtual bool IsKeyFiltered(uint8_t Key) { return FKeyFilter.test(Key); }
    virtual const std::bitset<256>& GetKeyFilter() { return FKeyFilter; }
    virtual bool CanFocus() { return true; }
    // Whether the view is a widget that the keyboard reaches by Up, Down and
    // Tab (and a click) and then drives with the arrows, Enter and Space.
    virtual bool TakesKeyboardFocus() { return false; }
    virtual void SetText(const ShortString& Text) { TextBuffer = Text; }
    // A font of the render device's font class: "face width height [I] [U] [S]".
    virtual void SetFont(const ShortString& Name);
    // Keys in the filter never go on to the previous input device.
    virtual void SetKeyFilter(const std::bitset<256>& Filter) { FKeyFilter = Filter; }
    // Text whose line's top-left corner is at screen pixels (X, Y), in the
    // view's font; characters the font has no glyph for show as "?".
    virtual void OutTextXY(int32_t TX, int32_t TY, const ShortString& Text, const TVector4& Colour);
    // Hands each bound command to the console's queue when Execute is set.
    virtual void ExecuteCommandsStack(bool Execute);

    std::bitset<256> FKeyFilter;
    tFont* FFont = nullptr;  // owned; nullptr while the device's default font is used
    uint32_t FFontID = 0;
    ShortString FBindedConsoleVariable;
    ShortString FConsoleCommands[MaxCommands];
    int32_t FCommandsUsed = 0;
    ShortString TextItems[MaxTextItems];
    int32_t TotalItems = 0;
    ShortString TextBuffer;

private:
    void DeleteFont();
    bool Registered = false;  // with the window manager
    // One step of the animation; false when the view is not animated.
    bool Animate();
};

// The colour of label text.
inline constexpr TVector4 GUILabelColour = {0.96f, 0.8f, 0.69f, 1.0f};
// The colour the engine's version is shown in.
inline constexpr TVector4 GUIVersionColour = {0.196078f, 0.8f, 0.196078f, 1.0f};
