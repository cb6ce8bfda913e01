#include "kernel/gui/responder.h"

Z_IMPLEMENT_CLASS(tGUIResponder,
    .Operations = {{"GUI_MouseInside"}, {"GUI_MouseOutside"}, {"GUI_StartDragging"}, {"GUI_StopDragging"},
                   {"GUI_StartResize"}, {"GUI_StopResize"}, {"GUI_MouseLeft"}, {"GUI_MouseRight"},
                   {"GUI_LDoubleClick"}, {"GUI_RDoubleClick"}, {"GUI_Minimized"}, {"GUI_Maximized"},
                   {"GUI_Shrinked"}, {"GUI_CaptureChanged"}, {"GUI_Scroll"}, {"GUI_Timer"}, {"GUI_Key"}})

bool IsMouseKey(uint8_t Key) {
    switch (Key) {
        case KEY_LBUTTON: case KEY_RBUTTON: case KEY_MBUTTON: case KEY_WHEELUP: case KEY_WHEELDOWN:
        case KEY_XBUTTON1: case KEY_XBUTTON2: case KEY_LDOUBLECLICK: case KEY_RDOUBLECLICK: return true;
        default: return false;
    }
}
