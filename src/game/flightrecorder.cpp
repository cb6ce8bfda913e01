#include "game/flightrecorder.h"

#include <cmath>
#include <filesystem>
#include <fstream>

#include "game/flightsettings.h"
#include "game/match.h"
#include "kernel/console/flightlookup.h"
#include "kernel/core/commandline.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/world/world.h"
#include "libraries/gui/gamemenu.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tFlightRecorder)

tFlightRecorder* FlightRecorder = nullptr;

namespace {

constexpr const char* LevelScript = "Exec StdConfig\\level.cfg";
constexpr const char* SpawnPlayer = "SpawnClass %PlaneChassis \"64 64 200\"";
constexpr std::uintmax_t MaxFlightBytes = 64u << 20;

// Lines that start, stop or replay flights, open or join a match over the
// network, or end the game, are not part of a flight.
bool RecordsLine(const ShortString& Line) {
    const ShortString Name = UpCaseStr(GetToken(Line, 1));
    for (const char* Skipped : {"RECORDDEMO", "STOPRECORDING", "PLAYDEMO", "TIMEDEMO", "TIMEDEMOFRAMES", "QUIT", "HOST",
                                "STOPHOSTING", "CONNECT", "DISCONNECT", "RCON"})
        if (Name == Skipped) return false;
    return !Name.empty();
}

// A recording's name: letters, digits, "_" and "-", without ".dem".
ShortString NameOfFlight(const ShortString& Token) {
    ShortString Name = Token;
    if (const ShortString Upper = UpCaseStr(Name); Upper.view().starts_with("DEMOS\\") || Upper.view().starts_with("DEMOS/"))
        Name = Name.substr(6);
    if (UpCaseStr(Name).view().ends_with(".DEM")) Name = Name.substr(0, Name.size() - 4);
    if (Name.empty()) return {};
    for (char C : Name.view())
        if (!std::isalnum(static_cast<unsigned char>(C)) && C != '_' && C != '-') return {};
    return Name;
}

std::string PhysicalPath(const ShortString& VirtualName) { return FileSystem->VirtualNameToPhysical(VirtualName).str(); }
// Where a file the recorder writes goes: the player's folder.
std::string WritablePath(const ShortString& VirtualName) { return FileSystem->WritableNameToPhysical(VirtualName).str(); }

void Announce(const ShortString& Text, bool Error = false) {
    Logger->Log(Text);
    Warning->Log(Text);
    if (Error) Console->DisplayError(Text);
    else Console->Display(Text);
}

}  // namespace

tFlightRecorder::tFlightRecorder() {
    FlightRecorder = this;
    EngineVars->RegisterVar("TimeDemoQuit", TimeDemoQuit);
    EngineVars->RegisterVar("TimeDemoUpdates", TimeDemoUpdates);
    Console->RegisterCommand("RecordDemo", ConsoleProc<&tFlightRecorder::RecordDemoC>(this), Commands);
    Console->RegisterCommand("StopRecording", ConsoleProc<&tFlightRecorder::StopRecordingC>(this), Commands);
    Console->RegisterCommand("TimeDemo", ConsoleProc<&tFlightRecorder::TimeDemoC>(this), Commands);
    Console->RegisterCommand("TimeDemoFrames", ConsoleProc<&tFlightRecorder::TimeDemoFramesC>(this), Commands);
    Console->RegisterCommand("ReplayShot", ConsoleProc<&tFlightRecorder::ReplayShotC>(this), Commands);
    Console->FlightPlayer = ConsoleProc<&tFlightRecorder::PlayFlightC>(this);
    Console->Tap = this;
}

tFlightRecorder::~tFlightRecorder() {
    // The game ends while recording: the flight so far is kept.
    if (IsRecording()) StopRecording();
    if (Engine) Engine->ReleaseTicks(this);
    if (EngineVars) EngineVars->ReleaseFieldsOf(this);
    if (Console) {
        Console->FlightPlayer = {};
        if (Console->Tap == this) Console->Tap = nullptr;
    }
    if (FlightRecorder == this) FlightRecorder = nullptr;
}

tInputDevice* tFlightRecorder::GameInput() {
    return Engine && Engine->Viewport ? Engine->Viewport->GetInputDevice() : nullptr;
}

// ---- Commands ------------------------------------------------------------------

