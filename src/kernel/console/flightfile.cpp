#include "kernel/console/flightfile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "net/protocol/messages.h"

namespace {

constexpr std::string_view Magic = "HalvardineFlight";
constexpr std::size_t MaxLineText = 255;  // a console line

void Append(std::string& Out, const char* Format, auto... Values) {
    char Buffer[128];
    const int N = std::snprintf(Buffer, sizeof Buffer, Format, Values...);
    Out.append(Buffer, std::size_t(std::max(0, std::min(N, int(sizeof Buffer) - 1))));
}

// The next word of Rest (split at blanks), which is left after it.
std::string_view Word(std::string_view& Rest) {
    const std::size_t Start = Rest.find_first_not_of(' ');
    if (Start == std::string_view::npos) {
        Rest = {};
        return {};
    }
    Rest.remove_prefix(Start);
    const std::size_t End = std::min(Rest.find(' '), Rest.size());
    std::string_view W = Rest.substr(0, End);
    Rest.remove_prefix(End);
    return W;
}

// Rest after the one blank that separates it from the words before.
std::string_view Remainder(std::string_view Rest) {
    if (!Rest.empty() && Rest.front() == ' ') Rest.remove_prefix(1);
    return Rest;
}

bool Int(std::string_view Text, int32_t& Value) {
    if (Text.empty()) return false;
    auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    return Error == std::errc{} && End == Text.data() + Text.size();
}

template <class T>
bool Real(std::string_view Text, T& Value) {
    if (Text.empty()) return false;
    auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
    return Error == std::errc{} && End == Text.data() + Text.size() && std::isfinite(Value);
}

struct tReader {
    tRecordedFlight& F;
    int32_t LastTick = 0;  // records come in tick order
    bool SawTicks = false;

