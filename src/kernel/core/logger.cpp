#include "kernel/core/logger.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string>

#include "kernel/core/globals.h"
#include "kernel/core/messagebox.h"
#include "kernel/core/profiler.h"

namespace {

constexpr uint64_t MinFreeSpaceToOpen = 131072;  // 128 KB
constexpr uint64_t MinFreeSpaceToWrite = 256;
constexpr int FatalExitCode = 255;

tHaltHook HaltHook = nullptr;
int LineRecoveryDepth = 0;

void Append(char* buf, std::size_t& len, std::size_t cap, std::string_view s) {
    std::size_t n = s.size();
    if (n > cap - len) n = cap - len;
    std::memcpy(buf + len, s.data(), n);
    len += n;
}

}  // namespace

uint64_t FreeDiskSpace() {
    struct statvfs info;
    if (statvfs(".", &info) != 0) return UINT64_MAX;  // unknown: do not refuse to log
    return static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
}

void SetHaltHook(tHaltHook Hook) { HaltHook = Hook; }

void ThrowingHaltHook(const ShortString& Text) { throw tFatalHalt{Text}; }

tLineRecovery::tLineRecovery() { ++LineRecoveryDepth; }
tLineRecovery::~tLineRecovery() { --LineRecoveryDepth; }
bool tLineRecovery::Active() { return LineRecoveryDepth > 0; }

namespace {

// The box text may be longer than a ShortString (the fatal history); the hook
// receives the message itself.
[[noreturn]] void Halt(std::string_view BoxText, const ShortString& Message) {
    if (tLineRecovery::Active()) throw tFatalHalt{Message};
    std::fflush(stdout);
    ShowErrorBox("Fatal error:", BoxText);
    HaltProcess(Message);
}

}  // namespace

[[noreturn]] void HaltProcess(const ShortString& Text) {
    if (tLineRecovery::Active()) throw tFatalHalt{Text};
    if (HaltHook) HaltHook(Text);
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(FatalExitCode);
}

[[noreturn]] void InstantHalt(const ShortString& Text) { Halt(Text.view(), Text); }

// ---- tCoreLogger -----------------------------------------------------------

tCoreLogger::tCoreLogger(const ShortString& FileName, tLogType Type)
    : LogFileName(FileName), LogType(Type) {
    if (LogType == LOG_FILE) CreateLogFile();
    Log("Logger: Initializing...");
}

tCoreLogger::~tCoreLogger() {
    Log("Logger: Shuting down...");
    if (LogType == LOG_FILE && LogFile) std::fclose(LogFile);
    LogFile = nullptr;
    LogType = LOG_DISABLED;
}

void tCoreLogger::CreateLogFile() {
    if (FreeDiskSpace() < MinFreeSpaceToOpen)
        InstantHalt("Not enough disk space to initilize logger. Needs at least 128Kb");
    chmod(LogFileName.c_str(), 0644);  // a read-only log left behind must not stop us
    LogFile = std::fopen(LogFileName.c_str(), "w");
    if (!LogFile) {
        const char* reason = std::strerror(errno);
        PushProc("tCoreLogger.Init(" + LogFileName + ")");
        LogType = LOG_DISABLED;
        Fatal(ShortString("Unable to create log file: ") + reason);
    }
}

void tCoreLogger::ChangeLogType(tLogType T) {
    if (LogType == LOG_FILE && LogFile) {
        std::fclose(LogFile);
        LogFile = nullptr;
    }
    LogType = T;
    if (T == LOG_FILE) {
        CreateLogFile();
        Log("Logger: Initializing...");
    }
}

ShortString tCoreLogger::GetTimeString() {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    tm local;
    localtime_r(&now.tv_sec, &local);
    Hour = static_cast<uint16_t>(local.tm_hour);
    Min = static_cast<uint16_t>(local.tm_min);
    Sec = static_cast<uint16_t>(local.tm_sec);
    HSec = static_cast<uint16_t>(now.tv_nsec / 10000000);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02u:%02u:%02u.%02u  ", Hour, Min, Sec, HSec);
    return buf;
}

