#include "kernel/gui/view.h"

#include <algorithm>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/screen.h"
#include "kernel/gui/windowmanager.h"
#include "libraries/classes/console.h"
#include "libraries/classes/font.h"
#include "libraries/classes/renderdevice.h"

Z_IMPLEMENT_CLASS(tGUIView,
    .Operations = {{"BindConsoleVariable"}, {"BindConsoleCommand"}, {"AddTextItem"}, {"CenterTextHorizontal"},
                   {"IsKeyFiltered"}, {"GetKeyFilter"}, {"CanFocus"}, {"SetText"}, {"SetFont"},
                   {"SetKeyFilter"}, {"OutTextXY"}, {"ExecuteCommandsStack"}, {"TakesKeyboardFocus"}})

namespace {

// The glyphs every font has: characters 32..127.
constexpr unsigned char FirstGlyph = 32, LastGlyph = 127;
// The render device puts a text's baseline 40 pixels below the y it is
// given; the GUI places text by the top of its 16-pixel line (at 1024 x 768),
// whose baseline lies 12 pixels down.
constexpr int32_t DeviceBaselineDrop = 40, LineTopToBaseline = 12;

}  // namespace

tGUIView::tGUIView(const ShortString& Params) : tGUIRegion(Params) {
    if (tRenderDevice* R = GUIRenderer()) FFontID = R->GetDefaultFontID();
}

tGUIView::~tGUIView() {
    if (tWindowManager* WM = GUIWindowManager(); WM && Registered) WM->UnRegisterView(this);
    DeleteFont();
}

void tGUIView::SetParentAtom(tGUIAtom* Atom) {
    tGUIRegion::SetParentAtom(Atom);
    if (Registered) return;
    if (tWindowManager* WM = GUIWindowManager()) {
        WM->RegisterView(this);
        Registered = true;
    }
}

void tGUIView::DeleteFont() {
    if (!FFont) return;
    if (tRenderDevice* R = GUIRenderer()) R->DeleteFont(FFont);
    DisposeObject(FFont);
}

void tGUIView::AddParameter(const ShortString& Name, const ShortString& Value) {
    if (Name == "FONT") SetFont(Value);
    else if (Name == "BINDCONSOLEVARIABLE") BindConsoleVariable(Value);
    else if (Name == "BINDCONSOLECOMMAND") BindConsoleCommand(Value);
    else if (Name == "TEXTITEM") AddTextItem(Name, Value);
    else tGUIRegion::AddParameter(Name, Value);
}

void tGUIView::BindConsoleVariable(const ShortString& Name) {
    Logger->Guard(FBindedConsoleVariable.empty(), "Unable to rebind console variable: " + Name);
    FBindedConsoleVariable = Name;
}

void tGUIView::BindConsoleCommand(const ShortString& Command) {
    ProcTrace trace("tGUIView.BindConsoleCommand(" + Command + ")");
    Logger->Guard(FCommandsUsed < MaxCommands, "Commands stack overflow");
    FConsoleCommands[FCommandsUsed++] = Command;
}

void tGUIView::AddTextItem(const ShortString& Name, const ShortString& Value) {
    // A quoted empty token is a blank line; the tokens read past the end of
    // the value are empty too, and are dropped from the end again.
    const int32_t First = TotalItems;
    int32_t Last = TotalItems;
    for (int32_t I = 1; TotalItems < MaxTextItems && I <= MaxTextItems; ++I) {
        TextItems[TotalItems++] = GetToken(Value, I);
        if (!TextItems[TotalItems - 1].empty()) Last = TotalItems;
    }
    for (int32_t I = Last; I < TotalItems; ++I) TextItems[I].clear();
    TotalItems = std::max(Last, First);
}

int32_t tGUIView::CenterTextHorizontal(const ShortString& Text) {
    return X + (W - TitleCharWidth() * static_cast<int32_t>(Text.size())) / 2;
}

void tGUIView::SetFont(const ShortString& Name) {
    tRenderDevice* R = GUIRenderer();
    if (!R) return;
    DeleteFont();
    FFont = R->CreateFont(Name);
    FFontID = FFont ? FFont->GetFontID() : R->GetDefaultFontID();
}

void tGUIView::OutTextXY(int32_t TX, int32_t TY, const ShortString& Text, const TVector4& Colour) {
    tRenderDevice* R = GUIRenderer();
    if (!R || Text.empty()) return;
    ShortString Shown = Text;
    for (std::size_t I = 0; I < Shown.size(); ++I) {
        const auto C = static_cast<unsigned char>(Shown[I]);
        if (C < FirstGlyph || C > LastGlyph) Shown[I] = '?';
    }
    // The device's default font is asked for each time: a window reopened
    // (full screen on or off) makes it anew.
    const uint32_t Font = FFont ? FFontID : R->GetDefaultFontID();
    const int32_t DeviceY = TY + ScaledPixels(LineTopToBaseline) - DeviceBaselineDrop;
    R->AddTextStringZFont(static_cast<float>(TX), static_cast<float>(DeviceY), Shown, &Colour, Font);
}

void tGUIView::ExecuteCommandsStack(bool Execute) {
    if (!Execute || !Console) return;
    for (int32_t I = 0; I < FCommandsUsed; ++I) Console->QueryCommand(FConsoleCommands[I]);
}

void tGUIView::Render() { RenderTextItems(X + 4, Y + 4); }

void tGUIView::RenderTextItems(int32_t Left, int32_t Top) {
    for (int32_t I = 0; I < TotalItems && Top + (I + 1) * TextLineHeight() <= Y1; ++I)
        OutTextXY(Left, Top + I * TextLineHeight(), TextItems[I], GUILabelColour);
}

TGUIMessage tGUIView::GUI_Timer(float DeltaSeconds) {
    if (!Animate()) return tGUIRegion::GUI_Timer(DeltaSeconds);
    Y1 = Y + H;
    X1 = X + W;
    ForceUpdate();
    return GUIMSG_RECHECK_MOUSE;
}

bool tGUIView::Animate() {
    switch (FRegionState) {
        case REGION_MINIMIZING:
            if (H < CaptionHeight() + 1) {
                FRegionState = REGION_MINIMIZED;
                GUI_Minimized();
            } else {
                H -= (H - MinimalSize) / 4 + 1;
            }
            return true;
        case REGION_MAXIMIZING:
            if (H < MaximizeHeight) {
                H += (MaximizeHeight - H) / 4 + 1;
            } else {
                FRegionState = REGION_MAXIMIZED;
                GUI_Maximized();
            }
            return true;
        case REGION_SHRINKING:
            if (W < MinimalSize + 1) {
                FRegionState = REGION_SHRINKED;
                GUI_Shrinked();
            } else {
                W -= (W - MinimalSize) / 4 + 1;
            }
            return true;
        default: return false;
    }
}
