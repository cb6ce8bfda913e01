#include "common/testenv.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"

namespace fs = std::filesystem;

bool SkipsAreFailures() {
    const char* Value = std::getenv("HALVARDINE_NO_SKIPS");
    return Value && *Value && std::string(Value) != "0";
}

TempWorkDir::TempWorkDir() {
    Previous = fs::current_path();
    std::random_device rd;
    for (;;) {
        Dir = fs::temp_directory_path() / ("halvardine-test-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
        if (fs::create_directory(Dir)) break;
    }
    fs::current_path(Dir);
}

TempWorkDir::~TempWorkDir() {
    std::error_code ec;
    fs::current_path(Previous, ec);
    fs::remove_all(Dir, ec);
}

void TempWorkDir::WriteFile(const std::string& relativePath, const std::string& contents) const {
    fs::path p = Dir / relativePath;
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary);
    out << contents;
}

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void EngineTest::SetUp() {
    Logger = new tCoreLogger("engine.log", LOG_FILE);
    Warning = new tANSIOutput();
}

void EngineTest::TearDown() {
    delete Warning;
    Warning = nullptr;
    delete Logger;
    Logger = nullptr;
}
