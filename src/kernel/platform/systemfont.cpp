#include "kernel/platform/systemfont.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <string>

#include "kernel/core/strutils.h"

struct tSystemFont {
    FT_Library Library = nullptr;
    FT_Face Face = nullptr;
    bool EmboldenGlyphs = false;  // bold asked for, but the face found is not bold
    bool SlantGlyphs = false;     // italic asked for, but the face found is upright
    bool Underline = false;
    bool StrikeOut = false;
};

namespace {

struct tFontFile {
    std::string File;
    int Index = 0;
    std::string Family;
    std::string Style;
    int Weight = FC_WEIGHT_REGULAR;
    int Slant = FC_SLANT_ROMAN;
    bool FamilyMatches = false;
};

// The pattern is built field by field, so a face name may hold any character.
bool MatchFontFile(const tSystemFontRequest& Request, bool Monospace, tFontFile& Out) {
    FcPattern* Pattern = FcPatternCreate();
    FcPatternAddString(Pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(Request.FaceName.c_str()));
    FcPatternAddInteger(Pattern, FC_WEIGHT, Request.Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(Pattern, FC_SLANT, Request.Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    if (Monospace) FcPatternAddInteger(Pattern, FC_SPACING, FC_MONO);
    FcConfigSubstitute(nullptr, Pattern, FcMatchPattern);
    FcDefaultSubstitute(Pattern);
    FcResult Result;
    FcPattern* Match = FcFontMatch(nullptr, Pattern, &Result);
    FcPatternDestroy(Pattern);
    if (!Match) return false;

    FcChar8* Text = nullptr;
    bool Found = FcPatternGetString(Match, FC_FILE, 0, &Text) == FcResultMatch;
    if (Found) {
        Out.File = reinterpret_cast<const char*>(Text);
        FcPatternGetInteger(Match, FC_INDEX, 0, &Out.Index);
        FcPatternGetInteger(Match, FC_WEIGHT, 0, &Out.Weight);
        FcPatternGetInteger(Match, FC_SLANT, 0, &Out.Slant);
        if (FcPatternGetString(Match, FC_STYLE, 0, &Text) == FcResultMatch) Out.Style = reinterpret_cast<const char*>(Text);
        for (int I = 0; FcPatternGetString(Match, FC_FAMILY, I, &Text) == FcResultMatch; ++I) {
            if (I == 0) Out.Family = reinterpret_cast<const char*>(Text);
            if (SameText(reinterpret_cast<const char*>(Text), Request.FaceName.view())) Out.FamilyMatches = true;
        }
    }
    FcPatternDestroy(Match);
    return Found;
}

// Scales the face so a cell is CharHeight pixels high (ascent plus descent)
// and an average character CharWidth pixels wide.
void SetCellSize(FT_Face Face, const tSystemFontRequest& Request) {
    if (!FT_IS_SCALABLE(Face)) {
        if (Face->num_fixed_sizes > 0) FT_Select_Size(Face, 0);
        return;
    }
    const double UnitsPerEM = Face->units_per_EM;
    const double CellUnits = std::max<double>(1, Face->ascender - Face->descender);
    double HeightPPEM = std::max(1.0, Request.CharHeight * UnitsPerEM / CellUnits);
    double WidthPPEM = HeightPPEM;
    if (Request.CharWidth > 0) {
        const auto* OS2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face, FT_SFNT_OS2));
        double AverageUnits = (OS2 && OS2->xAvgCharWidth > 0) ? OS2->xAvgCharWidth : Face->max_advance_width;
        if (AverageUnits > 0) WidthPPEM = std::max(1.0, Request.CharWidth * UnitsPerEM / AverageUnits);
    }
    FT_Set_Char_Size(Face, static_cast<FT_F26Dot6>(WidthPPEM * 64), static_cast<FT_F26Dot6>(HeightPPEM * 64), 72, 72);
}

// A horizontal stroke across the glyph cell, in pixels above the baseline.
struct tStroke {
    int Bottom = 0, Thickness = 0;
};

int ScaleY(FT_Face Face, FT_Long Units) { return static_cast<int>(std::lround(FT_MulFix(Units, Face->size->metrics.y_scale) / 64.0)); }

tStroke UnderlineStroke(FT_Face Face) {
    int Thickness = std::max(1, ScaleY(Face, Face->underline_thickness));
    return {ScaleY(Face, Face->underline_position) - Thickness / 2, Thickness};
}

tStroke StrikeOutStroke(FT_Face Face) {
    const auto* OS2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face, FT_SFNT_OS2));
    if (OS2 && OS2->yStrikeoutSize > 0)
        return {ScaleY(Face, OS2->yStrikeoutPosition), std::max(1, ScaleY(Face, OS2->yStrikeoutSize))};
    return {ScaleY(Face, Face->ascender) / 3, std::max(1, ScaleY(Face, Face->underline_thickness))};
}

}  // namespace

