#pragma once
// Test support: every test that constructs engine services runs in its own
// temporary working directory, where the log, the profiler report and Data/ live.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Makes a fresh temporary directory the working directory for its lifetime.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    const std::filesystem::path& Path() const { return Dir; }
    // Writes a file (directories created) relative to the working directory.
    void WriteFile(const std::string& relativePath, const std::string& contents) const;

private:
    std::filesystem::path Dir;
    std::filesystem::path Previous;
};

std::string ReadWholeFile(const std::filesystem::path& path);

// A test that needs a display or an OpenGL context skips where the machine
// has none, but where HALVARDINE_NO_SKIPS is set (as CI sets it) it fails:
// a run must never pass without having drawn anything.
bool SkipsAreFailures();
#define SKIP_OR_FAIL(Reason)                          \
    do {                                              \
        const std::string SkipReason_ = (Reason);     \
        if (SkipsAreFailures()) FAIL() << SkipReason_; \
        GTEST_SKIP() << SkipReason_;                  \
    } while (0)

// A temporary working directory with the global Logger ("engine.log") and
// Warning (standard output) alive, as every engine service expects.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    TempWorkDir Work;
};
