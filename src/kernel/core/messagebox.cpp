#include "kernel/core/messagebox.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool MayShowBox() {
    if (std::getenv("CI") || std::getenv("HALVARDINE_NO_MSGBOX")) return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

}  // namespace

void ShowErrorBox(std::string_view Caption, std::string_view Text) {
    std::fprintf(stderr, "%.*s\n%.*s\n", static_cast<int>(Caption.size()), Caption.data(),
                 static_cast<int>(Text.size()), Text.data());
    std::fflush(stderr);
    if (!MayShowBox()) return;
    std::string caption(Caption), text(Text);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
}
