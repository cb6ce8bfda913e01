#include "kernel/gui/windowmanager.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/desktop.h"
#include "kernel/gui/view.h"
#include "kernel/loaders/guiloader.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/objects/registry.h"
#include "kernel/vfs/inifile.h"
#include "libraries/classes/audiosource.h"
#include "libraries/classes/audiosubsystem.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tWindowManager,
    .Operations = {{"Tick"}, {"RenderFrame"}, {"SetCapture"}, {"ReleaseCapture"}, {"SetCursorForm"},
                   {"SetTopmostRegion"}, {"IsRegionTopmost"}, {"GetCursorForm"}, {"GetDockableViewsList"},
                   {"RegisterView"}, {"UnRegisterView"}},
    .Published = {ZPublished<&tWindowManager::PostInit>("PostInit")})

tGUIView* tViewsList::GetView(int32_t I) const { return static_cast<tGUIView*>(GetObject(I)); }

tWindowManager::tWindowManager() {
    ProcTrace trace("tWindowManager.Init()");
    PriorityClass = PCLASS_LAST;
    tViewport* Viewport = Engine->Viewport;
    Logger->Guard(Viewport->GetViewportWidth() >= MinScreenWidth && Viewport->GetViewportHeight() >= MinScreenHeight,
                  "This GUI sub-system doesn't support screen resolutions lower than 800x600");
    Console->RegisterCommand("AddGUI", ConsoleProc<&tWindowManager::AddGUIC>(this));
    Console->RegisterCommand("ResetGUI", ConsoleProc<&tWindowManager::ResetGUIC>(this));
    Console->RegisterCommand("CloseView", ConsoleProc<&tWindowManager::CloseViewC>(this));
    OldInputDevice = Viewport->GetInputDevice();
    Viewport->SetInputDevice(this);
    CursorForm = CFORM_ARROW;
    GlobalViewsList = new tViewsList;
    DockableViewsList = new tViewsList;
    ClosingViewsList = new tAtomsList;
    RecheckMouse = false;
}

tWindowManager::~tWindowManager() {
    ProcTrace trace("tWindowManager.Done()");
    DropActiveRegions();
    // The desktop's views leave the lists as they go, so it goes first.
    if (Desktop) DisposeObject(Desktop);
    if (Sound) DisposeObject(Sound);
    if (Engine && Engine->Viewport && Engine->Viewport->GetInputDevice() == this)
        Engine->Viewport->SetInputDevice(OldInputDevice);
    // At shutdown the console is gone before the engine disposes its GUI.
    if (Console) {
        Console->UnRegisterCommand("AddGUI", ConsoleProc<&tWindowManager::AddGUIC>(this));
        Console->UnRegisterCommand("ResetGUI", ConsoleProc<&tWindowManager::ResetGUIC>(this));
        Console->UnRegisterCommand("CloseView", ConsoleProc<&tWindowManager::CloseViewC>(this));
    }
    delete ClosingViewsList;
    delete DockableViewsList;
    delete GlobalViewsList;
}

void tWindowManager::PostInit() {
    ProcTrace trace("tWindowManager.PostInit()");
    if (!Registered) Engine->RegisterSubsystem(this);
    if (!Desktop) Desktop = InstantiateClassAs<tGUIDesktop>(EngineINI->GetValue("Core", "Desktop"), tGUIDesktop::DesktopName);
}

void tWindowManager::RegisterView(tGUIView* View) {
    ProcTrace trace("tWindowManager.RegisterView()");
    GlobalViewsList->AddFirstItem(View->AllocateListItem());
    if (View->IsRegionDockable()) DockableViewsList->AddFirstItem(View->AllocateListItem());
}

void tWindowManager::UnRegisterView(tGUIView* View) {
    if (GlobalViewsList->IsItemOnList(View)) GlobalViewsList->RemoveItem(View);
    if (DockableViewsList->IsItemOnList(View)) DockableViewsList->RemoveItem(View);
    if (ClosingViewsList->IsItemOnList(View)) ClosingViewsList->RemoveItem(View);
    ForgetRegion(View);
}

void tWindowManager::ForgetRegion(const tGUIAtom* Region) {
    for (tGUIRegion** R : {&TopmostRegion, &ActiveRegion, &CapturedRegion, &RegionBeenSized, &RegionBeenDragged})
        if (*R == Region) *R = nullptr;
    if (KeyboardFocus == Region) KeyboardFocus = nullptr;
}

tGUIView* tWindowManager::FindView(const ShortString& ID) {
    for (int32_t I = 1; I <= GlobalViewsList->GetTotalItems(); ++I)
        if (GlobalViewsList->GetView(I)->GetAtomID() == ID) return GlobalViewsList->GetView(I);
    return nullptr;
}

void tWindowManager::CloseView(tGUIView* View) {
    if (!ClosingViewsList->IsItemOnList(View)) ClosingViewsList->AddItem(View->AllocateListItem());
}

