#pragma once
// The image loader family. tBitmapLoader is what textures and screenshots ask
// the registry for ("tBitmapLoader" + a file name); tBitmapDecoder adds the
// pixel conversion the BMP and DDS loaders share.

#include <cstdint>

#include "kernel/loaders/image.h"
#include "kernel/resources/loader.h"

class tStream;

class tBitmapLoader : public tLoader {
    Z_DECLARE_CLASS(tBitmapLoader, tLoader)
public:
    using tLoader::tLoader;

    // The kind of texture the file will load as; the stream position is kept.
    virtual TTextureType EstimateTextureType(tIStream& Stream) = 0;
    // Writes the image; only loaders whose CanSave is true are asked.
    virtual void SaveBitmap(tStream& Stream, const TBMPRec& Bitmap) = 0;
};

class tBitmapDecoder : public tBitmapLoader {
    Z_DECLARE_CLASS(tBitmapDecoder, tBitmapLoader)
public:
    using tBitmapLoader::tBitmapLoader;

    // Hands ReadImage's record to the texture between BeginLoad and EndLoad.
    void Load(tIStream& Stream, tResource& Resource) override;
    // The decoded image of the file.
    virtual TBMPRec ReadImage(tIStream& Stream) = 0;

    // Converts Bitmap.Width x Height x Depth raw pixels of BitsPerPixel bits
    // from Data into new memory: 8-bit grey becomes RGB in row order; 24-bit
    // BGR becomes RGB and 32-bit BGRA becomes RGBA with the rows of every
    // slice reversed. Each source row is padded to a multiple of RowAlignment
    // bytes. Refused (fatal) when the dimensions are not powers of two or when
    // DataSize bytes do not hold the pixels the dimensions announce.
    static TBMPRec DecodeImage(const TBMPRec& Bitmap, int32_t BitsPerPixel, const uint8_t* Data, int64_t DataSize,
                               int32_t RowAlignment = 1);
    // Fatal unless Available bytes hold the Needed bytes of Bitmap's pixels:
    // checked before anything beyond the file could be read.
    static void RequireImageData(const TBMPRec& Bitmap, int32_t BitsPerPixel, unsigned __int128 Needed,
                                 int64_t Available);
};
