#include "kernel/renderer/shadersetup/shadersetup.h"

#include <algorithm>
#include <cmath>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/core/textchars.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/resourcesmanager.h"
#include "libraries/classes/shaderprogram.h"

Z_IMPLEMENT_CLASS(tShaderFields)
Z_IMPLEMENT_CLASS(tShaderSetup, .Operations = {{"BeginSection"}, {"EndSection"}, {"AcceptParameter"}, {"EndLoad"}})

namespace {

constexpr const char* TextureSection = "TEXTURE";

constexpr TGLEnumName CombineModes[] = {
    {"GL_REPLACE", 0x1E01}, {"GL_MODULATE", 0x2100}, {"GL_ADD", 0x0104}, {"GL_ADD_SIGNED", 0x8574},
    {"GL_SUBTRACT", 0x84E7},
};

constexpr TGLEnumName BlendFactors[] = {
    {"GL_ZERO", 0},
    {"GL_ONE", 1},
    {"GL_SRC_COLOR", 0x0300},
    {"GL_ONE_MINUS_SRC_COLOR", 0x0301},
    {"GL_SRC_ALPHA", 0x0302},
    {"GL_ONE_MINUS_SRC_ALPHA", 0x0303},
    {"GL_DST_ALPHA", 0x0304},
    {"GL_ONE_MINUS_DST_ALPHA", 0x0305},
    {"GL_DST_COLOR", 0x0306},
    {"GL_ONE_MINUS_DST_COLOR", 0x0307},
    {"GL_SRC_ALPHA_SATURATE", 0x0308},
    {"GL_CONSTANT_COLOR", 0x8001},
    {"GL_ONE_MINUS_CONSTANT_COLOR", 0x8002},
    {"GL_CONSTANT_ALPHA", 0x8003},
    {"GL_ONE_MINUS_CONSTANT_ALPHA", 0x8004},
};

template <std::size_t N>
uint32_t LookupOrStop(const ShortString& Name, const TGLEnumName (&Table)[N]) {
    const uint32_t Value = Lookup(Name, Table, static_cast<int32_t>(N) - 1);
    Logger->Guard(Value != InvalidGLEnum, "Invalid enum for \"" + Name + "\"");
    return Value;
}

// Pattern with every "%i" replaced by Frame, left-padded with zeroes to Digits.
ShortString FrameFileName(const ShortString& Pattern, int32_t Frame, int32_t Digits) {
    ShortString Number = Int2Str(Frame);
    while (static_cast<int32_t>(Number.size()) < Digits) Number = "0" + Number;
    ShortString Result;
    for (std::size_t I = 0; I < Pattern.size(); ++I) {
        if (Pattern[I] == '%' && I + 1 < Pattern.size() && Pattern[I + 1] == 'i') {
            Result += Number;
            ++I;
        } else {
            Result += Pattern[I];
        }
    }
    return Result;
}

}  // namespace

uint32_t Lookup(const ShortString& Name, const TGLEnumName* Table, int32_t High) {
    for (int32_t I = 0; I <= High; ++I)
        if (Name == Table[I].Name) return Table[I].Value;
    return InvalidGLEnum;
}

const tMapArray<tShaderSetup::TAcceptor>& tShaderSetup::Acceptors() {
    static const tMapArray<TAcceptor> Map = [] {
        tMapArray<TAcceptor> M;
        M.SetKey("SURFACESHADER", &tShaderSetup::AcceptSurfaceShader);
        M.SetKey("SURFACESHADER TEXTURE", &tShaderSetup::AcceptTexture);
        M.SetKey("SURFACESHADER TEXTURE ANIMATE", &tShaderSetup::AcceptTextureAnimation);
        M.SetKey("SURFACESHADER ENABLE", &tShaderSetup::AcceptEnable);
        M.SetKey("SURFACESHADER DISABLE", &tShaderSetup::AcceptDisable);
        M.SetKey("SURFACESHADER BLEND", &tShaderSetup::AcceptBlend);
        M.SetKey("SURFACESHADER POINTSPRITE", &tShaderSetup::AcceptPointSprite);
        M.SetKey("SURFACESHADER SHADERPROGRAM", &tShaderSetup::AcceptShaderProgram);
        M.SetKey("SURFACESHADER ANIMATE", &tShaderSetup::AcceptVertexAnimation);
        return M;
    }();
    return Map;
}

// ---- Sections ----------------------------------------------------------------

ShortString tShaderSetup::SectionWord(const ShortString& Name, int32_t& Unit) {
    Unit = -1;
    const std::size_t Prefix = std::char_traits<char>::length(TextureSection);
    if (Name.size() < Prefix || Name.substr(0, Prefix) != TextureSection) return Name;
    const ShortString Number = Name.substr(Prefix);
    Logger->Guard(IsCorrectInt(Number), "Invalid texture section name: " + Quoted(Name));
    Unit = Str2Int(Number);
    return TextureSection;
}

