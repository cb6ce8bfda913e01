#include "libraries/gui/lineediting.h"

#include <algorithm>

#include "kernel/gui/keyboard.h"

int32_t tLineCursor::At(const ShortString& Line) const {
    const auto Size = static_cast<int32_t>(Line.size());
    return Size - std::clamp(FromEnd, 0, Size);
}

void tLineCursor::Place(const ShortString& Line, int32_t Position) {
    const auto Size = static_cast<int32_t>(Line.size());
    FromEnd = Size - std::clamp(Position, 0, Size);
}

void tLineCursor::Fit(const ShortString& Line) { FromEnd = std::clamp(FromEnd, 0, static_cast<int32_t>(Line.size())); }

bool tLineCursor::Edit(ShortString& Line, uint8_t Key) {
    Fit(Line);
    const int32_t Cursor = At(Line);
    const auto Size = static_cast<int32_t>(Line.size());
    switch (Key) {
        case KEY_LEFT: Place(Line, Cursor - 1); return true;
        case KEY_RIGHT: Place(Line, Cursor + 1); return true;
        case KEY_HOME: Place(Line, 0); return true;
        case KEY_END: Place(Line, Size); return true;
        case KEY_BACK:
            if (Cursor > 0) Line = Line.substr(0, static_cast<std::size_t>(Cursor - 1)) + Line.substr(static_cast<std::size_t>(Cursor));
            return true;
        case KEY_DELETE:
            if (Cursor < Size) {
                Line = Line.substr(0, static_cast<std::size_t>(Cursor)) + Line.substr(static_cast<std::size_t>(Cursor + 1));
                FromEnd = Size - Cursor - 1;
            }
            return true;
        default: return false;
    }
}

ShortString tLineCursor::Typed(const ShortString& Line, char C) {
    Fit(Line);
    const auto Cursor = static_cast<std::size_t>(At(Line));
    ShortString Result = Line.substr(0, Cursor);
    Result += C;
    return Result + Line.substr(Cursor);
}

ShortString tLineCursor::Mark(const ShortString& Line) const {
    ShortString Result;
    for (int32_t I = At(Line); I > 0; --I) Result += ' ';
    Result += '_';
    return Result;
}
