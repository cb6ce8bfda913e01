#pragma once
// A live logger in a temporary working directory, an empty profiler and no
// halt hook left behind, plus readers for "engine.log".

#include <gmock/gmock.h>

#include <regex>
#include <string>
#include <vector>

#include "common/testenv.h"
#include "kernel/core/globals.h"
#include "kernel/core/logger.h"
#include "kernel/core/profiler.h"
#include "kernel/core/strutils.h"

class LoggerTest : public EngineTest {
protected:
    void SetUp() override {
        ResetProfiler();
        EngineTest::SetUp();
    }
    void TearDown() override {
        SetHaltHook(nullptr);
        EngineTest::TearDown();
        ResetProfiler();
    }
};

// The lines of "engine.log" without their time stamps. Every line must start
// with hh:mm:ss.cc and four blanks; one that does not comes back marked.
inline std::vector<std::string> LogBodies() {
    static const std::regex stamp("^[0-2][0-9]:[0-5][0-9]:[0-5][0-9]\\.[0-9][0-9]    ");
    std::vector<std::string> bodies;
    std::string text = ReadWholeFile("engine.log");
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        std::smatch m;
        bodies.push_back(std::regex_search(line, m, stamp) ? m.suffix().str() : "<no time stamp> " + line);
        start = end + 1;
    }
    return bodies;
}

// Runs Fatal's path in-process: the halt hook throws, the message comes back.
template <typename F>
std::string FatalMessageOf(F&& f) {
    SetHaltHook(ThrowingHaltHook);
    try {
        f();
    } catch (const tFatalHalt& halt) {
        return halt.Text.str();
    }
    return "<no fatal error>";
}