// ---- Console commands --------------------------------------------------------

void tWindowManager::AddGUIC(const ShortString& Args) {
    const ShortString Name = GetToken(Args, 1);
    if (Name.empty()) {
        Console->Display("Usage: AddGUI <filename>");
        return;
    }
    if (LoadGUIFile(Name)) RecheckMouse = true;
}

void tWindowManager::ResetGUIC(const ShortString&) {
    if (!Desktop) return;
    for (int32_t I = 1; I <= Desktop->GetChildsNumber(); ++I) {
        tGUIAtom* Child = Desktop->GetChild(I);
        if (!ClosingViewsList->IsItemOnList(Child)) ClosingViewsList->AddItem(Child->AllocateListItem());
    }
}

void tWindowManager::CloseViewC(const ShortString& Args) {
    const ShortString ID = GetToken(Args, 1);
    if (ID.empty()) {
        Console->Display("Usage: CloseView <ViewID>");
        return;
    }
    if (tGUIView* View = FindView(ID)) CloseView(View);
    else Console->DisplayError("No view with the ID " + ID);
}

bool tWindowManager::LoadGUIFile(const ShortString& Name) {
    ProcTrace trace("tWindowManager.LoadGUIFile(" + Name + ")");
    if (!FileSystem->FileExists(Name)) {
        Console->DisplayError("GUI file not found: " + Name);
        return false;
    }
    tZClass C;
    if (!Linker->FindFileLoader("tUserInterfaceLoader", Name, C)) {
        Console->DisplayError("No GUI loader for " + Name);
        return false;
    }
    tAtomsList* List = nullptr;
    {
        auto Stream = FileSystem->CreateFileReader(Name, tFileReadingFlags{});
        tOwned<tZObject> Loader(tZObject::Instantiate(C, ""));
        List = static_cast<tUserInterfaceLoader*>(Loader.get())->LoadGUI(*Stream);
    }
    if (Desktop) Desktop->AddChildList(List);
    else List->DeallocateAllItems();
    delete List;
    for (int32_t I = 1; I <= GlobalViewsList->GetTotalItems(); ++I) GlobalViewsList->GetView(I)->Update();
    return true;
}

void tWindowManager::PlaySound(const ShortString& FileName) {
    if (!Engine->Audio) return;
    if (Sound && SoundFile != FileName) DisposeObject(Sound);
    if (!Sound) {
        Sound = Engine->Audio->CreateSource(FileName);
        SoundFile = FileName;
    }
    if (Sound) Sound->Play(nullptr);
}

// ---- Ticks and drawing -----------------------------------------------------------

void tWindowManager::CheckMouse() {
    tMouseCursorInformation* M = Engine->Viewport->GetMouseCursorInfo();
    const TPoint P{M->MouseX + M->HalfWidth, M->MouseY + M->HalfHeight};
    if (P != MousePosition || RecheckMouse) {
        RecheckMouse = false;
        MousePosition = P;
        tGUIRegion* R = TopmostRegion ? TopmostRegion->FindRegion(MousePosition) : nullptr;
        if (!R && Desktop) R = Desktop->FindRegion(MousePosition);
        if (R && !RegionBeenSized) R->GUI_MouseInside(MousePosition);
        if (ActiveRegion && ActiveRegion != R) ActiveRegion->GUI_MouseOutside(MousePosition);
        ActiveRegion = R;
        UpdateCursorForm();
    }
    if (RegionBeenDragged) RegionBeenDragged->Drag(MousePosition);
    if (RegionBeenSized) RegionBeenSized->ResizeCornerTo(MousePosition);
}

void tWindowManager::UpdateCursorForm() {
    tGUIRegion* R = ActiveRegion;
    if (RegionBeenSized || (R && R->IsRegionSizeable() && R->ContainsRightCorner(MousePosition)))
        CursorForm = CFORM_CORNERRESIZE;
    else if (RegionBeenDragged || (R && R->IsRegionDraggable() && R->CaptionContains(MousePosition)))
        CursorForm = CFORM_MOVE;
    else
        CursorForm = CFORM_ARROW;
}

void tWindowManager::Tick(float DeltaSeconds) {
    CheckMouse();
    if (Desktop) Desktop->GUI_MouseInside(MousePosition);
    // The count is read again each time: a timer handler may open views.
    for (int32_t I = 1; I <= GlobalViewsList->GetTotalItems(); ++I) {
        tGUIView* View = GlobalViewsList->GetView(I);
        switch (View->GUI_Timer(DeltaSeconds)) {
            case GUIMSG_REQUEST_CLOSE: CloseView(View); break;
            case GUIMSG_RECHECK_MOUSE: RecheckMouse = true; break;
            default: break;
        }
    }
    PurgeViews();
}

