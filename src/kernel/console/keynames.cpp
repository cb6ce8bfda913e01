#include "kernel/console/keynames.h"

#include <array>
#include <string_view>

#include "kernel/core/strutils.h"

namespace {

struct tKeyRange {
    uint8_t First;
    const char* Prefix;  // the names run Prefix + "0", "1", ... or are a single name
    uint8_t Count;       // 0: a single name
    uint8_t FirstNumber;
};

// Codes are the window layer's virtual-key numbers; the mouse wheel (5, 6), the
// extra mouse buttons (7, 10) and double clicks (14, 15) are the engine's own.
constexpr tKeyRange KeyRanges[] = {
    {1, "VK_LBUTTON", 0, 0},    {2, "VK_RBUTTON", 0, 0},    {3, "VK_CANCEL", 0, 0},
    {4, "VK_MBUTTON", 0, 0},    {5, "VK_WHEELUP", 0, 0},    {6, "VK_WHEELDOWN", 0, 0},
    {7, "VK_XBUTTON1", 0, 0},   {8, "VK_BACK", 0, 0},       {9, "VK_TAB", 0, 0},
    {10, "VK_XBUTTON2", 0, 0},  {12, "VK_CLEAR", 0, 0},     {13, "VK_RETURN", 0, 0},
    {14, "VK_LBUTTONDB", 0, 0}, {15, "VK_RBUTTONDB", 0, 0}, {16, "VK_SHIFT", 0, 0},
    {17, "VK_CONTROL", 0, 0},   {18, "VK_MENU", 0, 0},      {19, "VK_PAUSE", 0, 0},
    {20, "VK_CAPITAL", 0, 0},   {27, "VK_ESCAPE", 0, 0},    {32, "VK_SPACE", 0, 0},
    {33, "VK_PRIOR", 0, 0},     {34, "VK_NEXT", 0, 0},      {35, "VK_END", 0, 0},
    {36, "VK_HOME", 0, 0},      {37, "VK_LEFT", 0, 0},      {38, "VK_UP", 0, 0},
    {39, "VK_RIGHT", 0, 0},     {40, "VK_DOWN", 0, 0},      {41, "VK_SELECT", 0, 0},
    {42, "VK_PRINT", 0, 0},     {43, "VK_EXECUTE", 0, 0},   {44, "VK_SNAPSHOT", 0, 0},
    {45, "VK_INSERT", 0, 0},    {46, "VK_DELETE", 0, 0},    {47, "VK_HELP", 0, 0},
    {48, "VK_", 10, 0},         {65, nullptr, 26, 0},       {96, "VK_NUMPAD", 10, 0},
    {106, "VK_MULTIPLY", 0, 0}, {107, "VK_ADD", 0, 0},      {108, "VK_SEPARATOR", 0, 0},
    {109, "VK_SUBTRACT", 0, 0}, {110, "VK_DECIMAL", 0, 0},  {111, "VK_DIVIDE", 0, 0},
    {112, "VK_F", 24, 1},       {144, "VK_NUMLOCK", 0, 0},  {145, "VK_SCROLL", 0, 0},
    {160, "VK_LSHIFT", 0, 0},   {161, "VK_RSHIFT", 0, 0},   {162, "VK_LCONTROL", 0, 0},
    {163, "VK_RCONTROL", 0, 0}, {164, "VK_LMENU", 0, 0},    {165, "VK_RMENU", 0, 0},
    {186, "VK_COLON", 0, 0},    {187, "VK_EQUAL", 0, 0},    {188, "VK_COMMA", 0, 0},
    {189, "VK_UNDERLINE", 0, 0}, {190, "VK_DOT", 0, 0},     {191, "VK_SLASH", 0, 0},
    {192, "VK_COMMA2", 0, 0},   {220, "VK_RSLASH", 0, 0},   {222, "VK_QUOTE", 0, 0},
};

using tKeyTable = std::array<ShortString, 256>;

const tKeyTable& KeyTable() {
    static const tKeyTable table = [] {
        tKeyTable t{};
        for (const tKeyRange& r : KeyRanges) {
            if (r.Count == 0) {
                t[r.First] = r.Prefix;
                continue;
            }
            for (int i = 0; i < r.Count; ++i) {
                ShortString name = r.Prefix ? ShortString(r.Prefix) : ShortString("VK_");
                if (r.Prefix) name += Int2Str(r.FirstNumber + i);
                else name += static_cast<char>('A' + i);
                t[r.First + i] = name;
            }
        }
        return t;
    }();
    return table;
}

}  // namespace

ShortString MapKeys(uint8_t Code) { return KeyTable()[Code]; }

uint8_t KeyCodeByName(const ShortString& Name) {
    if (Name.empty()) return 0;
    const tKeyTable& t = KeyTable();
    for (int code = 1; code <= 255; ++code)
        if (t[code] == Name) return static_cast<uint8_t>(code);
    return 0;
}
