// SDL key events become the Windows virtual-key numbers the console's key
// names use.

#include <gtest/gtest.h>

#include "kernel/platform/keycodes.h"

namespace {

SDL_Keysym Key(SDL_Scancode Scancode, SDL_Keycode Sym) {
    SDL_Keysym K{};
    K.scancode = Scancode;
    K.sym = Sym;
    return K;
}

}  // namespace

TEST(KeyCodes, KeysBecomeVirtualKeyNumbers) {
    struct {
        SDL_Scancode Scancode;
        SDL_Keycode Sym;
        uint8_t VirtualKey;
    } const Cases[] = {
        {SDL_SCANCODE_A, SDLK_a, 65},          {SDL_SCANCODE_Z, SDLK_z, 90},
        {SDL_SCANCODE_1, SDLK_1, 49},          {SDL_SCANCODE_0, SDLK_0, 48},
        {SDL_SCANCODE_F1, SDLK_F1, 112},       {SDL_SCANCODE_F12, SDLK_F12, 123},
        {SDL_SCANCODE_F13, SDLK_F13, 124},     {SDL_SCANCODE_F24, SDLK_F24, 135},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, 37},    {SDL_SCANCODE_UP, SDLK_UP, 38},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, 39},  {SDL_SCANCODE_DOWN, SDLK_DOWN, 40},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, 13}, {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 13},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27}, {SDL_SCANCODE_TAB, SDLK_TAB, 9},
        {SDL_SCANCODE_SPACE, SDLK_SPACE, 32},  {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 8},
        {SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, 192}, {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 16},
        {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, 16}, {SDL_SCANCODE_RCTRL, SDLK_RCTRL, 17},
        {SDL_SCANCODE_LALT, SDLK_LALT, 18},    {SDL_SCANCODE_PAUSE, SDLK_PAUSE, 19},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, 96},    {SDL_SCANCODE_KP_9, SDLK_KP_9, 105},
        {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, 111}, {SDL_SCANCODE_PRINTSCREEN, SDLK_PRINTSCREEN, 44},
        {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, 186}, {SDL_SCANCODE_SLASH, SDLK_SLASH, 191},
        {SDL_SCANCODE_BACKSLASH, SDLK_BACKSLASH, 220}, {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, 222},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(VirtualKeyOf(Key(C.Scancode, C.Sym)), C.VirtualKey) << SDL_GetScancodeName(C.Scancode);
}

TEST(KeyCodes, LettersFollowTheLayoutAndDigitsTheirPosition) {
    // An AZERTY keyboard: the key left of Z prints "a", the first digit key "&".
    EXPECT_EQ(VirtualKeyOf(Key(SDL_SCANCODE_Q, SDLK_a)), 'A');
    EXPECT_EQ(VirtualKeyOf(Key(SDL_SCANCODE_1, SDLK_AMPERSAND)), '1');
    // A non-Latin layout keeps the letter of the key's position.
    EXPECT_EQ(VirtualKeyOf(Key(SDL_SCANCODE_F, 0x0430)), 'F');
    // Keys the engine has no code for.
    EXPECT_EQ(VirtualKeyOf(Key(SDL_SCANCODE_MUTE, SDLK_MUTE)), 0);
}