void tShaderSetup::BeginSection(const ShortString& Name) {
    tShaderFields::BeginSection(Name);
    int32_t Unit = -1;
    const ShortString Word = SectionWord(Name, Unit);
    if (Word != Name) {
        Logger->Log("SectionName: " + Name);
        if (Unit != CurrentTextureUnit + 1)
            Logger->Fatal(ShortString("Texture units must go in ascending order: ") + CR + "Got " + Int2Str(Unit) +
                          " expected " + Int2Str(CurrentTextureUnit + 1));
        // The units' records are a fixed array; a fifth unit has no place.
        Logger->Guard(Unit < MaxShaderTextureUnits,
                      "At most " + Int2Str(MaxShaderTextureUnits) + " texture units, got " + Name);
        CurrentTextureUnit = Unit;
    }
    Section = Trim(Section + " " + Word);
}

void tShaderSetup::EndSection(const ShortString& Name) {
    ProcTrace trace("tShaderSetup.EndSection(" + Name + ")");
    int32_t Unit = -1;
    const ShortString Word = SectionWord(Name, Unit);
    const std::size_t Blank = Section.view().rfind(' ');
    const ShortString Expected = Blank == std::string_view::npos ? Section : Section.substr(Blank + 1);
    Section = Blank == std::string_view::npos ? ShortString() : Section.substr(0, Blank);
    if (Expected != Word)
        Logger->Fatal(ShortString("Section name mismatch: ") + CR + "Got " + Quoted(Word) + " expected " +
                      Quoted(Expected));
    tShaderFields::EndSection(Name);
}

// ---- Parameters --------------------------------------------------------------

void tShaderSetup::AcceptParameter(const ShortString& Name, const ShortString& Value) {
    tShaderFields::AcceptParameter(Name, Value);
    if (Name == "RESOURCETYPE") {
        Logger->Guard(Value == "ZSS", "Can only accept SurfaceShader params");
    } else if (Name == "RESOURCEVERSION") {
        Logger->Guard(Value == "1.1", "Can only accept ZSS 1.1");
    } else if (Name == "PROJECTION") {
        const ShortString Word = GetToken(Value, 1);
        if (Word == "ZPR_ORTHOGRAPHIC") Projection = ZPR_ORTHOGRAPHIC;
        else if (Word == "ZPR_PERSPECTIVE") Projection = ZPR_PERSPECTIVE;
        else Logger->Fatal("Unknown projection type: " + Quoted(Word));
    } else {
        const TAcceptor Handler = Acceptors().GetKey(Section);
        Logger->Guard(Handler != nullptr, "Unable to find appropriate acceptor for section: " + Quoted(Section));
        (this->*Handler)(Name, Value);
    }
}

void tShaderSetup::AcceptSurfaceShader(const ShortString& Name, const ShortString& Value) { UnknownToken(Name, Value); }

void tShaderSetup::AcceptTexture(const ShortString& Name, const ShortString& Value) {
    if (Name == "FILE") {
        TexturesDesc[CurrentTextureUnit][0] = GetToken(Value, 1);
        TexturesUsed = CurrentTextureUnit + 1;
    } else if (Name == "TEXCOMBINE") {
        CurrentUnit().TexCombine = LookupOrStop(GetToken(Value, 1), CombineModes);
    } else if (Name == "MIPFILTER") {
        const ShortString Word = UpCaseStr(GetToken(Value, 1));
        if (Word != "NEAREST" && Word != "LINEAR") Logger->Fatal("Unknown mip filter: " + Quoted(Word));
        NearestMip[CurrentTextureUnit] = Word == "NEAREST";
    } else {
        UnknownToken(Name, Value);
    }
}

void tShaderSetup::AcceptTextureAnimation(const ShortString& Name, const ShortString& Value) {
    TShaderTextureRec& Unit = CurrentUnit();
    if (Name == "ITERATETEXTURES") {
        IterateTextures(Value);
    } else if (Name == "DISPLACEUV") {
        Unit.Animation = TA_DISPLACEUV;
        Unit.AnimationParams.DeltaU = Str2Flt(GetToken(Value, 1));
        Unit.AnimationParams.DeltaV = Str2Flt(GetToken(Value, 2));
    } else if (Name == "ROTATEUV") {
        Unit.Animation = TA_ROTATEUV;
        Unit.AnimationParams.Angle = Str2Flt(GetToken(Value, 1));
    } else {
        UnknownToken(Name, Value);
    }
}

