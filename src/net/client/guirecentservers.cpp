#include "net/client/guirecentservers.h"

#include "kernel/core/globals.h"
#include "libraries/classes/console.h"
#include "libraries/classes/varsmanager.h"
#include "net/client/netclient.h"

Z_IMPLEMENT_CLASS(tGUIRecentServerList)

tGUIRecentServerList::tGUIRecentServerList(const ShortString& Params) : tGUIListBox(Params) { Refresh(); }

void tGUIRecentServerList::Refresh() {
    if (!NetClient) return;
    const tRecentServers& Recent = NetClient->RecentServers();
    ShownRevision = Recent.Revision();
    ClearItems();
    for (const std::string& Address : Recent.Addresses()) AddItem(ShortString(Address.c_str()));
    // The address in the line is chosen again among the new rows.
    ShortString Address;
    if (EngineVars && EngineVars->IsVarDefined(FBindedConsoleVariable)) {
        EngineVars->GetVar(FBindedConsoleVariable, Address);
        SetValueText(Address);
    }
}

TGUIMessage tGUIRecentServerList::GUI_Timer(float DeltaSeconds) {
    if (NetClient && NetClient->RecentServers().Revision() != ShownRevision) Refresh();
    return tGUIListBox::GUI_Timer(DeltaSeconds);
}

void tGUIRecentServerList::PointAt(const TPoint& P, bool Pressed) {
    if (!Pressed) return;
    const int32_t Row = RowAt(P, Y);
    if (Row < 0 || Row >= FirstShown + VisibleRows()) return;
    Choose(Row, false);
    Commit();
}

void tGUIRecentServerList::GUI_LDoubleClick(const TPoint& P) {
    tGUIListBox::GUI_LDoubleClick(P);
    if (Selected >= 0 && Console) Console->SendCommand("Connect " + ItemValue(Selected), true);
}
