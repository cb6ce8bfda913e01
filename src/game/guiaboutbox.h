#pragma once
// The about box: a window that names the engine and its version above the
// credits its layout gives as text items.

#include "libraries/gui/panel.h"

class tGUIAboutBox : public tGUIWindow {
    Z_DECLARE_CLASS(tGUIAboutBox, tGUIWindow)
public:
    explicit tGUIAboutBox(const ShortString& Params);
    void Render() override;
};
