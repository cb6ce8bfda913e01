#include "kernel/gui/windowmanager.h"

#include <algorithm>
#include <iterator>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/stream.h"
#include "kernel/core/strutils.h"
#include "kernel/gui/desktop.h"
#include "kernel/gui/flightkeys.h"
#include "kernel/gui/keyboard.h"
#include "kernel/gui/view.h"
#include "kernel/loaders/guiloader.h"
#include "kernel/objects/instantiateas.h"
#include "kernel/objects/registry.h"
#include "kernel/vfs/inifile.h"
#include "libraries/gui/gamemenu.h"
#include "libraries/gui/stdconsole.h"
#include "libraries/gui/widget.h"
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
                   {"RegisterView"}, {"UnRegisterView"}, {"HoldsInput"}},
    .Published = {ZPublished<&tWindowManager::PostInit>("PostInit")})

tGUIView* tViewsList::GetView(int32_t I) const { return static_cast<tGUIView*>(GetObject(I)); }

tWindowManager::tWindowManager() {
    ProcTrace trace("tWindowManager.Init()");
    PriorityClass = PCLASS_LAST;
    tViewport* Viewport = Engine->Viewport;
    Logger->Guard(Viewport->GetViewportWidth() >= MinScreenWidth && Viewport->GetViewportHeight() >= MinScreenHeight,
                  "This GUI sub-system doesn't support screen resolutions lower than 800x600");
    Console->RegisterCommand("AddGUI", ConsoleProc<&tWindowManager::AddGUIC>(this), Commands);
    Console->RegisterCommand("ResetGUI", ConsoleProc<&tWindowManager::ResetGUIC>(this), Commands);
    Console->RegisterCommand("CloseView", ConsoleProc<&tWindowManager::CloseViewC>(this), Commands);
    OldInputDevice = Viewport->GetInputDevice();
    Viewport->SetInputDevice(this);
    CursorForm = CFORM_ARROW;
    GlobalViewsList = new tViewsList;
    DockableViewsList = new tViewsList;
    ClosingViewsList = new tAtomsList;
    RecheckMouse = false;
    Menu = new tGameMenu(*this);
}

tWindowManager::~tWindowManager() {
    ProcTrace trace("tWindowManager.Done()");
    DropActiveRegions();
    // The desktop's views leave the lists as they go, so it goes first.
    if (Desktop) DisposeObject(Desktop);
    if (Sound) DisposeObject(Sound);
    delete Menu;
    if (Engine && Engine->Viewport && Engine->Viewport->GetInputDevice() == this)
        Engine->Viewport->SetInputDevice(OldInputDevice);
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
    ReleaseKeyboardFocus(Region);
    if (FocusedView == Region) FocusedView = nullptr;
}

void tWindowManager::SetKeyboardFocus(tGUIView* View) {
    if (View == KeyboardFocus) return;
    PreviousKeyboardFocus = KeyboardFocus;
    KeyboardFocus = View;
}

void tWindowManager::ReleaseKeyboardFocus(const tGUIAtom* View) {
    if (PreviousKeyboardFocus == View) PreviousKeyboardFocus = nullptr;
    if (KeyboardFocus != View) return;
    KeyboardFocus = PreviousKeyboardFocus;
    PreviousKeyboardFocus = nullptr;
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
    // A new window takes the focus with its first widget.
    tGUIView* Focus = nullptr;
    for (int32_t I = 1; I <= List->GetTotalItems() && !Focus; ++I) Focus = FirstFocusable(List->GetAtom(I));
    if (Desktop) Desktop->AddChildList(List);
    else List->DeallocateAllItems();
    delete List;
    if (Focus && Desktop) FocusedView = Focus;
    UpdateInputOwnership();
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
    UpdateInputOwnership();
}

bool tWindowManager::AnyWindowOpen(bool CountConsole) {
    if (!Desktop) return false;
    for (int32_t I = 1; I <= Desktop->GetChildsNumber(); ++I) {
        tGUIAtom* A = Desktop->GetChild(I);
        // A layout may hang bare atoms under the desktop: they show nothing.
        if (!A->DynamicCast(&tGUIRegion::ClassInfo)) continue;
        if (!CountConsole && A->DynamicCast(&tGUIStdConsole::ClassInfo)) continue;
        if (static_cast<tGUIRegion*>(A)->FVisible && !ClosingViewsList->IsItemOnList(A)) return true;
    }
    return false;
}

