#include "game/flightrecorder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/airplane.h"
#include "game/match.h"
#include "kernel/console/flightlookup.h"
#include "kernel/core/commandline.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/strutils.h"
#include "kernel/objects/registry.h"
#include "kernel/renderer/atmosphere/atmosphererenderer.h"
#include "kernel/world/world.h"
#include "libraries/classes/filesystem.h"
#include "libraries/classes/timer.h"
#include "libraries/classes/varsmanager.h"
#include "libraries/classes/viewport.h"

Z_IMPLEMENT_CLASS(tFlightRecorder)

tFlightRecorder* FlightRecorder = nullptr;

namespace {

// What a flight begins with besides the level script: the aircraft and its
// gun, the computer pilots, the rules, the steering options.
constexpr const char* SettingNames[] = {"PlaneChassis", "PrimaryWeapon", "BotCount",         "BotSkill",
                                        "FragLimit",    "Craters",       "MouseSensitivity", "InvertMouse",
                                        "PlayerName",   "CameraType",    "Difficulty"};
constexpr const char* LevelScript = "Exec StdConfig\\level.cfg";
constexpr const char* SpawnPlayer = "SpawnClass %PlaneChassis \"64 64 200\"";
constexpr std::uintmax_t MaxFlightBytes = 64u << 20;

// Lines that start, stop or replay flights, or end the game, are not part
// of a flight.
bool RecordsLine(const ShortString& Line) {
    const ShortString Name = UpCaseStr(GetToken(Line, 1));
    for (const char* Skipped : {"RECORDDEMO", "STOPRECORDING", "PLAYDEMO", "TIMEDEMO", "TIMEDEMOFRAMES", "QUIT"})
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

// The type letter of a variable and its value as text; false when it is not defined.
bool SettingText(const char* Name, char& Type, std::string& Value) {
    const ShortString Upper = UpCaseStr(Name);
    for (int32_t I = 1; I <= EngineVars->GetTotalVars(); ++I) {
        if (EngineVars->GetVarName(I) != Upper) continue;
        switch (EngineVars->GetVarDef(I).ValueType) {
            case VT_BOOLEAN: {
                bool V = false;
                EngineVars->GetVar(Name, V);
                Type = 'b';
                Value = V ? "1" : "0";
                return true;
            }
            case VT_LONGINT: {
                int32_t V = 0;
                EngineVars->GetVar(Name, V);
                Type = 'i';
                Value = std::to_string(V);
                return true;
            }
            case VT_LFLOAT: {
                float V = 0;
                EngineVars->GetVar(Name, V);
                char Text[32];
                std::snprintf(Text, sizeof Text, "%.9g", V);
                Type = 'f';
                Value = Text;
                return true;
            }
            case VT_STRING: {
                ShortString V;
                EngineVars->GetVar(Name, V);
                Type = 's';
                Value = V.str();
                return true;
            }
        }
    }
    return false;
}

// The type letter of a defined variable, without reading it; 0 when there is none.
char VariableType(const ShortString& Name) {
    const ShortString Upper = UpCaseStr(Name);
    for (int32_t I = 1; I <= EngineVars->GetTotalVars(); ++I) {
        if (EngineVars->GetVarName(I) != Upper) continue;
        switch (EngineVars->GetVarDef(I).ValueType) {
            case VT_BOOLEAN: return 'b';
            case VT_LONGINT: return 'i';
            case VT_LFLOAT: return 'f';
            case VT_STRING: return 's';
        }
    }
    return 0;
}

// Why a recorded setting cannot be applied: a variable no flight sets, one
// of another type than the variable's, or a value that is none of its type;
// empty when it can.
ShortString SettingError(const tRecordedFlight::tSetting& S) {
    const ShortString Name(S.Name), Value(S.Value);
    bool FlightSetting = false;
    for (const char* Known : SettingNames) FlightSetting |= UpCaseStr(Known) == UpCaseStr(Name);
    if (!FlightSetting) return "sets " + Name + ", which is no setting of a flight";
    // One not defined yet (the camera's, before the first aircraft) is made.
    if (const char Type = VariableType(Name); Type && Type != S.Type)
        return "sets " + Name + " as type " + ShortString(S.Type) + ", but it is of type " + ShortString(Type);
    const bool Fits = S.Type == 's' || (S.Type == 'b' && (Value == "0" || Value == "1")) ||
                      (S.Type == 'i' && IsCorrectInt(Value)) || (S.Type == 'f' && IsCorrectGLD(Value));
    return Fits ? ShortString() : "sets " + Name + " to " + Value + ", which is no value of its type";
}

// Applied as a console line would be: a setting refused after all (a locked
// variable) is reported, never fatal.
void ApplySetting(const tRecordedFlight::tSetting& S) {
    tVarsManager::ConsoleInputScope Input(*EngineVars);
    const ShortString Name = ShortString(S.Name);
    switch (S.Type) {
        case 'b': EngineVars->SetVar(Name, S.Value == "1"); break;
        case 'i': EngineVars->SetVar(Name, Str2Int(ShortString(S.Value))); break;
        case 'f': EngineVars->SetVar(Name, Str2Flt(ShortString(S.Value))); break;
        default: EngineVars->SetVar(Name, ShortString(S.Value)); break;
    }
}

// Why the flight cannot begin as recorded: a setting, the window's size or
// the weather; empty when it can.
ShortString FlightStartError(const tRecordedFlight& Flight) {
    for (const auto& S : Flight.Settings)
        if (ShortString Error = SettingError(S); !Error.empty()) return Error;
    if (Flight.Width > 0 || Flight.Height > 0)
        if (ShortString Error = WindowSizeError(Flight.Width, Flight.Height, Engine->Renderer); !Error.empty())
            return Error;
    if (!Flight.Weather.empty()) {
        const ShortString Weather(Flight.Weather);
        if (ShortString Error = Linker->InstantiationError(Weather); !Error.empty()) return Error;
        tZClass Class;
        Linker->FindClass(Weather, Class);
        if (!Class.StaticClass->IsA("TWEATHERCONDITIONS")) return "its weather " + Weather + " is no weather";
    }
    return {};
}

ShortString SettingValue(const char* Name) {
    char Type = 's';
    std::string Value;
    return SettingText(Name, Type, Value) ? ShortString(Value) : ShortString();
}

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
    Console->RegisterCommand("RecordDemo", ConsoleProc<&tFlightRecorder::RecordDemoC>(this));
    Console->RegisterCommand("StopRecording", ConsoleProc<&tFlightRecorder::StopRecordingC>(this));
    Console->RegisterCommand("TimeDemo", ConsoleProc<&tFlightRecorder::TimeDemoC>(this));
    Console->RegisterCommand("TimeDemoFrames", ConsoleProc<&tFlightRecorder::TimeDemoFramesC>(this));
    Console->RegisterCommand("ReplayShot", ConsoleProc<&tFlightRecorder::ReplayShotC>(this));
    Console->FlightPlayer = ConsoleProc<&tFlightRecorder::PlayFlightC>(this);
    Console->Tap = this;
}

tFlightRecorder::~tFlightRecorder() {
    // The game ends while recording: the flight so far is kept.
    if (IsRecording()) StopRecording();
    if (Engine && Engine->TickDriver == this) Engine->TickDriver = nullptr;
    if (EngineVars) EngineVars->ReleaseFieldsOf(this);
    if (Console) {
        Console->UnRegisterCommand("RecordDemo", ConsoleProc<&tFlightRecorder::RecordDemoC>(this));
        Console->UnRegisterCommand("StopRecording", ConsoleProc<&tFlightRecorder::StopRecordingC>(this));
        Console->UnRegisterCommand("TimeDemo", ConsoleProc<&tFlightRecorder::TimeDemoC>(this));
        Console->UnRegisterCommand("TimeDemoFrames", ConsoleProc<&tFlightRecorder::TimeDemoFramesC>(this));
        Console->UnRegisterCommand("ReplayShot", ConsoleProc<&tFlightRecorder::ReplayShotC>(this));
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
    if (IsRecording() || IsReplaying()) {
        Console->DisplayError("RecordDemo: a flight is being " + ShortString(IsRecording() ? "recorded" : "replayed"));
        return;
    }
    if (!Match || !Engine || !Engine->Viewport) {
        Console->DisplayError("RecordDemo: no match to record");
        return;
    }
    FlightName = Name;
    FlightPath = WritablePath("Demos\\" + Name + ".dem");
    Flight = tRecordedFlight{};
    Mode = tMode::StartRecording;
    Engine->TickDriver = this;
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
    FrameSeconds.clear();
    FrameSeconds.reserve(std::size_t(TimedTicks / TimedUpdatesPerFrame() + 2));
    LastFrameCycles = 0;
    // Sound is muted while it runs.
    SavedEffectsVolume = std::exchange(Engine->EngineConfig.EffectsVolume, 0);
    SavedMusicVolume = std::exchange(Engine->EngineConfig.MusicVolume, 0);
}

void tFlightRecorder::TimeDemoFramesC(const ShortString& Args) {
    const ShortString File = GetToken(Args, 1);
    if (File.empty() || File.find("..") != ShortString::npos) {
        Console->DisplayInfoTip("Usage: TimeDemoFrames <file.csv>");
        return;
    }
    FramesFile = WritablePath(File);
    if (!FrameSeconds.empty() && !IsReplaying()) WriteFrameTimes();
}

void tFlightRecorder::ReplayShotC(const ShortString& Args) {
    const ShortString At = GetToken(Args, 1), File = GetToken(Args, 2);
    if (!IsCorrectInt(At) || Str2Int(At) < 0 || File.empty()) {
        Console->DisplayInfoTip("Usage: ReplayShot <update> <file>");
        return;
    }
    // The file's name is checked by "ScreenShot" when the shot is taken.
    const tShot Shot{Str2Int(At), File};
    Shots.insert(std::upper_bound(Shots.begin(), Shots.end(), Shot, [](const tShot& A, const tShot& B) { return A.Tick < B.Tick; }),
                 Shot);
}

bool tFlightRecorder::LoadFlight(const ShortString& Token) {
    const char* Command = "PlayDemo";
    if (IsRecording() || IsReplaying()) {
        Console->DisplayError(ShortString(Command) + ": a flight is being " + (IsRecording() ? "recorded" : "replayed"));
        return false;
    }
    if (!Match || !Engine || !Engine->Viewport) {
        Console->DisplayError(ShortString(Command) + ": no match to replay in");
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
    Engine->TickDriver = this;
    return true;
}

// ---- Beginning a flight ------------------------------------------------------------

void tFlightRecorder::CaptureSettings() {
    Flight.Settings.clear();
    for (const char* Name : SettingNames) {
        tRecordedFlight::tSetting S;
        S.Name = Name;
        if (SettingText(Name, S.Type, S.Value)) Flight.Settings.push_back(std::move(S));
    }
    Flight.Seed = Match->MatchSeed;
    Flight.SunStart = Engine->Timer ? Engine->Timer->GetSystemTime() : 0.0;
    Flight.Width = Engine->Viewport->GetViewportWidth();
    Flight.Height = Engine->Viewport->GetViewportHeight();
    Flight.Weather.clear();
    if (Engine->World) {
        auto* Sky = Engine->World->GetAtmosphere();
        if (Sky && Sky->DynamicCast(&tAtmosphereRenderer::ClassInfo)) {
            if (tWeatherConditions* W = static_cast<tAtmosphereRenderer*>(Sky)->Conditions) {
                Flight.Weather = W->ClassName().str();
                Flight.WeatherHour = W->DayTime_Hour;
            }
        }
    }
}

void tFlightRecorder::ApplySettings() {
    // Flights recorded before there were levels met the computer pilots at
    // their hardest; a flight that names its level overrides this.
    Match->Difficulty = DifficultyNames[DIFFICULTY_HARD];
    for (const auto& S : Flight.Settings) ApplySetting(S);
}

// Recording and replay begin alike, from the flight's settings: the sun,
// the seed, an empty world and match, the level script, then the settings
// over the script's, the weather and, when the script's aircraft is not the
// recorded one, the recorded one in its place.
void tFlightRecorder::BeginFlight() {
    if (Mode == tMode::StartRecording) CaptureSettings();
    Engine->SunStartSeconds = Flight.SunStart;
    Match->MatchSeed = Flight.Seed;
    if (Flight.Width > 0 && (Flight.Width != Engine->Viewport->GetViewportWidth() ||
                             Flight.Height != Engine->Viewport->GetViewportHeight())) {
        Engine->EngineConfig.ScreenWidth = Flight.Width;
        Engine->EngineConfig.ScreenHeight = Flight.Height;
        Console->SendCommand("ApplyDisplay", true);
    }
    if (tInputDevice* Input = GameInput()) std::fill(std::begin(Input->Keys), std::end(Input->Keys), false);
    if (Engine->World) Engine->World->ResetWorld();
    Match->Restart();
    Engine->EnginePaused = Engine->MenuPaused = false;

    ApplySettings();
    const ShortString Chassis = SettingValue("PlaneChassis"), Gun = SettingValue("PrimaryWeapon");
    const bool SkipMenu = std::exchange(CommandLine.SkipMenu, true);
    Console->SendCommand(LevelScript, true);
    CommandLine.SkipMenu = SkipMenu;
    const bool ScriptsAircraft = SettingValue("PlaneChassis") == Chassis && SettingValue("PrimaryWeapon") == Gun;
    ApplySettings();
    if (!Flight.Weather.empty())
        Console->SendCommand("SpawnClass " + ShortString(Flight.Weather) + " " + Int2Str(Flight.WeatherHour), true);
    if (!ScriptsAircraft) Console->SendCommand(SpawnPlayer, true);

    Tick = 0;
    std::fill(std::begin(Keys), std::end(Keys), false);
    PauseFlags = 0xFF;
    PointerKnown = false;
    NextKey = NextPointer = NextPause = NextLine = NextPosition = NextShot = 0;
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
    if (Mode == tMode::Recording) RecordUpdateStart();
    if (Mode == tMode::Replaying) {
        for (; NextKey < Flight.Keys.size() && Flight.Keys[NextKey].Tick == Tick; ++NextKey)
            Keys[Flight.Keys[NextKey].Code] = Flight.Keys[NextKey].Down;
        if (tInputDevice* Input = GameInput()) std::copy(std::begin(Keys), std::end(Keys), std::begin(Input->Keys));
        for (; NextPause < Flight.Pauses.size() && Flight.Pauses[NextPause].Tick == Tick; ++NextPause) {
            Engine->EnginePaused = Flight.Pauses[NextPause].Flags & tRecordedFlight::EnginePaused;
            Engine->MenuPaused = Flight.Pauses[NextPause].Flags & tRecordedFlight::MenuPaused;
        }
        for (; NextPointer < Flight.Pointer.size() && Flight.Pointer[NextPointer].Tick == Tick; ++NextPointer) {
            PointerX = Flight.Pointer[NextPointer].X;
            PointerY = Flight.Pointer[NextPointer].Y;
        }
        Engine->Viewport->PointerReplayed = true;
        Engine->Viewport->ReplayedX = PointerX;
        Engine->Viewport->ReplayedY = PointerY;
        ReplayLines(tRecordedFlight::BeforeTick);
    }
    InUpdate = true;
}

void tFlightRecorder::AfterUpdate() {
    InUpdate = false;
    if (Mode == tMode::Recording) {
        RecordUpdateEnd();
        ++Tick;
    } else if (Mode == tMode::Replaying) {
        while (NextLine < Flight.Lines.size() && Flight.Lines[NextLine].Tick <= Tick) ++NextLine;
        CheckPositions();
        TakeShots();
        ++Tick;
    }
}

void tFlightRecorder::ScriptsStepping() {
    InScripts = true;
    if (Mode == tMode::Replaying && InUpdate) ReplayLines(tRecordedFlight::InConsole);
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

void tFlightRecorder::RecordUpdateStart() {
    if (tInputDevice* Input = GameInput()) {
        for (int K = 0; K < 256; ++K) {
            if (Input->Keys[K] == Keys[K]) continue;
            Keys[K] = Input->Keys[K];
            Flight.Keys.push_back({Tick, uint8_t(K), Keys[K]});
        }
    }
    const uint8_t Flags = (Engine->EnginePaused ? tRecordedFlight::EnginePaused : 0) |
                          (Engine->MenuPaused ? tRecordedFlight::MenuPaused : 0);
    if (Flags != PauseFlags) Flight.Pauses.push_back({Tick, PauseFlags = Flags});
}

void tFlightRecorder::RecordUpdateEnd() {
    const tMouseCursorInformation& M = *Engine->Viewport->GetMouseCursorInfo();
    if (!PointerKnown || M.MouseX != PointerX || M.MouseY != PointerY) {
        PointerKnown = true;
        PointerX = M.MouseX;
        PointerY = M.MouseY;
        Flight.Pointer.push_back({Tick, PointerX, PointerY});
    }
    Flight.Ticks = Tick + 1;
    if ((Tick + 1) % UpdatesPerSecond != 0) return;
    for (int32_t P = 1; P <= tMatch::MaxPilots; ++P) {
        if (!Match->Valid(P) || !Match->GetPilot(P).Aircraft) continue;
        const TVector3& At = Match->GetPilot(P).Aircraft->_vecPosition;
        Flight.Positions.push_back({Tick, P, At.x, At.y, At.z});
    }
}

void tFlightRecorder::ReplayLines(uint8_t Phase) {
    // Each phase of the tick runs its own lines, in the order they ran.
    for (std::size_t I = NextLine; I < Flight.Lines.size() && Flight.Lines[I].Tick == Tick; ++I) {
        const tRecordedFlight::tLine& L = Flight.Lines[I];
        if (L.Phase != Phase) continue;
        Console->SendCommand(ShortString(L.Text), L.Pressed);
        if (Mode != tMode::Replaying) return;  // the line ended the replay
    }
}

void tFlightRecorder::CheckPositions() {
    for (; NextPosition < Flight.Positions.size() && Flight.Positions[NextPosition].Tick == Tick; ++NextPosition) {
        const tRecordedFlight::tPosition& R = Flight.Positions[NextPosition];
        const tAirplaneActor* A = Match->Valid(R.Pilot) ? Match->GetPilot(R.Pilot).Aircraft : nullptr;
        const float Off = A ? Len(A->_vecPosition - TVector3{R.X, R.Y, R.Z}) : -1.0f;
        if (A && Off <= DriftTolerance) continue;
        const ShortString Who = "pilot " + Int2Str(R.Pilot) + (Match->Valid(R.Pilot) ? " (" + Match->GetPilot(R.Pilot).Name + ")" : ShortString());
        Drifted = true;
        Announce("Replay of " + FlightName + " drifted at tick " + Int2Str(Tick) + ": " + Who +
                     (A ? " is " + Flt2Str(Off, 4) + " units from its recorded position" : ShortString(" has no aircraft")),
                 true);
        EndReplay(false);
        return;
    }
}

void tFlightRecorder::TakeShots() {
    // The frame is captured when it has been drawn, after this update.
    for (; NextShot < Shots.size() && Shots[NextShot].Tick <= Tick; ++NextShot)
        if (Mode == tMode::Replaying) Console->SendCommand("ScreenShot " + Shots[NextShot].File, true);
}

// ---- Ending ------------------------------------------------------------------------

void tFlightRecorder::StopRecording() {
    Mode = tMode::Idle;
    if (Engine && Engine->TickDriver == this) {
        Engine->TickDriver = nullptr;
        Engine->SunStartSeconds = -1;
    }
    std::error_code Error;
    std::filesystem::create_directories(std::filesystem::path(FlightPath).parent_path(), Error);
    std::ofstream Out(FlightPath, std::ios::binary | std::ios::trunc);
    const std::string Text = WriteFlight(Flight);
    Out.write(Text.data(), std::streamsize(Text.size()));
    Out.close();
    const ShortString Result = Out ? "Recorded " + FlightName + ": " + Flt2Str(Flight.Ticks / double(UpdatesPerSecond), 2) +
                                         " seconds in " + ShortString(FlightPath)
                                   : "Unable to write the recording " + ShortString(FlightPath);
    Logger->Log(Result);
    if (Warning) Warning->Log(Result);
    if (Console) {
        if (Out) Console->Display(Result);
        else Console->DisplayError(Result);
    }
}

void tFlightRecorder::EndReplay(bool Completed) {
    Mode = tMode::Idle;
    Engine->TickDriver = nullptr;
    Engine->SunStartSeconds = -1;
    Engine->Viewport->PointerReplayed = false;
    // The recorded keys are let go: the player takes over.
    if (tInputDevice* Input = GameInput()) std::fill(std::begin(Input->Keys), std::end(Input->Keys), false);
    if (!Timed) {
        if (Completed) Announce("Replay of " + FlightName + " ended without drift after " + Int2Str(Tick) + " updates");
        return;
    }
    Engine->EngineConfig.EffectsVolume = SavedEffectsVolume;
    Engine->EngineConfig.MusicVolume = SavedMusicVolume;
    ReportTimeDemo();
    if (!FramesFile.empty()) WriteFrameTimes();
    if (TimeDemoQuit) {
        Engine->ExitCode = Drifted ? 1 : 0;
        Engine->RequestingExit = true;
    }
}

void tFlightRecorder::FrameShown() {
    if (Mode == tMode::Recording && Engine->RequestingExit) {
        StopRecording();
        return;
    }
    if (!Timed || Mode != tMode::Replaying) return;
    // The frame that began the flight (and loaded the level) is not timed.
    const int64_t Now = tTimer::GetCycles();
    if (LastFrameCycles != 0) FrameSeconds.push_back(Engine->Timer->CyclesToSeconds(Now - LastFrameCycles));
    LastFrameCycles = Now;
}

void tFlightRecorder::ReportTimeDemo() {
    const std::size_t N = FrameSeconds.size();
    double Total = 0, Slowest = 0;
    for (double S : FrameSeconds) {
        Total += S;
        Slowest = std::max(Slowest, S);
    }
    // The 1 % low: the rate of the slowest hundredth of the frames.
    std::vector<double> Sorted = FrameSeconds;
    std::sort(Sorted.begin(), Sorted.end(), std::greater<>());
    const std::size_t Low = std::max<std::size_t>(1, N / 100);
    double LowTotal = 0;
    for (std::size_t I = 0; I < std::min(Low, N); ++I) LowTotal += Sorted[I];
    const double Fps = Total > 0 ? double(N) / Total : 0;
    const double LowFps = LowTotal > 0 ? double(std::min(Low, N)) / LowTotal : 0;
    char Text[400];
    std::snprintf(Text, sizeof Text, "TimeDemo %s: %zu frames in %.2f seconds, %.1f fps (slowest frame %.1f ms, 1 %% low %.1f fps)",
                  FlightName.c_str(), N, Total, Fps, Slowest * 1000, LowFps);
    Announce(Text);
}

void tFlightRecorder::WriteFrameTimes() {
    std::error_code Error;
    std::filesystem::create_directories(std::filesystem::path(FramesFile).parent_path(), Error);
    std::ofstream Out(FramesFile, std::ios::trunc);
    Out << "frame,milliseconds\n";
    char Line[48];
    for (std::size_t I = 0; I < FrameSeconds.size(); ++I) {
        std::snprintf(Line, sizeof Line, "%zu,%.3f\n", I + 1, FrameSeconds[I] * 1000);
        Out << Line;
    }
    Out.close();
    if (!Out) Announce("Unable to write " + ShortString(FramesFile), true);
    else Announce("Frame times written to " + ShortString(FramesFile));
}
