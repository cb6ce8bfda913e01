#include "kernel/renderer/textures/textures.h"

#include <GL/glu.h>

#include <algorithm>

#include "kernel/core/byteorder.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/renderer/globjects.h"
#include "kernel/core/strutils.h"
#include "kernel/renderer/va/vagl.h"
#include "libraries/classes/filesystem.h"

Z_IMPLEMENT_CLASS(tTextureFields, .Operations = {{"CacheTo"},
                                                 {"CacheFrom"},
                                                 {"AttachImage"},
                                                 {"Bind"},
                                                 {"SaveTextureInInternalFormat"},
                                                 {"LoadTextureInInternalFormat"},
                                                 {"TextureTarget", ZOP_ABSTRACT}})
Z_IMPLEMENT_CLASS(t2DTexture, .Operations = {{"TextureTarget"}, {"KeepTexelCopy"}, {"TexelsChanged"}, {"UseNearestMip"}})
Z_IMPLEMENT_CLASS(t3DTexture, .Operations = {{"TextureTarget"}})
Z_IMPLEMENT_CLASS(tCubeTexture, .Operations = {{"TextureTarget"}})

namespace {

constexpr GLenum TextureTargets[] = {GL_TEXTURE_2D, GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP_ARB};

// No texture OpenGL accepts is wider, higher or deeper than this.
constexpr int32_t MaxTextureDimension = 1 << 16;

int32_t BytesPerPixel(const TBMPRec& I) { return I.UseAlpha ? 4 : 3; }

const uint8_t* PixelsOf(const TBMPRec& I) { return I.UseAlpha ? I.PixelDataA.get() : I.PixelData.get(); }

void PutInt32(uint8_t*& P, int32_t V) {
    WriteLE<int32_t>(P, V);
    P += 4;
}

int32_t GetInt32(const uint8_t*& P) {
    int32_t V = ReadLE<int32_t>(P);
    P += 4;
    return V;
}

}  // namespace

tTextureFields::tTextureFields() = default;

tTextureFields::~tTextureFields() {
    if (TexID == 0) return;
    glDeleteTextures(1, &TexID);
    tGLObjects::Deleted();
}

uint64_t tTextureFields::PixelBlockSize() const {
    auto Valid = [](int32_t V) { return V > 0 && V <= MaxTextureDimension; };
    Logger->Guard(Valid(Image.Width) && Valid(Image.Height) && Valid(Image.Depth),
                  "Invalid texture dimensions: " + Int2Str(Image.Width) + "x" + Int2Str(Image.Height) + "x" +
                      Int2Str(Image.Depth));
    return uint64_t(Image.Width) * uint64_t(Image.Height) * uint64_t(Image.Depth) * BytesPerPixel(Image);
}

void tTextureFields::GenerateName() {
    if (TexID != 0) return;
    glGenTextures(1, &TexID);
    tGLObjects::Made();
}

