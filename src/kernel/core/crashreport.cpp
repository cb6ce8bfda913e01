#include "kernel/core/crashreport.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <typeinfo>
#include <cxxabi.h>

#include "kernel/core/globals.h"
#include "kernel/core/logger.h"

namespace {

[[noreturn]] void ReportUnhandledException() {
    std::fflush(stdout);
    const char* what = "unknown exception";
    const char* type = "unknown";
    if (std::exception_ptr current = std::current_exception()) {
        try {
            std::rethrow_exception(current);
        } catch (const std::exception& e) {
            what = e.what();
            type = typeid(e).name();
        } catch (...) {
        }
    }
    int status = 0;
    char* demangled = abi::__cxa_demangle(type, nullptr, nullptr, &status);
    std::printf("Runtime error %d: unhandled exception %s: %s\n", UnhandledExceptionExitCode,
                status == 0 && demangled ? demangled : type, what);
    if (Logger) std::printf("Procedures: %s\n", Logger->GetCurrentProcNesting().c_str());
    std::fflush(stdout);
    _exit(UnhandledExceptionExitCode);
}

// Async-signal-safe: only write() and _exit().
void WriteText(const char* s) {
    ssize_t ignored = write(STDOUT_FILENO, s, std::strlen(s));
    (void)ignored;
}

void OnFatalSignal(int sig) {
    WriteText("Runtime error 217: ");
    WriteText(sig == SIGSEGV ? "access violation (SIGSEGV)"
              : sig == SIGBUS ? "bus error (SIGBUS)"
              : sig == SIGFPE ? "arithmetic fault (SIGFPE)"
              : sig == SIGILL ? "illegal instruction (SIGILL)"
                              : "fatal signal");
    WriteText("\n");
    _exit(UnhandledExceptionExitCode);
}

}  // namespace

void InstallCrashHandlers() {
    std::set_terminate(ReportUnhandledException);
#if !defined(__SANITIZE_ADDRESS__)
    // Under the address sanitizer its own report of the fault is worth more.
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = OnFatalSignal;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) sigaction(sig, &action, nullptr);
#endif
}
