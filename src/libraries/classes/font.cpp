#include "libraries/classes/font.h"

Z_IMPLEMENT_CLASS(tFont, .Operations = {{"GetFontID"}, {"SetFontID"}})
