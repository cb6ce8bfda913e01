#include "libraries/classes/guimanager.h"

Z_IMPLEMENT_CLASS(tGUIManager, .Operations = {{"HoldsInput"}, {"SetGameCursor"}, {"ShowsWindow"}})