void tFlightRecorder::RecordDemoC(const ShortString& Args) {
    const ShortString Name = NameOfFlight(GetToken(Args, 1));
    if (Name.empty()) {
        Console->DisplayInfoTip("Usage: RecordDemo <name> (letters, digits, _ and -)");
        return;
    }
    if (const ShortString Error = BusyError("RecordDemo"); !Error.empty()) {
        Console->DisplayError(Error);
        return;
    }
    FlightName = Name;
    FlightPath = WritablePath("Demos\\" + Name + ".dem");
    Flight = tRecordedFlight{};
    Mode = tMode::StartRecording;
    Engine->TakeTicks(this);
    Console->Display("Recording " + Name);
}

void tFlightRecorder::StopRecordingC(const ShortString&) {
    if (!IsRecording()) {
        Console->DisplayError("StopRecording: nothing is being recorded");
        return;
    }
    StopRecording();
}

void tFlightRecorder::PlayFlightC(const ShortString& Args) {
    Timed = false;
    if (LoadFlight(GetToken(Args, 1))) Console->Display("Replaying " + FlightName);
}

void tFlightRecorder::TimeDemoC(const ShortString& Args) {
    const ShortString Seconds = GetToken(Args, 2);
    if (GetToken(Args, 1).empty() || (!Seconds.empty() && (!IsCorrectGLD(Seconds) || Str2Flt(Seconds) <= 0))) {
        Console->DisplayInfoTip("Usage: TimeDemo <name> [seconds]");
        return;
    }
    if (!LoadFlight(GetToken(Args, 1))) return;
    Timed = true;
    TimedTicks = Flight.Ticks;
    if (!Seconds.empty())
        TimedTicks = std::min<int64_t>(TimedTicks, std::llround(double(Str2Flt(Seconds)) * UpdatesPerSecond));
    Report.Start(std::size_t(TimedTicks / TimedUpdatesPerFrame() + 2));
    // Sound is muted while it runs.
    SavedVolumes = Engine->Mute();
}

void tFlightRecorder::TimeDemoFramesC(const ShortString& Args) {
    const ShortString File = GetToken(Args, 1);
    if (File.empty() || File.find("..") != ShortString::npos) {
        Console->DisplayInfoTip("Usage: TimeDemoFrames <file.csv>");
        return;
    }
    FramesFile = WritablePath(File);
    if (Report.HasFrames() && !IsReplaying()) WriteFrameTimes();
}

void tFlightRecorder::ReplayShotC(const ShortString& Args) {
    const ShortString At = GetToken(Args, 1), File = GetToken(Args, 2);
    if (!IsCorrectInt(At) || Str2Int(At) < 0 || File.empty()) {
        Console->DisplayInfoTip("Usage: ReplayShot <update> <file>");
        return;
    }
    // The file's name is checked by "ScreenShot" when the shot is taken.
    Replay.AddShot(Str2Int(At), File);
}

ShortString tFlightRecorder::BusyError(const char* Command) const {
    const ShortString Name(Command);
    if (IsRecording() || IsReplaying())
        return Name + ": a flight is being " + (IsRecording() ? "recorded" : "replayed");
    if (!Match || !Engine || !Engine->Viewport)
        return Name + (Name == "RecordDemo" ? ": no match to record" : ": no match to replay in");
    // A flight begins the match anew, which would take their aircraft from
    // under the machines that fly them.
    if (Match->RemotePilots() > 0) return Name + ": pilots have joined over the network; begin before they join";
    return {};
}

bool tFlightRecorder::LoadFlight(const ShortString& Token) {
    if (const ShortString Error = BusyError("PlayDemo"); !Error.empty()) {
        Console->DisplayError(Error);
        return false;
    }
    const ShortString File = RecordedFlightFile(Token);
    if (File.empty()) {
        Console->DisplayError("No recording " + Token);
        return false;
    }
    // Named in messages as it was recorded: without folders and extension.
    const std::size_t Folder = File.view().find_last_of("\\/");
    ShortString Name = File.substr(Folder == std::string_view::npos ? 0 : Folder + 1);
    if (UpCaseStr(Name).view().ends_with(".DEM")) Name = Name.substr(0, Name.size() - 4);
    const std::string Path = PhysicalPath(File);
    std::error_code Error;
    const std::uintmax_t Size = std::filesystem::file_size(Path, Error);
    std::ifstream In(Path, std::ios::binary);
    if (Error || !In) {
        Console->DisplayError("No recording " + Name + " (" + ShortString(Path) + ")");
        return false;
    }
    if (Size > MaxFlightBytes) {
        Console->DisplayError("Recording " + Name + " is too large to be one");
        return false;
    }
    std::string Text(std::size_t(Size), '\0');
    In.read(Text.data(), std::streamsize(Size));
    ShortString Problem(ReadFlight(Text, Flight));
    if (Problem.empty()) Problem = FlightStartError(Flight);
    if (!Problem.empty()) {
        Console->DisplayError("Recording " + Name + ": " + Problem);
        Flight = tRecordedFlight{};
        return false;
    }
    FlightName = Name;
    FlightPath = Path;
    Mode = tMode::StartReplay;
    Drifted = false;
    Engine->TakeTicks(this);
    return true;
}

