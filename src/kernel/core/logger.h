#pragma once
// The engine's log ("engine.log"), its light diagnostic stream on standard
// output, and its only error mechanism: a failed guard or a fatal call logs the
// message with the chain of open procedures and ends the process (exit 255).

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include "kernel/core/shortstring.h"

class tOutputDevice {
public:
    tOutputDevice() = default;
    virtual ~tOutputDevice() = default;
    tOutputDevice(const tOutputDevice&) = delete;
    tOutputDevice& operator=(const tOutputDevice&) = delete;

    virtual void Log(const ShortString& Msg) = 0;
    virtual void LogP(const char* Msg) = 0;
};

class tLoggingDevice : public tOutputDevice {
public:
    [[noreturn]] virtual void Fatal(const ShortString& Msg) = 0;
    virtual void PushProc(const ShortString& Name) = 0;
    virtual void PopProc() = 0;

    void Guard(bool Cond, const ShortString& Msg) { if (!Cond) Fatal(Msg); }
    void Guard(bool Cond) { if (!Cond) Fatal("Guard failed"); }
    void Guard(const void* P, const ShortString& Msg) { if (!P) Fatal(Msg); }
    void Guard(const void* P) { if (!P) Fatal("Guard failed"); }
};

enum tLogType : uint8_t { LOG_DISABLED = 0, LOG_FILE = 1 };

struct tProcNest {
    ShortString ProcName;
    bool LogsOnThisLevel = false;
};

class tCoreLogger : public tLoggingDevice {
public:
    static constexpr int MaxNestLevel = 32;  // at most 31 procedures open at once
    static constexpr std::size_t LineCapacity = 4096;

    tCoreLogger(const ShortString& FileName, tLogType LogType);
    ~tCoreLogger() override;

    void Log(const ShortString& Msg) override;
    void LogP(const char* Msg) override;
    [[noreturn]] void Fatal(const ShortString& Msg) override;
    void PushProc(const ShortString& Name) override;
    void PopProc() override;

    void ChangeLogType(tLogType T);
    ShortString GetTimeString();
    ShortString GetCurrentProcNesting() const;
    int GetNestLevel() const { return NestLevel; }
    tLogType GetLogType() const { return LogType; }

private:
    void CreateLogFile();
    // Writes the time and the open procedures into the line buffer.
    std::size_t BeginLine();
    void WriteLine(const char* text, std::size_t len);

    ShortString LogFileName;
    tLogType LogType;
    tProcNest ProcsNesting[MaxNestLevel + 1];  // 1-based, as the nesting levels
    uint8_t NestLevel = 0;
    uint16_t Hour = 0, Min = 0, Sec = 0, HSec = 0;
    std::FILE* LogFile = nullptr;
    char PC[LineCapacity];
};

// Writes each message as one line to standard output.
class tANSIOutput : public tOutputDevice {
public:
    void Log(const ShortString& Msg) override;
    void LogP(const char* Msg) override;
};

// Raised by the file readers when a file cannot be opened.
class EUnableToOpenFile : public std::runtime_error {
public:
    EUnableToOpenFile(const ShortString& Msg, int32_t Code)
        : std::runtime_error(Msg.str()), ErrorCode(Code) {}
    int32_t ErrorCode;
};

// The modal error box (or standard error where no box may be shown), then exit
// code 255. Its last act goes through the halt hook.
[[noreturn]] void InstantHalt(const ShortString& Text);

// The last act of every fatal error (a failed guard, Fatal, InstantHalt, an
// illegal procedure name). The default ends the process with exit code 255;
// fuzz targets and tests install a hook that throws tFatalHalt instead so they
// can observe the fatal error without a new process. A hook that returns is
// followed by the default.
using tHaltHook = void (*)(const ShortString& Text);
void SetHaltHook(tHaltHook Hook);

// Runs the halt hook with Text, then ends the process with exit code 255.
[[noreturn]] void HaltProcess(const ShortString& Text);

struct tFatalHalt {
    ShortString Text;
};

// A console line the player runs once the game has started may meet a fatal
// error (a file it names is missing or malformed) without ending the game:
// while a tLineRecovery lives, Fatal and HaltProcess log the message and throw
// tFatalHalt, keeping the log open and showing no box; the console catches it
// and shows the text as an error. Start-up and the engine's own work open no
// such scope and stay fatal. Scopes nest; the innermost catch wins.
class tLineRecovery {
public:
    tLineRecovery();
    ~tLineRecovery();
    tLineRecovery(const tLineRecovery&) = delete;
    tLineRecovery& operator=(const tLineRecovery&) = delete;
    // Whether a fatal error now unwinds instead of ending the process.
    static bool Active();
};
// A hook for SetHaltHook that throws tFatalHalt.
void ThrowingHaltHook(const ShortString& Text);

// Free bytes on the drive of the working directory.
uint64_t FreeDiskSpace();

// Brackets a procedure in the log's nesting and the profiler:
//   ProcTrace trace("tEngine.SetWorld()");
class ProcTrace {
public:
    explicit ProcTrace(const ShortString& Name);
    ~ProcTrace();
    ProcTrace(const ProcTrace&) = delete;
    ProcTrace& operator=(const ProcTrace&) = delete;
};
