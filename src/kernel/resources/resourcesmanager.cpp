#include "kernel/resources/resourcesmanager.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/loaders/bitmaploader.h"
#include "kernel/objects/registry.h"
#include "kernel/resources/resourcekinds.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/renderdevice.h"

Z_IMPLEMENT_CLASS(tZResourcesManager,
                  .Operations = {{"LoadTexture"}, {"LoadShader"}, {"LoadMesh"}, {"LoadWaveform"}, {"ConvertName"},
                                 {"PurgeResource"}, {"PrecacheResource"}, {"PurgeEverything"}, {"FeedResource"}})

tResource* tResourcesList::GetResource(int32_t I) const { return static_cast<tResource*>(GetObject(I)); }

tResource* tResourcesList::FindResource(const ShortString& Name) const {
    const ShortString Upper = UpCaseStr(Name);
    for (int32_t I = 1; I <= GetTotalItems(); ++I)
        if (GetResource(I)->GetFileName() == Upper) return GetResource(I);
    return nullptr;
}

tMeshResource* tResourcesList::FindMeshResource(const ShortString& Name, float Size) const {
    const ShortString Upper = UpCaseStr(Name);
    for (int32_t I = 1; I <= GetTotalItems(); ++I) {
        auto* Mesh = dynamic_cast<tMeshResource*>(GetResource(I));
        if (Mesh && Mesh->GetFileName() == Upper && Mesh->ResizedDimension() == Size) return Mesh;
    }
    return nullptr;
}

tZResourcesManager::~tZResourcesManager() {
    Purged.DeallocateAllItems();
    Resources.DeallocateAllItems();
}

tResource* tZResourcesManager::FeedResource(tResource* R, const ShortString& Name, const tResourceCreator& Creator) {
    if (R) return R;
    // A load cut short by a fatal error that a console line recovers from
    // leaves nothing behind: the next request for the name loads it afresh.
    tOwned<tResource> Fresh(Creator(Name));
    Fresh->SetFileName(Name);
    Resources.AddItem(Fresh->AllocateListItem());
    return Fresh.release();
}

tTextureResource* tZResourcesManager::LoadTexture(const ShortString& Name) {
    tResource* R = FeedResource(Resources.FindResource(Name), Name, [this](const ShortString& N) { return CreateTexture(N); });
    auto* Texture = dynamic_cast<tTextureResource*>(R);
    Logger->Guard(Texture != nullptr, Name + " isn't a texture");
    return Texture;
}

tShaderResource* tZResourcesManager::LoadShader(const ShortString& Name) {
    tResource* R = FeedResource(Resources.FindResource(Name), Name, [this](const ShortString& N) { return CreateShader(N); });
    auto* Shader = dynamic_cast<tShaderResource*>(R);
    Logger->Guard(Shader != nullptr, Name + " isn't a shader");
    return Shader;
}

tMeshResource* tZResourcesManager::LoadMesh(const ShortString& Name, float Size) {
    ProcTrace trace("tZResourcesManager.LoadMesh(" + Name + "," + Flt2Str(Size, 1) + ")");
    Logger->Guard(Size > 0, "Only positive size meshes allowed");
    tResource* R = FeedResource(Resources.FindMeshResource(Name, Size), Name,
                                [this](const ShortString& N) { return CreateMesh(N); });
    auto* Mesh = dynamic_cast<tMeshResource*>(R);
    Logger->Guard(Mesh != nullptr, Name + " isn't a mesh");
    // The shared mesh stays here; the caller gets a replica of its own.
    Mesh->Resize(Size);
    return Mesh->Replicate();
}

tWaveformResource* tZResourcesManager::LoadWaveform(const ShortString& Name) {
    tResource* R = FeedResource(Resources.FindResource(Name), Name,
                                [this](const ShortString& N) { return CreateWaveform(N); });
    auto* Waveform = dynamic_cast<tWaveformResource*>(R);
    Logger->Guard(Waveform != nullptr, Name + " isn't a waveform");
    return Waveform;
}

tResource* tZResourcesManager::CreateTexture(const ShortString& Name) {
    tZClass LoaderClass;
    Linker->FindFileLoader("tBitmapLoader", Name, LoaderClass);
    tOwned<tZObject> Obj(tZObject::Instantiate(LoaderClass, ""));
    auto* Loader = dynamic_cast<tBitmapLoader*>(Obj.get());
    Logger->Guard(Loader != nullptr, Obj->ClassName() + " isn't a tBitmapLoader");
    const TTextureType Type = Loader->EstimateTextureType(*FileSystem->CreateFileReader(Name, {RF_HALTONERRORS}));
    Obj.reset();
    Logger->Guard(Engine && Engine->Renderer, "Render device isn't assigned");
    return Engine->Renderer->CreateTexture(Type);
}

tResource* tZResourcesManager::CreateShader(const ShortString&) {
    Logger->Guard(Engine && Engine->Renderer, "Render device isn't assigned");
    return Engine->Renderer->CreateShader();
}

tResource* tZResourcesManager::CreateMesh(const ShortString&) {
    Logger->Guard(Engine && Engine->Renderer, "Render device isn't assigned");
    return Engine->Renderer->CreateMesh();
}

tResource* tZResourcesManager::CreateWaveform(const ShortString&) {
    Logger->Guard(Engine && Engine->Audio, "Audio subsystem isn't assigned");
    return Engine->Audio->CreateWaveform();
}

void tZResourcesManager::PurgeResource(tResource* R) {
    Resources.RemoveItem(R);
    Purged.AddItem(R->AllocateListItem());
}

void tZResourcesManager::PrecacheResource(tResource* R) {
    Purged.RemoveItem(R);
    Resources.AddItem(R->AllocateListItem());
}

void tZResourcesManager::PurgeEverything(float Age) {
    const float Threshold = (Engine ? Engine->GetEngineTime() : 0.0f) - Age;
    Resources.Sort([](const tListItem* A, const tListItem* B) {
        return static_cast<tResource*>(A->ItemElement)->LastUsedTimeStamp >
               static_cast<tResource*>(B->ItemElement)->LastUsedTimeStamp;
    });
    // Oldest first: purging removes from the front, so the front is read again.
    while (!Resources.IsEmpty() && Resources.GetResource(1)->LastUsedTimeStamp < Threshold)
        Resources.GetResource(1)->Purge();
}
