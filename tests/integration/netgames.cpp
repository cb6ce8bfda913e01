#include "netgames.h"

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& File) {
    std::ostringstream Text;
    Text << std::ifstream(File).rdbuf();
    return Text.str();
}

template <class F>
bool WaitUntil(F Done, int Seconds) {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(Seconds);
    while (!Done()) {
        if (std::chrono::steady_clock::now() > Deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// The key the client's driver presses to run the test's next script.
constexpr const char* StepKey = "F5";
constexpr const char* StepScript = "step.cfg";

}  // namespace

tDedicatedServer::tDedicatedServer(int Port, int TimeoutSeconds) {
    Game.UseGameLevel();
    const fs::path Work = Game.WorkDir();
    if (mkfifo((Work / "input").c_str(), 0600) != 0) return;
    const std::string Command = "cd '" + Work.string() + "' && env -u DISPLAY timeout -k 5 " +
                                std::to_string(TimeoutSeconds) + " '" HALVARDINE_GAME "' --dedicated --port " +
                                std::to_string(Port) + " < input > stdout.txt 2> stderr.txt; echo $? > exitcode.txt";
    Runner = std::thread([Command] { std::system(Command.c_str()); });
    // Opening the pipe waits for the server to open its end.
    Input = std::fopen((Work / "input").c_str(), "w");
}

tDedicatedServer::~tDedicatedServer() {
    if (Input) std::fclose(Input);
    if (Runner.joinable()) Runner.join();
}

void tDedicatedServer::Type(const std::string& Line) {
    std::fputs((Line + "\n").c_str(), Input);
    std::fflush(Input);
}

std::string tDedicatedServer::Stdout() const { return ReadFile(Game.WorkDir() / "stdout.txt"); }

bool tDedicatedServer::WaitFor(const std::string& Text, int Seconds) const {
    return WaitUntil([&] { return Contains(Stdout(), Text); }, Seconds);
}

int tDedicatedServer::Quit() {
    Type("Quit");
    std::fclose(Input);
    Input = nullptr;
    Runner.join();
    return std::atoi(ReadFile(Game.WorkDir() / "exitcode.txt").c_str());
}

tClientGame::tClientGame(int Port, const std::string& Name, const std::vector<std::string>& Arguments,
                         int TimeoutSeconds) {
    Game.UseGameLevel();
    Game.AppendDataFile("StdConfig/engine.cfg", "\nSet ScreenWidth 800\nSet ScreenHeight 600\nSet MaxTickRate 30\n");
    Game.AppendDataFile("StdConfig/console.cfg", std::string("\nBind VK_") + StepKey + " \"Exec " + StepScript + "\"\n");
    Game.AddArguments({"+Set", "PlayerName", Name});
    Game.AddArguments(Arguments);
    Game.AddArguments({"+Connect", "127.0.0.1:" + std::to_string(Port)});
    // Each script the test writes is announced by a file "go"; the driver
    // presses the key that runs it, and runs the shell line in "drive",
    // until the game has ended.
    Game.AddDriverStep(std::string("while kill -0 $GAME 2>/dev/null; do if [ -f go ]; then rm -f go; xdotool key ") +
                       StepKey + "; fi; if [ -f drive ]; then sh drive; rm -f drive; fi; sleep 0.05; done");
    Runner = std::thread([this, TimeoutSeconds] {
        Result = Game.Run(TimeoutSeconds);
        Ended = true;
    });
}

tClientGame::~tClientGame() {
    if (Runner.joinable()) {
        if (!Ended) Run("Quit", 5);
        Runner.join();
    }
}

bool tClientGame::Run(const std::string& Lines, int Seconds) {
    if (Ended) return false;
    // Each script ends in a screenshot of its own: once it exists, the lines ran.
    const std::string Done = "step" + std::to_string(++Steps) + ".bmp";
    const fs::path Data = Game.WorkDir() / "Data";
    Game.WriteDataFile(std::string(StepScript) + ".new", Lines + "\nScreenShot " + Done + "\n");
    fs::rename(Data / (std::string(StepScript) + ".new"), Data / StepScript);
    std::ofstream(Game.WorkDir() / "go").put('\n');
    const bool Quits = Lines.find("Quit") != std::string::npos;
    return WaitUntil([&] { return Ended || fs::exists(Data / "ScreenShots" / Done) || (Quits && !fs::exists(Game.WorkDir() / "go")); },
                     Seconds);
}

bool tClientGame::Drive(const std::string& ShellLine, int Seconds) {
    const fs::path Drive = Game.WorkDir() / "drive";
    std::ofstream(Game.WorkDir() / "drive.new") << ShellLine << "\n";
    fs::rename(Game.WorkDir() / "drive.new", Drive);
    return WaitUntil([&] { return Ended || !fs::exists(Drive); }, Seconds);
}

std::string tClientGame::Log() const { return ReadFile(Game.WorkDir() / "engine.log"); }
std::string tClientGame::Stdout() const { return ReadFile(Game.WorkDir() / "stdout.txt"); }

bool tClientGame::WaitForLog(const std::string& Text, int Seconds) const {
    return WaitUntil([&] { return Contains(Log(), Text); }, Seconds);
}

tGameResult tClientGame::Finish() {
    if (Runner.joinable()) Runner.join();
    return Result;
}

int CountLinesWith(const std::string& Text, const std::string& Part) {
    std::istringstream In(Text);
    int Count = 0;
    for (std::string Line; std::getline(In, Line);) Count += Line.find(Part) != std::string::npos;
    return Count;
}

std::vector<double> GroundHeights(const std::string& Output) {
    std::vector<double> Heights;
    std::istringstream In(Output);
    for (std::string Line; std::getline(In, Line);)
        if (Line.find("Ground at ") != std::string::npos) Heights.push_back(std::stod(Line.substr(Line.rfind(':') + 1)));
    return Heights;
}
