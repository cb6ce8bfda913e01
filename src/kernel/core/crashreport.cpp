#include "kernel/core/crashreport.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <typeinfo>
#include <cxxabi.h>

#include "kernel/core/strutils.h"

namespace {

// C++ does not tell where an exception was raised; the report shows address 0.
[[noreturn]] void ReportUnhandledException() {
    std::fflush(stdout);
    ShortString what = "unknown exception";
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
    std::printf("An unhandled exception occurred at 0x%s :\n", HexStr(0, 8).c_str());
    std::printf("%s : %s\n", status == 0 && demangled ? demangled : type, what.c_str());
    std::fflush(stdout);
    _exit(UnhandledExceptionExitCode);
}

#if !defined(__SANITIZE_ADDRESS__)
// Async-signal-safe: only write() and _exit().
void WriteText(const char* s) {
    ssize_t ignored = write(STDOUT_FILENO, s, std::strlen(s));
    (void)ignored;
}

void OnFatalSignal(int sig, siginfo_t* info, void*) {
    char address[9];
    auto where = reinterpret_cast<uintptr_t>(info ? info->si_addr : nullptr);
    for (int i = 7; i >= 0; --i, where >>= 4) address[i] = "0123456789ABCDEF"[where & 0xF];
    address[8] = '\0';
    WriteText("An unhandled exception occurred at 0x");
    WriteText(address);
    WriteText(" :\n");
    WriteText(sig == SIGSEGV ? "EAccessViolation : Access violation"
              : sig == SIGBUS ? "EBusError : Bus error"
              : sig == SIGFPE ? "EMathError : Arithmetic fault"
              : sig == SIGILL ? "EPrivilege : Illegal instruction"
                              : "ESignal : Fatal signal");
    WriteText("\n");
    _exit(UnhandledExceptionExitCode);
}

// A stack overflow leaves no room on the faulting stack for the handler, so
// the handler runs on a stack of its own.
constexpr std::size_t SignalStackSize = 64 * 1024;
alignas(16) char SignalStack[SignalStackSize];
#endif

}  // namespace

void InstallCrashHandlers() {
    std::set_terminate(ReportUnhandledException);
#if !defined(__SANITIZE_ADDRESS__)
    // Under the address sanitizer its own report of the fault is worth more.
    stack_t stack;
    std::memset(&stack, 0, sizeof stack);
    stack.ss_sp = SignalStack;
    stack.ss_size = SignalStackSize;
    sigaltstack(&stack, nullptr);

    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_sigaction = OnFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) sigaction(sig, &action, nullptr);
#endif
}