void tTextureFields::PrepareUpload() {
    Bind(GL_TEXTURE0_ARB);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

void tTextureFields::AttachImage(TBMPRec NewImage) {
    Logger->Guard(!Attached, "Image had been already attached");
    Attached = true;
    Image = std::move(NewImage);
    const uint8_t* Pixels = PixelsOf(Image);
    Logger->Guard(Pixels, "Image has no pixels");
    PixelBlockSize();
    GenerateName();
    PrepareUpload();
    Upload(Pixels);
}

void tTextureFields::Bind(uint32_t TextureUnit) {
    if (!RequestUsage()) return;
    const GLenum Target = TextureTarget();
    glActiveTextureARB(TextureUnit);
    glBindTexture(Target, TexID);
    glEnable(Target);
    // One target per unit: a 2D texture must not be hidden by a cube map
    // that an earlier shader left enabled there.
    for (GLenum Other : TextureTargets)
        if (Other != Target) glDisable(Other);
}

void tTextureFields::SaveTextureInInternalFormat(tStream& Stream) {
    uint8_t Record[CacheRecordSize] = {};
    uint8_t* P = Record;
    PutInt32(P, Image.Width);
    PutInt32(P, Image.Height);
    PutInt32(P, Image.Depth);
    *P++ = Image.UseAlpha ? 1 : 0;
    PutInt32(P, Image.TextureType);
    // The two pixel-pointer fields stay 0: they mean nothing once read back.
    Stream.BlockWrite(Record, CacheRecordSize);
    if (const uint8_t* Pixels = PixelsOf(Image))
        Stream.BlockWrite(Pixels, static_cast<int32_t>(PixelBlockSize()));
}

void tTextureFields::LoadTextureInInternalFormat(tIStream& Stream) {
    Logger->Guard(!Attached, "Image had been already attached");
    uint8_t Record[CacheRecordSize];
    Stream.BlockRead(Record, CacheRecordSize);
    const uint8_t* P = Record;
    Image = TBMPRec();
    Image.Width = GetInt32(P);
    Image.Height = GetInt32(P);
    Image.Depth = GetInt32(P);
    Image.UseAlpha = *P++ != 0;
    Image.TextureType = static_cast<TTextureType>(GetInt32(P));

    const uint64_t Needed = PixelBlockSize();
    // The pixels follow the record at the start of the file.
    const int64_t Available = int64_t(Stream.GetSize()) - CacheRecordSize;
    const uint8_t* Pixels = Stream.MapStreamFromCurrentPos();
    Logger->Guard(Pixels && Available >= 0 && Needed <= uint64_t(Available),
                  "Texture cache file holds fewer pixels than its record announces");
    GenerateName();
    PrepareUpload();
    // The pixels are read straight from the file's mapping, which closes
    // with the reader: the texture keeps none of them.
    Upload(Pixels);
    Attached = true;
}

void tTextureFields::CacheTo() {
    ProcTrace trace("tTextureFields.CacheTo()");
    tTextureResource::CacheTo();
    std::unique_ptr<tStream> Writer = FileSystem->CreateFileWriter(GetCachedFileName(), {WF_HALTONERRORS, WF_OVERWRITE});
    SaveTextureInInternalFormat(*Writer);
}

void tTextureFields::CacheFrom() {
    ProcTrace trace("tTextureFields.CacheFrom()");
    tTextureResource::CacheFrom();
    std::unique_ptr<tXZMLStream> Reader = FileSystem->CreateFileReader(GetCachedFileName(), {RF_HALTONERRORS});
    LoadTextureInInternalFormat(*Reader);
}

// ---- 2D ----------------------------------------------------------------------

uint32_t t2DTexture::TextureTarget() { return GL_TEXTURE_2D; }

void t2DTexture::Upload(const uint8_t* Pixels) {
    if (Image.UseAlpha) {
        Logger->Log("Creating texture with alpha channel");
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, Image.Width, Image.Height, 0, GL_RGBA, GL_UNSIGNED_BYTE, Pixels);
    } else {
        Logger->Log("Creating texture without alpha channel");
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB8, Image.Width, Image.Height, GL_RGB, GL_UNSIGNED_BYTE, Pixels);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLfloat(MinFilter()));
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
}

namespace {
// Keeps the texture bound to unit 0 of the drawing state as it was.
class tBindingKeeper {
public:
    explicit tBindingKeeper(uint32_t TexID) {
        glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &Unit);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &Bound);
        glBindTexture(GL_TEXTURE_2D, TexID);
    }
    ~tBindingKeeper() {
        glBindTexture(GL_TEXTURE_2D, GLuint(Bound));
        glActiveTextureARB(GLenum(Unit));
    }

private:
    GLint Unit = GL_TEXTURE0_ARB, Bound = 0;
};
}  // namespace

TTexelCopy* t2DTexture::KeepTexelCopy() {
    if (Copy) return Copy.get();
    if (TexID == 0 || Image.UseAlpha || Image.Width <= 0 || Image.Height <= 0) return nullptr;
    tBindingKeeper Keeper(TexID);
    Copy = std::make_unique<TTexelCopy>();
    Copy->Width = Image.Width;
    Copy->Height = Image.Height;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int32_t Level = 0;; ++Level) {
        const int32_t W = Copy->LevelWidth(Level), H = Copy->LevelHeight(Level);
        Copy->Levels.emplace_back(std::size_t(W) * std::size_t(H) * 3);
        glGetTexImage(GL_TEXTURE_2D, Level, GL_RGB, GL_UNSIGNED_BYTE, Copy->Levels.back().data());
        if (W == 1 && H == 1) break;
    }
    return Copy.get();
}