bool tWindowManager::HoldsInput() { return AnyWindowOpen(true); }

bool tWindowManager::ShowsWindow() { return AnyWindowOpen(false); }

void tWindowManager::UpdateInputOwnership() {
    const bool Held = HoldsInput();
    if (Held == InputHeld) return;
    InputHeld = Held;
    // Keys held when a window opens are let go in the game; keys held when
    // the last one closes stay up until pressed again, so nothing jumps.
    if (Held) std::fill(std::begin(Keys), std::end(Keys), false);
    if (Engine && Engine->Viewport) Engine->Viewport->SetPointerHeld(Held);
}

TCursorForm tWindowManager::ShownCursorForm() {
    if (InputHeld) return CursorForm;
    if (Engine && (Engine->EnginePaused || Engine->MenuPaused)) return CFORM_ARROW;
    return GameCursor;
}

tGUIView* tWindowManager::FirstFocusable(tGUIAtom* Root) {
    if (!Root || !Root->DynamicCast(&tGUIView::ClassInfo)) return nullptr;
    auto* V = static_cast<tGUIView*>(Root);
    if (!V->FVisible) return nullptr;
    if (V->TakesKeyboardFocus()) return V;
    for (int32_t I = 1; I <= V->GetChildsNumber(); ++I)
        if (tGUIView* F = FirstFocusable(V->GetChild(I))) return F;
    return nullptr;
}

namespace {

// The visible widgets under Root that take the focus, depth first.
void CollectFocusable(tGUIAtom* Root, tGUIView** Out, int32_t& Count, int32_t Max) {
    if (!Root->DynamicCast(&tGUIView::ClassInfo)) return;
    auto* V = static_cast<tGUIView*>(Root);
    if (!V->FVisible) return;
    if (V->TakesKeyboardFocus() && Count < Max) Out[Count++] = V;
    for (int32_t I = 1; I <= V->GetChildsNumber(); ++I) CollectFocusable(V->GetChild(I), Out, Count, Max);
}

}  // namespace

tGUIAtom* tWindowManager::FocusedWindow() {
    if (!Desktop || Desktop->GetChildsNumber() == 0) return nullptr;
    tGUIAtom* Window = Desktop->GetChild(Desktop->GetChildsNumber());
    for (tGUIAtom* A = FocusedView; A && A != Desktop; A = A->GetParentAtom())
        if (A->GetParentAtom() == Desktop) Window = A;
    return Window;
}

namespace {

// The widget under Root whose ID ends in ".back" (the layouts' Back buttons).
tGUIView* FindBackButton(tGUIAtom* Root) {
    const std::string_view ID = Root->GetAtomID().view();
    constexpr std::string_view Suffix = ".back";
    if (ID.size() > Suffix.size() && ID.substr(ID.size() - Suffix.size()) == Suffix &&
        Root->DynamicCast(&tGUIView::ClassInfo))
        return static_cast<tGUIView*>(Root);
    for (int32_t I = 1; I <= Root->GetChildsNumber(); ++I)
        if (tGUIView* Found = FindBackButton(Root->GetChild(I))) return Found;
    return nullptr;
}

}  // namespace

bool tWindowManager::GoBack() {
    tGUIAtom* Window = FocusedWindow();
    tGUIView* Back = Window ? FindBackButton(Window) : nullptr;
    if (!Back) return false;
    FocusedView = nullptr;  // the next window starts without a frame
    Back->ExecuteCommandsStack(true);
    return true;
}

bool tWindowManager::StepFocus(int32_t Step) {
    // An input line that holds the keyboard keeps it.
    if (!InputHeld || KeyboardFocus) return false;
    MoveFocus(Step);
    return true;
}