    // The error of one line, empty when it is good.
    std::string Line(std::string_view Text);
    bool Tick(std::string_view Text, int32_t& Tick);
};

// Pilot 1 is the machine's own player, never one from the network.
bool RemotePilot(std::string_view Text, int32_t& Pilot) {
    return Int(Text, Pilot) && Pilot >= 2 && Pilot <= tRecordedFlight::MaxPilot;
}

bool tReader::Tick(std::string_view Text, int32_t& T) {
    if (!Int(Text, T) || !SawTicks || T < LastTick || T < 0 || T > F.Ticks) return false;
    LastTick = T;
    return true;
}

std::string tReader::Line(std::string_view Text) {
    std::string_view Rest = Text;
    const std::string_view Kind = Word(Rest);
    if (Kind.empty()) return {};
    if (Kind == "seed") return Int(Word(Rest), F.Seed) ? "" : "a bad seed";
    if (Kind == "noplayer") {
        F.PlayerFlies = false;
        return Rest.empty() ? "" : "a bad noplayer";
    }
    if (Kind == "sun") return Real(Word(Rest), F.SunStart) ? "" : "a bad sun start";
    if (Kind == "window")
        return Int(Word(Rest), F.Width) && Int(Word(Rest), F.Height) && F.Width >= 0 && F.Height >= 0 ? ""
                                                                                                  : "a bad window size";
    if (Kind == "weather") {
        F.Weather = std::string(Word(Rest));
        return !F.Weather.empty() && Int(Word(Rest), F.WeatherHour) ? "" : "bad weather";
    }
    if (Kind == "set") {
        tRecordedFlight::tSetting S;
        S.Name = std::string(Word(Rest));
        const std::string_view Type = Word(Rest);
        S.Value = std::string(Remainder(Rest));
        if (S.Name.empty() || Type.size() != 1 || std::string_view("bsif").find(Type[0]) == std::string_view::npos ||
            S.Value.size() > MaxLineText)
            return "a bad setting";
        S.Type = Type[0];
        F.Settings.push_back(std::move(S));
        return {};
    }
    if (Kind == "ticks") {
        if (SawTicks || !Int(Word(Rest), F.Ticks) || F.Ticks < 0 || F.Ticks > tRecordedFlight::MaxTicks)
            return "a bad tick count";
        SawTicks = true;
        return {};
    }
    int32_t T = 0;
    if (Kind == "k") {
        int32_t Code = 0, Down = 0;
        if (!Tick(Word(Rest), T) || !Int(Word(Rest), Code) || !Int(Word(Rest), Down) || Code < 0 || Code > 255 ||
            (Down != 0 && Down != 1))
            return "a bad key";
        F.Keys.push_back({T, uint8_t(Code), Down == 1});
        return {};
    }
    if (Kind == "m") {
        tRecordedFlight::tPointer P{};
        if (!Tick(Word(Rest), T) || !Int(Word(Rest), P.X) || !Int(Word(Rest), P.Y)) return "a bad pointer";
        P.Tick = T;
        F.Pointer.push_back(P);
        return {};
    }
    if (Kind == "p") {
        int32_t Flags = 0;
        if (!Tick(Word(Rest), T) || !Int(Word(Rest), Flags) || Flags < 0 || Flags > tRecordedFlight::AllPauseFlags)
            return "a bad pause";
        F.Pauses.push_back({T, uint8_t(Flags)});
        return {};
    }
    if (Kind == "c") {
        int32_t Phase = 0, Pressed = 0;
        if (!Tick(Word(Rest), T) || !Int(Word(Rest), Phase) || !Int(Word(Rest), Pressed) || Phase < 0 || Phase > 1 ||
            (Pressed != 0 && Pressed != 1))
            return "a bad console line";
        const std::string_view Line = Remainder(Rest);
        if (Line.empty() || Line.size() > MaxLineText) return "a bad console line";
        F.Lines.push_back({T, uint8_t(Phase), Pressed == 1, std::string(Line)});
        return {};
    }
    if (Kind == "a") {
        tRecordedFlight::tPosition P{};
        if (!Tick(Word(Rest), T) || !Int(Word(Rest), P.Pilot) || P.Pilot < 1 || P.Pilot > tRecordedFlight::MaxPilot ||
            !Real(Word(Rest), P.X) || !Real(Word(Rest), P.Y) || !Real(Word(Rest), P.Z))
            return "a bad position";
        P.Tick = T;
        F.Positions.push_back(P);
        return {};
    }
    if (Kind == "j") {
        tRecordedFlight::tRosterChange J{};
        J.Joins = true;
        if (!Tick(Word(Rest), T) || !RemotePilot(Word(Rest), J.Pilot)) return "a bad join";
        J.Tick = T;
        J.Chassis = std::string(Word(Rest));
        J.Weapon = std::string(Word(Rest));
        J.Name = std::string(Remainder(Rest));
        if (J.Chassis.empty() || J.Weapon.empty() || J.Chassis.size() > MaxLineText || J.Weapon.size() > MaxLineText ||
            J.Name.empty() || J.Name.size() > MaxNameLength)
            return "a bad join";
        F.Roster.push_back(std::move(J));
        return {};
    }
    if (Kind == "l") {
        tRecordedFlight::tRosterChange L{};
        if (!Tick(Word(Rest), T) || !RemotePilot(Word(Rest), L.Pilot)) return "a bad leave";
        L.Tick = T;
        F.Roster.push_back(std::move(L));
        return {};
    }
    if (Kind == "i") {
        int32_t Pilot = 0, Controls = 0, X = 0, Y = 0;
        if (!Tick(Word(Rest), T) || !RemotePilot(Word(Rest), Pilot) || !Int(Word(Rest), Controls) || !Int(Word(Rest), X) ||
            !Int(Word(Rest), Y) || Controls < 0 || Controls > ControlAll || std::abs(X) > MaxPointerOffset ||
            std::abs(Y) > MaxPointerOffset)
            return "a bad remote input";
        F.RemoteInputs.push_back({T, Pilot, uint16_t(Controls), int16_t(X), int16_t(Y)});
        return {};
    }
    return "unknown record \"" + std::string(Kind.substr(0, 32)) + "\"";
}

}  // namespace

bool LooksLikeFlight(std::string_view Text) { return Text.starts_with(Magic); }

