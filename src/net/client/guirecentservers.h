#pragma once
// The multiplayer page's list of the last servers joined, newest first. A
// click puts the address in the page's address line (the bound variable),
// even when it was already chosen; a double click joins it at once.

#include "libraries/gui/lists.h"

class tGUIRecentServerList : public tGUIListBox {
    Z_DECLARE_CLASS(tGUIRecentServerList, tGUIListBox)
public:
    explicit tGUIRecentServerList(const ShortString& Params);

    TGUIMessage GUI_Timer(float DeltaSeconds) override;
    void PointAt(const TPoint& P, bool Pressed) override;
    void GUI_LDoubleClick(const TPoint& P) override;

private:
    // Rebuilds the rows when the remembered addresses changed.
    void Refresh();
    uint32_t ShownRevision = 0;
};