void tShaderSetup::IterateTextures(const ShortString& Value) {
    const float Iterations = Str2Flt(GetToken(Value, 1));
    const float FPS = Str2Flt(GetToken(Value, 2));
    const int32_t ExpandZeroes = Str2Int(GetToken(Value, 3));
    Logger->Guard(ExpandZeroes <= MaxExpandZeroes, "Unable to use ExpandZeroes>" + Int2Str(MaxExpandZeroes));
    Logger->Log("Iterations: " + Flt2Str(Iterations, 2));
    Logger->Log("FPS       : " + Flt2Str(FPS, 2));
    TShaderTextureRec& Unit = CurrentUnit();
    Unit.Animation = TA_ITERATETEXTURES;
    Unit.AnimationParams.Iterations = static_cast<int32_t>(std::lround(std::clamp(Iterations, -1e9f, 1e9f)));
    Unit.AnimationParams.FPS = FPS;
    ShortString* Frames = TexturesDesc[CurrentTextureUnit];
    const ShortString Pattern = Frames[0];
    Logger->Guard(!Pattern.empty(), "File name for texture must be given");
    const int32_t Count = std::min(Unit.AnimationParams.Iterations, MaxTextureFrames);
    for (int32_t Frame = 1; Frame <= Count; ++Frame) Frames[Frame - 1] = FrameFileName(Pattern, Frame, ExpandZeroes);
}

void tShaderSetup::ApplyEnableFlag(const ShortString& Name, const ShortString& Value) {
    if (Name == "DEPTHTEST") DepthTest = EnableDisable;
    else if (Name == "OCCLUSIONTEST") OcclusionTest = EnableDisable;
    else if (Name == "COLORWRITES") ColorWrites = EnableDisable;
    else if (Name == "DEPTHWRITES") DepthWrites = EnableDisable;
    else UnknownToken(Name, Value);
}

void tShaderSetup::AcceptEnable(const ShortString& Name, const ShortString& Value) {
    EnableDisable = true;
    ApplyEnableFlag(Name, Value);
}

void tShaderSetup::AcceptDisable(const ShortString& Name, const ShortString& Value) {
    EnableDisable = false;
    ApplyEnableFlag(Name, Value);
}

void tShaderSetup::AcceptBlend(const ShortString& Name, const ShortString& Value) {
    if (Name != "BLENDFUNC") return UnknownToken(Name, Value);
    Blending.Blended = true;
    Blending.BlendSrc = LookupOrStop(GetToken(Value, 1), BlendFactors);
    Blending.BlendDst = LookupOrStop(GetToken(Value, 2), BlendFactors);
}

void tShaderSetup::AcceptPointSprite(const ShortString& Name, const ShortString& Value) {
    if (Name != "POINTSIZE") return UnknownToken(Name, Value);
    PointSprite.Enabled = true;
    PointSprite.PointSize = Str2Int(GetToken(Value, 1));
}

void tShaderSetup::AcceptShaderProgram(const ShortString& Name, const ShortString& Value) {
    if (Name != "VERTEXPROGRAM" && Name != "FRAGMENTPROGRAM") return UnknownToken(Name, Value);
    if (!ShaderProgram) ShaderProgram = Engine->Renderer->CreateShaderProgram();
    if (Name == "VERTEXPROGRAM") ShaderProgram->LoadVertexShaderFromFile(GetToken(Value, 1));
    else ShaderProgram->LoadFragmentShaderFromFile(GetToken(Value, 1));
}

void tShaderSetup::AcceptVertexAnimation(const ShortString& Name, const ShortString& Value) {
    if (Name != "ROTATE") return UnknownToken(Name, Value);
    const float DeltaA = std::clamp(Str2Flt(GetToken(Value, 1)), -1e9f, 1e9f);
    Animation = VA_ROTATE;
    AnimationParams.DeltaA = static_cast<int32_t>(std::lround(DeltaA));
    Logger->Guard(AnimationParams.DeltaA != 0, "Supply DeltaA > 0");
    AnimationParams.XAxis = Str2Flt(GetToken(Value, 2));
    AnimationParams.YAxis = Str2Flt(GetToken(Value, 3));
    AnimationParams.ZAxis = Str2Flt(GetToken(Value, 4));
}

// ---- End of loading ----------------------------------------------------------

void tShaderSetup::EndLoad() {
    tShaderFields::EndLoad();
    for (int32_t Unit = 0; Unit < TexturesUsed; ++Unit)
        for (int32_t Frame = 0; Frame < MaxTextureFrames; ++Frame) {
            const ShortString& File = TexturesDesc[Unit][Frame];
            if (File.empty()) continue;
            Texture[Unit].TextureID[Frame] = Resources->LoadTexture(File);
            if (NearestMip[Unit] && Texture[Unit].TextureID[Frame]) Texture[Unit].TextureID[Frame]->UseNearestMip();
            Logger->Log("Loaded from file: " + File);
        }
    if (ShaderProgram) {
        Logger->Log("Compiling shader program...");
        ShaderProgram->Compile();
    }
    Loaded = true;
}
