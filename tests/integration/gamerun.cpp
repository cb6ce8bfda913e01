#include "gamerun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& File) {
    std::ifstream In(File, std::ios::binary);
    std::ostringstream Text;
    Text << In.rdbuf();
    return Text.str();
}

uint32_t ReadLE32(const std::string& Data, std::size_t At) {
    uint32_t V = 0;
    for (int I = 3; I >= 0; --I) V = (V << 8) | static_cast<uint8_t>(Data[At + I]);
    return V;
}

// Single-quoted for the shell.
std::string Quoted(const std::string& Text) {
    std::string Q = "'";
    for (char C : Text) Q += C == '\'' ? std::string("'\\''") : std::string(1, C);
    return Q + "'";
}

constexpr int WindowSearchSeconds = 30;

}  // namespace

int32_t tScreenImage::CountBright(int32_t X0, int32_t Y0, int32_t X1, int32_t Y1, uint8_t Level) const {
    int32_t Count = 0;
    for (int32_t Y = std::max(0, Y0); Y < std::min(Height, Y1); ++Y)
        for (int32_t X = std::max(0, X0); X < std::min(Width, X1); ++X) {
            const uint8_t* P = &Pixels[(static_cast<std::size_t>(Y) * Width + X) * 3];
            if (P[0] >= Level && P[1] >= Level && P[2] >= Level) ++Count;
        }
    return Count;
}

uint32_t tScreenImage::At(int32_t X, int32_t Y) const {
    const uint8_t* P = &Pixels[(static_cast<std::size_t>(Y) * Width + X) * 3];
    return (uint32_t(P[0]) << 16) | (uint32_t(P[1]) << 8) | P[2];
}

tScreenImage ReadScreenImage(const fs::path& File) {
    tScreenImage Image;
    const std::string Data = ReadText(File);
    if (Data.size() < 54 || Data[0] != 'B' || Data[1] != 'M') return Image;
    const uint32_t Offset = ReadLE32(Data, 10);
    const int32_t Width = static_cast<int32_t>(ReadLE32(Data, 18));
    const int32_t Height = static_cast<int32_t>(ReadLE32(Data, 22));
    const uint16_t Bits = static_cast<uint16_t>(ReadLE32(Data, 28) & 0xFFFF);
    const std::size_t RowBytes = (static_cast<std::size_t>(Width) * 3 + 3) / 4 * 4;
    if (Bits != 24 || Width <= 0 || Height <= 0 || Data.size() < Offset + RowBytes * Height) return Image;
    Image.Width = Width;
    Image.Height = Height;
    Image.Pixels.resize(static_cast<std::size_t>(Width) * Height * 3);
    for (int32_t Y = 0; Y < Height; ++Y) {  // the file stores the bottom row first, BGR
        const char* Row = Data.data() + Offset + RowBytes * (Height - 1 - Y);
        for (int32_t X = 0; X < Width; ++X)
            for (int C = 0; C < 3; ++C)
                Image.Pixels[(static_cast<std::size_t>(Y) * Width + X) * 3 + C] = static_cast<uint8_t>(Row[X * 3 + 2 - C]);
    }
    return Image;
}

bool tGameResult::DataFileExists(const std::string& RelativePath) const { return fs::exists(DataDir / RelativePath); }

std::string tGameResult::ReadDataFile(const std::string& RelativePath) const { return ReadText(DataDir / RelativePath); }

tScreenImage tGameResult::Screenshot(const std::string& RelativePath) const {
    return ReadScreenImage(DataDir / RelativePath);
}

tGameRun::tGameRun() {
    std::string Template = (fs::temp_directory_path() / "halvardine-run-XXXXXX").string();
    Work = mkdtemp(Template.data());
    fs::copy(fs::path(HALVARDINE_SOURCE_DIR) / "Data", Work / "Data", fs::copy_options::recursive);
    SetINIValue("Audio", "tNullAudioSubSystem");
    WriteDataFile(LevelScript, "");
}

void tGameRun::UseGameLevel() {
    fs::copy_file(fs::path(HALVARDINE_SOURCE_DIR) / "Data" / LevelScript, Work / "Data" / LevelScript,
                  fs::copy_options::overwrite_existing);
}

// A failed test keeps its working directory for a look at the log and screenshots.
tGameRun::~tGameRun() {
    if (::testing::Test::HasFailure()) {
        std::cout << "Game run kept in " << Work << "\n";
        return;
    }
    std::error_code Ignored;
    fs::remove_all(Work, Ignored);
}

void tGameRun::CaptureSound(int32_t Rate) {
    CapturingSound = true;
    SetINIValue("Audio", "tAudioSystem");
    std::ofstream(Work / "alsoft.conf") << "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\nfrequency="
                                        << Rate << "\n[wave]\nfile=" << (Work / "sound.wav").string() << "\n";
}

void tGameRun::WriteDataFile(const std::string& RelativePath, const std::string& Contents) {
    fs::path File = Work / "Data" / RelativePath;
    fs::create_directories(File.parent_path());
    std::ofstream(File, std::ios::binary) << Contents;
}

void tGameRun::AppendDataFile(const std::string& RelativePath, const std::string& Contents) {
    std::ofstream(Work / "Data" / RelativePath, std::ios::binary | std::ios::app) << Contents;
}

