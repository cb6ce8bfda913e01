#pragma once
// The cursor of an edited line, shared by the console window and the input
// line: Left and Right move it, Home and End jump, Backspace and Delete remove
// the character before or after it, typed characters go in at it. It is kept
// as the count of characters after it, so a line replaced from outside (a
// recalled line, a completion, SetText) has the cursor at its end.

#include <cstdint>

#include "kernel/core/shortstring.h"

struct tLineCursor {
    int32_t FromEnd = 0;

    // The cursor kept within Line, which may have become shorter.
    void Fit(const ShortString& Line);
    // Characters before the cursor.
    int32_t At(const ShortString& Line) const;
    void Place(const ShortString& Line, int32_t At);
    // Applies an editing key to Line; false for any other key.
    bool Edit(ShortString& Line, uint8_t Key);
    // Line with C typed at the cursor.
    ShortString Typed(const ShortString& Line, char C);
    // Blanks up to the cursor and the cursor's mark, drawn over the line in a
    // font of even width.
    ShortString Mark(const ShortString& Line) const;
};