// ---- Beginning a flight ------------------------------------------------------------

// Recording and replay begin alike, from the flight's settings: the sun,
// the seed, an empty world and match, the level script, then the settings
// over the script's, the weather and, when the script's aircraft is not the
// recorded one, the recorded one in its place.
void tFlightRecorder::BeginFlight() {
    if (Mode == tMode::StartRecording) {
        CaptureFlightStart(Flight);
        Flight.PlayerFlies = !CommandLine.Dedicated;
    }
    Engine->FixSunStart(Flight.SunStart);
    Match->MatchSeed = Flight.Seed;
    if (Flight.Width > 0 && (Flight.Width != Engine->Viewport->GetViewportWidth() ||
                             Flight.Height != Engine->Viewport->GetViewportHeight())) {
        Engine->AskScreenSize(Flight.Width, Flight.Height);
        Console->SendCommand("ApplyDisplay", true);
    }
    if (tInputDevice* Input = GameInput()) std::fill(std::begin(Input->Keys), std::end(Input->Keys), false);
    if (Engine->World) Engine->World->ResetWorld();
    Match->Restart();
    Engine->SetPauses(false, false);

    ApplyFlightSettings(Flight);
    const ShortString Chassis = SettingValue("PlaneChassis"), Gun = SettingValue("PrimaryWeapon");
    const bool SkipMenu = std::exchange(CommandLine.SkipMenu, true);
    tGameMenu::StartsWithoutPlayer = !Flight.PlayerFlies;
    Console->SendCommand(LevelScript, true);
    tGameMenu::StartsWithoutPlayer = false;
    CommandLine.SkipMenu = SkipMenu;
    const bool ScriptsAircraft = SettingValue("PlaneChassis") == Chassis && SettingValue("PrimaryWeapon") == Gun;
    ApplyFlightSettings(Flight);
    if (!Flight.Weather.empty())
        Console->SendCommand("SpawnClass " + ShortString(Flight.Weather) + " " + Int2Str(Flight.WeatherHour), true);
    if (!ScriptsAircraft && Flight.PlayerFlies) Console->SendCommand(SpawnPlayer, true);

    Tick = 0;
    Recording.Begin();
    Replay.Begin();
    Mode = Mode == tMode::StartRecording ? tMode::Recording : tMode::Replaying;
    Logger->Log("Flight " + FlightName + " begins under match seed " + Int2Str(Flight.Seed));
}

// ---- The updates -----------------------------------------------------------------

int32_t tFlightRecorder::FixedUpdates() {
    return Timed && IsReplaying() ? TimedUpdatesPerFrame() : -1;
}

void tFlightRecorder::BeforeUpdate() {
    if (Mode == tMode::StartRecording || Mode == tMode::StartReplay) BeginFlight();
    if (Mode == tMode::Replaying && Tick >= (Timed ? TimedTicks : Flight.Ticks)) EndReplay(true);
    if (Mode == tMode::Recording) {
        const uint8_t Pauses = (Engine->EnginePaused ? tRecordedFlight::EnginePaused : 0) |
                               (Engine->MenuPaused ? tRecordedFlight::MenuPaused : 0) |
                               (Engine->RunsUnderMenu() ? tRecordedFlight::RunsUnderMenu : 0);
        Recording.UpdateStarts(Flight, Tick, GameInput(), Pauses);
    }
    if (Mode == tMode::Replaying) {
        Replay.StepInputs(Flight, Tick, GameInput());
        if (const ShortString Problem = Replay.StepRemotePilots(Flight, Tick); !Problem.empty()) Drift(Problem);
    }
    if (Mode == tMode::Replaying) ReplayLines(tRecordedFlight::BeforeTick);
    ConsoleLinesReplayed = false;
    InUpdate = true;
}

