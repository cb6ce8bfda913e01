#include "kernel/console/demoplayers.h"

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "libraries/classes/console.h"
#include "libraries/classes/engine.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/renderdevice.h"
#include "libraries/classes/timer.h"

Z_IMPLEMENT_CLASS(tDemoPlayer,
    .Operations = {{"ProcessCommand", ZOP_ABSTRACT}, {"DemoTime"}, {"IsPlaying"}, {"Play"}})
Z_IMPLEMENT_CLASS(tTimedDemoPlayer, .Operations = {{"ProcessCommand"}, {"DemoTime"}})
Z_IMPLEMENT_CLASS(tInstantDemoPlayer, .Operations = {{"ProcessCommand"}})

namespace {

// A comment line starts with "/" or ";"; blank lines are skipped as well.
bool IsScriptComment(const ShortString& Line) { return Line.empty() || Line[0] == '/' || Line[0] == ';'; }

float SystemTime() {
    Logger->Guard(Engine && Engine->Timer, "Timer not found");
    return Engine->Timer->GetSystemTime();
}

}  // namespace

// ---- tDemoPlayer -----------------------------------------------------------

tDemoPlayer::tDemoPlayer(const ShortString& FileName) {
    ProcTrace trace("tDemoPlayer.Init()");
    DemoFile = FileName;
    DemoStream = FileSystem->CreateFileReader(DemoFile, {RF_HALTONERRORS});
}

tDemoPlayer::~tDemoPlayer() = default;

bool tDemoPlayer::IsPlaying() { return DemoStream && !DemoStream->EOF(); }

// The file closes as soon as its last line is read: a finished script may
// stay on the stack until the next frame, but holds no file open.
void tDemoPlayer::Play() {
    if (!DemoTime()) return;
    ShortString line;
    while (IsPlaying()) {
        DemoStream->ReadLine(line);
        if (DemoStream->EOF()) DemoStream.reset();
        line = Trim(line);
        if (IsScriptComment(line)) continue;
        if (ProcessCommand(line)) return;
    }
}

// ---- tTimedDemoPlayer ------------------------------------------------------

tTimedDemoPlayer::tTimedDemoPlayer(const ShortString& FileName) : tDemoPlayer(FileName) {
    WaitDelay = 0.0;
    WaitTime = SystemTime();
}

bool tTimedDemoPlayer::DemoTime() {
    if (ShotDevice && Engine->Renderer == ShotDevice && ShotDevice->FramesBegun() <= ShotFrame) return false;
    ShotDevice = nullptr;
    return WaitDelay <= SystemTime() - WaitTime;
}

bool tTimedDemoPlayer::ProcessCommand(const ShortString& Line) {
    if (UpCaseStr(Line).view().starts_with("WAIT")) {
        // A pause that is not a number lasts until the next frame.
        WaitDelay = Str2Flt(GetToken(Line, 2));
        WaitTime = SystemTime();
        return true;
    }
    Console->SendCommand(Line, true);
    // A screenshot is taken when the frame is drawn, and a frame may run
    // several updates: the lines after it wait until that frame is drawn, or
    // they would change the picture it was asked for.
    if (UpCaseStr(GetToken(Line, 1)) == "SCREENSHOT") {
        ShotDevice = Engine->Renderer;
        if (ShotDevice) ShotFrame = ShotDevice->FramesBegun();
        return true;
    }
    return false;
}

// ---- tInstantDemoPlayer ----------------------------------------------------

tInstantDemoPlayer::tInstantDemoPlayer(const ShortString& FileName) : tDemoPlayer(FileName) { Play(); }

bool tInstantDemoPlayer::ProcessCommand(const ShortString& Line) {
    Console->SendCommand(Line, true);
    return false;
}

// ---- the players' stack ----------------------------------------------------

tDemoPlayersList::tDemoPlayersList() : tList("tDemoPlayer") {}

tDemoPlayer* tDemoPlayersList::GetDemoPlayer(int32_t Index) { return static_cast<tDemoPlayer*>(GetObject(Index)); }

void tDemoPlayersStack::Push(tDemoPlayer* Player) { AddItem(Player->AllocateListItem()); }

void tDemoPlayersStack::PopAndDeallocate() {
    if (IsEmpty()) return;
    tDemoPlayer* top = GetTop();
    RemoveItem(top);
    tZObject::DisposeObject(top);
}

tDemoPlayer* tDemoPlayersStack::GetTop() { return IsEmpty() ? nullptr : GetDemoPlayer(GetTotalItems()); }