void tWindowManager::PurgeViews() {
    if (ClosingViewsList->IsEmpty()) return;
    DropActiveRegions();
    // A view's disposal also disposes its children, which leave the closing
    // list as they go: take the first entry each time.
    while (!ClosingViewsList->IsEmpty()) {
        tGUIAtom* Atom = ClosingViewsList->GetAtom(1);
        ClosingViewsList->RemoveFirstItem();
        if (tGUIAtom* Parent = Atom->GetParentAtom()) Parent->RemoveChild(Atom);
        else DisposeObject(Atom);
    }
    RecheckMouse = true;
}

void tWindowManager::DropActiveRegions() {
    if (ActiveRegion) ActiveRegion->GUI_MouseOutside(MousePosition);
    if (CapturedRegion) CapturedRegion->GUI_CaptureChanged();
    if (RegionBeenSized) RegionBeenSized->GUI_StopResize(MousePosition);
    if (RegionBeenDragged) RegionBeenDragged->GUI_StopDragging(MousePosition);
    TopmostRegion = ActiveRegion = CapturedRegion = RegionBeenSized = RegionBeenDragged = nullptr;
}

void tWindowManager::RenderFrame() {
    if (!Desktop) return;
    tRenderDevice* R = Engine->Renderer;
    // The GUI lies in window pixels over whatever the frame left in the
    // model-view matrix.
    R->BeginTransform(ZFT_REPLACE, &IdentityMatrix4);
    Desktop->RenderHierarchy();
    if (TopmostRegion) TopmostRegion->RenderTopmostRegion();
    Desktop->RenderCursor();
    R->EndTransform(ZFT_REPLACE);
}

// ---- Input ---------------------------------------------------------------------

tGUIRegion* tWindowManager::TargetOf(uint8_t Key) {
    if (CapturedRegion) return CapturedRegion;
    if (KeyboardFocus && !IsMouseKey(Key)) return KeyboardFocus;
    return ActiveRegion;
}

void tWindowManager::SendKey(uint8_t Key, bool Pressed) {
    tGUIManager::SendKey(Key, Pressed);
    // A button goes to the region under the pointer now, not where the last
    // tick saw it.
    if (IsMouseKey(Key)) CheckMouse();
    if (Key == KEY_LBUTTON && !Pressed) {
        if (RegionBeenDragged) RegionBeenDragged->GUI_StopDragging(MousePosition);
        if (RegionBeenSized) RegionBeenSized->GUI_StopResize(MousePosition);
        RegionBeenDragged = RegionBeenSized = nullptr;
        // The region under the mouse may have moved with the drag.
        RecheckMouse = true;
    }
    // Keys held in the game are released there, whoever takes the release.
    if (!Pressed && OldInputDevice) OldInputDevice->SendKey(Key, false);

    tGUIRegion* T = TargetOf(Key);
    if (!T) {
        if (Pressed && OldInputDevice) OldInputDevice->SendKey(Key, true);
        return;
    }
    if (T->GetParentAtom() && Pressed) {
        if (!IsRegionTopmost(T) && T->GetParentAtom() != TopmostRegion) TopmostRegion = nullptr;
        if (T->DynamicCast(&tGUIView::ClassInfo) && static_cast<tGUIView*>(T)->CanFocus()) T->GetParentAtom()->ToFront(T);
    }
    RouteMouseButton(T, Key, Pressed);

    if (!T->GUI_Key(Key, Pressed)) return;
    const bool Filtered = T->DynamicCast(&tGUIView::ClassInfo) && static_cast<tGUIView*>(T)->IsKeyFiltered(Key);
    // Releases already went on above.
    if (!Filtered && Pressed && OldInputDevice) OldInputDevice->SendKey(Key, true);
}

void tWindowManager::RouteMouseButton(tGUIRegion* T, uint8_t Key, bool Pressed) {
    switch (Key) {
        case KEY_LBUTTON:
            if (Pressed && T->IsRegionSizeable() && T->ContainsRightCorner(MousePosition)) {
                RegionBeenSized = T;
                T->GUI_StartResize(MousePosition);
            } else if (Pressed && T->IsRegionDraggable() && T->CaptionContains(MousePosition) &&
                       !T->CaptionCloseButtonContains(MousePosition)) {
                RegionBeenDragged = T;
                T->GUI_StartDragging(MousePosition);
            } else {
                T->GUI_MouseLeft(MousePosition, Pressed);
            }
            UpdateCursorForm();
            break;
        case KEY_RBUTTON: T->GUI_MouseRight(MousePosition, Pressed); break;
        case KEY_LDOUBLECLICK: T->GUI_LDoubleClick(MousePosition); break;
        case KEY_RDOUBLECLICK: T->GUI_RDoubleClick(MousePosition); break;
        case KEY_WHEELUP: if (Pressed) T->GUI_Scroll(DIR_UP); break;
        case KEY_WHEELDOWN: if (Pressed) T->GUI_Scroll(DIR_DOWN); break;
        default: break;
    }
}
