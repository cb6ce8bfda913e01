#include "game/guiaboutbox.h"

#include "kernel/core/engineversion.h"
#include "kernel/core/globals.h"
#include "libraries/classes/engine.h"

Z_IMPLEMENT_CLASS(tGUIAboutBox, .Operations = {{"Render"}})

namespace {

constexpr int32_t HeaderLines = 3;  // name, version, a blank line

}  // namespace

tGUIAboutBox::tGUIAboutBox(const ShortString& Params) : tGUIWindow(Params) {}

void tGUIAboutBox::Render() {
    if (!DrawWindow()) return;
    const int32_t Top = Y + CaptionHeight() + TextMargin;
    const ShortString Name = Engine ? Engine->GetEngineName() : ShortString("Halvardine 3D Engine");
    OutTextXY(CenterTextHorizontal(Name), Top, Name, GUITitleColour);
    const ShortString Version = ShortString("Version ") + EngineBuildVersion;
    OutTextXY(CenterTextHorizontal(Version), Top + TextLineHeight(), Version, GUIVersionColour);
    // The credits of the layout follow the header, centred line by line.
    for (int32_t I = 0; I < TotalItems; ++I) {
        const int32_t LineTop = Top + (HeaderLines + I) * TextLineHeight();
        if (LineTop + TextLineHeight() > Y1 - GripSize) break;
        OutTextXY(CenterTextHorizontal(TextItems[I]), LineTop, TextItems[I], GUILabelColour);
    }
}
