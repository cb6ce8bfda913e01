#pragma once
// A live logger in a temporary working directory, an empty profiler and no
// halt hook left behind, plus readers for "engine.log".

#include <gmock/gmock.h>

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

// hh:mm:ss.cc followed by four blanks.
inline bool HasTimeStamp(const std::string& line) {
    static constexpr char shape[] = "29:59:59.99    ";  // digits up to these, then the separators
    if (line.size() < sizeof shape - 1) return false;
    for (std::size_t i = 0; i + 1 < sizeof shape; ++i) {
        const char c = line[i];
        if (shape[i] >= '0' && shape[i] <= '9' ? !(c >= '0' && c <= shape[i]) : c != shape[i]) return false;
    }
    return line[0] < '2' || line[1] <= '3';  // hours 00 ... 23
}

// The lines of "engine.log" without their time stamps; a line without one
// comes back marked.
inline std::vector<std::string> LogBodies() {
    constexpr std::size_t stampLength = 15;
    std::vector<std::string> bodies;
    std::string text = ReadWholeFile("engine.log");
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        bodies.push_back(HasTimeStamp(line) ? line.substr(stampLength) : "<no time stamp> " + line);
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
