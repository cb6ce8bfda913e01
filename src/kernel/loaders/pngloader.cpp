#include "kernel/loaders/pngloader.h"

#include <png.h>

#include <csetjmp>
#include <vector>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"

Z_IMPLEMENT_CLASS(tPNGLoader, .Operations = {{"FileExtension"}, {"CanSave"}, {"Load"}, {"EstimateTextureType"},
                                             {"SaveBitmap"}})

namespace {

void WriteToStream(png_structp Png, png_bytep Data, png_size_t Length) {
    static_cast<tStream*>(png_get_io_ptr(Png))->BlockWrite(Data, static_cast<int32_t>(Length));
}

void FlushStream(png_structp) {}

// libpng reports its errors by a long jump back here: nothing with a
// destructor lives in this frame. The message is left in Error.
bool WritePNG(tStream& Stream, int32_t Width, int32_t Height, bool Alpha, png_bytep* Rows, char (&Error)[256]) {
    png_structp Png = png_create_write_struct(
        PNG_LIBPNG_VER_STRING, Error,
        [](png_structp P, png_const_charp Msg) {
            char* Out = static_cast<char*>(png_get_error_ptr(P));
            std::snprintf(Out, 256, "%s", Msg);
            png_longjmp(P, 1);
        },
        [](png_structp, png_const_charp) {});
    if (!Png) {
        std::snprintf(Error, sizeof Error, "out of memory");
        return false;
    }
    png_infop Info = png_create_info_struct(Png);
    if (!Info || setjmp(png_jmpbuf(Png))) {
        png_destroy_write_struct(&Png, &Info);
        return false;
    }
    png_set_write_fn(Png, &Stream, WriteToStream, FlushStream);
    png_set_compression_level(Png, tPNGLoader::CompressionLevel);
    png_set_IHDR(Png, Info, static_cast<png_uint_32>(Width), static_cast<png_uint_32>(Height), 8,
                 Alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(Png, Info);
    png_write_image(Png, Rows);
    png_write_end(Png, nullptr);
    png_destroy_write_struct(&Png, &Info);
    return true;
}

}  // namespace

void tPNGLoader::Load(tIStream&, tResource&) {
    Logger->Fatal("PNG images are written for screenshots only; textures are BMP or DDS files");
}

TTextureType tPNGLoader::EstimateTextureType(tIStream&) { return Z_TEXTURE_2D; }

void tPNGLoader::SaveBitmap(tStream& Stream, const TBMPRec& Bitmap) {
    ProcTrace trace("tPNGLoader.SaveBitmap()");
    const bool Alpha = !Bitmap.PixelData;
    const uint8_t* Pixels = Alpha ? Bitmap.PixelDataA.get() : Bitmap.PixelData.get();
    Logger->Guard(Bitmap.Width > 0 && Bitmap.Height > 0 && Pixels != nullptr, "Unable to save an empty image as PNG");
    const std::size_t RowBytes = static_cast<std::size_t>(Bitmap.Width) * (Alpha ? 4 : 3);
    // The file's first row is the picture's top: the last row in memory.
    std::vector<png_bytep> Rows(static_cast<std::size_t>(Bitmap.Height));
    for (std::size_t Row = 0; Row < Rows.size(); ++Row)
        Rows[Row] = const_cast<png_bytep>(Pixels + (Rows.size() - 1 - Row) * RowBytes);
    char Error[256] = {};
    if (!WritePNG(Stream, Bitmap.Width, Bitmap.Height, Alpha, Rows.data(), Error))
        Warning->Log(ShortString("Unable to write the PNG image: ") + Error);
}