void tFlightRecorder::AfterUpdate() {
    InUpdate = false;
    if (Mode == tMode::Recording) {
        Recording.UpdateEnds(Flight, Tick, *Engine->Viewport->GetMouseCursorInfo());
        ++Tick;
    } else if (Mode == tMode::Replaying) {
        Replay.LinesPassed(Flight, Tick);
        if (const ShortString Off = Replay.CheckPositions(Flight, Tick); !Off.empty()) Drift(Off);
        Replay.TakeShots(Tick, Mode == tMode::Replaying);
        ++Tick;
    }
}

void tFlightRecorder::ScriptsStepping() {
    InScripts = true;
    // Lines typed into a server's console come around its scripts' step:
    // the update's recorded lines run once.
    if (Mode == tMode::Replaying && InUpdate && !std::exchange(ConsoleLinesReplayed, true))
        ReplayLines(tRecordedFlight::InConsole);
}

void tFlightRecorder::ScriptsStepped() { InScripts = false; }

void tFlightRecorder::LineRun(const ShortString& Line, bool Pressed) {
    // Inside an update only the console's scripts come from outside: the
    // lines the game's own code runs then (a respawn, a thunder clap) come
    // again with the replayed update.
    if (Mode != tMode::Recording || !RecordsLine(Line) || (InUpdate && !InScripts)) return;
    const uint8_t Phase = InUpdate ? tRecordedFlight::InConsole : tRecordedFlight::BeforeTick;
    Flight.Lines.push_back({Tick, Phase, Pressed, Line.str()});
}

void tFlightRecorder::ReplayLines(uint8_t Phase) {
    // Each phase of the tick runs its own lines, in the order they ran.
    for (std::size_t I = Replay.NextLine(); I < Flight.Lines.size() && Flight.Lines[I].Tick == Tick; ++I) {
        const tRecordedFlight::tLine& L = Flight.Lines[I];
        if (L.Phase != Phase) continue;
        Console->SendCommand(ShortString(L.Text), L.Pressed);
        if (Mode != tMode::Replaying) return;  // the line ended the replay
    }
}

// ---- Ending ------------------------------------------------------------------------

void tFlightRecorder::StopRecording() {
    Mode = tMode::Idle;
    if (Engine && Engine->TickDriver == this) {
        Engine->ReleaseTicks(this);
        Engine->FreeSunStart();
    }
    const bool Saved = tFlightRecording::Save(Flight, FlightPath);
    const ShortString Result = Saved ? "Recorded " + FlightName + ": " + Flt2Str(Flight.Ticks / double(UpdatesPerSecond), 2) +
                                           " seconds in " + ShortString(FlightPath)
                                     : "Unable to write the recording " + ShortString(FlightPath);
    Logger->Log(Result);
    if (Warning) Warning->Log(Result);
    if (Console) {
        if (Saved) Console->Display(Result);
        else Console->DisplayError(Result);
    }
}

void tFlightRecorder::Drift(const ShortString& What) {
    Drifted = true;
    Announce("Replay of " + FlightName + " drifted at tick " + Int2Str(Tick) + ": " + What, true);
    EndReplay(false);
}

void tFlightRecorder::EndReplay(bool Completed) {
    Mode = tMode::Idle;
    Replay.RemoteLeave();
    Engine->ReleaseTicks(this);
    Engine->FreeSunStart();
    Engine->Viewport->EndPointerReplay();
    // The recorded keys are let go: the player takes over.
    if (tInputDevice* Input = GameInput()) std::fill(std::begin(Input->Keys), std::end(Input->Keys), false);
    if (!Timed) {
        if (Completed) Announce("Replay of " + FlightName + " ended without drift after " + Int2Str(Tick) + " updates");
        return;
    }
    Engine->RestoreVolumes(SavedVolumes);
    Announce(Report.Summary(FlightName));
    if (!FramesFile.empty()) WriteFrameTimes();
    if (TimeDemoQuit) Engine->Quit(Drifted ? 1 : 0);
}

void tFlightRecorder::FrameShown() {
    if (Mode == tMode::Recording && Engine->RequestingExit) {
        StopRecording();
        return;
    }
    if (Timed && Mode == tMode::Replaying) Report.FrameShown();
}

void tFlightRecorder::WriteFrameTimes() {
    if (!Report.WriteFrameTimes(FramesFile)) Announce("Unable to write " + ShortString(FramesFile), true);
    else Announce("Frame times written to " + ShortString(FramesFile));
}