tSystemFont* CreateSystemFont(const tSystemFontRequest& Request, ShortString& FoundFace) {
    tFontFile File;
    if (!MatchFontFile(Request, false, File)) return nullptr;
    // The console's columns assume a fixed width: a family the system does not
    // have is replaced by a monospace face rather than whatever fontconfig likes.
    tFontFile Mono;
    if (!File.FamilyMatches && MatchFontFile(Request, true, Mono)) File = Mono;

    auto* Font = new tSystemFont;
    if (FT_Init_FreeType(&Font->Library) != 0 ||
        FT_New_Face(Font->Library, File.File.c_str(), File.Index, &Font->Face) != 0) {
        DeleteSystemFont(Font);
        return nullptr;
    }
    SetCellSize(Font->Face, Request);
    Font->EmboldenGlyphs = Request.Bold && File.Weight < FC_WEIGHT_BOLD;
    Font->SlantGlyphs = Request.Italic && File.Slant == FC_SLANT_ROMAN;
    Font->Underline = Request.Underline;
    Font->StrikeOut = Request.StrikeOut;
    FoundFace = ShortString(File.Family + " " + File.Style + " (" + File.File + ")");
    return Font;
}

void DeleteSystemFont(tSystemFont* Font) {
    if (!Font) return;
    if (Font->Face) FT_Done_Face(Font->Face);
    if (Font->Library) FT_Done_FreeType(Font->Library);
    delete Font;
}

tGlyphBitmap RenderGlyph(tSystemFont* Font, uint32_t Code) {
    tGlyphBitmap Glyph;
    FT_Face Face = Font->Face;
    if (FT_Load_Char(Face, Code, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return Glyph;
    FT_GlyphSlot Slot = Face->glyph;
    if (Font->SlantGlyphs) FT_GlyphSlot_Oblique(Slot);
    if (Font->EmboldenGlyphs) FT_GlyphSlot_Embolden(Slot);
    if (FT_Render_Glyph(Slot, FT_RENDER_MODE_MONO) != 0) return Glyph;
    const FT_Bitmap& Source = Slot->bitmap;
    const int Advance = static_cast<int>(std::lround(Slot->advance.x / 64.0));
    Glyph.Advance = static_cast<float>(Advance);

    // The glyph and its strokes on one canvas, in pixels relative to the pen.
    const int Rows = static_cast<int>(Source.rows), Columns = static_cast<int>(Source.width);
    int X0 = Slot->bitmap_left, X1 = Slot->bitmap_left + Columns;
    int Y0 = Slot->bitmap_top - Rows, Y1 = Slot->bitmap_top;
    if (Rows == 0 || Columns == 0) X0 = X1 = Y0 = Y1 = 0;
    tStroke Strokes[2];
    int StrokeCount = 0;
    if (Font->Underline) Strokes[StrokeCount++] = UnderlineStroke(Face);
    if (Font->StrikeOut) Strokes[StrokeCount++] = StrikeOutStroke(Face);
    for (int S = 0; S < StrokeCount; ++S) {
        X0 = std::min(X0, 0);
        X1 = std::max(X1, Advance);
        Y0 = std::min(Y0, Strokes[S].Bottom);
        Y1 = std::max(Y1, Strokes[S].Bottom + Strokes[S].Thickness);
    }
    Glyph.Width = X1 - X0;
    Glyph.Height = Y1 - Y0;
    Glyph.OriginX = -X0;
    Glyph.OriginY = -Y0;
    if (Glyph.Width <= 0 || Glyph.Height <= 0) {
        Glyph.Width = Glyph.Height = Glyph.OriginX = Glyph.OriginY = 0;
        return Glyph;
    }
    const int RowBytes = (Glyph.Width + 7) / 8;
    Glyph.Bits.assign(static_cast<std::size_t>(RowBytes) * Glyph.Height, 0);
    auto SetPixel = [&](int X, int Y) {  // X, Y relative to the pen, Y up
        int Column = X - X0, Row = Y - Y0;
        Glyph.Bits[static_cast<std::size_t>(Row) * RowBytes + Column / 8] |= static_cast<uint8_t>(0x80 >> (Column % 8));
    };
    for (int R = 0; R < Rows; ++R) {
        const uint8_t* Line = Source.buffer + static_cast<std::ptrdiff_t>(R) * Source.pitch;
        for (int C = 0; C < Columns; ++C) {
            // Embedded bitmaps may come in grey levels even when one bit is asked for.
            bool Inked = Source.pixel_mode == FT_PIXEL_MODE_MONO ? (Line[C / 8] & (0x80 >> (C % 8))) != 0
                                                                  : Line[C] >= 128;
            if (Inked) SetPixel(Slot->bitmap_left + C, Slot->bitmap_top - 1 - R);
        }
    }
    for (int S = 0; S < StrokeCount; ++S)
        for (int Y = Strokes[S].Bottom; Y < Strokes[S].Bottom + Strokes[S].Thickness; ++Y)
            for (int X = 0; X < Advance; ++X) SetPixel(X, Y);
    return Glyph;
}