void tWindowManager::StepFocusedValue(int32_t Direction) {
    if (!InputHeld || KeyboardFocus || !FocusedView || !FocusedView->DynamicCast(&tGUIWidget::ClassInfo)) return;
    auto* W = static_cast<tGUIWidget*>(FocusedView);
    // A list steps through its rows with Up and Down instead; past its ends
    // it stays where it is.
    if (!W->StepValue(Direction)) W->GUI_Key(Direction < 0 ? KEY_UP : KEY_DOWN, true);
}

void tWindowManager::MoveFocus(int32_t Step) {
    tGUIAtom* Window = FocusedWindow();
    if (!Window) return;
    constexpr int32_t MaxWidgets = 128;
    tGUIView* Widgets[MaxWidgets];
    int32_t Count = 0;
    CollectFocusable(Window, Widgets, Count, MaxWidgets);
    if (Count == 0) return;
    int32_t Current = -1;
    for (int32_t I = 0; I < Count; ++I)
        if (Widgets[I] == FocusedView) Current = I;
    FocusedView = Current < 0 ? Widgets[Step > 0 ? 0 : Count - 1] : Widgets[(Current + Step + Count) % Count];
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
    if (FocusedView && InputHeld) Desktop->RenderFocusFrame(FocusedView);
    Desktop->RenderCursor();
    R->EndTransform(ZFT_REPLACE);
}

// ---- Input ---------------------------------------------------------------------

tGUIRegion* tWindowManager::TargetOf(uint8_t Key) {
    if (CapturedRegion) return CapturedRegion;
    if (KeyboardFocus && !IsMouseKey(Key)) return KeyboardFocus;
    if (FocusedView && !IsMouseKey(Key)) return FocusedView;
    return ActiveRegion;
}

void tWindowManager::RefreshGameKey(uint8_t Code) {
    bool Down = false;
    for (int K = 1; K < 256 && !Down; ++K) Down = HeldKeys[K] && GameKeyMap[K] == Code;
    Keys[Code] = Down && !InputHeld;
}

namespace {

constexpr uint8_t KeyTab = 9, KeyUp = 38, KeyDown = 40;

}  // namespace

void tWindowManager::SendKey(uint8_t Key, bool Pressed) {
    // The viewport wrote the raw key into the game's table: the table gets
    // the code the game sees for it instead, and nothing while a window is open.
    HeldKeys[Key] = Pressed;
    BuildFlightKeyMap(GameKeyMap);
    RefreshGameKey(Key);
    if (GameKeyMap[Key] != 0) RefreshGameKey(GameKeyMap[Key]);
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

    // Presses the GUI leaves go on to the console's bindings; the game's key
    // table and the free camera ignore them while a window is open.
    const bool PassOn = Pressed && OldInputDevice;
    tGUIRegion* T = TargetOf(Key);
    if (!T) {
        if (PassOn) OldInputDevice->SendKey(Key, true);
        return;
    }
    if (Pressed && IsMouseKey(Key) && T->DynamicCast(&tGUIView::ClassInfo) &&
        static_cast<tGUIView*>(T)->TakesKeyboardFocus())
        FocusedView = static_cast<tGUIView*>(T);
    if (T->GetParentAtom() && Pressed) {
        if (!IsRegionTopmost(T) && T->GetParentAtom() != TopmostRegion) TopmostRegion = nullptr;
        if (T->DynamicCast(&tGUIView::ClassInfo) && static_cast<tGUIView*>(T)->CanFocus()) T->GetParentAtom()->ToFront(T);
    }
    RouteMouseButton(T, Key, Pressed);

    if (!T->GUI_Key(Key, Pressed)) return;
    // Up, Down and Tab that the widget leaves move the focus in its window.
    if (Pressed && InputHeld && !KeyboardFocus && (Key == KeyUp || Key == KeyDown || Key == KeyTab)) {
        MoveFocus(Key == KeyUp || (Key == KeyTab && IsKeyHeld(KEY_SHIFT)) ? -1 : 1);
        return;
    }
    const bool Filtered = T->DynamicCast(&tGUIView::ClassInfo) && static_cast<tGUIView*>(T)->IsKeyFiltered(Key);
    // Releases already went on above.
    if (!Filtered && PassOn) OldInputDevice->SendKey(Key, true);
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
