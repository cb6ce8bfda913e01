#include "kernel/null/nullviewport.h"

Z_IMPLEMENT_CLASS(tNullViewport, .Operations = {{"OpenViewport"}, {"CloseViewport"}, {"CenterMouse"}, {"GetWindow"}, {"Tick"}})

void tNullViewport::OpenViewport(const ShortString& NewTitle, tViewportLocation NewLocation) {
    Title = NewTitle;
    Location = NewLocation;
    ViewportOpened = true;
}
