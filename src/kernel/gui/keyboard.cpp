#include "kernel/gui/keyboard.h"

#include <array>

#include "kernel/gui/screen.h"
#include "kernel/gui/windowmanager.h"

namespace {

struct tKeyCharacters {
    uint8_t Key;
    char Plain;
    char Shifted;
};

constexpr tKeyCharacters Punctuation[] = {
    {32, ' ', ' '},   {106, '*', '*'},  {107, '+', '+'},  {109, '-', '-'},  {110, '.', '.'},
    {111, '/', '/'},  {186, ';', ':'},  {187, '=', '+'},  {188, ',', '<'},  {189, '-', '_'},
    {190, '.', '>'},  {191, '/', '?'},  {192, '`', '~'},  {219, '[', '{'},  {220, '\\', '|'},
    {221, ']', '}'},  {222, '\'', '"'},
};

constexpr char ShiftedDigits[] = ")!@#$%^&*(";

struct tCharacterTables {
    std::array<char, 256> Plain{};
    std::array<char, 256> Shifted{};
};

constexpr tCharacterTables MakeTables() {
    tCharacterTables T;
    for (int I = 0; I < 26; ++I) {
        T.Plain['A' + I] = static_cast<char>('a' + I);
        T.Shifted['A' + I] = static_cast<char>('A' + I);
    }
    for (int I = 0; I < 10; ++I) {
        T.Plain['0' + I] = static_cast<char>('0' + I);
        T.Shifted['0' + I] = ShiftedDigits[I];
        T.Plain[96 + I] = T.Shifted[96 + I] = static_cast<char>('0' + I);  // the number pad
    }
    for (const tKeyCharacters& K : Punctuation) {
        T.Plain[K.Key] = K.Plain;
        T.Shifted[K.Key] = K.Shifted;
    }
    return T;
}

constexpr tCharacterTables Tables = MakeTables();

}  // namespace

char KeyCharacter(uint8_t Key, bool Shifted) { return Shifted ? Tables.Shifted[Key] : Tables.Plain[Key]; }

bool IsCharacterKey(uint8_t Key) { return Tables.Plain[Key] != 0; }

bool ShiftHeld() {
    tWindowManager* WM = GUIWindowManager();
    return WM && WM->IsKeyHeld(KEY_SHIFT);
}