ShortString tCoreLogger::GetCurrentProcNesting() const {
    ShortString s;
    for (int i = 1; i <= NestLevel; ++i) {
        s += ProcsNesting[i].ProcName;
        s += "->";
    }
    return s;
}

void tCoreLogger::Log(const ShortString& Msg) { LogP(Msg.c_str()); }

void tCoreLogger::LogP(const char* Msg) {
    if (LogType == LOG_DISABLED) return;
    if (Msg && *Msg && NestLevel > 0) ProcsNesting[NestLevel].LogsOnThisLevel = true;

    std::size_t len = BeginLine();
    Append(PC, len, LineCapacity - 1, "\"");
    Append(PC, len, LineCapacity - 1, Msg ? std::string_view(Msg) : std::string_view());
    Append(PC, len, LineCapacity - 1, "\"");
    WriteLine(PC, len);
}

std::size_t tCoreLogger::BeginLine() {
    std::size_t len = 0;
    constexpr std::size_t cap = LineCapacity - 1;
    Append(PC, len, cap, GetTimeString().view());
    Append(PC, len, cap, "  ");
    for (int i = 1; i <= NestLevel; ++i) {
        Append(PC, len, cap, ProcsNesting[i].ProcName.view());
        Append(PC, len, cap, "->");
    }
    return len;
}

void tCoreLogger::WriteLine(const char* text, std::size_t len) {
    if (LogType != LOG_FILE || !LogFile) return;
    if (FreeDiskSpace() < MinFreeSpaceToWrite) InstantHalt("Not enough disk space to log message.");
    std::fwrite(text, 1, len, LogFile);
    std::fputc('\n', LogFile);
    std::fflush(LogFile);
}

void tCoreLogger::Fatal(const ShortString& Msg) {
    Log("Fatal error: " + Msg);
    if (tLineRecovery::Active()) throw tFatalHalt{Msg};
    if (LogType == LOG_FILE && LogFile) {
        std::fflush(LogFile);
        std::fclose(LogFile);
        LogFile = nullptr;
    }
    LogType = LOG_DISABLED;

    // The box shows the message with the chain of open procedures, outermost
    // first; the chain can be longer than a ShortString.
    std::string text(Msg.view());
    text += "\n\nHistory: \n\n";
    for (int i = 1; i <= NestLevel; ++i) {
        text += "-> ";
        text += ProcsNesting[i].ProcName.view();
        text += "\n";
    }
    Halt(text, Msg);
}

void tCoreLogger::PushProc(const ShortString& Name) {
    // Both checks come before any state changes, so a halt hook that throws
    // leaves the nesting and the profiler balanced. The history of the nesting
    // error lists the 31 procedures that are really open.
    if (NestLevel + 1 >= MaxNestLevel) Fatal("NestLevel>=MaxNestLevel in PushProc(" + Name + ")");
    std::size_t paren = Name.find('(');
    PushProfileSection(paren == ShortString::npos ? std::string_view() : Name.view().substr(0, paren), Name);

    ++NestLevel;
    ProcsNesting[NestLevel].ProcName = Name;
    ProcsNesting[NestLevel].LogsOnThisLevel = false;
}

void tCoreLogger::PopProc() {
    PopProfileSection();
    if (NestLevel == 0) Fatal("NestLevel=0");
    if (ProcsNesting[NestLevel].LogsOnThisLevel && LogType == LOG_FILE) {
        std::size_t len = BeginLine();
        Append(PC, len, LineCapacity - 1, "<-");
        WriteLine(PC, len);
    }
    --NestLevel;
}

// ---- tANSIOutput -----------------------------------------------------------

void tANSIOutput::Log(const ShortString& Msg) { LogP(Msg.c_str()); }

void tANSIOutput::LogP(const char* Msg) {
    std::fputs(Msg ? Msg : "", stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// ---- ProcTrace -------------------------------------------------------------

ProcTrace::ProcTrace(const ShortString& Name) {
    if (Logger) Logger->PushProc(Name);
}

ProcTrace::~ProcTrace() {
    if (Logger) Logger->PopProc();
}