std::string WriteFlight(const tRecordedFlight& F) {
    std::string Out;
    Append(Out, "%s %d\n", Magic.data(), tRecordedFlight::Version);
    Append(Out, "seed %d\nsun %.17g\nwindow %d %d\n", F.Seed, F.SunStart, F.Width, F.Height);
    if (!F.PlayerFlies) Out += "noplayer\n";
    if (!F.Weather.empty()) Out += "weather " + F.Weather + " " + std::to_string(F.WeatherHour) + "\n";
    for (const auto& S : F.Settings) Out += "set " + S.Name + " " + S.Type + " " + S.Value + "\n";
    Append(Out, "ticks %d\n", F.Ticks);
    // Merged by tick, in a fixed order within one.
    std::size_t K = 0, M = 0, P = 0, C = 0, A = 0, R = 0, I = 0;
    for (int32_t T = 0; T <= F.Ticks; ++T) {
        for (; K < F.Keys.size() && F.Keys[K].Tick == T; ++K) Append(Out, "k %d %d %d\n", T, F.Keys[K].Code, F.Keys[K].Down);
        for (; M < F.Pointer.size() && F.Pointer[M].Tick == T; ++M)
            Append(Out, "m %d %d %d\n", T, F.Pointer[M].X, F.Pointer[M].Y);
        for (; P < F.Pauses.size() && F.Pauses[P].Tick == T; ++P) Append(Out, "p %d %d\n", T, F.Pauses[P].Flags);
        for (; C < F.Lines.size() && F.Lines[C].Tick == T; ++C) {
            Append(Out, "c %d %d %d ", T, F.Lines[C].Phase, F.Lines[C].Pressed);
            Out += F.Lines[C].Text + "\n";
        }
        for (; R < F.Roster.size() && F.Roster[R].Tick == T; ++R) {
            const auto& Change = F.Roster[R];
            if (!Change.Joins) {
                Append(Out, "l %d %d\n", T, Change.Pilot);
                continue;
            }
            Append(Out, "j %d %d ", T, Change.Pilot);
            Out += Change.Chassis + " " + Change.Weapon + " " + Change.Name + "\n";
        }
        for (; I < F.RemoteInputs.size() && F.RemoteInputs[I].Tick == T; ++I) {
            const auto& In = F.RemoteInputs[I];
            Append(Out, "i %d %d %d %d %d\n", T, In.Pilot, In.Controls, In.X, In.Y);
        }
        for (; A < F.Positions.size() && F.Positions[A].Tick == T; ++A) {
            const auto& Pos = F.Positions[A];
            Append(Out, "a %d %d %.9g %.9g %.9g\n", T, Pos.Pilot, Pos.X, Pos.Y, Pos.Z);
        }
    }
    Out += "end\n";
    return Out;
}

std::string ReadFlight(std::string_view Text, tRecordedFlight& Flight) {
    Flight = tRecordedFlight{};
    std::size_t LineStart = 0;
    int32_t Number = 0;
    tReader Reader{Flight};
    bool Ended = false;
    while (LineStart < Text.size()) {
        std::size_t End = Text.find('\n', LineStart);
        if (End == std::string_view::npos) End = Text.size();
        std::string_view Line = Text.substr(LineStart, End - LineStart);
        LineStart = End + 1;
        if (!Line.empty() && Line.back() == '\r') Line.remove_suffix(1);
        ++Number;
        const std::string Where = "line " + std::to_string(Number) + ": ";
        if (Ended) return Where + "text after the end";
        for (char C : Line)
            if (static_cast<unsigned char>(C) < ' ') return Where + "a control character";
        if (Number == 1) {
            std::string_view Rest = Line;
            if (Word(Rest) != Magic) return "not a recorded flight";
            int32_t Version = 0;
            if (!Int(Word(Rest), Version) || Version < 1) return Where + "a bad version";
            if (Version > tRecordedFlight::Version)
                return "recorded by a later version of the game (format " + std::to_string(Version) + ", this one reads " +
                       std::to_string(tRecordedFlight::Version) + ")";
            continue;
        }
        if (Line == "end") {
            Ended = true;
            continue;
        }
        if (std::string Error = Reader.Line(Line); !Error.empty()) return Where + Error;
    }
    if (Number == 0) return "not a recorded flight";
    if (!Reader.SawTicks) return "no tick count";
    if (!Ended) return "cut off before its end";
    return {};
}