void t2DTexture::TexelsChanged(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1) {
    if (!Copy) return;
    X0 = std::max(X0, 0);
    Y0 = std::max(Y0, 0);
    X1 = std::min(X1, Copy->Width - 1);
    Y1 = std::min(Y1, Copy->Height - 1);
    if (X1 < X0 || Y1 < Y0) return;
    tBindingKeeper Keeper(TexID);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const int32_t Levels = int32_t(Copy->Levels.size());
    for (int32_t Level = 0; Level < Levels; ++Level) {
        const int32_t LX0 = X0 >> Level, LY0 = Y0 >> Level, LX1 = X1 >> Level, LY1 = Y1 >> Level;
        // A coarser texel is the mean of the 2 x 2 finer texels under it.
        if (Level > 0) {
            const int32_t FW = Copy->LevelWidth(Level - 1), FH = Copy->LevelHeight(Level - 1);
            for (int32_t Y = LY0; Y <= LY1; ++Y)
                for (int32_t X = LX0; X <= LX1; ++X)
                    for (int32_t C = 0; C < 3; ++C) {
                        int32_t Sum = 0;
                        for (int32_t K = 0; K < 4; ++K)
                            Sum += Copy->Texel(Level - 1, std::min(2 * X + K % 2, FW - 1),
                                               std::min(2 * Y + K / 2, FH - 1))[C];
                        Copy->Texel(Level, X, Y)[C] = uint8_t((Sum + 2) / 4);
                    }
        }
        glPixelStorei(GL_UNPACK_ROW_LENGTH, Copy->LevelWidth(Level));
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, LX0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, LY0);
        glTexSubImage2D(GL_TEXTURE_2D, Level, LX0, LY0, LX1 - LX0 + 1, LY1 - LY0 + 1, GL_RGB, GL_UNSIGNED_BYTE,
                        Copy->Levels[std::size_t(Level)].data());
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
}

uint32_t t2DTexture::MinFilter() const { return NearestMip ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_LINEAR; }

void t2DTexture::UseNearestMip() {
    NearestMip = true;
    // A texture with alpha has no mip levels to choose from.
    if (TexID == 0 || Image.UseAlpha) return;
    tBindingKeeper Keeper(TexID);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLfloat(MinFilter()));
}

// ---- 3D ----------------------------------------------------------------------

uint32_t t3DTexture::TextureTarget() { return GL_TEXTURE_3D; }

void t3DTexture::Upload(const uint8_t* Pixels) {
    if (Image.UseAlpha) {
        Logger->Log("Creating 3D texture with alpha channel");
        gluBuild3DMipmaps(GL_TEXTURE_3D, GL_RGBA8, Image.Width, Image.Height, Image.Depth, GL_RGBA, GL_UNSIGNED_BYTE,
                          Pixels);
    } else {
        Logger->Log("Creating 3D texture without alpha channel");
        gluBuild3DMipmaps(GL_TEXTURE_3D, GL_RGB8, Image.Width, Image.Height, Image.Depth, GL_RGB, GL_UNSIGNED_BYTE,
                          Pixels);
    }
    glTexParameterf(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameterf(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

// ---- Cube map ----------------------------------------------------------------

uint32_t tCubeTexture::TextureTarget() { return GL_TEXTURE_CUBE_MAP_ARB; }

void tCubeTexture::Upload(const uint8_t* Pixels) {
    Logger->Guard(Image.Depth == Faces, "A cube map needs " + Int2Str(Faces) + " faces, got " + Int2Str(Image.Depth));
    glTexParameterf(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP_ARB, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum Format = Image.UseAlpha ? GL_RGBA : GL_RGB;
    const GLint InternalFormat = Image.UseAlpha ? GL_COMPRESSED_RGBA_ARB : GL_COMPRESSED_RGB_ARB;
    const std::size_t FaceSize = std::size_t(Image.Width) * BytesPerPixel(Image) * Image.Height;
    for (int32_t Face = 0; Face < Faces; ++Face)
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X_ARB + Face, 0, InternalFormat, Image.Width, Image.Height, 0, Format,
                     GL_UNSIGNED_BYTE, Pixels + Face * FaceSize);
}
