#include <gmock/gmock.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

#include "kernel/core/crashreport.h"

using ::testing::HasSubstr;

namespace {

// The report goes to standard output; death tests read standard error.
void ReportToStandardError() { dup2(STDERR_FILENO, STDOUT_FILENO); }

[[noreturn]] void Throw() { throw std::runtime_error("disk on fire"); }
// An exception that nobody catches ends in std::terminate, as one leaving main does.
void ThrowPastNoexcept() noexcept { Throw(); }

}  // namespace

TEST(CrashReport, UnhandledExceptionReportsAndExits217) {
    EXPECT_EXIT(
        {
            ReportToStandardError();
            InstallCrashHandlers();
            ThrowPastNoexcept();
        },
        ::testing::ExitedWithCode(UnhandledExceptionExitCode),
        HasSubstr("An unhandled exception occurred at 0x00000000 :\nstd::runtime_error : disk on fire\n"));
}

#if !defined(__SANITIZE_ADDRESS__)
namespace {

volatile int RecursionLimit = 1 << 30;  // never reached: the stack runs out long before

// Each call keeps a frame alive so that the recursion really exhausts the stack.
int Recurse(int depth) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    if (depth < RecursionLimit) return Recurse(depth + 1) + frame[0];
    return frame[0];
}

}  // namespace

TEST(CrashReport, FatalSignalsReportAndExit217) {
    EXPECT_EXIT(
        {
            ReportToStandardError();
            InstallCrashHandlers();
            std::raise(SIGSEGV);
        },
        ::testing::ExitedWithCode(UnhandledExceptionExitCode),
        ::testing::ContainsRegex("An unhandled exception occurred at 0x[0-9A-F]{8} :\nEAccessViolation : Access violation\n"));
    EXPECT_EXIT(
        {
            ReportToStandardError();
            InstallCrashHandlers();
            std::raise(SIGFPE);
        },
        ::testing::ExitedWithCode(UnhandledExceptionExitCode), HasSubstr("EMathError : Arithmetic fault\n"));
    // A stack overflow leaves the handler no stack of the program's own.
    EXPECT_EXIT(
        {
            ReportToStandardError();
            InstallCrashHandlers();
            Recurse(0);
        },
        ::testing::ExitedWithCode(UnhandledExceptionExitCode), HasSubstr("EAccessViolation : Access violation\n"));
}
#endif