void tGameRun::SetINIValue(const std::string& Key, const std::string& Value) {
    const fs::path INI = Work / "Data" / "StdConfig" / "engine.ini";
    std::istringstream In(ReadText(INI));
    std::string Out, Line;
    while (std::getline(In, Line)) {
        if (Line.rfind(Key + "=", 0) == 0) Line = Key + "=" + Value;
        Out += Line + "\n";
    }
    std::ofstream(INI, std::ios::binary) << Out;
}

void tGameRun::PlayDemo(const std::string& Lines) {
    WriteDataFile("test.dem", Lines);
    AppendDataFile("StdConfig/console.cfg", "\nPlayDemo test.dem\n");
}

void tGameRun::AddPackage(const fs::path& Built) {
    fs::create_directories(Work / "Data" / "Packages");
    fs::copy_file(Built, Work / "Data" / "Packages" / Built.filename());
}

void tGameRun::AddArguments(const std::vector<std::string>& Words) {
    for (const std::string& Word : Words) Arguments += " " + Quoted(Word);
}

void tGameRun::AddDriverStep(const std::string& ShellLine) { DriverSteps.push_back(ShellLine); }

void tGameRun::WaitUntil(const std::string& ShellCondition, int TimeoutSeconds) {
    AddDriverStep("timeout " + std::to_string(TimeoutSeconds) + " sh -c " +
                  Quoted("until " + ShellCondition + "; do sleep 0.05; done"));
}

void tGameRun::WaitForDataFile(const std::string& RelativePath, int TimeoutSeconds) {
    WaitForAnyDataFile({RelativePath}, TimeoutSeconds);
}

void tGameRun::WaitForAnyDataFile(const std::vector<std::string>& RelativePaths, int TimeoutSeconds) {
    std::string Condition;
    for (const std::string& Path : RelativePaths)
        Condition += (Condition.empty() ? "[ -f " : " || [ -f ") + Quoted("Data/" + Path) + " ]";
    WaitUntil(Condition, TimeoutSeconds);
}

void tGameRun::WaitForTick() {
    if (!TickKeyBound) AppendDataFile("StdConfig/console.cfg", "\nBind VK_SCROLL \"Wait; ScreenShot tick.bmp\"\n");
    TickKeyBound = true;
    AddDriverStep("rm -f Data/ScreenShots/tick.bmp; xdotool key Scroll_Lock");
    WaitForDataFile("ScreenShots/tick.bmp");
}

void tGameRun::SignalReady(const std::string& Lines) {
    AppendDataFile("StdConfig/console.cfg", "\n" + Lines + "\nScreenShot ready.bmp\n");
    WaitForDataFile("ScreenShots/ready.bmp");
}

void tGameRun::WaitForLogLine(const std::string& Text, int TimeoutSeconds) {
    WaitUntil("grep -qF -- " + Quoted(Text) + " engine.log", TimeoutSeconds);
}

tGameResult tGameRun::Run(int TimeoutSeconds) {
    std::ostringstream Driver;
    Driver << "cd " << Quoted(Work.string()) << "\n"
           << "timeout -k 5 " << TimeoutSeconds << " " << Quoted(HALVARDINE_GAME) << (WithMenu ? "" : " --no-menu") << Arguments << " > stdout.txt 2> stderr.txt &\n"
           << "GAME=$!\n";
    if (!DriverSteps.empty()) {
        Driver << "WINDOW=$(timeout " << WindowSearchSeconds << " xdotool search --sync --onlyvisible --name "
               << Quoted(std::string("^") + WindowTitle + "$") << " | head -n 1)\n"
               << "export WINDOW\n";
        for (const std::string& Step : DriverSteps) Driver << Step << "\n";
    }
    Driver << "wait $GAME\necho $? > exitcode.txt\n";
    std::ofstream(Work / "driver.sh") << Driver.str();

    // Sound off and no modal boxes, whatever the caller's environment says;
    // the library leaks of Mesa, X and fontconfig are not the engine's.
    setenv("HALVARDINE_NO_MSGBOX", "1", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (CapturingSound) {
        setenv("ALSOFT_CONF", (Work / "alsoft.conf").c_str(), 1);
        unsetenv("ALSOFT_DRIVERS");
    } else {
        setenv("ALSOFT_DRIVERS", "null", 1);
    }
    setenv("LSAN_OPTIONS", "suppressions=" HALVARDINE_SOURCE_DIR "/tests/integration/lsan.supp:print_suppressions=0", 1);
    const std::string Command = "xvfb-run -a -s '-screen 0 1024x768x24' sh " + Quoted((Work / "driver.sh").string());
    const int Status = std::system(Command.c_str());

    tGameResult Result;
    Result.DataDir = Work / "Data";
    Result.Stdout = ReadText(Work / "stdout.txt");
    Result.Stderr = ReadText(Work / "stderr.txt");
    Result.EngineLog = ReadText(Work / "engine.log");
    Result.ProfilerLog = ReadText(Work / "profiler.log");
    if (CapturingSound) Result.Sound = ReadWaveCapture(ReadText(Work / "sound.wav"));
    const std::string Code = ReadText(Work / "exitcode.txt");
    Result.ExitCode = Code.empty() ? -1 : std::atoi(Code.c_str());
    if (Status != 0) std::cout << "xvfb-run ended with status " << Status << "\n";
    return Result;
}

bool HasLine(const std::string& Text, const std::string& Line) {
    std::istringstream In(Text);
    for (std::string L; std::getline(In, L);) {
        if (!L.empty() && L.back() == '\r') L.pop_back();
        if (L == Line) return true;
    }
    return false;
}

std::string CloseWindowTool() { return HALVARDINE_CLOSE_WINDOW_TOOL; }
